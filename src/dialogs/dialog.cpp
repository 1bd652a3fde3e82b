#include "dialogs/dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "tray/winproc.h"
#include "widgets/design.h"

namespace qlc {

QString Dialog::MessageText() {
  return QStringLiteral(
      "The Quellor Unit Converter is designed to run in your system tray.  This makes it "
      "easily accessable from your desktop.  Click Ok to Minimize. ");
}

Dialog::Dialog(QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Dialog"));
  setWindowTitle(QStringLiteral("System Tray"));
  // A fixed dialog border with a close box only.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(TwipsToPx(3120), TwipsToPx(2250));
  // The prompt's small dialog font, so that the message fits above the buttons.
  setFont(DesignFont(Face::MsSansSerif, 8.25));

  Label1 = new QLabel(MessageText(), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setTextFormat(Qt::PlainText);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  PlaceTwips(Label1, 120, 120, 2895, 1095);

  OKButton = MakeButton(this, "OKButton", QStringLiteral("OK"), true);
  PlaceTwips(OKButton, 120, 1080, 1215, 375);
  CommandCancel = MakeButton(this, "CommandCancel", QStringLiteral("Cancel"), true);
  PlaceTwips(CommandCancel, 1680, 1080, 1215, 375);
  commandUnload = MakeButton(this, "commandUnload", QStringLiteral("Unload Program"), true);
  PlaceTwips(commandUnload, 120, 1680, 2655, 375);

  setTabOrder(OKButton, CommandCancel);
  setTabOrder(CommandCancel, commandUnload);
  OKButton->setFocus();

  connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
  connect(CommandCancel, &QPushButton::clicked, this, [this] { CommandCancel_Click(); });
  connect(commandUnload, &QPushButton::clicked, this, [this] { commandUnload_Click(); });
}

void Dialog::OKButton_Click() {
  DialogChoice = kMinimiseToTray;
  accept();
}

void Dialog::CommandCancel_Click() {
  DialogChoice = kCancelClose;
  accept();
}

void Dialog::commandUnload_Click() {
  DialogChoice = kUnloadProgram;
  accept();
}

void Dialog::keyPressEvent(QKeyEvent *event) {
  // Escape does nothing here: the user must pick one of the three answers.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace qlc
