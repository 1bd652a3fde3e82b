#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
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
};

}  // namespace

Q_DECLARE_METATYPE(GroupCase)
Q_DECLARE_METATYPE(EntryCase)
Q_DECLARE_METATYPE(SortCase)

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
  void typingTriggersNothing();
  void headerSort_data();
  void headerSort();
  void headerClickKeepsFields();
  void bodyClick_data();
  void bodyClick();
  void paging_data();
  void paging();
  void pagingCountsFromCurrentRow();
  void emptyGroup();
  void missingFilesStillStart();
  void commaDecimalLocale();
  void links();
  void typeListFitsBeforeInput_data();
  void typeListFitsBeforeInput();

 private:
  void Pick(PickCombo *combo, const QString &text);
  void ClickHeader(int col);
  void ClickRow(int row);
  QTemporaryDir dir_;
  QString oldDir_;
  std::unique_ptr<frmMain> w_;
};

void TestMainWindow::init() {
  oldDir_ = QDir::currentPath();
  QVERIFY(test::WriteBytes(dir_.filePath("type.txt"),
                           "\"ALL\"\r\n\"LENGTH\"\r\n\"PRESSURE\"\r\n\"PRESSURE DROP\"\r\n"
                           "\"TEMPERATURE\"\r\n\"PAGE\"\r\n\"NUM\"\r\n\"EMPTY\"\r\n"));
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

void TestMainWindow::Pick(PickCombo *combo, const QString &text) {
  combo->setEditText(text);
  combo == w_->Combo1 ? w_->Combo1_Click() : w_->Combo2_Click();
}

void TestMainWindow::ClickHeader(int col) {
  QHeaderView *h = w_->MSFlexGrid1->view()->horizontalHeader();
  QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                    QPoint(h->sectionViewportPosition(col) + 4, h->height() / 2));
}

void TestMainWindow::ClickRow(int row) {
  QTableView *v = w_->MSFlexGrid1->view();
  v->scrollTo(v->model()->index(row - 1, 0));
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {},
                    v->visualRect(v->model()->index(row - 1, 0)).center());
}

void TestMainWindow::startupState() {
  frmMain &w = *w_;
  QCOMPARE(w.windowTitle(), QString("QUELLOR - UNIT CONVERTER"));
  QCOMPARE(w.Combo1->currentText(), QString("ALL"));
  QCOMPARE(w.Combo1->count(), 8);
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

void TestMainWindow::typingTriggersNothing() {
  frmMain &w = *w_;
  // Text typed into a chooser and confirmed with Enter is not a pick.
  w.Text2->setText("0.3048");
  for (PickCombo *combo : {w.Combo2, w.Combo1}) {
    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), combo == w.Combo1 ? "LENGTH" : "0");
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  }
  QCOMPARE(w.Text2->text(), QString("0.3048"));
  QCOMPARE(w.MSFlexGrid1->Rows(), kRecords + 1);
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
}
// clang-format on

void TestMainWindow::headerSort() {
  QFETCH(SortCase, c);
  frmMain &w = *w_;
  Pick(w.Combo1, c.group);
  for (int col : c.clicks) {
    if (col >= 0) {
      ClickHeader(col);
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
}

void TestMainWindow::headerClickKeepsFields() {
  frmMain &w = *w_;
  Pick(w.Combo1, "LENGTH");
  ClickRow(3);
  const QStringList before{w.Text1->text(), w.Text2->text(), w.Label1->text(), w.Label2->text()};
  ClickHeader(1);
  QCOMPARE((QStringList{w.Text1->text(), w.Text2->text(), w.Label1->text(), w.Label2->text()}),
           before);
  QCOMPARE(w.MSFlexGrid1->Row(), 3);
}

void TestMainWindow::bodyClick_data() {
  QTest::addColumn<QString>("digits");
  QTest::addColumn<QString>("text1");
  QTest::addColumn<QString>("text2After");
  QTest::addColumn<QString>("text1After");
  QTest::newRow("choice 2") << "2"
                            << "2"
                            << "35.60"
                            << "2.00";
  QTest::newRow("choice 1") << "1"
                            << "2"
                            << "35.6"
                            << "2.0";
  QTest::newRow("choice 0") << "0"
                            << "2"
                            << "36"
                            << "2";
  QTest::newRow("choice 7") << "7"
                            << "2"
                            << "35.6"
                            << "2";
  QTest::newRow("empty Text1") << "2"
                               << ""
                               << "typed"
                               << "";
}

void TestMainWindow::bodyClick() {
  QFETCH(QString, digits);
  QFETCH(QString, text1);
  QFETCH(QString, text2After);
  QFETCH(QString, text1After);
  frmMain &w = *w_;
  w.Combo2->setEditText(digits);
  w.Text1->setText(text1);
  w.Text2->setText("typed");
  ClickRow(2);  // Celsius to Fahrenheit: 1.8 and 32
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

void TestMainWindow::missingFilesStillStart() {
  QTemporaryDir empty;
  QDir::setCurrent(empty.path());
  frmMain w;
  QCOMPARE(w.MSFlexGrid1->Rows(), 1);
  QCOMPARE(w.FG1->Rows(), 2);
  QCOMPARE(w.Combo1->currentText(), QString("ALL"));
  for (const QString &part :
       {QString("type.txt"), QString("convert.txt"), QDir::toNativeSeparators(empty.path())})
    QVERIFY(w.StartupProblems().contains(part));
  QDir::setCurrent(dir_.path());
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
