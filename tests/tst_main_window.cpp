#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "main_window/frm_main.h"
#include "main_window/pick_combo.h"
#include "platform/shell.h"
#include "table/flex_grid.h"
#include "test_support.h"

using namespace qlc;

namespace {

// Rows 1..8 as listed, then 20 PAGE rows (P1..P20, multiplier 0.5), then NUM rows whose
// To units sort as numbers.
QByteArray ConvertFile() {
  QByteArray f =
      "\"Feet (ft)\",\"Meters (m)\",\"LENGTH\",\"0.3048\",0\r\n"
      "\"Celsius\",\"Fahrenheit\",\"TEMPERATURE\",\"1.8\",32\r\n"
      "\"Half\",\"Whole\",\"LENGTH\",\"0.5\",0\r\n"
      "\"Psi\",\"kPa\",\"PRESSURE\",\"6.894757293168361\",0\r\n"
      "\"inH2O\",\"Pa\",\"PRESSURE DROP\",\"249.08891\",0\r\n"
      "\"Bad\",\"Word\",\"LENGTH\",\"two\",0\r\n"
      "\"Double\",\"Half\",\"LENGTH\",\"2\",0\r\n"
      "\"Zero\",\"Zero\",\"LENGTH\",\"0\",0\r\n";
  for (int i = 1; i <= 20; ++i)
    f += "\"P" + QByteArray::number(i) + "\",\"Q" + QByteArray::number(i) +
         "\",\"PAGE\",\"0.5\",0\r\n";
  return f +
         "\"b\",\"10\",\"NUM\",\"1\",0\r\n\"a\",\"9\",\"NUM\",\"1\",0\r\n"
         "\"c\",\"Meters\",\"NUM\",\"1\",0\r\n";
}
constexpr int kRecords = 8 + 20 + 3;

QStringList Column(const FlexGrid &g, int col) {
  QStringList out;
  for (int r = 1; r < g.Rows(); ++r) out << g.TextMatrix(r, col);
  return out;
}

struct GroupCase {
  QString group, digits, text1;
  QStringList rows;  // From units listed
  QString text2After, text1After, label1;
};
struct EntryCase {
  int row;
  QString digits;
  bool intoText1;  // forward from Text1, else backward from Text2
  QString typed;
  Qt::KeyboardModifiers modifiers;
  QString other;  // the other field afterwards
};
struct SortCase {
  QString group;
  QList<int> clicks;  // header columns; -1 = group change to ALL
  QString caption0, caption1;
  int column;
  QStringList order;
  bool doubleClicks = false;  // each header click a double click
};
// Input to a chooser, one step each: "key NAME", "type TEXT", "wheel DELTA", "pick ENTRY"
// (a mouse click in the open list), "popup KEY" (a key in the open list).
struct ChooserCase {
  bool digits;  // Combo2, else Combo1
  QStringList input;
  QString text;  // the chooser's text afterwards
  int picks;     // how often the change ran
  QString text2;
};

}  // namespace

Q_DECLARE_METATYPE(GroupCase)
Q_DECLARE_METATYPE(EntryCase)
Q_DECLARE_METATYPE(SortCase)
Q_DECLARE_METATYPE(ChooserCase)

class TestMainWindow : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void startupState();
  void groupChange_data();
  void groupChange();
  void valueEntry_data();
  void valueEntry();
  void digitsChange();
  void chooserInput_data();
  void chooserInput();
  void headerSort_data();
  void headerSort();
  void clicksThatKeepFields();
  void bodyClick_data();
  void bodyClick();
  void paging_data();
  void paging();
  void pagingCountsFromCurrentRow();
  void emptyGroup();
  void startupNote();
  void commaDecimalLocale();
  void links();
  void typeListFitsBeforeInput_data();
  void typeListFitsBeforeInput();

 private:
  void Pick(PickCombo *combo, const QString &text);
  void ClickHeader(int col, bool doubleClick = false);
  void ClickRow(int row);
  // Through the window, as the windowing system delivers them: Qt merges two clicks within
  // the double-click interval into press, release, double click, release.
  void WindowClicks(QWidget *target, QPoint pos, bool merged);
  QTemporaryDir dir_;
  QString oldDir_;
  std::unique_ptr<frmMain> w_;
};

