#include "qt/pictures.h"

namespace qtui {

QImage PictureNamed(const std::string& name) {
  if (name == "maker_logo") return MakerLogo();
  if (name == "access_level") return AccessLevelPicture();
  if (name == "open_file") return FolderIcon(24);
  return QImage();
}

}  // namespace qtui
