#pragma once

#include <QImage>
#include <string>

// The pictures the window shows, drawn here rather than loaded from files.
namespace qtui {

// The maker's logo of the opening screen: 630 x 299 in the 16 standard colours.
QImage MakerLogo();
// The unit's user access-level settings as they must be set: 329 x 160.
QImage AccessLevelPicture();
// The small picture of the "Open file" button: a folder, `size` pixels across.
QImage FolderIcon(int size);
// The picture of that name; a null image for a name we do not know.
QImage PictureNamed(const std::string& name);

}  // namespace qtui