void TestMainWindow::init() {
  oldDir_ = QDir::currentPath();
  QVERIFY(test::WriteBytes(dir_.filePath("type.txt"),
                           "\"ALL\"\r\n\"LENGTH\"\r\n\"PRESSURE\"\r\n\"PRESSURE DROP\"\r\n"
                           "\"TEMPERATURE\"\r\n\"PAGE\"\r\n\"NUM\"\r\n\"EMPTY\"\r\n"
                           "\"pressure\"\r\n\"DYNAMIC VISCOSITY PER UNIT VELOCITY\"\r\n"));
  QVERIFY(test::WriteBytes(dir_.filePath("convert.txt"), ConvertFile()));
  QDir::setCurrent(dir_.path());
  w_ = std::make_unique<frmMain>();
  w_->Show();
  QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
}

void TestMainWindow::cleanup() {
  w_.reset();
  QDir::setCurrent(oldDir_);
}

// A mouse click on the entry in the chooser's open list.
void TestMainWindow::Pick(PickCombo *combo, const QString &text) {
  const int index = combo->findText(text);
  QVERIFY2(index >= 0, qPrintable(text));
  combo->showPopup();
  QAbstractItemView *list = combo->view();
  QVERIFY(list->isVisible());
  const QModelIndex item = list->model()->index(index, 0);
  list->scrollTo(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
  QVERIFY(!list->isVisible());
}

void TestMainWindow::ClickHeader(int col, bool doubleClick) {
  QHeaderView *h = w_->MSFlexGrid1->view()->horizontalHeader();
  const QPoint at(h->sectionViewportPosition(col) + 4, h->height() / 2);
  if (doubleClick)
    WindowClicks(h->viewport(), at, true);
  else
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
}

void TestMainWindow::ClickRow(int row) {
  QTableView *v = w_->MSFlexGrid1->view();
  v->scrollTo(v->model()->index(row - 1, 0));
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {},
                    v->visualRect(v->model()->index(row - 1, 0)).center());
}

void TestMainWindow::WindowClicks(QWidget *target, QPoint pos, bool merged) {
  QWindow *window = w_->windowHandle();
  const QPoint at = target->mapTo(w_.get(), pos);
  if (merged) {
    QTest::mouseDClick(window, Qt::LeftButton, {}, at);
  } else {  // each release ends a double-click interval
    QTest::mouseClick(window, Qt::LeftButton, {}, at);
    QTest::mouseClick(window, Qt::LeftButton, {}, at);
  }
}

void TestMainWindow::startupState() {
  frmMain &w = *w_;
  QCOMPARE(w.windowTitle(), QString("QUELLOR - UNIT CONVERTER"));
  QCOMPARE(w.Combo1->currentText(), QString("ALL"));
  QCOMPARE(w.Combo1->count(), 10);
  QCOMPARE(w.Combo2->currentText(), QString("2"));
  QStringList digits;
  for (int i = 0; i < w.Combo2->count(); ++i) digits << w.Combo2->itemText(i);
  QCOMPARE(digits, (QStringList{"0", "1", "2", "3", "4", "5"}));
  QCOMPARE(w.Text1->text() + w.Text2->text(), QString("11"));
  QVERIFY(w.Label1->text().isEmpty() && w.Label2->text().isEmpty());
  QCOMPARE(w.focusWidget(), static_cast<QWidget *>(w.Text1));
  QCOMPARE(w.MSFlexGrid1->TextMatrix(0, 0) + '/' + w.MSFlexGrid1->TextMatrix(0, 1),
           QString("FROM/TO"));
  QCOMPARE(w.MSFlexGrid1->ColWidth(0), 1446);
  QCOMPARE(w.MSFlexGrid1->ColWidth(1), 1448);
  for (int c = 2; c < 5; ++c) QCOMPARE(w.MSFlexGrid1->ColWidth(c), 0);
  QCOMPARE(w.FG1->Rows(), kRecords + 2);
  QCOMPARE(w.MSFlexGrid1->Rows(), kRecords + 1);
  QCOMPARE(w.MSFlexGrid1->TextMatrix(kRecords, 0), QString("c"));
  QCOMPARE(w.MSFlexGrid1->Row(), 1);
  QVERIFY(w.StartupProblems().isEmpty());
  // A fixed size: a window manager's resize is refused.
  const QSize size = w.size();
  w.resize(size + QSize(184, 180));
  QCOMPARE(w.size(), size);
  QCOMPARE(w.minimumSize(), w.maximumSize());
}

