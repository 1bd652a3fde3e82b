// The main window driven through its widgets by real input, one script per data row.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "doubles.h"
#include "main_window/frm_main.h"
#include "table/flex_grid.h"
#include "test_support.h"
#include "widgets/pick_combo.h"

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

void Row(const char *name, const QString &script) {
  QTest::newRow(name) << script;
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString oldDir_;
  std::unique_ptr<frmMain> w_;
  std::unique_ptr<QSignalSpy> picks1_, picks2_, gridClicks_;
  test::Doubles doubles_;  // the links open nothing
  const test::RecordingShell &shell_ = doubles_.shell;

  void Run() {
    QFETCH(QString, script);
    for (const QString &step : script.split(';')) {
      Step(step.trimmed());
      if (QTest::currentTestFailed()) return;
    }
  }
  void Step(const QString &step);
  QString State(const QString &key) const;

 private slots:
  void init() {
    oldDir_ = QDir::currentPath();
    QVERIFY(test::WriteBytes(dir_.filePath("type.txt"),
                             "\"ALL\"\r\n\"LENGTH\"\r\n\"PRESSURE\"\r\n\"PRESSURE DROP\"\r\n"
                             "\"TEMPERATURE\"\r\n\"PAGE\"\r\n\"NUM\"\r\n\"EMPTY\"\r\n"
                             "\"pressure\"\r\n\"DYNAMIC VISCOSITY PER UNIT VELOCITY\"\r\n"));
    QVERIFY(test::WriteBytes(dir_.filePath("convert.txt"), ConvertFile()));
    QDir::setCurrent(dir_.path());
    w_ = std::make_unique<frmMain>();
    picks1_ = std::make_unique<QSignalSpy>(w_->Combo1, &PickCombo::picked);
    picks2_ = std::make_unique<QSignalSpy>(w_->Combo2, &PickCombo::picked);
    gridClicks_ = std::make_unique<QSignalSpy>(w_->MSFlexGrid1, &FlexGrid::Click);
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
  }
  void cleanup() {
    picks1_.reset(), picks2_.reset(), gridClicks_.reset();
    w_.reset();
    QDir::setCurrent(oldDir_);
  }
  void fields_data();
  void fields() { Run(); }
  void choosers_data();
  void choosers() { Run(); }
  void table_data();
  void table() { Run(); }
  void fixedSize() {  // a window manager's resize is refused
    const QSize size = w_->size();
    w_->resize(size + QSize(184, 180));
    QCOMPARE(w_->size(), size);
    QCOMPARE(w_->minimumSize(), w_->maximumSize());
  }
  void startupNote();
  void commaDecimalLocale();
  void typeListFitsBeforeInput();
};

// A row's script: steps separated by ';'. "set W TEXT" and "row N" set a field's or a
// chooser's text, or the current row, without input. Input: "type W TEXT", "key W KEYS",
// "wheel W DELTA", "pick W ENTRY" (a click in the open list), "popup W KEY" (a key in the
// open list), "focus W"; "click/rclick/dclick/clicks AT": a left click, a right and a middle
// click, a double click or two separate clicks on W, on "row N" or on "header C".
// "is KEY VALUE": State(KEY) is VALUE, or begins with it when VALUE ends in "|...".
void TestMainWindow::Step(const QString &step) {
  const QString verb = step.section(' ', 0, 0), target = step.section(' ', 1, 1),
                arg = step.section(' ', 2);
  frmMain &w = *w_;
  QWidget *widget = w.findChild<QWidget *>(target);
  auto *combo = qobject_cast<QComboBox *>(widget);
  QTableView *v = w.MSFlexGrid1->view();
  QHeaderView *h = v->horizontalHeader();
  QPoint at = widget ? widget->rect().center() : QPoint();
  if (target == "row") {
    widget = v->viewport();
    v->scrollTo(v->model()->index(arg.toInt() - 1, 0));
    at = v->visualRect(v->model()->index(arg.toInt() - 1, 0)).center();
  } else if (target == "header") {
    widget = h->viewport();
    at = QPoint(h->sectionViewportPosition(arg.toInt()) + 4, h->height() / 2);
  }
  if (verb == "is") {
    const QString actual = State(target);
    QVERIFY2(arg.endsWith("|...") ? actual.startsWith(arg.chopped(3)) : actual == arg,
             qPrintable(step + " but is " + actual));
  } else if (verb == "set" && combo) {
    combo->setEditText(arg);
  } else if (verb == "set") {
    qobject_cast<QLineEdit *>(widget)->setText(arg);
  } else if (verb == "row") {
    w.MSFlexGrid1->SetRow(target.toInt());
  } else if (verb == "type") {
    QTest::keyClicks(widget, arg);
  } else if (verb == "key") {
    const QKeyCombination key = QKeySequence(arg)[0];
    QTest::keyClick(widget, key.key(), key.keyboardModifiers());
  } else if (verb == "wheel") {
    // To the line edit under the pointer, which leaves the wheel to the chooser.
    QWidget *under = combo->lineEdit();
    const QPointF center = under->rect().center();
    QWheelEvent wheel(center, under->mapToGlobal(center), {}, {0, arg.toInt()}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(under, &wheel);
  } else if (verb == "pick" || verb == "popup") {
    const int index = combo->findText(arg);
    combo->showPopup();
    QAbstractItemView *list = combo->view();
    QVERIFY(list->isVisible());
    const QModelIndex item = list->model()->index(index, 0);
    list->scrollTo(item);
    if (verb == "pick")
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
    else
      QTest::keyClick(list, QKeySequence(arg)[0].key());
    QVERIFY2(!list->isVisible() && (verb == "popup" || index >= 0), qPrintable(step));
  } else if (verb == "focus") {
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    widget->setFocus();
  } else if (verb == "click") {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
  } else if (verb == "rclick") {
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton})
      QTest::mouseClick(widget, button, {}, at);
  } else if (verb == "dclick") {  // through the window: press, release, double click, release
    QTest::mouseDClick(w.windowHandle(), Qt::LeftButton, {}, widget->mapTo(&w, at));
  } else if (verb == "clicks") {  // each release ends a double-click interval
    for (int i = 0; i < 2; ++i)
      QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, widget->mapTo(&w, at));
  } else {
    QFAIL(qPrintable("unknown step: " + step));
  }
}

