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

// Rows 1..8 as listed; then 20 PAGE rows (P1..P20, multiplier 0.5); then the NUM rows
// whose To units sort as numbers.
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
  f += "\"b\",\"10\",\"NUM\",\"1\",0\r\n\"a\",\"9\",\"NUM\",\"1\",0\r\n"
       "\"c\",\"Meters\",\"NUM\",\"1\",0\r\n";
  return f;
}
constexpr int kRecords = 8 + 20 + 3;

QStringList Column(const FlexGrid &g, int col) {
  QStringList out;
  for (int r = 1; r < g.Rows(); ++r) out << g.TextMatrix(r, col);
  return out;
}

}  // namespace

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
  if (combo == w_->Combo1)
    w_->Combo1_Click();
  else
    w_->Combo2_Click();
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
  QCOMPARE(w.Text1->text(), QString("1"));
  QCOMPARE(w.Text2->text(), QString("1"));
  QVERIFY(w.Label1->text().isEmpty() && w.Label2->text().isEmpty());
  QCOMPARE(w.focusWidget(), static_cast<QWidget *>(w.Text1));
  QCOMPARE(w.MSFlexGrid1->TextMatrix(0, 0), QString("FROM"));
  QCOMPARE(w.MSFlexGrid1->TextMatrix(0, 1), QString("TO"));
  QCOMPARE(w.MSFlexGrid1->ColWidth(0), 1446);
  QCOMPARE(w.MSFlexGrid1->ColWidth(1), 1448);
  for (int c = 2; c < 5; ++c) QCOMPARE(w.MSFlexGrid1->ColWidth(c), 0);
  QCOMPARE(w.FG1->Rows(), kRecords + 2);
  QCOMPARE(w.MSFlexGrid1->Rows(), kRecords + 1);
  QCOMPARE(w.MSFlexGrid1->TextMatrix(1, 0), QString("Feet (ft)"));
  QCOMPARE(w.MSFlexGrid1->TextMatrix(kRecords, 0), QString("c"));
  QCOMPARE(w.MSFlexGrid1->Row(), 1);
  QCOMPARE(w.SortFrom + w.SortTo + w.SortType, 0);
  QVERIFY(w.StartupProblems().isEmpty());
}

void TestMainWindow::groupChange_data() {
  QTest::addColumn<QString>("group");
  QTest::addColumn<QString>("digits");
  QTest::addColumn<QString>("text1");
  QTest::addColumn<QStringList>("rows");  // From units listed; empty: header only
  QTest::addColumn<QString>("text2After");
  QTest::addColumn<QString>("text1After");
  QTest::addColumn<QString>("label1");
  const QStringList length{"Feet (ft)", "Half", "Bad", "Double", "Zero"};
  QTest::newRow("LENGTH, two decimals") << "LENGTH"
                                        << "2"
                                        << "1" << length << ".30"
                                        << "1.00"
                                        << "Feet (ft)";
  QTest::newRow("adder") << "TEMPERATURE"
                         << "2"
                         << "100" << QStringList{"Celsius"} << "212.00"
                         << "100.00"
                         << "Celsius";
  QTest::newRow("substring match") << "PRESSURE"
                                   << "2"
                                   << "1" << QStringList{"Psi", "inH2O"} << "6.89"
                                   << "1.00"
                                   << "Psi";
  QTest::newRow("case matters") << "pressure"
                                << "2"
                                << "1" << QStringList{} << "typed"
                                << "1"
                                << "";
  QTest::newRow("choice 7: general text") << "TEMPERATURE"
                                          << "7"
                                          << "2" << QStringList{"Celsius"} << "35.6"
                                          << "2"
                                          << "Celsius";
  QTest::newRow("choice abc: no pattern") << "TEMPERATURE"
                                          << "abc"
                                          << "2" << QStringList{"Celsius"} << "35.6"
                                          << "2"
                                          << "Celsius";
  QTest::newRow("typed 6: scientific") << "LENGTH"
                                       << "6"
                                       << "1234.5678" << length << "3.76E+02"
                                       << "1.23E+03"
                                       << "Feet (ft)";
  QTest::newRow("empty Text1") << "PRESSURE DROP"
                               << "2"
                               << "" << QStringList{"inH2O"} << "typed"
                               << ""
                               << "inH2O";
  QTest::newRow("not a number") << "LENGTH"
                                << "2"
                                << "2 kg" << length << "typed"
                                << "2 kg"
                                << "Feet (ft)";
}

