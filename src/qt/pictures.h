#pragma once

#include <QImage>
#include <string>

#include "ui/drawing.h"

namespace qtui {

// A described picture drawn with QPainter, at its own size.
QImage DrawingImage(const ui::Drawing& drawing);
// The picture a ui::Picture names; a null image for a name we do not know.
QImage PictureNamed(const std::string& name);

}  // namespace qtui