QString TestMainWindow::State(const QString &key) const {
  const frmMain &w = *w_;
  const FlexGrid &g = *w.MSFlexGrid1;
  if (auto *edit = w.findChild<QLineEdit *>(key)) return edit->text();
  if (auto *label = w.findChild<QLabel *>(key)) return label->text();
  if (auto *combo = w.findChild<QComboBox *>(key)) return combo->currentText();
  QStringList column;
  for (int r = 1; r < g.Rows(); ++r) column << g.TextMatrix(r, key == "To");
  const QTableView *v = g.view();
  const QRect current = v->visualRect(v->model()->index(g.Row() - 1, 0));
  // clang-format off
  const QMap<QString, QVariant> state{
      {"Row", g.Row()}, {"Col", g.Col()}, {"ColSel", g.ColSel()}, {"TopRow", g.TopRow()},
      {"Rows", g.Rows()}, {"From", column.join('|')}, {"To", column.join('|')},
      {"H0", g.TextMatrix(0, 0)}, {"H1", g.TextMatrix(0, 1)},
      {"FG1", w.FG1->TextMatrix(1, 0)},  // the master table keeps file order
      {"picks1", picks1_->count()}, {"picks2", picks2_->count()}, {"clicks", gridClicks_->count()},
      {"cursor", w.Combo1->lineEdit()->cursorPosition()}, {"sorted", w.SortFrom},
      {"cursor1", w.Text1->cursorPosition()}, {"cursor2", w.Text2->cursorPosition()},
      {"busy", QApplication::overrideCursor() != nullptr},
      {"visible", v->viewport()->rect().contains(current)},
      {"focus", w.focusWidget() ? w.focusWidget()->objectName() : QString()},
      {"opened", QUrl::toStringList(shell_.opened).join('|')}};
  // clang-format on
  return state.value(key, "no such state: " + key).toString();
}

