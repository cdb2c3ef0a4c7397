#include "qt/combo_widget.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "qt/convert.h"

namespace qtui {

ComboWidget::ComboWidget(ui::ComboBox& box, QWidget* parent, AfterInput after_input)
    : QComboBox(parent), box_(box), after_input_(std::move(after_input)) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  // Qt picks the entry equal to a typed text when the typing ends (Enter, or the
  // focus leaving), and completes typed text from the entries. Here typed text
  // stays typed text until the user picks an entry from the list.
  setCompleter(nullptr);
  setDuplicatesEnabled(true);
  disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
  disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
  connect(this, &QComboBox::activated, this, [this](int index) {
    box_.select(index);
    after_input_();
  });
  connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    box_.type_text(FromQString(text));
    after_input_();
  });
}

// Text the user is typing is left as typed.
void ComboWidget::sync_from_component() {
  const QSignalBlocker block(this);
  sync_items();
  if (currentIndex() != box_.item_index) setCurrentIndex(box_.item_index);
  const QString typed = ToQString(box_.text);
  const QString shown = ToQString(box_.shown_text());
  if (currentText() != shown && currentText() != typed) setEditText(shown);
  sync_colours();
}

void ComboWidget::sync_items() {
  QStringList wanted;
  for (std::size_t i = 0; i < box_.items.size(); ++i)
    wanted.push_back(ToQString(box_.shown_item(i)));
  bool same = count() == wanted.size();
  for (int i = 0; same && i < count(); ++i) same = itemText(i) == wanted[i];
  if (same) return;
  clear();
  addItems(wanted);
}

void ComboWidget::sync_colours() {
  const QColor base = ToQColor(box_.background);
  const QColor text = ToQColor(box_.font.color);
  QPalette pal = palette();
  if (pal.color(QPalette::Base) == base && pal.color(QPalette::Text) == text) return;
  // The same colours in every state: a disabled box shows the colours it was given.
  pal.setColor(QPalette::Base, base);
  pal.setColor(QPalette::Text, text);
  pal.setColor(QPalette::ButtonText, text);
  setPalette(pal);
  lineEdit()->setPalette(pal);
}

}  // namespace qtui