// clang-format off
void TestMainWindow::groupChange_data() {
  QTest::addColumn<GroupCase>("c");
  const QStringList length{"Feet (ft)", "Half", "Bad", "Double", "Zero"};
  QTest::newRow("LENGTH") << GroupCase{"LENGTH", "2", "1", length, ".30", "1.00", "Feet (ft)"};
  QTest::newRow("adder") << GroupCase{"TEMPERATURE", "2", "100", {"Celsius"}, "212.00", "100.00", "Celsius"};
  QTest::newRow("substring") << GroupCase{"PRESSURE", "2", "1", {"Psi", "inH2O"}, "6.89", "1.00", "Psi"};
  QTest::newRow("case matters") << GroupCase{"pressure", "2", "1", {}, "typed", "1", ""};
  QTest::newRow("choice 7") << GroupCase{"TEMPERATURE", "7", "2", {"Celsius"}, "35.6", "2", "Celsius"};
  QTest::newRow("typed 6") << GroupCase{"LENGTH", "6", "1234.5678", length, "3.76E+02", "1.23E+03", "Feet (ft)"};
  QTest::newRow("empty Text1") << GroupCase{"PRESSURE DROP", "2", "", {"inH2O"}, "typed", "", "inH2O"};
  QTest::newRow("2 kg") << GroupCase{"LENGTH", "2", "2 kg", length, "typed", "2 kg", "Feet (ft)"};
}
// clang-format on

