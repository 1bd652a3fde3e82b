#include "widgets/pick_combo.h"

#include <QLineEdit>

namespace qlc {

PickCombo::PickCombo(QWidget *parent) : QComboBox(parent) {
  setEditable(true);
  // Qt's combo turns a confirmed typed text into activated() from its handlers of these two
  // line-edit signals, which it connects in setLineEdit(). Slots run in the order they were
  // connected, so these two pairs bracket Qt's handlers.
  auto *edit = new QLineEdit(this);
  const auto confirming = [this] { confirmingText_ = true; };
  const auto confirmed = [this] { confirmingText_ = false; };
  connect(edit, &QLineEdit::returnPressed, this, confirming);
  connect(edit, &QLineEdit::editingFinished, this, confirming);
  setLineEdit(edit);
  connect(edit, &QLineEdit::returnPressed, this, confirmed);
  connect(edit, &QLineEdit::editingFinished, this, confirmed);
  setInsertPolicy(QComboBox::NoInsert);
  setDuplicatesEnabled(true);
  // Typing must not replace the text with a matching entry.
  setCompleter(nullptr);
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (confirmingText_) return;
    // A long entry shows from its beginning.
    lineEdit()->setCursorPosition(0);
    emit picked(index);
  });
}

}  // namespace qlc
