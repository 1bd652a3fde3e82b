#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

namespace qlc {

// The About box: product, notices, support contacts and the system information button.
class frmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget *parent = nullptr);
  ~frmAbout() override;

  static QString SupportAddress();

  QLabel *Image1 = nullptr;  // the logo
  QLabel *lbl3 = nullptr;    // "Unit Converter" title
  QLabel *lbl1 = nullptr;    // copyright
  QLabel *Label1 = nullptr;  // company name
  QLabel *Label2 = nullptr;  // "All rights reserved."
  QPushButton *cmdOK = nullptr;
  QPushButton *cmdSysInfo = nullptr;
  QLabel *Label13 = nullptr;  // revision
  QFrame *Line1 = nullptr;    // rule between the columns
  QLabel *Label3 = nullptr;   // "LICENCE AND WARRANTY"
  QLabel *lblDescription = nullptr;
  QLabel *Label5 = nullptr;   // "DISTRIBUTION"
  QLabel *Label6 = nullptr;   // distribution terms
  QLabel *Label4 = nullptr;   // "DISCLAIMER OF WARRANTY"
  QLabel *Label7 = nullptr;   // disclaimer
  QLabel *Label8 = nullptr;   // "TECHNICAL SUPPORT"
  QLabel *Label9 = nullptr;   // support request
  QLabel *Label12 = nullptr;  // support e-mail link
  QLabel *Label10 = nullptr;  // home page note
  QLabel *Label11 = nullptr;  // home page link

  void Form_Load();  // sets the caption; run once when the box is made
  void cmdOK_Click();
  void cmdSysInfo_Click();
  void Label11_Click();  // opens the home page
  void Label12_Click();  // writes to support

 protected:
  void keyPressEvent(QKeyEvent *event) override;

 private:
  // Makers of the box's parts, each with its controls' connections.
  void BuildProduct();  // the left column: logo, title, copyright, buttons, revision
  void BuildNotices();  // licence, distribution and disclaimer
  void BuildSupport();  // the support address and the home page
};

}  // namespace qlc
