#pragma once

#include <QComboBox>

namespace qlc {

// An editable drop-down list that reports only picks from its list. Qt's own activated()
// also fires when typed text that equals an entry is confirmed; typing must not act.
class PickCombo : public QComboBox {
  Q_OBJECT
 public:
  explicit PickCombo(QWidget *parent = nullptr);
  void showPopup() override;
  void hidePopup() override;

 signals:
  void picked(int index);

 private:
  bool popupOpen_ = false;
  bool popupClosing_ = false;
};

}  // namespace qlc
