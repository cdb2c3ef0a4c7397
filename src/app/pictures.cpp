#include "app/pictures.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "texts/texts.h"

namespace app {

namespace {

ui::Shape Outlined(ui::Shape::Kind kind, std::optional<ui::Pen> pen, ui::Fill fill) {
  ui::Shape s;
  s.kind = kind;
  s.pen = pen;
  s.fill = fill;
  return s;
}

ui::Shape Rect(ui::Box box, ui::Fill fill, std::optional<ui::Pen> pen = std::nullopt) {
  ui::Shape s = Outlined(ui::Shape::Kind::rect, pen, fill);
  s.box = box;
  return s;
}

ui::Shape RoundedRect(ui::Box box, double radius, ui::Fill fill, ui::Pen pen) {
  ui::Shape s = Outlined(ui::Shape::Kind::rounded_rect, pen, fill);
  s.box = box;
  s.radius = radius;
  return s;
}

ui::Shape Ellipse(ui::Point centre, double radius, ui::Fill fill, ui::Pen pen) {
  ui::Shape s = Outlined(ui::Shape::Kind::ellipse, pen, fill);
  s.box = {centre.x - radius, centre.y - radius, 2 * radius, 2 * radius};
  return s;
}

ui::Shape Polygon(std::vector<ui::Point> points, ui::Fill fill, ui::Pen pen) {
  ui::Shape s = Outlined(ui::Shape::Kind::polygon, pen, fill);
  s.points = std::move(points);
  return s;
}

ui::Shape Polyline(std::vector<ui::Point> points, ui::Pen pen) {
  ui::Shape s = Outlined(ui::Shape::Kind::polyline, pen, ui::Fill{});
  s.points = std::move(points);
  return s;
}

ui::Shape Text(std::string text, ui::Box box, ui::Font font, ui::Align align = ui::Align::left) {
  ui::Shape s;
  s.kind = ui::Shape::Kind::text;
  s.box = box;
  s.text = std::move(text);
  s.font = std::move(font);
  s.align = align;
  return s;
}

ui::Font Italic(ui::Font font) {
  font.italic = true;
  return font;
}

// --- The maker's logo: "ZEK" lettering over a circuit board, beside an engine
// cog with a spark in it. Drawn without smoothing in the 16 standard colours,
// as the opening screen's picture always was a 16-colour one.

constexpr ui::Color teal{0, 128, 128};
constexpr ui::Color cyan{0, 255, 255};
constexpr ui::Color maroon{128, 0, 0};
constexpr ui::Color olive{128, 128, 0};

// Traces of a circuit board: runs with a 45-degree bend and a pad at each end.
void AddTraces(std::vector<ui::Shape>& shapes) {
  struct Run {
    double x0, y0, bend_x, x1, rise;
  };
  const Run runs[] = {{250, 22, 330, 470, -14}, {280, 40, 360, 600, 14},
                      {230, 236, 300, 520, 18}, {260, 256, 380, 610, -16},
                      {420, 12, 470, 560, 14},  {200, 278, 250, 400, -12}};
  for (const Run& r : runs) {
    const ui::Point a{r.x0, r.y0};
    const ui::Point d{r.x1, r.y0 + r.rise};
    shapes.push_back(Polyline(
        {a, {r.bend_x, r.y0}, {r.bend_x + std::abs(r.rise), r.y0 + r.rise}, d}, ui::Pen{teal, 3}));
    shapes.push_back(Ellipse(a, 5, ui::Solid(teal), ui::Pen{cyan}));
    shapes.push_back(Ellipse(d, 5, ui::Solid(teal), ui::Pen{cyan}));
  }
}

std::vector<ui::Point> Cog(ui::Point centre, double outer, double inner, int teeth) {
  std::vector<ui::Point> cog;
  const double step = 2 * std::numbers::pi / teeth;
  for (int i = 0; i < teeth; ++i) {
    const double a = i * step;
    for (auto [offset, radius] : {std::pair{-0.30, inner}, std::pair{-0.18, outer},
                                  std::pair{0.18, outer}, std::pair{0.30, inner}}) {
      const double t = a + offset * step * 1.4;
      cog.push_back({centre.x + radius * std::cos(t), centre.y + radius * std::sin(t)});
    }
  }
  return cog;
}

void AddCogWithSpark(std::vector<ui::Shape>& shapes) {
  const ui::Point centre{110, 140};
  const ui::Pen rim{ui::colors::grey, 3};
  shapes.push_back(Polygon(Cog(centre, 96, 78, 12), ui::Solid(ui::colors::silver), rim));
  shapes.push_back(Ellipse(centre, 52, ui::Solid(ui::colors::navy), rim));
  shapes.push_back(
      Polygon({{122, 88}, {86, 146}, {108, 146}, {96, 194}, {136, 128}, {114, 128}, {130, 88}},
              ui::Solid(ui::colors::yellow), ui::Pen{olive, 2}));
}

void AddLettering(std::vector<ui::Shape>& shapes) {
  const ui::Box letters{222, 40, 380, 160};
  const ui::Box shadow{letters.left + 6, letters.top + 6, letters.width, letters.height};
  shapes.push_back(Text(texts::logo_letters, shadow, Italic(ui::arial(150, true, maroon))));
  shapes.push_back(
      Text(texts::logo_letters, letters, Italic(ui::arial(150, true, ui::colors::white))));
  shapes.push_back(
      Text(texts::logo_line, {226, 200, 370, 28}, ui::arial(22, true, ui::colors::yellow)));
}

// --- The access-level picture: a settings dialog of the standard
// configuration software with both diagnostics options on and the read-only,
// dashboard-only and no-access options off.

constexpr int picture_width = 329;
constexpr int picture_height = 160;
constexpr ui::Color dialog_face{236, 233, 216};

ui::Font SmallFont(bool bold, ui::Color color) {
  return ui::arial(11, bold, color);
}

void AddCheckBox(std::vector<ui::Shape>& shapes, ui::Point at, bool on, const char* text) {
  shapes.push_back(
      Rect({at.x, at.y, 13, 13}, ui::Solid(ui::colors::white), ui::Pen{{28, 81, 128}}));
  if (on) {
    shapes.push_back(
        Polyline({{at.x + 3, at.y + 6.5}, {at.x + 5.5, at.y + 9.5}, {at.x + 10, at.y + 3.5}},
                 ui::Pen{{33, 161, 33}, 2, true}));
  }
  shapes.push_back(Text(text, {at.x + 19, at.y - 2, 180, 17}, SmallFont(on, ui::colors::black)));
}

void AddDialogButton(std::vector<ui::Shape>& shapes, ui::Box r, const char* text) {
  const ui::Box inside{r.left + 0.5, r.top + 0.5, r.width - 1, r.height - 1};
  shapes.push_back(RoundedRect(inside, 3,
                               ui::VerticalGradient(r, ui::colors::white, {214, 208, 197}),
                               ui::Pen{{0, 60, 116}}));
  shapes.push_back(Text(text, r, SmallFont(false, ui::colors::black), ui::Align::center));
}

void AddFrameAndTitle(std::vector<ui::Shape>& shapes) {
  shapes.push_back(Rect({0, 0, picture_width, picture_height}, ui::Solid(dialog_face)));
  const ui::Box bar{0, 0, picture_width, 18};
  shapes.push_back(Rect(bar, ui::VerticalGradient(bar, {0, 84, 227}, {61, 149, 255})));
  shapes.push_back(Text(texts::access_level_dialog_title, {6, 0, bar.width - 6, bar.height},
                        SmallFont(true, ui::colors::white)));
  shapes.push_back(
      Rect({0, 0, picture_width - 1, picture_height - 1}, ui::Fill{}, ui::Pen{{0, 60, 160}}));
}

void AddOptions(std::vector<ui::Shape>& shapes) {
  shapes.push_back(RoundedRect({8, 28, 212, 124}, 3, ui::Fill{}, ui::Pen{{208, 208, 191}}));
  shapes.push_back(Rect({14, 22, 100, 12}, ui::Solid(dialog_face)));
  shapes.push_back(
      Text(texts::access_level_group, {16, 22, 100, 12}, SmallFont(false, {0, 70, 213})));
  double y = 42;
  for (const auto& o : texts::access_level_options) {
    AddCheckBox(shapes, {18, y}, o.on, o.text);
    y += 21;
  }
}

}  // namespace

ui::Drawing MakerLogo() {
  constexpr int width = 630;
  constexpr int height = 299;
  ui::Drawing d{
      .width = width, .height = height, .smooth = false, .sixteen_colours = true, .shapes = {}};
  d.shapes.push_back(Rect({0, 0, width, height}, ui::Solid(ui::colors::navy)));
  d.shapes.push_back(Rect({0, height - 18, width, 10}, ui::Solid(ui::colors::red)));
  d.shapes.push_back(Rect({0, height - 8, width, 8}, ui::Solid(maroon)));
  AddTraces(d.shapes);
  AddCogWithSpark(d.shapes);
  AddLettering(d.shapes);
  return d;
}

ui::Drawing AccessLevelPicture() {
  ui::Drawing d{.width = picture_width, .height = picture_height, .shapes = {}};
  AddFrameAndTitle(d.shapes);
  AddOptions(d.shapes);
  AddDialogButton(d.shapes, {236, 100, 80, 22}, texts::access_level_ok);
  AddDialogButton(d.shapes, {236, 128, 80, 22}, texts::access_level_cancel);
  return d;
}

// The back of the folder with its tab, then the front flap opened a little.
ui::Drawing FolderIcon() {
  constexpr double s = 24;
  ui::Drawing d{.width = 24, .height = 24, .shapes = {}};
  const ui::Pen edge{{156, 112, 20}};
  d.shapes.push_back(Polygon({{0.08 * s, 0.22 * s},
                              {0.38 * s, 0.22 * s},
                              {0.46 * s, 0.30 * s},
                              {0.90 * s, 0.30 * s},
                              {0.90 * s, 0.84 * s},
                              {0.08 * s, 0.84 * s}},
                             ui::Solid({232, 180, 60}), edge));
  const ui::Box flap{0, 0.42 * s, s, 0.42 * s};
  d.shapes.push_back(Polygon(
      {{0.18 * s, 0.42 * s}, {0.98 * s, 0.42 * s}, {0.88 * s, 0.84 * s}, {0.08 * s, 0.84 * s}},
      ui::VerticalGradient(flap, {255, 226, 120}, {244, 190, 64}), edge));
  return d;
}

std::optional<ui::Drawing> PictureNamed(const std::string& name) {
  if (name == "maker_logo") return MakerLogo();
  if (name == "access_level") return AccessLevelPicture();
  if (name == "open_file") return FolderIcon();
  return std::nullopt;
}

}  // namespace app