void TestMainWindow::groupChange() {
  QFETCH(GroupCase, c);
  frmMain &w = *w_;
  w.Combo2->setEditText(c.digits);
  w.Text1->setText(c.text1);
  w.Text2->setText("typed");  // a value last entered in Text2 is overwritten
  Pick(w.Combo1, c.group);
  QCOMPARE(Column(*w.MSFlexGrid1, 0), c.rows);
  QCOMPARE(w.Text2->text(), c.text2After);
  QCOMPARE(w.Text1->text(), c.text1After);
  QCOMPARE(w.Label1->text(), c.label1);
  QCOMPARE(w.MSFlexGrid1->Row(), c.rows.isEmpty() ? 0 : 1);
  QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestMainWindow::valueEntry_data() {
  QTest::addColumn<EntryCase>("c");
  const Qt::KeyboardModifiers none;
  QTest::newRow("forward") << EntryCase{2, "2", true, "2", none, "35.60"};
  QTest::newRow("backward") << EntryCase{2, "2", false, "35.6", none, "2.00"};
  QTest::newRow("half, choice 1") << EntryCase{3, "1", true, "1", none, ".5"};
  QTest::newRow("zero, choice 0") << EntryCase{8, "0", true, "0", none, ""};
  QTest::newRow("backward, choice 5") << EntryCase{7, "5", false, "1", none, "0.50000"};
  QTest::newRow("forward, choice 5") << EntryCase{7, "5", true, "0.25", none, ".50000"};
  QTest::newRow("shift+enter") << EntryCase{2, "2", true, "2", Qt::ShiftModifier, "35.60"};
  QTest::newRow("grouping") << EntryCase{1, "2", true, "1,000", none, "304.80"};
  QTest::newRow("choice 7") << EntryCase{2, "7", true, "2", none, "unchanged"};
  QTest::newRow("2 kg") << EntryCase{2, "2", true, "2 kg", none, "unchanged"};
  QTest::newRow("word multiplier") << EntryCase{6, "2", true, "2", none, "unchanged"};
  QTest::newRow("divide by 0") << EntryCase{8, "2", false, "5", none, "unchanged"};
  QTest::newRow("overflow") << EntryCase{5, "2", true, "1e307", none, "unchanged"};
  QTest::newRow("empty") << EntryCase{2, "2", true, "", none, "unchanged"};
}

void TestMainWindow::valueEntry() {
  QFETCH(EntryCase, c);
  frmMain &w = *w_;
  w.MSFlexGrid1->SetRow(c.row);
  w.Combo2->setEditText(c.digits);
  QLineEdit *from = c.intoText1 ? w.Text1 : w.Text2;
  QLineEdit *to = c.intoText1 ? w.Text2 : w.Text1;
  to->setText("unchanged");
  from->clear();
  QTest::keyClicks(from, c.typed);
  QCOMPARE(to->text(), QString("unchanged"));  // nothing happens while typing
  QTest::keyClick(from, Qt::Key_Return, c.modifiers);
  QCOMPARE(to->text(), c.other);
  QCOMPARE(from->text(), c.typed);  // the typed text is not re-rendered
}

void TestMainWindow::digitsChange() {
  frmMain &w = *w_;
  // Each step: Text1 and Text2 before, the digits picked, both after.
  const QStringList steps[] = {{"1", "0.3048", "0", "1", "0"},
                               {"1", "0", "4", "1.0000", "0.0000"},
                               {"100", "212", "2", "100.00", "212.00"},
                               {"", "5", "3", "", "5"},
                               {"abc", "0.25", "2", "abc", "0.25"}};
  for (const QStringList &s : steps) {
    w.Text1->setText(s[0]);
    w.Text2->setText(s[1]);
    Pick(w.Combo2, s[2]);
    QCOMPARE(QStringList({w.Text1->text(), w.Text2->text()}), s.mid(3));
  }
}

// clang-format off
void TestMainWindow::chooserInput_data() {
  QTest::addColumn<ChooserCase>("c");
  const QString longName = "DYNAMIC VISCOSITY PER UNIT VELOCITY";
  QTest::newRow("Down") << ChooserCase{false, {"key Down"}, "LENGTH", 1, ".38"};
  QTest::newRow("Down Down Up") << ChooserCase{false, {"key Down", "key Down", "key Up"}, "LENGTH", 3, ".37"};
  QTest::newRow("PgDown PgDown PgUp") << ChooserCase{false, {"key PgDown", "key PgDown", "key PgUp"}, "LENGTH", 3, ".37"};
  QTest::newRow("wheel down") << ChooserCase{false, {"wheel -120"}, "LENGTH", 1, ".38"};
  QTest::newRow("wheel up at the first") << ChooserCase{false, {"wheel 120"}, "ALL", 0, "0.3048"};
  QTest::newRow("pick") << ChooserCase{false, {"pick PRESSURE"}, "PRESSURE", 1, "8.51"};
  QTest::newRow("pick long") << ChooserCase{false, {"pick " + longName}, longName, 1, "0.3048"};
  QTest::newRow("typed, Enter") << ChooserCase{false, {"key Ctrl+A", "type PRESSURE", "key Return"}, "PRESSURE", 0, "0.3048"};
  QTest::newRow("typed, Tab") << ChooserCase{false, {"key Ctrl+A", "type LENGTH", "key Tab"}, "LENGTH", 0, "0.3048"};
  QTest::newRow("Home End") << ChooserCase{false, {"key Home", "type X", "key End", "type Y"}, "XALLY", 0, "0.3048"};
  QTest::newRow("digits wheel down") << ChooserCase{true, {"wheel -120"}, "3", 1, "0.305"};
  QTest::newRow("digits Up") << ChooserCase{true, {"key Up"}, "1", 1, "0.3"};
  QTest::newRow("digits open list, Enter") << ChooserCase{true, {"popup Return"}, "2", 1, "0.30"};
  QTest::newRow("digits typed, Enter") << ChooserCase{true, {"key Ctrl+A", "type 0", "key Return"}, "0", 0, "0.3048"};
}
// clang-format on

void TestMainWindow::chooserInput() {
  QFETCH(ChooserCase, c);
  frmMain &w = *w_;
  PickCombo *combo = c.digits ? w.Combo2 : w.Combo1;
  w.Text1->setText("1.2345");
  w.Text2->setText("0.3048");
  QApplication::setActiveWindow(&w);
  QVERIFY(QTest::qWaitForWindowActive(&w));
  combo->setFocus();
  QSignalSpy picks(combo, &PickCombo::picked);
  for (const QString &step : c.input) {
    const QString verb = step.section(' ', 0, 0), arg = step.section(' ', 1);
    if (verb == "key") {
      const QKeyCombination key = QKeySequence(arg)[0];
      QTest::keyClick(combo, key.key(), key.keyboardModifiers());
    } else if (verb == "type") {
      QTest::keyClicks(combo, arg);
    } else if (verb == "wheel") {
      // To the line edit under the pointer, which leaves the wheel to the chooser.
      QWidget *under = combo->lineEdit();
      const QPointF at = under->rect().center();
      QWheelEvent wheel(at, under->mapToGlobal(at), {}, {0, arg.toInt()}, Qt::NoButton, {},
                        Qt::NoScrollPhase, false);
      QSpontaneKeyEvent::setSpontaneous(&wheel);
      QApplication::instance()->notify(under, &wheel);
    } else if (verb == "pick") {
      Pick(combo, arg);
    } else {
      combo->showPopup();
      QTest::keyClick(combo->view(), QKeySequence(arg)[0].key());
      QVERIFY(!combo->view()->isVisible());
    }
  }
  QCOMPARE(combo->currentText(), c.text);
  QCOMPARE(picks.count(), c.picks);
  QCOMPARE(w.Text2->text(), c.text2);
  if (c.digits || c.picks == 0) {
    QCOMPARE(w.MSFlexGrid1->Rows(), kRecords + 1);
  } else {
    // The table lists the group the chooser names, and the name shows from its beginning.
    QVERIFY(w.MSFlexGrid1->Rows() == 1 ||
            w.MSFlexGrid1->TextMatrix(1, 2).contains(c.text, Qt::CaseSensitive));
    QCOMPARE(combo->lineEdit()->cursorPosition(), 0);
  }
}

// clang-format off
void TestMainWindow::headerSort_data() {
  QTest::addColumn<SortCase>("c");
  const QStringList asc{"Bad", "Double", "Feet (ft)", "Half", "Zero"};
  const QStringList desc{"Zero", "Half", "Feet (ft)", "Double", "Bad"};
  QTest::newRow("FROM") << SortCase{"LENGTH", {0}, "FROM        v", "TO", 0, asc};
  QTest::newRow("FROM x2") << SortCase{"LENGTH", {0, 0}, "FROM        ^", "TO", 0, desc};
  QTest::newRow("FROM x3") << SortCase{"LENGTH", {0, 0, 0}, "FROM        v", "TO", 0, asc};
  QTest::newRow("FROM TO") << SortCase{"LENGTH", {0, 1}, "FROM", "TO          v", 1, {"Half", "Meters (m)", "Whole", "Word", "Zero"}};
  QTest::newRow("FROM TO FROM") << SortCase{"LENGTH", {0, 1, 0}, "FROM        ^", "TO", 0, desc};
  QTest::newRow("group change between") << SortCase{"LENGTH", {0, -1, 0}, "FROM        ^", "TO", 0, {"Zero", "Psi", "P9", "P8"}};
  QTest::newRow("9 before 10") << SortCase{"NUM", {1}, "FROM", "TO          v", 1, {"9", "10", "Meters"}};
  QTest::newRow("double clicks: a step each") << SortCase{"LENGTH", {0, 0}, "FROM        ^", "TO", 0, desc, true};
}
// clang-format on

void TestMainWindow::headerSort() {
  QFETCH(SortCase, c);
  frmMain &w = *w_;
  Pick(w.Combo1, c.group);
  QSignalSpy clicks(w.MSFlexGrid1, &FlexGrid::Click);
  for (int col : c.clicks) {
    if (col >= 0) {
      ClickHeader(col, c.doubleClicks);
      continue;
    }
    Pick(w.Combo1, "ALL");
    QCOMPARE(w.MSFlexGrid1->TextMatrix(0, 0), QString("FROM"));
    QCOMPARE(w.MSFlexGrid1->TextMatrix(1, 0), QString("Feet (ft)"));  // file order again
  }
  QCOMPARE(w.MSFlexGrid1->TextMatrix(0, 0), c.caption0);
  QCOMPARE(w.MSFlexGrid1->TextMatrix(0, 1), c.caption1);
  QCOMPARE(Column(*w.MSFlexGrid1, c.column).mid(0, c.order.size()), c.order);
  QCOMPARE(w.FG1->TextMatrix(1, 0), QString("Feet (ft)"));  // the master keeps file order
  QCOMPARE(clicks.count(), int(c.clicks.count(0) + c.clicks.count(1)));
}

void TestMainWindow::clicksThatKeepFields() {
  frmMain &w = *w_;
  Pick(w.Combo1, "LENGTH");
  ClickRow(3);
  const QStringList before{w.Text1->text(), w.Text2->text(), w.Label1->text(), w.Label2->text()};
  ClickHeader(1);
  // Nor does a click with another button than the left on a body row move the current row.
  QTableView *v = w.MSFlexGrid1->view();
  for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton})
    QTest::mouseClick(v->viewport(), button, {}, v->visualRect(v->model()->index(4, 0)).center());
  QCOMPARE((QStringList{w.Text1->text(), w.Text2->text(), w.Label1->text(), w.Label2->text()}),
           before);
  QCOMPARE(w.MSFlexGrid1->Row(), 3);
}

