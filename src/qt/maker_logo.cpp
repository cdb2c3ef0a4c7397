// The maker's logo: "ZEK" lettering over a circuit board, beside an engine cog
// with a spark in it. Drawn without smoothing in the 16 standard colours, as
// the opening screen's picture always was a 16-colour one.
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QVector>
#include <cmath>
#include <numbers>

#include "qt/pictures.h"

namespace qtui {

namespace {

constexpr int logo_width = 630;
constexpr int logo_height = 299;

QVector<QRgb> SixteenColours() {
  return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
          qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
          qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
          qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QFont LogoFont(int pixel_size, bool italic) {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(pixel_size);
  f.setBold(true);
  f.setItalic(italic);
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

// Traces of a circuit board: runs with a 45-degree bend and a pad at each end.
void DrawTraces(QPainter& p) {
  struct Run {
    int x0, y0, bend_x, x1, rise;
  };
  const Run runs[] = {{250, 22, 330, 470, -14}, {280, 40, 360, 600, 14},
                      {230, 236, 300, 520, 18}, {260, 256, 380, 610, -16},
                      {420, 12, 470, 560, 14},  {200, 278, 250, 400, -12}};
  for (const Run& r : runs) {
    const QPointF a(r.x0, r.y0);
    const QPointF b(r.bend_x, r.y0);
    const QPointF c(r.bend_x + std::abs(r.rise), r.y0 + r.rise);
    const QPointF d(r.x1, r.y0 + r.rise);
    p.setPen(QPen(QColor(0, 128, 128), 3));
    p.drawPolyline(QPolygonF{a, b, c, d});
    p.setPen(QPen(QColor(0, 255, 255), 1));
    p.setBrush(QColor(0, 128, 128));
    p.drawEllipse(a, 5, 5);
    p.drawEllipse(d, 5, 5);
  }
}

QPolygonF Cog(QPointF centre, qreal outer, qreal inner, int teeth) {
  QPolygonF cog;
  const qreal step = 2 * std::numbers::pi / teeth;
  for (int i = 0; i < teeth; ++i) {
    const qreal a = i * step;
    for (auto [offset, radius] : {std::pair{-0.30, inner}, std::pair{-0.18, outer},
                                  std::pair{0.18, outer}, std::pair{0.30, inner}}) {
      const qreal t = a + offset * step * 1.4;
      cog << centre + QPointF(radius * std::cos(t), radius * std::sin(t));
    }
  }
  return cog;
}

void DrawCogWithSpark(QPainter& p) {
  const QPointF centre(110, 140);
  p.setPen(QPen(QColor(128, 128, 128), 3));
  p.setBrush(QColor(192, 192, 192));
  p.drawPolygon(Cog(centre, 96, 78, 12));
  p.setBrush(QColor(0, 0, 128));
  p.drawEllipse(centre, 52, 52);
  const QPolygonF spark{QPointF(122, 88),  QPointF(86, 146),  QPointF(108, 146), QPointF(96, 194),
                        QPointF(136, 128), QPointF(114, 128), QPointF(130, 88)};
  p.setPen(QPen(QColor(128, 128, 0), 2));
  p.setBrush(QColor(255, 255, 0));
  p.drawPolygon(spark);
}

void DrawLettering(QPainter& p) {
  const QRect letters(222, 40, 380, 160);
  p.setFont(LogoFont(150, true));
  p.setPen(QColor(128, 0, 0));
  p.drawText(letters.translated(6, 6), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ZEK"));
  p.setPen(QColor(255, 255, 255));
  p.drawText(letters, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ZEK"));
  p.setFont(LogoFont(22, false));
  p.setPen(QColor(255, 255, 0));
  p.drawText(QRect(226, 200, 370, 28), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("ENGINE MANAGEMENT SYSTEMS"));
}

}  // namespace

QImage MakerLogo() {
  QImage canvas(logo_width, logo_height, QImage::Format_RGB32);
  canvas.fill(QColor(0, 0, 128));
  {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(0, logo_height - 18, logo_width, 10, QColor(255, 0, 0));
    p.fillRect(0, logo_height - 8, logo_width, 8, QColor(128, 0, 0));
    DrawTraces(p);
    DrawCogWithSpark(p);
    DrawLettering(p);
  }
  return canvas.convertToFormat(QImage::Format_Indexed8, SixteenColours(), Qt::ThresholdDither);
}

}  // namespace qtui
