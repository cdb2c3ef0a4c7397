#include "qt/check_box_widget.h"

#include <QSignalBlocker>

#include "qt/convert.h"

namespace qtui {

CheckBoxWidget::CheckBoxWidget(ui::CheckBox& box, QWidget* parent, AfterInput after_input)
    : QCheckBox(parent), box_(box), after_input_(std::move(after_input)) {
  connect(this, &QCheckBox::clicked, this, [this] {
    box_.click();
    after_input_();
  });
}

void CheckBoxWidget::sync_from_component() {
  const QSignalBlocker block(this);
  const QString text = ToQString(box_.caption);
  if (this->text() != text) setText(text);
  if (isChecked() != box_.checked) setChecked(box_.checked);
  const QColor colour = ToQColor(box_.font.color);
  if (palette().color(QPalette::WindowText) != colour) {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colour);
    setPalette(pal);
  }
}

}  // namespace qtui
