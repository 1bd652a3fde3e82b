// Screen readers and black-box tests find controls through what each window publishes:
// every control's name, and the accessible names and descriptions Qt 6.4 really uses.
//
// Which widgets are checked: the window's own controls, found by walking its children.
// Qt builds some widgets out of parts of its own (the line edit and popup list of a combo
// box; the viewport, headers, scroll bars and corner button of a table; the extension
// button of a menu bar). Those parts are the compound widget's business and are skipped:
// the walk checks a combo box, item view, scroll area, spin box or menu bar itself but
// never looks inside it. Menus are checked by name only.

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
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

// Every window of the program. folder holds type.txt and convert.txt and is also the
// working directory.
struct WindowCase {
  const char *name;
  std::function<std::unique_ptr<QWidget>(const QString &folder)> make;
};

const WindowCase kWindows[] = {
    {"frmMain", [](const QString &) { return std::make_unique<frmMain>(); }},
    {"addtypes", [](const QString &f) { return std::make_unique<addtypes>(nullptr, f); }},
    {"addconvert", [](const QString &f) { return std::make_unique<addconvert>(nullptr, f); }},
    {"frmAbout", [](const QString &) { return std::make_unique<frmAbout>(); }},
    {"Dialog", [](const QString &) { return std::make_unique<Dialog>(); }},
};

bool IsCompound(const QWidget *w) {
  return qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractScrollArea *>(w) ||
         qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QMenuBar *>(w);
}

bool TakesInput(const QWidget *w) {
  return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractItemView *>(w) ||
         qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QComboBox *>(w);
}

void CollectControls(QWidget *parent, QList<QWidget *> &out) {
  for (QObject *child : parent->children()) {
    auto *w = qobject_cast<QWidget *>(child);
    if (!w || w->isWindow()) continue;
    out << w;
    if (!IsCompound(w)) CollectControls(w, out);
  }
}

// The window's menus: those of its menu bar and its pop-up menus, with their submenus.
// The menu bar's own extension menu is one of Qt's parts.
QList<QMenu *> Menus(QWidget *window, const QList<QWidget *> &controls) {
  QList<QMenu *> menus = window->findChildren<QMenu *>(Qt::FindDirectChildrenOnly);
  for (QWidget *w : controls) {
    if (auto *bar = qobject_cast<QMenuBar *>(w)) {
      for (QAction *a : bar->actions())
        if (a->menu()) menus << a->menu();
    }
  }
  for (int i = 0; i < menus.size(); ++i) {
    for (QAction *a : menus[i]->actions())
      if (a->menu() && !menus.contains(a->menu())) menus << a->menu();
  }
  return menus;
}

// One line per fault, "control: fault"; empty when the window is sound.
QStringList Faults(QWidget *window) {
  QStringList faults;
  if (window->objectName().isEmpty()) faults << QStringLiteral("window: no objectName");

  QList<QWidget *> controls;
  CollectControls(window, controls);
  QHash<QString, int> seen;
  for (QWidget *w : controls) {
    const QString name = w->objectName();
    const QString who =
        name.isEmpty() ? QStringLiteral("unnamed %1").arg(w->metaObject()->className()) : name;
    if (name.isEmpty())
      faults << who + QStringLiteral(": no objectName");
    else if (++seen[name] == 2)
      faults << who + QStringLiteral(": objectName used twice");

    if ((qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractItemView *>(w) ||
         qobject_cast<QAbstractButton *>(w)) &&
        w->accessibleName().isEmpty())
      faults << who + QStringLiteral(": no accessibleName");
    // Qt 6.4 names a combo box by its current text; only its description tells what it is.
    if (qobject_cast<QComboBox *>(w) && w->accessibleDescription().isEmpty())
      faults << who + QStringLiteral(": no accessibleDescription");
    // Qt 6.4 publishes a label's accessible name instead of its text.
    if (qobject_cast<QLabel *>(w) && !w->accessibleName().isEmpty())
      faults << who + QStringLiteral(": label with an accessibleName hides its text");
    if (TakesInput(w) && w->isEnabled() && !(w->focusPolicy() & Qt::TabFocus))
      faults << who + QStringLiteral(": cannot be reached with Tab");
  }
  for (QMenu *menu : Menus(window, controls)) {
    if (menu->objectName().isEmpty())
      faults << QStringLiteral("menu \"%1\": no objectName").arg(menu->title());
  }
  return faults;
}

}  // namespace

class TestAccessibility : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase();
  void cleanupTestCase();
  void windowsPublishTheirControls_data();
  void windowsPublishTheirControls();
  void faultsAreFound();

 private:
  QTemporaryDir dir_;
  QString oldDir_;
  MessageFunction oldMessage_;
};

