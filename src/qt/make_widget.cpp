#include "qt/make_widget.h"

#include "qt/check_box_widget.h"
#include "qt/combo_widget.h"
#include "qt/form_widget.h"
#include "qt/gauge_widget.h"
#include "qt/group_box_widget.h"
#include "qt/label_widget.h"
#include "qt/panel_widget.h"
#include "qt/picture_widget.h"
#include "qt/skin_button.h"
#include "qt/spinner_widget.h"
#include "qt/static_text_widget.h"

namespace qtui {

namespace {

template <class W, class C>
MadeWidget Make(ui::Control& c, QWidget* parent, const AfterInput& after_input) {
  auto* w = new W(static_cast<C&>(c), parent, after_input);
  return MadeWidget{w, w};
}

}  // namespace

MadeWidget MakeWidget(ui::Control& c, QWidget* parent, const AfterInput& after_input) {
  switch (c.kind()) {
    case ui::Kind::panel:
      return Make<PanelWidget, ui::Panel>(c, parent, after_input);
    case ui::Kind::group_box:
      return Make<GroupBoxWidget, ui::GroupBox>(c, parent, after_input);
    case ui::Kind::button:
      return Make<SkinButton, ui::Button>(c, parent, after_input);
    case ui::Kind::label:
      return Make<LabelWidget, ui::Label>(c, parent, after_input);
    case ui::Kind::static_text:
      return Make<StaticTextWidget, ui::StaticText>(c, parent, after_input);
    case ui::Kind::combo_box:
      return Make<ComboWidget, ui::ComboBox>(c, parent, after_input);
    case ui::Kind::check_box:
      return Make<CheckBoxWidget, ui::CheckBox>(c, parent, after_input);
    case ui::Kind::gauge:
      return Make<GaugeWidget, ui::Gauge>(c, parent, after_input);
    case ui::Kind::spinner:
      return Make<SpinnerWidget, ui::Spinner>(c, parent, after_input);
    case ui::Kind::picture:
      return Make<PictureWidget, ui::Picture>(c, parent, after_input);
    case ui::Kind::form:
      break;
  }
  return Make<FormWidget, ui::Form>(c, parent, after_input);
}

}  // namespace qtui
