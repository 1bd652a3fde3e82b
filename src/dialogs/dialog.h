#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QPushButton;

namespace qlc {

// The prompt shown on every request to close the main window: minimise to the tray,
// cancel, or end the program. The answer goes to DialogChoice.
class Dialog : public QDialog {
  Q_OBJECT
 public:
  explicit Dialog(QWidget *parent = nullptr);

  static QString MessageText();

  QLabel *Label1 = nullptr;         // the prompt's message
  QPushButton *OKButton = nullptr;  // minimise to the tray
  QPushButton *CommandCancel = nullptr;
  QPushButton *commandUnload = nullptr;  // "Unload Program"

  void OKButton_Click();
  void CommandCancel_Click();
  void commandUnload_Click();

 protected:
  void keyPressEvent(QKeyEvent *event) override;
};

}  // namespace qlc