void TestMainWindow::bodyClick_data() {
  QTest::addColumn<QString>("digits");
  QTest::addColumn<QString>("text1");
  QTest::addColumn<QString>("input");  // "click", "double click" or "two clicks"
  QTest::addColumn<QString>("text2After");
  QTest::addColumn<QString>("text1After");
  auto row = [](const char *name, const char *digits, const char *text1, const char *input,
                const char *text2After, const char *text1After) {
    QTest::newRow(name) << digits << text1 << input << text2After << text1After;
  };
  row("choice 2", "2", "2", "click", "35.60", "2.00");
  row("choice 1", "1", "2", "click", "35.6", "2.0");
  row("choice 0", "0", "2", "click", "36", "2");
  row("choice 7", "7", "2", "click", "35.6", "2");
  row("empty Text1", "2", "", "click", "typed", "");
  // The second click converts again from the rendered 2.34; a double click is one click.
  row("double click", "2", "2.344", "double click", "36.22", "2.34");
  row("two clicks", "2", "2.344", "two clicks", "36.21", "2.34");
}

void TestMainWindow::bodyClick() {
  QFETCH(QString, digits);
  QFETCH(QString, text1);
  QFETCH(QString, input);
  QFETCH(QString, text2After);
  QFETCH(QString, text1After);
  frmMain &w = *w_;
  w.Combo2->setEditText(digits);
  w.Text1->setText(text1);
  w.Text2->setText("typed");
  if (input == "click") {
    ClickRow(2);  // Celsius to Fahrenheit: 1.8 and 32
  } else {
    QTableView *v = w.MSFlexGrid1->view();
    WindowClicks(v->viewport(), v->visualRect(v->model()->index(1, 0)).center(),
                 input == "double click");
  }
  QCOMPARE(w.MSFlexGrid1->Row(), 2);
  QCOMPARE(w.MSFlexGrid1->Col(), 0);
  QCOMPARE(w.MSFlexGrid1->ColSel(), 2);
  QCOMPARE(w.Text2->text(), text2After);
  QCOMPARE(w.Text1->text(), text1After);
  QCOMPARE(w.Label1->text() + '/' + w.Label2->text(), QString("Celsius/Fahrenheit"));
}

