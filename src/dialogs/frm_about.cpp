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

QString frmAbout::SupportAddress() {
  return QStringLiteral("support@quellor.example");
}

namespace {

// The box's texts: left and top aligned, wrapped at their width.
QLabel *Text(QWidget *parent, const char *name, const QString &text, const QFont &font, int left,
             int top, int width, int height) {
  return PlaceTwips(MakeLabel(parent, name, text, Qt::AlignLeft | Qt::AlignTop, font, true), left,
                    top, width, height);
}

QFont Body() {
  return DesignFont(Face::Arial, 8.25);
}

QFont Heading() {
  return DesignFont(Face::Arial, 8.25, true);
}

}  // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  // A fixed dialog frame: no minimise or maximise box, no resizing.
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setModal(true);
  setFont(Body());
  setFixedSize(TwipsToPx(8895), TwipsToPx(6570));
  BuildProduct();
  BuildNotices();
  BuildSupport();
  // OK and System Info, then the two links top to bottom.
  setTabOrder(cmdOK, cmdSysInfo);
  setTabOrder(cmdSysInfo, Label12);
  setTabOrder(Label12, Label11);
  cmdOK->setFocus();
  Form_Load();
}

void frmAbout::BuildProduct() {
  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(Picture("logo").pixmap(QSize(147, 70)));
  Image1->setAccessibleDescription(QStringLiteral("Quellor logo"));
  PlaceTwips(Image1, 120, 240, 2205, 1050);

  const QFont title = DesignFont(Face::CopperplateGothicBold, 15.75, true);
  lbl3 = PlaceTwips(MakeLabel(this, "lbl3", QStringLiteral("Unit Converter"),
                              Qt::AlignHCenter | Qt::AlignTop, title, true),
                    120, 1440, 2205, 960);
  SetNavy(lbl3);

  lbl1 = Text(this, "lbl1", QStringLiteral("Copyright \u00A9 1999-2025"), Body(), 240, 2400, 1935,
              225);
  Label1 = Text(this, "Label1", QStringLiteral("Quellor, Inc."), Heading(), 360, 2640, 1695, 255);
  Label2 =
      Text(this, "Label2", QStringLiteral("All rights reserved."), Body(), 360, 2880, 1815, 255);

  cmdOK = MakeButton(this, "cmdOK", QStringLiteral("OK"), true);
  cmdOK->setDefault(true);
  PlaceTwips(cmdOK, 480, 3600, 1260, 345);
  cmdSysInfo = MakeButton(this, "cmdSysInfo", QStringLiteral("&System Info..."), true);
  PlaceTwips(cmdSysInfo, 480, 4200, 1245, 345);
  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

  Label13 = PlaceTwips(MakeLabel(this, "Label13", QStringLiteral("Revision 2.1.9"),
                                 Qt::AlignLeft | Qt::AlignTop, Body()),
                       600, 6000, 1095, 255);

  Line1 = new QFrame(this);
  Line1->setObjectName(QStringLiteral("Line1"));
  Line1->setFrameShape(QFrame::VLine);
  Line1->setFrameShadow(QFrame::Sunken);
  Line1->setGeometry(TwipsToPx(2520) - 1, 0, 2, height());
}

void frmAbout::BuildNotices() {
  Label3 =
      Text(this, "Label3", QStringLiteral("LICENCE AND WARRANTY"), Heading(), 2640, 120, 2535, 255);
  lblDescription =
      Text(this, "lblDescription",
           QStringLiteral("By installing or using Quellor Unit Converter you agree to the terms of "
                          "distribution and the disclaimer of warranty below."),
           Body(), 2640, 360, 6165, 450);
  Label5 = Text(this, "Label5", QStringLiteral("DISTRIBUTION"), Heading(), 2640, 840, 2535, 375);
  Label6 =
      Text(this, "Label6",
           QStringLiteral("Quellor Unit Converter is freeware. You may use it free of charge and "
                          "copy it freely for personal, non-commercial use, provided that every "
                          "copy is complete and unchanged, with this notice. It may not be sold, "
                          "or bundled with anything that is sold, without the written permission "
                          "of Quellor, Inc."),
           Body(), 2640, 1080, 6135, 1095);
  Label4 = Text(this, "Label4", QStringLiteral("DISCLAIMER OF WARRANTY"), Heading(), 2640, 2160,
                3135, 255);
  Label7 = Text(
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
      Body(), 2640, 2400, 6015, 2295);
}

void frmAbout::BuildSupport() {
  Label8 =
      Text(this, "Label8", QStringLiteral("TECHNICAL SUPPORT"), Heading(), 2640, 4680, 2895, 255);
  Label9 = Text(this, "Label9",
                QStringLiteral("Please send comments, error reports and requests by e-mail "
                               "to:"),
                Body(), 2640, 4920, 6135, 255);
  auto *support = new LinkLabel(this, "Label12", SupportAddress(), Qt::AlignLeft | Qt::AlignTop,
                                8.25, QStringLiteral("Write an e-mail to support"));
  connect(support, &LinkLabel::clicked, this, &frmAbout::Label12_Click);
  Label12 = PlaceTwips(support, 2640, 5160, 3015, 255);
  Label10 =
      Text(this, "Label10",
           QStringLiteral("Quellor, Inc. maintains this software. The latest version is always "
                          "available free of charge on our home page:"),
           Body(), 2640, 5520, 6135, 495);
  auto *home =
      new LinkLabel(this, "Label11", QLatin1String(kHomePageText), Qt::AlignLeft | Qt::AlignTop,
                    14.25, QStringLiteral("Open the home page"));
  connect(home, &LinkLabel::clicked, this, &frmAbout::Label11_Click);
  Label11 = PlaceTwips(home, 3720, 6120, 3975, 375);
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
  CurrentServices().shell->Open(QUrl(QLatin1String(kHomePage)));
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

}  // namespace qlc
