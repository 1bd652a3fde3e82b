// What screen readers and black-box tests find: each control's objectName and the accessible
// names and descriptions Qt 6.4 publishes. Qt's own parts of compound widgets are skipped.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "dialogs/addconvert.h"
#include "dialogs/addtypes.h"
#include "dialogs/dialog.h"
#include "dialogs/frm_about.h"
#include "dialogs/message_box.h"
#include "main_window/frm_main.h"
#include "test_support.h"

using namespace qlc;

namespace {

template <class T>
bool Is(const QWidget *w) {
  return qobject_cast<const T *>(w) != nullptr;
}

// The window's controls, without looking inside combo boxes, views, spin boxes, menu bars.
void CollectControls(QWidget *parent, QList<QWidget *> &out) {
  for (QObject *child : parent->children()) {
    auto *w = qobject_cast<QWidget *>(child);
    if (!w || w->isWindow()) continue;
    out << w;
    if (!Is<QComboBox>(w) && !Is<QAbstractScrollArea>(w) && !Is<QAbstractSpinBox>(w) &&
        !Is<QMenuBar>(w))
      CollectControls(w, out);
  }
}

QWidget *MakeWindow(const QString &name, const QString &folder) {
  if (name == "frmMain") return new frmMain;
  if (name == "addtypes") return new addtypes(nullptr, folder);
  if (name == "addconvert") return new addconvert(nullptr, folder);
  if (name == "frmAbout") return new frmAbout;
  return new Dialog;
}

// One line per fault, "control: fault"; empty when the window is sound.
QStringList Faults(QWidget *window) {
  QList<QWidget *> controls;
  CollectControls(window, controls);
  QStringList faults;
  if (controls.size() < 3) faults << "the walk found no controls";
  for (QWidget *w : controls) {
    const QString name = w->objectName();
    const QString who = name.isEmpty() ? QString("unnamed ") + w->metaObject()->className() : name;
    if (name.isEmpty()) faults << who + ": no objectName";
    const bool input = Is<QLineEdit>(w) || Is<QAbstractItemView>(w) || Is<QAbstractButton>(w);
    if (input && w->accessibleName().isEmpty()) faults << who + ": no accessibleName";
    // Qt 6.4 names a combo box by its current text; only its description tells what it is.
    if (Is<QComboBox>(w) && w->accessibleDescription().isEmpty())
      faults << who + ": no accessibleDescription";
    // Qt 6.4 publishes a label's accessible name instead of its text.
    if (Is<QLabel>(w) && !w->accessibleName().isEmpty()) faults << who + ": label hides its text";
  }
  return faults;
}

}  // namespace

class TestAccessibility : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;

 private slots:
  void initTestCase() {
    QVERIFY(test::WriteBytes(dir_.filePath("type.txt"), "\"ALL\"\r\n\"LENGTH\"\r\n\"AREA\"\r\n"));
    QVERIFY(test::WriteBytes(dir_.filePath("convert.txt"),
                             "\"Feet\",\"Meters\",\"LENGTH\",\"0.3048\",0\r\n"
                             "\"Acres\",\"Hectares\",\"AREA\",\"0.40468564224\",0\r\n"));
    QVERIFY(QDir::setCurrent(dir_.path()));
    // Nothing here may wait on a modal message box.
    SetMessageFunction([](QWidget *, QMessageBox::Icon, const QString &text) {
      qWarning("message box: %s", qPrintable(text));
    });
  }

  void windowsPublishTheirControls_data() {
    QTest::addColumn<QString>("name");
    for (const char *name : {"frmMain", "addtypes", "addconvert", "frmAbout", "Dialog"})
      QTest::newRow(name) << QString(name);
  }
  void windowsPublishTheirControls() {
    QFETCH(QString, name);
    const std::unique_ptr<QWidget> window(MakeWindow(name, dir_.path()));
    window->show();  // whatever a window builds when it opens is checked too
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->objectName(), name);
    const QStringList faults = Faults(window.get());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }

  // The walker finds one fault of each kind, and skips the inner parts of a combo and a table.
  void faultsAreFound() {
    QWidget window;
    new QLineEdit(&window);  // no objectName, no accessibleName
    const auto add = [&window](QWidget *w, const char *name, const char *accessible = "") {
      w->setParent(&window);
      w->setObjectName(name);
      w->setAccessibleName(accessible);
    };
    add(new QLineEdit, "Text1", "Value");
    add(new QPushButton("OK"), "Button1");
    add(new QComboBox, "Combo1", "Digits");
    add(new QTableView, "Grid");
    add(new QLabel("Select Type"), "Label1", "Select Type");
    window.findChild<QComboBox *>()->setEditable(true);  // its inner line edit is not counted
    const QStringList expected = {
        "unnamed QLineEdit: no objectName", "unnamed QLineEdit: no accessibleName",
        "Button1: no accessibleName",       "Combo1: no accessibleDescription",
        "Grid: no accessibleName",          "Label1: label hides its text",
    };
    QCOMPARE(Faults(&window), expected);
  }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
