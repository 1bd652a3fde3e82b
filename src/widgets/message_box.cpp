#include "widgets/message_box.h"

namespace qlc {

void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &text) {
  QMessageBox box(icon, QStringLiteral("qlconvert"), text, QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("MessageBox"));
  box.exec();
}

}  // namespace qlc
