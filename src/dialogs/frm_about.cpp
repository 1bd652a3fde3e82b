#include "dialogs/frm_about.h"

#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include "platform/services.h"
#include "platform/sysinfo.h"
#include "widgets/design.h"
#include "widgets/message_box.h"

namespace qlc {

namespace {

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, int left, int top,
                  int width, int height, const QFont &font) {
  auto *label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  PlaceTwips(label, left, top, width, height);
  return label;
}

QLabel *MakeLink(QWidget *parent, const char *name, const QString &text, double points, int left,
                 int top, int width, int height, const QString &description) {
  QLabel *label = MakeLabel(parent, name, text, left, top, width, height, QFont());
  label->setWordWrap(false);
  StyleAsLink(label, points);
  label->setAccessibleDescription(description);
  return label;
}

}  // namespace

QString frmAbout::SupportAddress() {
  return QStringLiteral("support@quellor.example");
}

QString frmAbout::HomePage() {
  return QString::fromLatin1(kHomePage);
}

frmAbout::frmAbout(QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  // A fixed dialog frame: no minimise or maximise box, no resizing.
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setModal(true);
  const QFont body = DesignFont(Face::Arial, 8.25);
  const QFont heading = DesignFont(Face::Arial, 8.25, true);
  setFont(body);
  setFixedSize(TwipsToPx(8895), TwipsToPx(6570));

  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(Picture("logo").pixmap(QSize(147, 70)));
  Image1->setAccessibleDescription(QStringLiteral("Quellor logo"));
  PlaceTwips(Image1, 120, 240, 2205, 1050);

  const QFont title = DesignFont(Face::CopperplateGothicBold, 15.75, true);
  lbl3 = MakeLabel(this, "lbl3", QStringLiteral("Unit Converter"), 120, 1440, 2205, 960, title);
  lbl3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  SetNavy(lbl3);

  lbl1 = MakeLabel(this, "lbl1", QStringLiteral("Copyright \u00A9 1999-2025"), 240, 2400, 1935, 225,
                   body);
  Label1 =
      MakeLabel(this, "Label1", QStringLiteral("Quellor, Inc."), 360, 2640, 1695, 255, heading);
  Label2 =
      MakeLabel(this, "Label2", QStringLiteral("All rights reserved."), 360, 2880, 1815, 255, body);

  cmdOK = MakeButton(this, "cmdOK", QStringLiteral("OK"), true);
  cmdOK->setDefault(true);
  PlaceTwips(cmdOK, 480, 3600, 1260, 345);
  cmdSysInfo = MakeButton(this, "cmdSysInfo", QStringLiteral("&System Info..."), true);
  PlaceTwips(cmdSysInfo, 480, 4200, 1245, 345);

  Label13 =
      MakeLabel(this, "Label13", QStringLiteral("Revision 2.1.9"), 600, 6000, 1095, 255, body);
  Label13->setWordWrap(false);

  Line1 = new QFrame(this);
  Line1->setObjectName(QStringLiteral("Line1"));
  Line1->setFrameShape(QFrame::VLine);
  Line1->setFrameShadow(QFrame::Sunken);
  Line1->setGeometry(TwipsToPx(2520) - 1, 0, 2, height());

  Label3 = MakeLabel(this, "Label3", QStringLiteral("LICENCE AND WARRANTY"), 2640, 120, 2535, 255,
                     heading);
  lblDescription = MakeLabel(
      this, "lblDescription",
      QStringLiteral("By installing or using Quellor Unit Converter you agree to the terms of "
                     "distribution and the disclaimer of warranty below."),
      2640, 360, 6165, 450, body);
  Label5 = MakeLabel(this, "Label5", QStringLiteral("DISTRIBUTION"), 2640, 840, 2535, 375, heading);
  Label6 = MakeLabel(
      this, "Label6",
      QStringLiteral("Quellor Unit Converter is freeware. You may use it free of charge and "
                     "copy it freely for personal, non-commercial use, provided that every "
                     "copy is complete and unchanged, with this notice. It may not be sold, "
                     "or bundled with anything that is sold, without the written permission "
                     "of Quellor, Inc."),
      2640, 1080, 6135, 1095, body);
  Label4 = MakeLabel(this, "Label4", QStringLiteral("DISCLAIMER OF WARRANTY"), 2640, 2160, 3135,
                     255, heading);
  Label7 = MakeLabel(
      this, "Label7",
      QStringLiteral(
          "This software and its conversion data are provided \"as is\", without warranty of "
          "any kind, express or implied, including but not limited to the warranties of "
          "merchantability, fitness for a particular purpose and non-infringement. The whole "
          "risk as to the quality and performance of the software, and as to the accuracy of "
          "every conversion made with it, is with you.\n\nIn no event shall Quellor, Inc. be "
          "liable for any damages whatsoever, direct or indirect, incidental or consequential, "
          "including loss of data, profits or business, arising out of the use of or the "
          "inability to use this software, even if it has been advised of the possibility of "
          "such damages. Check any result that matters before you rely on it."),
      2640, 2400, 6015, 2295, body);
  Label8 = MakeLabel(this, "Label8", QStringLiteral("TECHNICAL SUPPORT"), 2640, 4680, 2895, 255,
                     heading);
  Label9 = MakeLabel(this, "Label9",
                     QStringLiteral("Please send comments, error reports and requests by e-mail "
                                    "to:"),
                     2640, 4920, 6135, 255, body);
  Label12 = MakeLink(this, "Label12", SupportAddress(), 8.25, 2640, 5160, 3015, 255,
                     QStringLiteral("Write an e-mail to support"));
  Label10 = MakeLabel(
      this, "Label10",
      QStringLiteral("Quellor, Inc. maintains this software. The latest version is always "
                     "available free of charge on our home page:"),
      2640, 5520, 6135, 495, body);
  Label11 = MakeLink(this, "Label11", QStringLiteral("www.quellor.example"), 14.25, 3720, 6120,
                     3975, 375, QStringLiteral("Open the home page"));
  Label11->installEventFilter(this);
  Label12->installEventFilter(this);

  setTabOrder(cmdOK, cmdSysInfo);
  cmdOK->setFocus();
  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
  Form_Load();
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load() {
  setWindowTitle(QStringLiteral("About Unit Converter"));
}

void frmAbout::cmdOK_Click() {
  accept();
}

void frmAbout::cmdSysInfo_Click() {
  const QString message = StartSysInfo(CurrentServices());
  if (!message.isEmpty()) ShowMessage(this, QMessageBox::Information, message);
}

void frmAbout::Label11_Click() {
  CurrentServices().shell->Open(QUrl(HomePage()));
}

void frmAbout::Label12_Click() {
  CurrentServices().shell->Open(QUrl(QStringLiteral("mailto:") + SupportAddress()));
}

void frmAbout::keyPressEvent(QKeyEvent *event) {
  // Esc presses OK, as Enter does through the default button.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    cmdOK->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
    if (watched == Label11) Label11_Click();
    if (watched == Label12) Label12_Click();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace qlc