void TestAccessibility::initTestCase() {
  QVERIFY(dir_.isValid());
  QVERIFY(test::WriteBytes(dir_.filePath("type.txt"), "\"ALL\"\r\n\"LENGTH\"\r\n\"AREA\"\r\n"));
  QVERIFY(test::WriteBytes(dir_.filePath("convert.txt"),
                           "\"Feet\",\"Meters\",\"LENGTH\",\"0.3048\",0\r\n"
                           "\"Acres\",\"Hectares\",\"AREA\",\"0.40468564224\",0\r\n"));
  oldDir_ = QDir::currentPath();
  QVERIFY(QDir::setCurrent(dir_.path()));
  // Nothing here may wait on a modal message box.
  oldMessage_ = SetMessageFunction([](QWidget *, QMessageBox::Icon, const QString &text) {
    qWarning("message box: %s", qPrintable(text));
  });
}

void TestAccessibility::cleanupTestCase() {
  SetMessageFunction(oldMessage_);
  QDir::setCurrent(oldDir_);
}

void TestAccessibility::windowsPublishTheirControls_data() {
  QTest::addColumn<int>("index");
  for (int i = 0; i < int(std::size(kWindows)); ++i) QTest::newRow(kWindows[i].name) << i;
}

void TestAccessibility::windowsPublishTheirControls() {
  QFETCH(int, index);
  std::unique_ptr<QWidget> window = kWindows[index].make(dir_.path());
  // Shown, so that whatever a window builds when it opens is checked too.
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  QCOMPARE(window->objectName(), QString::fromLatin1(kWindows[index].name));
  QList<QWidget *> controls;
  CollectControls(window.get(), controls);
  QVERIFY2(controls.size() >= 3, "the walk found no controls");
  const QStringList faults = Faults(window.get());
  QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("\n"))));
  window->hide();
}

// The checker itself: a window with one fault of each kind, and Qt's inner parts of a
// combo box and a table that must not count.
void TestAccessibility::faultsAreFound() {
  QDialog window;
  window.setObjectName(QStringLiteral("probe"));
  auto *named = new QLineEdit(&window);
  named->setObjectName(QStringLiteral("Text1"));
  named->setAccessibleName(QStringLiteral("Value"));
  new QLineEdit(&window);  // no objectName, no accessibleName
  auto *silentField = new QLineEdit(&window);
  silentField->setObjectName(QStringLiteral("Text2"));
  auto *combo = new QComboBox(&window);
  combo->setObjectName(QStringLiteral("Combo1"));
  combo->setEditable(true);
  auto *described = new QComboBox(&window);
  described->setObjectName(QStringLiteral("Combo2"));
  described->setEditable(true);
  described->setAccessibleDescription(QStringLiteral("Digits"));
  auto *table = new QTableView(&window);
  table->setObjectName(QStringLiteral("Grid"));
  auto *namedTable = new QTableView(&window);
  namedTable->setObjectName(QStringLiteral("Grid2"));
  namedTable->setAccessibleName(QStringLiteral("Conversions"));
  auto *label = new QLabel(QStringLiteral("Select Type"), &window);
  label->setObjectName(QStringLiteral("Label1"));
  label->setAccessibleName(QStringLiteral("Select Type"));
  auto *plain = new QLabel(QStringLiteral("="), &window);
  plain->setObjectName(QStringLiteral("Label2"));
  auto *box = new QWidget(&window);
  box->setObjectName(QStringLiteral("box"));
  auto *nested = new QPushButton(QStringLiteral("OK"), box);
  nested->setObjectName(QStringLiteral("Label2"));
  nested->setAccessibleName(QStringLiteral("OK"));
  nested->setFocusPolicy(Qt::ClickFocus);
  auto *menu = new QMenu(QStringLiteral("&File"), &window);
  Q_UNUSED(menu);

  const QStringList expected = {
      QStringLiteral("unnamed QLineEdit: no objectName"),
      QStringLiteral("unnamed QLineEdit: no accessibleName"),
      QStringLiteral("Text2: no accessibleName"),
      QStringLiteral("Combo1: no accessibleDescription"),
      QStringLiteral("Grid: no accessibleName"),
      QStringLiteral("Label1: label with an accessibleName hides its text"),
      QStringLiteral("Label2: objectName used twice"),
      QStringLiteral("Label2: cannot be reached with Tab"),
      QStringLiteral("menu \"&File\": no objectName"),
  };
  QCOMPARE(Faults(&window), expected);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