// clang-format off
// Start-up, group changes, digits changes and values entered in the two fields.
void TestMainWindow::fields_data() {
  QTest::addColumn<QString>("script");
  Row("state", "is Combo1 ALL; is Combo2 2; is Text1 1; is Text2 1; is Label1; is focus Text1; is Rows 32; is Row 1; is From Feet (ft)|Celsius|...");
  Row("Enter converts through the first record", "key Text1 Return; is Text2 .30; is cursor2 0");
  Row("links", "click Label11; click Label13; is opened mailto:sales@quellor.example|https://www.quellor.example/");
  const QString length = "; is From Feet (ft)|Half|Bad|Double|Zero; is Label1 Feet (ft); is Row 1";
  Row("LENGTH", "set Text1 1; set Text2 typed; pick Combo1 LENGTH; is Text2 .30; is Text1 1.00; is busy false; is cursor1 0; is cursor2 0" + length);
  Row("adder", "set Text1 100; pick Combo1 TEMPERATURE; is From Celsius; is Text2 212.00; is Text1 100.00; is Label1 Celsius");
  Row("substring", "pick Combo1 PRESSURE; is From Psi|inH2O; is Text2 6.89; is Text1 1.00; is Label1 Psi");
  Row("case matters", "set Text2 typed; pick Combo1 pressure; is Rows 1; is Row 0; is Text2 typed; is Text1 1; is Label1");
  Row("choice 7, group change", "set Combo2 7; set Text1 2; pick Combo1 TEMPERATURE; is Text2 35.6; is Text1 2");
  Row("typed 6", "set Combo2 6; set Text1 1234.5678; pick Combo1 LENGTH; is Text2 3.76E+02; is Text1 1.23E+03" + length);
  Row("empty Text1", "set Text1; set Text2 typed; pick Combo1 PRESSURE DROP; is From inH2O; is Text2 typed; is Text1; is Label1 inH2O");
  Row("2 kg, group change", "set Text1 2 kg; set Text2 typed; pick Combo1 LENGTH; is Text2 typed; is Text1 2 kg" + length);
  // Paging, a header click and Enter find no conversion in an empty group and change nothing.
  Row("empty group", "pick Combo1 LENGTH; set Text1 3; set Text2 x; pick Combo1 EMPTY; is Rows 1; is Text1 3; is Text2 x; is Label1; is Label2; "
      "click TopBtn; click PrevBtn; click NextBtn; click BtmBtn; click header 0; key Text1 Return; is Text2 x; is H0 FROM; is sorted 0");
  Row("digits change", "set Text2 0.3048; pick Combo2 0; is Text1 1; is Text2 0; set Text2 0; pick Combo2 4; is Text1 1.0000; is Text2 0.0000; is cursor1 0; is cursor2 0; "
      "set Text1 100; set Text2 212; pick Combo2 2; is Text1 100.00; is Text2 212.00; set Text1; set Text2 5; pick Combo2 3; is Text2 5; "
      "set Text1 abc; set Text2 0.25; pick Combo2 2; is Text1 abc; is Text2 0.25");
  // Nothing happens while typing, and the typed text is not re-rendered.
  Row("forward", "row 2; set Text2 =; set Text1; type Text1 2; is Text2 =; key Text1 Return; is Text2 35.60; is Text1 2");
  Row("backward", "row 2; set Text1 =; set Text2; type Text2 35.6; is Text1 =; key Text2 Return; is Text1 2.00; is Text2 35.6; is cursor1 0");
  Row("half, choice 1", "row 3; set Combo2 1; set Text1; type Text1 1; key Text1 Return; is Text2 .5");
  Row("zero, choice 0", "row 8; set Combo2 0; set Text1; type Text1 0; key Text1 Return; is Text2");
  Row("backward, choice 5", "row 7; set Combo2 5; set Text2; type Text2 1; key Text2 Return; is Text1 0.50000");
  Row("forward, choice 5", "row 7; set Combo2 5; set Text1; type Text1 0.25; key Text1 Return; is Text2 .50000");
  Row("shift+enter", "row 2; set Text1; type Text1 2; key Text1 Shift+Return; is Text2 35.60");
  Row("grouping", "row 1; set Text1; type Text1 1,000; key Text1 Return; is Text2 304.80; is Text1 1,000");
  Row("choice 7, Enter", "row 2; set Combo2 7; set Text1; type Text1 2; key Text1 Return; is Text2 1");
  Row("2 kg, Enter", "row 2; set Text1; type Text1 2 kg; key Text1 Return; is Text2 1; is Text1 2 kg");
  Row("word multiplier", "row 6; set Text1; type Text1 2; key Text1 Return; is Text2 1");
  Row("divide by 0", "row 8; set Text2; type Text2 5; key Text2 Return; is Text1 1");
  Row("overflow", "row 5; set Text1; type Text1 1e307; key Text1 Return; is Text2 1");
  Row("empty", "row 2; set Text1; key Text1 Return; is Text2 1");
}

