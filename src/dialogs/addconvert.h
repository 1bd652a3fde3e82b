#pragma once

#include <QString>

#include "dialogs/add_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qlc {

// "Add Conversion": appends one conversion record to convert.txt.
class addconvert : public AddDialog {
  Q_OBJECT
 public:
  // folder holds type.txt and convert.txt; empty means the working directory.
  explicit addconvert(QWidget *parent = nullptr, const QString &folder = QString());
  ~addconvert() override;

  QLabel *Label6 = nullptr;     // instructions
  QLabel *Label5 = nullptr;     // "Conversion Type:"
  QComboBox *Combo1 = nullptr;  // conversion type (group)
  QLabel *Label1 = nullptr;     // "Convert From:"
  QLineEdit *Text1 = nullptr;   // from unit
  QLabel *Label2 = nullptr;     // "Convert To:"
  QLineEdit *Text2 = nullptr;   // to unit
  QLabel *Label3 = nullptr;     // "Conversion Multiplier:"
  QLineEdit *Text3 = nullptr;   // multiplier
  QLabel *Label4 = nullptr;     // "Conversion Adder:"
  QLineEdit *Text4 = nullptr;   // adder
  QPushButton *CommandOK = nullptr;
  QPushButton *CommandCancel = nullptr;

  void Form_Load();  // lists the types to choose from; run once when the dialog is made
  void CommandOK_Click();
  void CommandCancel_Click();

 private:
  void Refuse(const QString &text);
  QString typePath_;
  QString convertPath_;
};

}  // namespace qlc
