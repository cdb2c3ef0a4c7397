#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string>

#include "ui/color.h"
#include "ui/control.h"
#include "ui/font.h"

// Turning component values into Qt values and back.
namespace qtui {

// The program's texts are 8-bit ANSI; Latin-1 keeps every byte as the character it was.
QString ToQString(const std::string& text);
std::string FromQString(const QString& text);
// Message box texts: any run of CRs before an LF, and a lone CR, is one line break.
QString BoxText(const std::string& text);
QColor ToQColor(ui::Color c);
// Sizes stay in pixels; Arial is drawn with its metric-compatible stand-in.
QFont ToQFont(const ui::Font& f);
Qt::Alignment ToQAlign(ui::Align a);

}  // namespace qtui