// Input to the two choosers.
void TestMainWindow::choosers_data() {
  QTest::addColumn<QString>("script");
  const QString types = "set Text1 1.2345; set Text2 0.3048; focus Combo1; ", digits = "set Text1 1.2345; set Text2 0.3048; focus Combo2; ";
  const QString unchanged = "; is Text2 0.3048; is Rows 32; is picks1 0";
  // A pick lists the group the chooser names, and its name shows from its beginning.
  const QString length = "; is picks1 1; is Text2 .38; is From Feet (ft)|Half|Bad|Double|Zero; is cursor 0";
  Row("Down", types + "key Combo1 Down; is Combo1 LENGTH" + length);
  Row("Down Down Up", types + "key Combo1 Down; key Combo1 Down; key Combo1 Up; is Combo1 LENGTH; is picks1 3; is Text2 .37");
  Row("PgDown PgDown PgUp", types + "key Combo1 PgDown; key Combo1 PgDown; key Combo1 PgUp; is Combo1 LENGTH; is picks1 3; is Text2 .37");
  Row("wheel down", types + "wheel Combo1 -120; is Combo1 LENGTH" + length);
  Row("wheel up at the first", types + "wheel Combo1 120; is Combo1 ALL" + unchanged);
  Row("pick", types + "pick Combo1 PRESSURE; is Combo1 PRESSURE; is picks1 1; is Text2 8.51; is From Psi|inH2O; is cursor 0");
  Row("pick long", types + "pick Combo1 DYNAMIC VISCOSITY PER UNIT VELOCITY; is picks1 1; is Text2 0.3048; is Rows 1; is cursor 0");
  Row("typed, Enter", types + "key Combo1 Ctrl+A; type Combo1 PRESSURE; key Combo1 Return; is Combo1 PRESSURE" + unchanged);
  Row("typed, Tab", types + "key Combo1 Ctrl+A; type Combo1 LENGTH; key Combo1 Tab; is Combo1 LENGTH" + unchanged);
  Row("Home End", types + "key Combo1 Home; type Combo1 X; key Combo1 End; type Combo1 Y; is Combo1 XALLY" + unchanged);
  Row("digits wheel down", digits + "wheel Combo2 -120; is Combo2 3; is picks2 1; is Text2 0.305; is Rows 32");
  Row("digits Up", digits + "key Combo2 Up; is Combo2 1; is picks2 1; is Text2 0.3");
  Row("digits open list, Enter", digits + "popup Combo2 Return; is Combo2 2; is picks2 1; is Text2 0.30");
  Row("digits typed, Enter", digits + "key Combo2 Ctrl+A; type Combo2 0; key Combo2 Return; is Combo2 0; is picks2 0; is Text2 0.3048");
}

// Header clicks sort the listed rows, not the master table; body clicks and paging buttons
// convert through a row.
void TestMainWindow::table_data() {
  QTest::addColumn<QString>("script");
  const QString asc = "; is From Bad|Double|Feet (ft)|Half|Zero; is FG1 Feet (ft)", desc = "; is From Zero|Half|Feet (ft)|Double|Bad";
  Row("FROM", "pick Combo1 LENGTH; click header 0; is H0 FROM        v; is H1 TO; is clicks 1" + asc);
  Row("FROM x2", "pick Combo1 LENGTH; click header 0; click header 0; is H0 FROM        ^" + desc);
  Row("FROM x3", "pick Combo1 LENGTH; click header 0; click header 0; click header 0; is H0 FROM        v" + asc);
  Row("FROM TO", "pick Combo1 LENGTH; click header 0; click header 1; is H0 FROM; is H1 TO          v; is To Half|Meters (m)|Whole|Word|Zero");
  Row("FROM TO FROM", "pick Combo1 LENGTH; click header 0; click header 1; click header 0; is H0 FROM        ^; is H1 TO" + desc);
  Row("group change between", "pick Combo1 LENGTH; click header 0; pick Combo1 ALL; is H0 FROM; is From Feet (ft)|Celsius|...; click header 0; is H0 FROM        ^; is From Zero|Psi|P9|P8|...");
  Row("9 before 10", "pick Combo1 NUM; click header 1; is H1 TO          v; is To 9|10|Meters");
  Row("double clicks: a step each", "pick Combo1 LENGTH; dclick header 0; dclick header 0; is clicks 2; is H0 FROM        ^" + desc);
  // A header click, or another button than the left on a body row, keeps the fields.
  Row("clicks that keep the fields", "pick Combo1 LENGTH; click row 2; is Text2 .50; click header 1; rclick row 5; is Row 2; is Text1 1.00; is Text2 .50; is Label1 Half; is Label2 Whole");
  // Celsius to Fahrenheit: 1.8 and 32.
  const QString celsius = "; is Row 2; is Col 0; is ColSel 2; is Label1 Celsius; is Label2 Fahrenheit";
  Row("choice 2", "set Text1 2; click row 2; is Text2 35.60; is Text1 2.00" + celsius);
  Row("choice 0", "set Combo2 0; set Text1 2; click row 2; is Text2 36; is Text1 2" + celsius);
  Row("choice 7", "set Combo2 7; set Text1 2; click row 2; is Text2 35.6; is Text1 2" + celsius);
  Row("empty Text1", "set Text1; set Text2 typed; click row 2; is Text2 typed; is Text1" + celsius);
  Row("word multiplier", "pick Combo1 LENGTH; set Text2 typed; click row 3; is Text2 typed; is Text1 1.00; is Label1 Bad");
  // The second click converts again from the rendered 2.34; a double click is one click.
  Row("double click", "set Text1 2.344; dclick row 2; is Text2 36.22; is Text1 2.34" + celsius);
  Row("two clicks", "set Text1 2.344; clicks row 2; is Text2 36.21; is Text1 2.34" + celsius);
  // The new row is at the top unless the view cannot scroll that far. Only the previous-page
  // button drops the zero before the point.
  const QString page = "set Combo2 1; pick Combo1 PAGE; ", at = "; is ColSel 1; is visible true; is Text1 1.0; is Text2 ";
  Row("next", page + "click NextBtn; is Row 7; is TopRow 7" + at + "0.5; click NextBtn; is Row 13; click NextBtn; is Row 19; click NextBtn; is Row 20; is Label1 P20; click NextBtn; is Row 20" + at + "0.5");
  Row("prev", page + "row 20; click PrevBtn; is Row 14" + at + ".5; click PrevBtn; is Row 8; is TopRow 8; click PrevBtn; is Row 2; click PrevBtn; is Row 1; click PrevBtn; is Row 1; is TopRow 1; is Label1 P1" + at + ".5");
  Row("next from 14", page + "row 14; click NextBtn; is Row 20; is Label1 P20" + at + "0.5");
  Row("top", page + "row 17; click TopBtn; is Row 1; is TopRow 1; is Label1 P1" + at + "0.5");
  Row("bottom", page + "row 3; click BtmBtn; is Row 20; is Label1 P20" + at + "0.5");
  Row("from the clicked row", "pick Combo1 PAGE; click row 10; is Row 10; click NextBtn; is Row 16; is visible true");
}
// clang-format on

