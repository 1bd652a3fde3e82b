#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qlc {

class FlexGrid;

// The types of type.txt that the Add dialogs offer: every line but line 1 (the all-types
// entry), in file order. A file that cannot be read gives an empty list.
QStringList ListedTypes(const QString &typePath);

// The keys of the Add dialogs, whose buttons are bound to neither Enter nor Esc: Enter
// presses the button that has the focus and does nothing elsewhere; Esc does nothing.
// True when the key was one of them.
bool AddDialogKey(QDialog *dialog, QKeyEvent *event);

// "Add Type": shows the current types and appends a new one to type.txt.
class addtypes : public QDialog {
  Q_OBJECT
 public:
  // folder holds type.txt; empty means the working directory.
  explicit addtypes(QWidget *parent = nullptr, const QString &folder = QString());
  ~addtypes() override;

  FlexGrid *MSFG1 = nullptr;
  QLabel *Label1 = nullptr;
  QLineEdit *Text1 = nullptr;
  QPushButton *Command1 = nullptr;
  QPushButton *Command2 = nullptr;

  void Form_Load();
  void Command1_Click();
  void Command2_Click();

 protected:
  void keyPressEvent(QKeyEvent *event) override;

 private:
  QString typePath_;
};

}  // namespace qlc
