#pragma once

#include <QDialog>
#include <QString>

class QKeyEvent;

namespace qlc {

// What the two Add dialogs share: a fixed-size modal window in the design's font that writes
// into the data files of one folder, and buttons bound to neither Enter nor Esc.
class AddDialog : public QDialog {
  Q_OBJECT
 public:
  // folder holds the data files; empty means the working directory.
  AddDialog(QWidget *parent, const char *name, const QString &title, int heightTwips,
            const QString &folder);

 protected:
  // The path of one of the data files in the dialog's folder.
  QString DataPath(const char *fileName) const;
  // Enter presses the button that has the focus and does nothing elsewhere; Esc does nothing.
  void keyPressEvent(QKeyEvent *event) override;

 private:
  QString folder_;
};

}  // namespace qlc