void TestMainWindow::startupNote() {
  // No type.txt, and a convert.txt with a line that does not fit.
  QTemporaryDir folder;
  QVERIFY(test::WriteBytes(folder.filePath("convert.txt"),
                           "\"Half\",\"Whole\",\"T\",\"0.5\",0\r\nnot a record\r\n"));
  QDir::setCurrent(folder.path());
  frmMain w;
  QDir::setCurrent(dir_.path());
  QVERIFY(w.StartupProblems().contains(QDir::toNativeSeparators(folder.path())));
  // The note stays open while the window takes input.
  w.show();
  QTRY_VERIFY(w.findChild<QMessageBox *>("StartupMessage") &&
              w.findChild<QMessageBox *>("StartupMessage")->isVisible());
  for (const int key : {int(Qt::Key_Backspace), int('4'), int(Qt::Key_Return)})
    QTest::keyClick(w.windowHandle(), Qt::Key(key));
  QCOMPARE(w.Text1->text() + '=' + w.Text2->text(), QString("4=2.00"));
  QVERIFY(w.findChild<QMessageBox *>("StartupMessage")->isVisible());
}

void TestMainWindow::commaDecimalLocale() {
  // Under a comma-decimal locale the file's 0.3048 must not read as 3048.
  const QLocale old;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const auto restore = qScopeGuard([&] { QLocale::setDefault(old); });
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

// The type list is sized after the window's first frame, and still before any input is
// handled: a click that opens the list finds it wide enough for every group name.
void TestMainWindow::typeListFitsBeforeInput() {
  for (const bool frameFirst : {true, false}) {
    frmMain w;
    w.show();
    QCOMPARE(w.Combo1->view()->minimumWidth(), 0);  // nothing drawn yet
    if (frameFirst) QVERIFY(QTest::qWaitForWindowExposed(&w));
    // On the arrow: a click on the text of an editable box does not open its list.
    QTest::mouseClick(w.Combo1, Qt::LeftButton, {},
                      QPoint(w.Combo1->width() - 6, w.Combo1->height() / 2));
    QTRY_VERIFY(w.Combo1->view()->isVisible());
    const int needed =
        w.Combo1->view()->fontMetrics().horizontalAdvance("DYNAMIC VISCOSITY PER UNIT VELOCITY");
    QVERIFY2(w.Combo1->view()->width() >= needed, frameFirst ? "frame first" : "click first");
    w.Combo1->hidePopup();
  }
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
