#include "win32/look.h"

#include "ui/button.h"
#include "ui/gauge.h"
#include "ui/group_box.h"
#include "ui/panel.h"
#include "ui/picture.h"
#include "ui/spinner.h"
#include "ui/static_text.h"

namespace win32ui {

namespace {

std::string Of(ui::Color c) {
  return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ";";
}

std::string KindLook(const ui::Control& c) {
  switch (c.kind()) {
    case ui::Kind::panel: {
      const auto& p = static_cast<const ui::Panel&>(c);
      return std::to_string(p.title_height) + Of(p.face_from) + Of(p.face_to) + Of(p.title_from) +
             Of(p.title_to) + Of(p.title_font.color);
    }
    case ui::Kind::button:
      return std::to_string(static_cast<const ui::Button&>(c).is_default);
    case ui::Kind::static_text:
      return Of(static_cast<const ui::StaticText&>(c).background);
    case ui::Kind::group_box:
      return Of(static_cast<const ui::GroupBox&>(c).background);
    case ui::Kind::gauge: {
      const auto& g = static_cast<const ui::Gauge&>(c);
      return std::to_string(g.percent()) + Of(g.background) + Of(g.bar);
    }
    case ui::Kind::spinner:
      return std::to_string(static_cast<const ui::Spinner&>(c).step);
    case ui::Kind::picture:
      return static_cast<const ui::Picture&>(c).image;
    default:
      return {};
  }
}

}  // namespace

std::string LookOf(const ui::Control& c, bool focused) {
  return c.caption + "|" + std::to_string(c.showing()) + std::to_string(c.usable()) +
         std::to_string(focused) + Of(c.font.color) + std::to_string(c.font.size_px) +
         std::to_string(c.font.bold) + "|" + KindLook(c);
}

}  // namespace win32ui