void TestMainWindow::paging_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<int>("start");
  QTest::addColumn<QList<int>>("rows");
  QTest::newRow("next") << "NextBtn" << 1 << QList<int>{7, 13, 19, 20, 20};
  QTest::newRow("prev") << "PrevBtn" << 20 << QList<int>{14, 8, 2, 1, 1};
  QTest::newRow("next from 14") << "NextBtn" << 14 << QList<int>{20};
  QTest::newRow("top") << "TopBtn" << 17 << QList<int>{1};
  QTest::newRow("bottom") << "BtmBtn" << 3 << QList<int>{20};
}

void TestMainWindow::paging() {
  QFETCH(QString, button);
  QFETCH(int, start);
  QFETCH(QList<int>, rows);
  frmMain &w = *w_;
  w.Combo2->setEditText("1");
  w.Text1->setText("1");
  Pick(w.Combo1, "PAGE");
  w.MSFlexGrid1->SetRow(start);
  auto *b = w.findChild<QToolButton *>(button);
  QVERIFY(b);
  for (int expected : rows) {
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(w.MSFlexGrid1->Row(), expected);
    QCOMPARE(w.Label1->text(), QString("P%1").arg(expected));
    QCOMPARE(w.MSFlexGrid1->ColSel(), 1);
    // The new row is at the top unless the view cannot scroll that far.
    QVERIFY(w.MSFlexGrid1->TopRow() <= expected);
    if (expected <= 8) QCOMPARE(w.MSFlexGrid1->TopRow(), expected);
    // Only the previous-page button drops the zero before the point.
    QCOMPARE(w.Text2->text(), button == "PrevBtn" ? QString(".5") : QString("0.5"));
    QCOMPARE(w.Text1->text(), QString("1.0"));
  }
}

