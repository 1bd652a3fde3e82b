#include "main_window/pick_combo.h"

#include <QLineEdit>
#include <QTimer>

namespace qlc {

PickCombo::PickCombo(QWidget *parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setDuplicatesEnabled(true);
  // Typing must not replace the text with a matching entry.
  setCompleter(nullptr);
  connect(this, &QComboBox::activated, this, [this](int index) {
    if (popupOpen_ || popupClosing_) emit picked(index);
  });
}

void PickCombo::showPopup() {
  popupOpen_ = true;
  QComboBox::showPopup();
}

void PickCombo::hidePopup() {
  // Qt hides the popup before it reports the pick; remember the popup until then.
  popupClosing_ = popupOpen_;
  popupOpen_ = false;
  QComboBox::hidePopup();
  QTimer::singleShot(0, this, [this] { popupClosing_ = false; });
}

}  // namespace qlc
