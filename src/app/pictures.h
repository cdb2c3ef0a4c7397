#pragma once

#include <optional>
#include <string>

#include "ui/drawing.h"

// The pictures the window shows, described here rather than loaded from files,
// once for every view.
namespace app {

// The maker's logo of the opening screen: 630 x 299 in the 16 standard colours.
ui::Drawing MakerLogo();
// The unit's user access-level settings as they must be set: 329 x 160.
ui::Drawing AccessLevelPicture();
// The small picture of the "Open file" button: a folder, 24 x 24.
ui::Drawing FolderIcon();
// The picture a ui::Picture names; nothing for a name we do not know.
std::optional<ui::Drawing> PictureNamed(const std::string& name);

}  // namespace app