void TestMainWindow::pagingCountsFromCurrentRow() {
  frmMain &w = *w_;
  Pick(w.Combo1, "PAGE");
  w.MSFlexGrid1->SetTopRow(8);
  ClickRow(10);
  QCOMPARE(w.MSFlexGrid1->Row(), 10);
  QTest::mouseClick(w.NextBtn, Qt::LeftButton);
  QCOMPARE(w.MSFlexGrid1->Row(), 16);
  QTableView *v = w.MSFlexGrid1->view();
  QVERIFY(v->viewport()->rect().contains(v->visualRect(v->model()->index(15, 0))));
  QVERIFY(w.MSFlexGrid1->TopRow() > 8);
}

void TestMainWindow::emptyGroup() {
  frmMain &w = *w_;
  Pick(w.Combo1, "LENGTH");
  w.Text1->setText("3");
  w.Text2->setText("x");
  Pick(w.Combo1, "EMPTY");
  QCOMPARE(w.MSFlexGrid1->Rows(), 1);
  QCOMPARE(w.Text1->text() + w.Text2->text(), QString("3x"));
  QVERIFY(w.Label1->text().isEmpty() && w.Label2->text().isEmpty());
  // Paging, a header click and Enter find no conversion and change nothing.
  for (QToolButton *b : {w.TopBtn, w.PrevBtn, w.NextBtn, w.BtmBtn})
    QTest::mouseClick(b, Qt::LeftButton);
  ClickHeader(0);
  QTest::keyClick(w.Text1, Qt::Key_Return);
  QCOMPARE(w.Text2->text(), QString("x"));
  QCOMPARE(w.MSFlexGrid1->TextMatrix(0, 0), QString("FROM"));
  QCOMPARE(w.SortFrom, std::int16_t(0));
}

