#include "widgets/message_box.h"

namespace qlc {

namespace {
MessageFunction &Current() {
  static MessageFunction fn;
  return fn;
}
}  // namespace

void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &text) {
  if (Current()) {
    Current()(parent, icon, text);
    return;
  }
  QMessageBox box(icon, QStringLiteral("qlconvert"), text, QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("MessageBox"));
  box.exec();
}

MessageFunction SetMessageFunction(MessageFunction fn) {
  MessageFunction old = std::move(Current());
  Current() = std::move(fn);
  return old;
}

}  // namespace qlc
