#pragma once

#include <QString>

#include "dialogs/add_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qlc {

class FlexGrid;

// "Add Type": shows the current types and appends a new one to type.txt.
class addtypes : public AddDialog {
  Q_OBJECT
 public:
  // folder holds type.txt; empty means the working directory.
  explicit addtypes(QWidget *parent = nullptr, const QString &folder = QString());
  ~addtypes() override;

  FlexGrid *MSFG1 = nullptr;        // the current types
  QLabel *Label1 = nullptr;         // "Add New Type"
  QLineEdit *Text1 = nullptr;       // the new type
  QPushButton *Command1 = nullptr;  // OK
  QPushButton *Command2 = nullptr;  // Cancel

  void Form_Load();  // lists the current types; run once when the dialog is made
  void Command1_Click();
  void Command2_Click();

 private:
  QString typePath_;
};

}  // namespace qlc
