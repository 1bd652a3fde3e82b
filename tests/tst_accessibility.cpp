// What screen readers and black-box tests find: each control's objectName and the accessible
// names and descriptions Qt 6.4 publishes. Qt's own parts of compound widgets are skipped.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
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

namespace {

template <class T>
bool Is(const QObject *w) {
  return qobject_cast<const T *>(w) != nullptr;
}

// One line per fault, "control: fault", for the controls below parent; Qt's own parts of
// combo boxes, views, spin boxes and menu bars are not looked into.
void Faults(QWidget *parent, QStringList &faults, int &controls) {
  for (QObject *child : parent->children()) {
    auto *w = qobject_cast<QWidget *>(child);
    if (!w || w->isWindow()) continue;
    ++controls;
    const QString who = w->metaObject()->className() + (' ' + w->objectName());
    if (w->objectName().isEmpty()) faults << who + ": no objectName";
    const bool input = Is<QLineEdit>(w) || Is<QAbstractItemView>(w) || Is<QAbstractButton>(w);
    if (input && w->accessibleName().isEmpty()) faults << who + ": no accessibleName";
    // Qt 6.4 names a combo box by its current text; only its description tells what it is.
    if (Is<QComboBox>(w) && w->accessibleDescription().isEmpty())
      faults << who + ": no accessibleDescription";
    // Qt 6.4 publishes a label's accessible name instead of its text.
    if (Is<QLabel>(w) && !w->accessibleName().isEmpty()) faults << who + ": label hides its text";
    if (!Is<QComboBox>(w) && !Is<QAbstractScrollArea>(w) && !Is<QAbstractSpinBox>(w) &&
        !Is<QMenuBar>(w))
      Faults(w, faults, controls);
  }
}

}  // namespace

class TestAccessibility : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;

 private slots:
  void windowsPublishTheirControls_data() {
    QTest::addColumn<QString>("name");
    for (const char *name : {"frmMain", "addtypes", "addconvert", "frmAbout", "Dialog"})
      QTest::newRow(name) << QString(name);
  }
  void windowsPublishTheirControls() {
    QFETCH(QString, name);
    QVERIFY(test::WriteBytes(dir_.filePath("type.txt"), "\"ALL\"\r\n\"LENGTH\"\r\n"));
    QVERIFY(
        test::WriteBytes(dir_.filePath("convert.txt"), "\"Ft\",\"M\",\"LENGTH\",\"0.3\",0\r\n"));
    QVERIFY(QDir::setCurrent(dir_.path()));
    // Nothing here may wait on a modal message box.
    test::ModalAnswers answers;
    std::unique_ptr<QWidget> window;
    if (name == "frmMain") window = std::make_unique<frmMain>();
    if (name == "addtypes") window = std::make_unique<addtypes>(nullptr, dir_.path());
    if (name == "addconvert") window = std::make_unique<addconvert>(nullptr, dir_.path());
    if (name == "frmAbout") window = std::make_unique<frmAbout>();
    if (name == "Dialog") window = std::make_unique<Dialog>();
    window->show();  // whatever a window builds when it opens is checked too
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->objectName(), name);
    QStringList faults;
    int controls = 0;
    Faults(window.get(), faults, controls);
    QVERIFY2(controls >= 3, "the walk found no controls");
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
