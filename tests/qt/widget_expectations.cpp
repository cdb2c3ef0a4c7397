#include "widget_expectations.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "platform/serial_port.h"
#include "qt/gauge_widget.h"
#include "qt/group_box_widget.h"
#include "qt/panel_widget.h"
#include "qt/picture_widget.h"
#include "qt/spinner_widget.h"
#include "ui/check_box.h"
#include "ui/combo_box.h"
#include "ui/form.h"
#include "ui/gauge.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/picture.h"

namespace {

QString Q(const std::string& s) {
  return QString::fromLatin1(s.data(), qsizetype(s.size()));
}
QColor Q(ui::Color c) {
  return QColor(c.r, c.g, c.b);
}

// Where children of `parent` are placed inside its widget: below the custom
// frame's 24 px caption bar and inside its 2 px border, or below a panel's title.
QPoint ExpectedOrigin(const ui::Control& parent) {
  if (parent.kind() == ui::Kind::form) {
    return static_cast<const ui::Form&>(parent).frame == ui::Frame::custom ? QPoint(2, 24)
                                                                           : QPoint(0, 0);
  }
  if (parent.kind() == ui::Kind::panel) {
    return QPoint(0, static_cast<const ui::Panel&>(parent).title_height);
  }
  return QPoint(0, 0);
}

// A self-sizing label keeps its left edge, or its right edge when aligned right.
void ExpectPlace(const ui::Control& c, const QWidget& w) {
  const QPoint at = ExpectedOrigin(*c.parent()) + QPoint(c.left, c.top);
  const auto* label = c.kind() == ui::Kind::label ? static_cast<const ui::Label*>(&c) : nullptr;
  if (label == nullptr || !label->auto_size) {
    EXPECT_EQ(w.geometry(), QRect(at, QSize(c.width, c.height)));
    return;
  }
  EXPECT_EQ(w.y(), at.y());
  if (label->align == ui::Align::right) {
    EXPECT_EQ(w.x() + w.width(), at.x() + c.width);
  } else {
    EXPECT_EQ(w.x(), at.x());
  }
  EXPECT_EQ(w.width() > 0, !c.caption.empty());
  EXPECT_GT(w.height(), 0);
}

void ExpectText(const ui::Control& c, const QWidget& w) {
  switch (c.kind()) {
    case ui::Kind::button:
      EXPECT_EQ(qobject_cast<const QPushButton*>(&w)->text(), Q(c.caption));
      break;
    case ui::Kind::label:
    case ui::Kind::static_text:
      EXPECT_EQ(qobject_cast<const QLabel*>(&w)->text(), Q(c.caption));
      break;
    case ui::Kind::check_box:
      EXPECT_EQ(qobject_cast<const QCheckBox*>(&w)->text(), Q(c.caption));
      break;
    case ui::Kind::group_box:
      EXPECT_EQ(qobject_cast<const qtui::GroupBoxWidget*>(&w)->title(), Q(c.caption));
      break;
    case ui::Kind::panel: {
      const bool titled = static_cast<const ui::Panel&>(c).title_height > 0;
      EXPECT_EQ(qobject_cast<const qtui::PanelWidget*>(&w)->title(),
                titled ? Q(c.caption) : QString());
      break;
    }
    default:
      break;
  }
}

// Port names show in their short form; text being typed shows as typed.
void ExpectCombo(const ui::ComboBox& c, const QComboBox& w) {
  QStringList items;
  for (const auto& i : c.items) items.push_back(Q(platform::ShortPortName(i)));
  QStringList shown;
  for (int i = 0; i < w.count(); ++i) shown.push_back(w.itemText(i));
  EXPECT_EQ(shown, items);
  EXPECT_EQ(w.currentIndex(), c.item_index);
  EXPECT_TRUE(w.currentText() == Q(platform::ShortPortName(c.text)) || w.currentText() == Q(c.text))
      << w.currentText().toStdString();
  EXPECT_EQ(w.palette().color(QPalette::Base), Q(c.background));
  EXPECT_EQ(w.palette().color(QPalette::Text), Q(c.font.color));
}

void ExpectState(const ui::Control& c, const QWidget& w) {
  switch (c.kind()) {
    case ui::Kind::label:
      EXPECT_EQ(w.palette().color(QPalette::WindowText), Q(c.font.color));
      break;
    case ui::Kind::check_box:
      EXPECT_EQ(qobject_cast<const QCheckBox*>(&w)->isChecked(),
                static_cast<const ui::CheckBox&>(c).checked);
      break;
    case ui::Kind::combo_box:
      ExpectCombo(static_cast<const ui::ComboBox&>(c), *qobject_cast<const QComboBox*>(&w));
      break;
    case ui::Kind::gauge: {
      const auto& g = static_cast<const ui::Gauge&>(c);
      const auto* gw = qobject_cast<const qtui::GaugeWidget*>(&w);
      EXPECT_EQ(gw->shown_progress(), g.progress);
      EXPECT_EQ(gw->shown_max(), g.max_value);
      EXPECT_EQ(gw->shown_percent(), g.percent());
      break;
    }
    case ui::Kind::spinner:
      EXPECT_EQ(qobject_cast<const qtui::SpinnerWidget*>(&w)->turning(), c.showing());
      break;
    case ui::Kind::picture:
      EXPECT_FALSE(qobject_cast<const qtui::PictureWidget*>(&w)->image().isNull());
      break;
    default:
      break;
  }
}

}  // namespace

void ExpectWidgetsFollow(const qtui::FormView& view, const ui::Control& c) {
  for (const ui::Control* child : c.children()) {
    SCOPED_TRACE(child->name());
    const QWidget* w = view.widget_of(*child);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName(), Q(child->name()));
    ExpectPlace(*child, *w);
    EXPECT_EQ(w->isHidden(), !child->visible);
    EXPECT_EQ(w->isEnabled(), child->usable());
    EXPECT_EQ(w->font().pixelSize(), child->font.size_px);
    EXPECT_EQ(w->font().bold(), child->font.bold);
    ExpectText(*child, *w);
    ExpectState(*child, *w);
    ExpectWidgetsFollow(view, *child);
  }
}