void TestMainWindow::groupChange() {
  QFETCH(QString, group);
  QFETCH(QString, digits);
  QFETCH(QString, text1);
  QFETCH(QStringList, rows);
  QFETCH(QString, text2After);
  QFETCH(QString, text1After);
  QFETCH(QString, label1);
  frmMain &w = *w_;
  w.Combo2->setEditText(digits);
  w.Text1->setText(text1);
  w.Text2->setText("typed");  // a value last entered in Text2 is overwritten
  Pick(w.Combo1, group);
  QCOMPARE(Column(*w.MSFlexGrid1, 0), rows);
  QCOMPARE(w.Text2->text(), text2After);
  QCOMPARE(w.Text1->text(), text1After);
  QCOMPARE(w.Label1->text(), label1);
  QCOMPARE(w.MSFlexGrid1->Row(), rows.isEmpty() ? 0 : 1);
  QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestMainWindow::valueEntry_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<QString>("digits");
  QTest::addColumn<bool>("intoText1");  // typed into Text1 (forward) or Text2 (backward)
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<QString>("other");  // the other field afterwards
  QTest::newRow("forward 35.60") << 2 << "2" << true << "2" << 0 << "35.60";
  QTest::newRow("backward 2.00") << 2 << "2" << false << "35.6" << 0 << "2.00";
  QTest::newRow("half with one decimal") << 3 << "1" << true << "1" << 0 << ".5";
  QTest::newRow("zero result, choice 0") << 8 << "0" << true << "0" << 0 << "";
  QTest::newRow("backward choice 5") << 7 << "5" << false << "1" << 0 << "0.50000";
  QTest::newRow("forward choice 5") << 7 << "5" << true << "0.25" << 0 << ".50000";
  QTest::newRow("shift+enter") << 2 << "2" << true << "2" << int(Qt::ShiftModifier) << "35.60";
  QTest::newRow("ctrl+enter") << 2 << "2" << false << "35.6" << int(Qt::ControlModifier) << "2.00";
  QTest::newRow("grouping comma") << 1 << "2" << true << "1,000" << 0 << "304.80";
  QTest::newRow("choice 7: nothing") << 2 << "7" << true << "2" << 0 << "unchanged";
  QTest::newRow("choice abc: nothing") << 2 << "abc" << true << "2" << 0 << "unchanged";
  QTest::newRow("2 kg: nothing") << 2 << "2" << true << "2 kg" << 0 << "unchanged";
  QTest::newRow("multiplier a word") << 6 << "2" << true << "2" << 0 << "unchanged";
  QTest::newRow("backward through 0") << 8 << "2" << false << "5" << 0 << "unchanged";
  QTest::newRow("overflow") << 5 << "2" << true << "1e307" << 0 << "unchanged";
  QTest::newRow("empty field") << 2 << "2" << true << "" << 0 << "unchanged";
}

void TestMainWindow::valueEntry() {
  QFETCH(int, row);
  QFETCH(QString, digits);
  QFETCH(bool, intoText1);
  QFETCH(QString, typed);
  QFETCH(int, modifiers);
  QFETCH(QString, other);
  frmMain &w = *w_;
  w.MSFlexGrid1->SetRow(row);
  w.Combo2->setEditText(digits);
  QLineEdit *from = intoText1 ? w.Text1 : w.Text2;
  QLineEdit *to = intoText1 ? w.Text2 : w.Text1;
  to->setText("unchanged");
  from->clear();
  QTest::keyClicks(from, typed);
  QCOMPARE(to->text(), QString("unchanged"));  // nothing happens while typing
  QTest::keyClick(from, Qt::Key_Return, Qt::KeyboardModifiers(modifiers));
  QCOMPARE(to->text(), other);
  QCOMPARE(from->text(), typed);  // the typed text is not re-rendered
  QCOMPARE(w.MSFlexGrid1->Row(), row);
}

