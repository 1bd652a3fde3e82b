#include "dialogs/add_dialog.h"

#include <QDir>
#include <QKeyEvent>
#include <QPushButton>

#include "widgets/design.h"

namespace qlc {

AddDialog::AddDialog(QWidget *parent, const char *name, const QString &title, int heightTwips,
                     const QString &folder)
    : QDialog(parent), folder_(folder.isEmpty() ? QDir::currentPath() : folder) {
  setObjectName(QString::fromLatin1(name));
  setWindowTitle(title);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setModal(true);
  setFont(DesignFont(Face::Arial, 8.25));
  resize(TwipsToPx(4680), TwipsToPx(heightTwips));
}

QString AddDialog::DataPath(const char *fileName) const {
  return QDir(folder_).filePath(QString::fromLatin1(fileName));
}

void AddDialog::keyPressEvent(QKeyEvent *event) {
  const int key = event->key();
  if (key != Qt::Key_Escape && key != Qt::Key_Return && key != Qt::Key_Enter) {
    QDialog::keyPressEvent(event);
    return;
  }
  // A focused button leaves Enter to the dialog, as it is no default button.
  if (key != Qt::Key_Escape)
    if (auto *button = qobject_cast<QPushButton *>(focusWidget())) button->click();
  event->accept();
}

}  // namespace qlc
