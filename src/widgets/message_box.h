#pragma once
// The program's message boxes, with an OK button and the caption "qlconvert". Tests
// replace the function that shows them so that nothing blocks on a modal box.

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace qlc {

using MessageFunction =
    std::function<void(QWidget *parent, QMessageBox::Icon icon, const QString &text)>;

void ShowMessage(QWidget *parent, QMessageBox::Icon icon, const QString &text);
// Replaces the function; an empty one restores the real message box. Returns the old one.
MessageFunction SetMessageFunction(MessageFunction fn);

}  // namespace qlc