void TestMainWindow::digitsChange() {
  frmMain &w = *w_;
  w.Text1->setText("1");
  w.Text2->setText("0.3048");
  Pick(w.Combo2, "0");
  QCOMPARE(w.Text2->text(), QString("0"));
  QCOMPARE(w.Text1->text(), QString("1"));
  Pick(w.Combo2, "4");
  QCOMPARE(w.Text2->text(), QString("0.0000"));
  QCOMPARE(w.Text1->text(), QString("1.0000"));
  w.Text1->setText("100");
  w.Text2->setText("212");
  Pick(w.Combo2, "2");
  QCOMPARE(w.Text2->text(), QString("212.00"));
  QCOMPARE(w.Text1->text(), QString("100.00"));
  w.Text1->clear();
  w.Text2->setText("5");
  Pick(w.Combo2, "3");
  QCOMPARE(w.Text2->text(), QString("5"));
  w.Text1->setText("abc");
  w.Text2->setText("0.25");
  Pick(w.Combo2, "2");
  QCOMPARE(w.Text1->text(), QString("abc"));
  QCOMPARE(w.Text2->text(), QString("0.25"));
}

void TestMainWindow::typingTriggersNothing() {
  frmMain &w = *w_;
  // Text typed into the choosers and confirmed with Enter is not a pick.
  w.Text1->setText("1");
  w.Text2->setText("0.3048");
  w.Combo2->lineEdit()->clear();
  QTest::keyClicks(w.Combo2->lineEdit(), "0");
  QTest::keyClick(w.Combo2->lineEdit(), Qt::Key_Return);
  QCOMPARE(w.Text2->text(), QString("0.3048"));
  w.Combo1->lineEdit()->clear();
  QTest::keyClicks(w.Combo1->lineEdit(), "LENGTH");
  QTest::keyClick(w.Combo1->lineEdit(), Qt::Key_Return);
  QCOMPARE(w.MSFlexGrid1->Rows(), kRecords + 1);
}

void TestMainWindow::headerSort_data() {
  QTest::addColumn<QString>("group");
  QTest::addColumn<QList<int>>("clicks");  // header columns; -1 = group change to ALL
  QTest::addColumn<QString>("caption0");
  QTest::addColumn<QString>("caption1");
  QTest::addColumn<int>("column");  // the column whose order is checked
  QTest::addColumn<QStringList>("order");
  const QStringList length{"Bad", "Double", "Feet (ft)", "Half", "Zero"};
  QStringList desc = length;
  std::reverse(desc.begin(), desc.end());
  QTest::newRow("FROM once") << "LENGTH" << QList<int>{0} << "FROM        v"
                             << "TO" << 0 << length;
  QTest::newRow("FROM twice") << "LENGTH" << QList<int>{0, 0} << "FROM        ^"
                              << "TO" << 0 << desc;
  QTest::newRow("FROM thrice") << "LENGTH" << QList<int>{0, 0, 0} << "FROM        v"
                               << "TO" << 0 << length;
  QTest::newRow("FROM, TO") << "LENGTH" << QList<int>{0, 1} << "FROM"
                            << "TO          v" << 1
                            << QStringList{"Half", "Meters (m)", "Whole", "Word", "Zero"};
  QTest::newRow("FROM, TO, FROM") << "LENGTH" << QList<int>{0, 1, 0} << "FROM        ^"
                                  << "TO" << 0 << desc;
  QTest::newRow("TO twice") << "LENGTH" << QList<int>{1, 1} << "FROM"
                            << "TO          ^" << 1
                            << QStringList{"Zero", "Word", "Whole", "Meters (m)", "Half"};
  QTest::newRow("sort, group change, FROM")
      << "LENGTH" << QList<int>{0, -1, 0} << "FROM        ^"
      << "TO" << 0 << QStringList{"Zero", "Psi", "P9", "P8", "P7"};
  QTest::newRow("9 before 10") << "NUM" << QList<int>{1} << "FROM"
                               << "TO          v" << 1 << QStringList{"9", "10", "Meters"};
}

