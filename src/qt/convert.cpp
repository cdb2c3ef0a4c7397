#include "qt/convert.h"

#include <QRegularExpression>

namespace qtui {

QString ToQString(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQString(const QString& text) {
  return text.toLatin1().toStdString();
}

QString BoxText(const std::string& text) {
  QString s = ToQString(text);
  static const QRegularExpression crs_before_lf(QStringLiteral("\r+\n"));
  s.replace(crs_before_lf, QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

QColor ToQColor(ui::Color c) {
  return QColor(c.r, c.g, c.b);
}

QFont ToQFont(const ui::Font& f) {
  const QString family =
      f.family == "Arial" ? QStringLiteral("Liberation Sans") : ToQString(f.family);
  QFont font(family);
  font.setPixelSize(f.size_px > 0 ? f.size_px : 11);
  font.setBold(f.bold);
  font.setItalic(f.italic);
  return font;
}

Qt::Alignment ToQAlign(ui::Align a) {
  switch (a) {
    case ui::Align::center:
      return Qt::AlignHCenter;
    case ui::Align::right:
      return Qt::AlignRight;
    case ui::Align::left:
      break;
  }
  return Qt::AlignLeft;
}

}  // namespace qtui
