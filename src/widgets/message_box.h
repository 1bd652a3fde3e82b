#pragma once
// The program's message boxes, with an OK button and the caption "qlconvert".

#include <QMessageBox>
#include <QString>

class QWidget;

namespace qlc {

void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &text);

}  // namespace qlc
