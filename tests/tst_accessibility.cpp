// Qt 6.4 publishes a label's accessible name instead of its text: a label given one hides
// what it says from screen readers. Every window is checked once shown, with what it builds
// when it opens.
#include <QLabel>
#include <QtTest>
#include <memory>

#include "dialogs/addconvert.h"
#include "dialogs/addtypes.h"
#include "dialogs/dialog.h"
#include "dialogs/frm_about.h"
#include "doubles.h"
#include "main_window/frm_main.h"
#include "test_support.h"

using namespace qlc;

class TestAccessibility : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;

 private slots:
  void labelsShowTheirText() {
    QVERIFY(test::WriteBytes(dir_.filePath("type.txt"), "\"ALL\"\r\n\"LENGTH\"\r\n"));
    QVERIFY(
        test::WriteBytes(dir_.filePath("convert.txt"), "\"Ft\",\"M\",\"LENGTH\",\"0.3\",0\r\n"));
    QVERIFY(QDir::setCurrent(dir_.path()));
    test::ModalAnswers answers;  // nothing here may wait on a modal message box
    QStringList faults;
    const std::unique_ptr<QWidget> windows[] = {
        std::make_unique<frmMain>(), std::make_unique<addtypes>(nullptr, dir_.path()),
        std::make_unique<addconvert>(nullptr, dir_.path()), std::make_unique<frmAbout>(),
        std::make_unique<Dialog>()};
    for (const auto &window : windows) {
      window->show();
      QVERIFY(QTest::qWaitForWindowExposed(window.get()));
      const QList<QLabel *> labels = window->findChildren<QLabel *>();
      QVERIFY2(!labels.isEmpty(), qPrintable(window->objectName()));
      for (const QLabel *label : labels)
        if (!label->accessibleName().isEmpty())
          faults << window->objectName() + ' ' + label->objectName();
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
