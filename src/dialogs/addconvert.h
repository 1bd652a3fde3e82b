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

  QLabel *Label6 = nullptr;
  QLabel *Label5 = nullptr;
  QComboBox *Combo1 = nullptr;
  QLabel *Label1 = nullptr;
  QLineEdit *Text1 = nullptr;
  QLabel *Label2 = nullptr;
  QLineEdit *Text2 = nullptr;
  QLabel *Label3 = nullptr;
  QLineEdit *Text3 = nullptr;
  QLabel *Label4 = nullptr;
  QLineEdit *Text4 = nullptr;
  QPushButton *CommandOK = nullptr;
  QPushButton *CommandCancel = nullptr;

  void Form_Load();
  void CommandOK_Click();
  void CommandCancel_Click();

 private:
  void Refuse(const QString &text);
  QString typePath_;
  QString convertPath_;
};

}  // namespace qlc