void TestMainWindow::headerSort() {
  QFETCH(QString, group);
  QFETCH(QList<int>, clicks);
  QFETCH(QString, caption0);
  QFETCH(QString, caption1);
  QFETCH(int, column);
  QFETCH(QStringList, order);
  frmMain &w = *w_;
  Pick(w.Combo1, group);
  for (int c : clicks) {
    if (c < 0) {
      Pick(w.Combo1, "ALL");
      QCOMPARE(w.MSFlexGrid1->TextMatrix(0, 0), QString("FROM"));
      QCOMPARE(w.MSFlexGrid1->TextMatrix(1, 0), QString("Feet (ft)"));  // file order again
    } else {
      ClickHeader(c);
    }
  }
  QCOMPARE(w.MSFlexGrid1->TextMatrix(0, 0), caption0);
  QCOMPARE(w.MSFlexGrid1->TextMatrix(0, 1), caption1);
  QCOMPARE(Column(*w.MSFlexGrid1, column).mid(0, order.size()), order);
  QCOMPARE(w.FG1->TextMatrix(1, 0), QString("Feet (ft)"));  // the master keeps file order
}

void TestMainWindow::headerClickKeepsFields() {
  frmMain &w = *w_;
  Pick(w.Combo1, "LENGTH");
  ClickRow(3);
  const QStringList before{w.Text1->text(), w.Text2->text(), w.Label1->text(), w.Label2->text()};
  const int row = w.MSFlexGrid1->Row();
  ClickHeader(1);
  QCOMPARE((QStringList{w.Text1->text(), w.Text2->text(), w.Label1->text(), w.Label2->text()}),
           before);
  QCOMPARE(w.MSFlexGrid1->Row(), row);
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
  QCOMPARE(w.Label1->text(), QString("Celsius"));
  QCOMPARE(w.Label2->text(), QString("Fahrenheit"));
}

void TestMainWindow::paging_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<int>("start");
  QTest::addColumn<QList<int>>("rows");
  QTest::newRow("next") << "NextBtn" << 1 << QList<int>{7, 13, 19, 20, 20};
  QTest::newRow("prev") << "PrevBtn" << 20 << QList<int>{14, 8, 2, 1, 1};
  QTest::newRow("next from 14") << "NextBtn" << 14 << QList<int>{20};
  QTest::newRow("next from 15") << "NextBtn" << 15 << QList<int>{20};
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
  QCOMPARE(w.MSFlexGrid1->Rows(), 21);
  w.MSFlexGrid1->SetRow(start);
  auto *b = w.findChild<QToolButton *>(button);
  QVERIFY(b);
  for (int expected : rows) {
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(w.MSFlexGrid1->Row(), expected);
    QCOMPARE(w.Label1->text(), QString("P%1").arg(expected));
    QCOMPARE(w.MSFlexGrid1->ColSel(), 1);
    // The new row is shown; at the top unless the view cannot scroll that far.
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
  QCOMPARE(w.Label1->text(), QString("P16"));
}

void TestMainWindow::emptyGroup() {
  frmMain &w = *w_;
  Pick(w.Combo1, "LENGTH");
  w.Text1->setText("3");
  w.Text2->setText("x");
  Pick(w.Combo1, "EMPTY");
  QCOMPARE(w.MSFlexGrid1->Rows(), 1);
  QCOMPARE(w.Text1->text(), QString("3"));
  QCOMPARE(w.Text2->text(), QString("x"));
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
  QVERIFY(w.StartupProblems().contains("type.txt"));
  QVERIFY(w.StartupProblems().contains("convert.txt"));
  QVERIFY(w.StartupProblems().contains(QDir::toNativeSeparators(empty.path())));
  QDir::setCurrent(dir_.path());
}

void TestMainWindow::commaDecimalLocale() {
  // Under a comma-decimal locale the file's 0.3048 must not read as 3048.
  const QLocale old;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  {
    frmMain w;
    QCOMPARE(w.MSFlexGrid1->TextMatrix(1, 3), QString("0,3048"));
    QCOMPARE(w.MSFlexGrid1->TextMatrix(2, 4), QString("32"));
    w.Text1->setText("1.000,5");
    QTest::keyClick(w.Text1, Qt::Key_Return);
    QCOMPARE(w.Text2->text(), QString("304,95"));
    w.Text1->setText("1");
    w.Combo1->setEditText("LENGTH");
    w.Combo1_Click();
    QCOMPARE(w.Text2->text(), QString(",30"));
    QCOMPARE(w.Text1->text(), QString("1,00"));
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

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