void TestMainWindow::startupNote() {
  // No type.txt, and a convert.txt with a line that does not fit.
  QTemporaryDir folder;
  QVERIFY(test::WriteBytes(folder.filePath("convert.txt"),
                           "\"Half\",\"Whole\",\"T\",\"0.5\",0\r\nnot a record\r\n"));
  QDir::setCurrent(folder.path());
  frmMain w;
  QDir::setCurrent(dir_.path());
  QCOMPARE(w.MSFlexGrid1->Rows(), 2);
  QCOMPARE(w.Combo1->currentText(), QString("ALL"));
  for (const QString &part : {QString("type.txt"), QString("convert.txt: 1 line"),
                              QDir::toNativeSeparators(folder.path())})
    QVERIFY(w.StartupProblems().contains(part));
  // The note stays open while the window takes input.
  w.Show();
  QTRY_VERIFY(w.findChild<QMessageBox *>("StartupMessage") &&
              w.findChild<QMessageBox *>("StartupMessage")->isVisible());
  QTest::keyClick(w.windowHandle(), Qt::Key_Backspace);
  QTest::keyClick(w.windowHandle(), '4');
  QTest::keyClick(w.windowHandle(), Qt::Key_Return);
  QCOMPARE(w.Text1->text() + '=' + w.Text2->text(), QString("4=2.00"));
  QVERIFY(w.findChild<QMessageBox *>("StartupMessage")->isVisible());
}

void TestMainWindow::commaDecimalLocale() {
  // Under a comma-decimal locale the file's 0.3048 must not read as 3048.
  const QLocale old;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  {
    frmMain w;
    QCOMPARE(w.MSFlexGrid1->TextMatrix(1, 3), QString("0,3048"));
    w.Text1->setText("1.000,5");
    QTest::keyClick(w.Text1, Qt::Key_Return);
    QCOMPARE(w.Text2->text(), QString("304,95"));
    w.Text1->setText("1");
    w.Combo1->setEditText("LENGTH");
    w.Combo1_Click();
    QCOMPARE(w.Text2->text() + ' ' + w.Text1->text(), QString(",30 1,00"));
  }
  QLocale::setDefault(old);
}

void TestMainWindow::links() {
  RecordingShell shell;
  QTest::mouseClick(w_->Label11, Qt::LeftButton);
  QTest::mouseClick(w_->Label13, Qt::LeftButton);
  QCOMPARE(shell.opened, (QList<QUrl>{QUrl("mailto:sales@quellor.example"),
                                      QUrl("https://www.quellor.example/")}));
}

void TestMainWindow::typeListFitsBeforeInput_data() {
  QTest::addColumn<bool>("frameFirst");
  QTest::newRow("first frame, then a click") << true;
  QTest::newRow("a click before any frame") << false;
}

// The type list is sized after the window's first frame, and still before any input
// is handled: a click that opens the list finds it wide enough for every group name.
void TestMainWindow::typeListFitsBeforeInput() {
  QFETCH(bool, frameFirst);
  const QString wide = "A GROUP NAME FAR WIDER THAN ITS BOX";
  QTemporaryDir dir;
  QVERIFY(test::WriteBytes(dir.filePath("type.txt"), "\"ALL\"\r\n\"" + wide.toUtf8() + "\"\r\n"));
  QVERIFY(test::WriteBytes(dir.filePath("convert.txt"), ConvertFile()));
  QDir::setCurrent(dir.path());
  frmMain w;
  QDir::setCurrent(dir_.path());
  w.Show();
  QCOMPARE(w.Combo1->view()->minimumWidth(), 0);  // nothing drawn yet
  if (frameFirst) {
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.Combo1->view()->minimumWidth() > w.Combo1->width());  // sized with the frame
  }
  // On the arrow: a click on the text of an editable box does not open its list.
  QTest::mouseClick(w.Combo1, Qt::LeftButton, {},
                    QPoint(w.Combo1->width() - 6, w.Combo1->height() / 2));
  QTRY_VERIFY(w.Combo1->view()->isVisible());
  const int needed = w.Combo1->view()->fontMetrics().horizontalAdvance(wide);
  QVERIFY2(w.Combo1->view()->width() >= needed,
           qPrintable(QString("%1 < %2").arg(w.Combo1->view()->width()).arg(needed)));
  w.Combo1->hidePopup();
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
