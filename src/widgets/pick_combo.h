#pragma once

#include <QComboBox>

namespace qlc {

// An editable drop-down list that reports every change of its selected entry as a pick: a
// click or Enter in the open list, Up/Down and Page Up/Page Down, the wheel. Typed text is
// no pick, also where Qt's own activated() fires for it (a typed text that equals an entry,
// confirmed by Enter or by leaving the box).
class PickCombo : public QComboBox {
  Q_OBJECT
 public:
  explicit PickCombo(QWidget *parent = nullptr);

 signals:
  void picked(int index);

 private:
  bool confirmingText_ = false;
};

}  // namespace qlc
