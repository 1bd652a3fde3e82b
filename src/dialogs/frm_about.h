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
  static QString HomePage();

  QLabel *Image1 = nullptr;
  QLabel *lbl3 = nullptr;
  QLabel *lbl1 = nullptr;
  QLabel *Label1 = nullptr;
  QLabel *Label2 = nullptr;
  QPushButton *cmdOK = nullptr;
  QPushButton *cmdSysInfo = nullptr;
  QLabel *Label13 = nullptr;
  QFrame *Line1 = nullptr;
  QLabel *Label3 = nullptr;
  QLabel *lblDescription = nullptr;
  QLabel *Label5 = nullptr;
  QLabel *Label6 = nullptr;
  QLabel *Label4 = nullptr;
  QLabel *Label7 = nullptr;
  QLabel *Label8 = nullptr;
  QLabel *Label9 = nullptr;
  QLabel *Label12 = nullptr;
  QLabel *Label10 = nullptr;
  QLabel *Label11 = nullptr;

  void Form_Load();
  void cmdOK_Click();
  void cmdSysInfo_Click();
  void Label11_Click();
  void Label12_Click();

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
};

}  // namespace qlc
