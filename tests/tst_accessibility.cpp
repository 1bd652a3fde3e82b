// What screen readers and black-box tests find in every window: each control's objectName
// and the accessible names and descriptions Qt 6.4 publishes.
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

template <class W>
QWidget *Make(const QString &dir) {
  if constexpr (std::is_constructible_v<W, QWidget *, QString>) return new W(nullptr, dir);
  return new W;
}

// One line per fault for the controls below parent, and their count; Qt's own parts of
// compound widgets are not looked into.
int Faults(QWidget *parent, QStringList &faults) {
  int controls = 0;
  for (QWidget *w : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
    if (w->isWindow()) continue;
    const QString who = w->window()->objectName() + ' ' + w->metaObject()->className() + ' ' +
                        w->objectName() + ": ";
    const auto is = [w](const char *className) { return w->inherits(className); };
    if (w->objectName().isEmpty()) faults << who + "no objectName";
    if ((is("QLineEdit") || is("QAbstractItemView") || is("QAbstractButton")) &&
        w->accessibleName().isEmpty())
      faults << who + "no accessibleName";
    // Qt 6.4 names a combo box by its current text; only its description tells what it is.
    if (is("QComboBox") && w->accessibleDescription().isEmpty())
      faults << who + "no accessibleDescription";
    // Qt 6.4 publishes a label's accessible name instead of its text.
    if (is("QLabel") && !w->accessibleName().isEmpty()) faults << who + "label hides its text";
    const bool compound =
        is("QComboBox") || is("QAbstractScrollArea") || is("QAbstractSpinBox") || is("QMenuBar");
    controls += 1 + (compound ? 0 : Faults(w, faults));
  }
  return controls;
}

}  // namespace

class TestAccessibility : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;

 private slots:
  void windowsPublishTheirControls() {
    QVERIFY(test::WriteBytes(dir_.filePath("type.txt"), "\"ALL\"\r\n\"LENGTH\"\r\n"));
    QVERIFY(
        test::WriteBytes(dir_.filePath("convert.txt"), "\"Ft\",\"M\",\"LENGTH\",\"0.3\",0\r\n"));
    QVERIFY(QDir::setCurrent(dir_.path()));
    test::ModalAnswers answers;  // nothing here may wait on a modal message box
    std::unique_ptr<QWidget> window;
    QStringList faults;
    for (const auto make :
         {&Make<frmMain>, &Make<addtypes>, &Make<addconvert>, &Make<frmAbout>, &Make<Dialog>}) {
      window.reset(make(dir_.path()));
      window->show();  // whatever a window builds when it opens is checked too
      QVERIFY(QTest::qWaitForWindowExposed(window.get()));
      QVERIFY2(Faults(window.get(), faults) >= 3, "the walk found no controls");
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
