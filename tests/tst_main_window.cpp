// The main window driven through its widgets by real input, one script per data row.
#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTableView>
#include <QTextDocument>
#include <QToolTip>
#include <QtTest>
#include <memory>

#include "doubles.h"
#include "main_window/frm_main.h"
#include "table/flex_grid.h"
#include "test_support.h"
#include "widgets/caption_label.h"
#include "widgets/pick_combo.h"

using namespace qlc;

namespace {

// A user's names, longer than the table's cells and the unit captions.
const QString kLongFrom = "<b>Kilowatt</b> hours per square meter per day averaged over the year",
              kLongTo = "Joules per square centimeter per second";

struct Row {
  const char *name;
  QString script;                 // steps separated by ';', see TestMainWindow::Step
  const char *locale = "C";       // the default locale while the window is built
  const char *convert = nullptr;  // instead of the usual files: no type.txt and this convert.txt
};

// What a tooltip reads as on the screen: its text, or what its markup shows.
QString ShownText(const QString &tip) {
  if (!Qt::mightBeRichText(tip)) return tip;
  QTextDocument shown;
  shown.setHtml(tip);
  return shown.toPlainText().replace(QChar::LineSeparator, u'\n');
}

// A data file from records split by ';' and fields by '|', each quoted but the fifth (adder).
QByteArray Records(const QString &records) {
  QByteArray bytes;
  for (const QString &record : records.split(';'))
    bytes += ('"' + record.section('|', 0, 3).replace('|', "\",\"") + '"' +
              (record.count('|') == 4 ? ',' + record.section('|', 4) : QString()) + "\r\n")
                 .toUtf8();
  return bytes;
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  std::unique_ptr<frmMain> w_;
  std::unique_ptr<QSignalSpy> picks1_, picks2_, gridClicks_;
  test::Doubles doubles_;  // the links open nothing
  test::ModalAnswers answers_;

  void Step(const QString &step);
  QString State(const QString &key) const;

 private slots:
  void init() {
    QVERIFY(test::WriteBytes(dir_.filePath("type.txt"),
                             Records("ALL;LENGTH;PRESSURE;PRESSURE DROP;TEMPERATURE;PAGE;NUM;EMPTY;"
                                     "pressure;DYNAMIC VISCOSITY PER UNIT VELOCITY;ONE")));
    // Rows 1..8, then P1..P20 (multiplier 0.5), units that sort as numbers (1,5 as 15 but in a
    // comma locale), long names.
    QString convert =
        "Feet (ft)|Meters (m)|LENGTH|0.3048|0;Celsius|Fahrenheit|TEMPERATURE|1.8|32;"
        "Half|Whole|LENGTH|0.5|0;Psi|kPa|PRESSURE|6.894757293168361|0;"
        "inH2O|Pa|PRESSURE DROP|249.08891|0;Bad|Word|LENGTH|two|0;Double|Half|LENGTH|2|0;"
        "Zero|Zero|LENGTH|0|0";
    for (int i = 1; i <= 20; ++i) convert += QString(";P%1|Q%1|PAGE|0.5|0").arg(i);
    convert +=
        ";1,5|10|NUM|1|0;9|9|NUM|1|0;c|Meters|NUM|1|0;" + kLongFrom + '|' + kLongTo + "|ONE|4|1";
    QVERIFY(test::WriteBytes(dir_.filePath("convert.txt"), Records(convert)));
    QDir::setCurrent(dir_.path());
  }
  void cleanup() { picks1_.reset(), picks2_.reset(), gridClicks_.reset(), w_.reset(); }
  // clang-format off
  void input_data() {
    const QString types = "set Text1 1.2345; set Text2 0.3048; focus Combo1; ", digits = "set Text1 1.2345; set Text2 0.3048; focus Combo2; ";
    const QString unchanged = "; is Text2 0.3048; is Rows 33; is picks1 0";
    // A pick lists the group the chooser names, converts, and shows the names from their beginning.
    const QString length = "; is picks1 1; is Text2 .38; is Text1 1.23; is From Feet (ft)|Half|Bad|Double|Zero; is Label1 Feet (ft); is Row 1; is busy false; is cursor 0; is cursor1 0; is cursor2 0";
    const QString asc = "; is From Bad|Double|Feet (ft)|Half|Zero; is FG1 Feet (ft)", desc = "; is From Zero|Half|Feet (ft)|Double|Bad";
    const QString celsius = "; is Row 2; is Col 0; is ColSel 2; is Label1 Celsius; is Label2 Fahrenheit";  // 1.8 and 32
    // A paged-to row is at the top where the view can scroll that far; only PrevBtn drops the zero before the point.
    const QString page = "set Combo2 1; pick Combo1 PAGE; ", at = "; is ColSel 1; is visible true; is Text1 1.0; is Text2 ";
    const QString mail = "mailto:sales@quellor.example", home = "https://www.quellor.example/";
    const Row rows[] = {
      {.name = "start-up, Enter, links", .script = "is frame as drawn; is deferred done; is W0 1446; is Combo1 ALL; is Combo2 2; is list2 0|1|2|3|4|5; is Text1 1; is Text2 1; is Label1; is focus Text1; is Rows 33; is Row 1; is From Feet (ft)|Celsius|...; key Text1 Return; is Text2 .30; is Label1; is cursor2 0; "
          "click Label11; click Label13; is focus Text1; rclick Label11; rclick Label13; key Label11 Return; key Label13 Space; is opened " + mail + '|' + home + '|' + mail + '|' + home + "; pick Combo1 ALL; is Rows 33"},
      {.name = "substring, case", .script = "pick Combo1 PRESSURE; is From Psi|inH2O; is Text2 6.89; is Text1 1.00; is Label1 Psi; set Text2 typed; pick Combo1 pressure; is Rows 1; is Row 0; is Text2 typed; is Text1 1.00; is Label1; "
          "pick Combo1 PRESSURE; click header 0; is From inH2O|Psi"},
      {.name = "empty group: nothing to convert", .script = "pick Combo1 LENGTH; set Text1 3; set Text2 x; pick Combo1 EMPTY; is Rows 1; is Text1 3; is Text2 x; is Label1; click TopBtn; click PrevBtn; click NextBtn; click BtmBtn; click header 0; key Text1 Return; is Text2 x; is H0 FROM"},
      {.name = "digits change", .script = "set Text2 0.3048; pick Combo2 0; is Text1 1; is Text2 0; set Text2 0; pick Combo2 4; is Text1 1.0000; is Text2 0.0000; is cursor1 0; is cursor2 0; set Text1 abc; set Text2 0.25; pick Combo2 2; is Text1 abc; is Text2 0.25; set Text1; set Text2 5; pick Combo2 3; is Text2 5"},
      // Nothing happens while typing, and the typed text is not re-rendered.
      {.name = "forward, backward", .script = "row 2; set Text2 =; set Text1; type Text1 2; is Text2 =; key Text1 Return; is Text2 35.60; is Text1 2; "
          "set Text1 =; set Text2; type Text2 35.6; is Text1 =; key Text2 Return; is Text1 2.00; is Text2 35.6; is cursor1 0"},
      {.name = "modifiers, keypad", .script = "row 2; set Text1 2; key Text1 Shift+Return; is Text2 35.60; set Text2 x; key Text1 Enter; is Text2 35.60; set Text1 x; key Text2 Enter; is Text1 2.00"},
      {.name = "nothing to convert, no result", .script = "row 2; set Combo2 7; set Text1 2; key Text1 Return; is Text2 1; set Combo2 2; set Text1 2 kg; key Text1 Return; is Text2 1; is Text1 2 kg; set Text1; key Text1 Return; is Text2 1; "
          "row 6; set Text1 2; key Text1 Return; is Text2 1; row 8; set Text2 5; key Text2 Return; is Text1 2; row 5; set Text1 1e307; key Text1 Return; is Text2 5"},
      // A line that does not fit: the note names the folder and stays open while the window takes input.
      {.name = "start-up note", .script = "is problems true; is note true; key window Backspace; key window 4; key window Return; is Text1 4; is Text2 2.00; is note true", .convert = "Half|Whole|T|0.5|0;x"},
      // The file's 0.3048 must not read as 3048. Names sort by the locale's separators, texts by letters, not by the numbers in them.
      {.name = "comma decimal", .script = "is M1 0,3048; set Text1 1.000,5; key Text1 Return; is Text2 304,95; set Text1 1; pick Combo1 LENGTH; is Text2 ,30; is Text1 1,00; "
          "pick Combo1 NUM; click header 0; is From 1,5|9|c; pick Combo1 PAGE; click header 0; is From P9|P8|P7|P6|P5|P4|P3|P20|P2|P19|...", .locale = "de_DE"},
      {.name = "Down", .script = types + "key Combo1 Down; is Combo1 LENGTH" + length},
      {.name = "wheel down", .script = types + "wheel Combo1 -120; is Combo1 LENGTH" + length},
      {.name = "pick long", .script = types + "pick Combo1 DYNAMIC VISCOSITY PER UNIT VELOCITY; is picks1 1; is Text2 0.3048; is Rows 1; is cursor 0"},
      // Typed text picks nothing, confirmed or not.
      {.name = "typed: Enter, Home End, Tab", .script = types + "key Combo1 Ctrl+A; type Combo1 PRESSURE; key Combo1 Return; is Combo1 PRESSURE" + unchanged + "; key Combo1 Home; type Combo1 X; key Combo1 End; type Combo1 Y; is Combo1 XPRESSUREY; key Combo1 Ctrl+A; type Combo1 LENGTH; key Combo1 Tab; is Combo1 LENGTH" + unchanged +
          "; key Combo1 Ctrl+A; type Combo1 LEN; is Combo1 LEN; key Combo2 Ctrl+A; type Combo2 6; key Combo2 Return; is list2 0|1|2|3|4|5"},
      {.name = "digits wheel down", .script = digits + "wheel Combo2 -120; is Combo2 3; is picks2 1; is Text2 0.305; is Rows 33"},
      // Header clicks sort the listed rows, not the master table.
      // Each action renders with its own pattern set: a click in the table, Enter in "Convert From".
      {.name = "patterns per action", .script = "pick Combo1 LENGTH; pick Combo2 1; click row 2; is Text2 0.5; click row 4; pick Combo2 5; set Text1 0.25; key Text1 Return; is Text2 .50000"},
      {.name = "a double click on a header sorts once", .script = "pick Combo1 LENGTH; dclick header 0; is H0 FROM        v" + asc},
      {.name = "FROM x3, TO, FROM", .script = "pick Combo1 LENGTH; click header 0; is H0 FROM        v; is H1 TO; is clicks 1" + asc + "; click header 0; is H0 FROM        ^" + desc + "; click header 0; is H0 FROM        v" + asc + "; click header 1; is H0 FROM; is H1 TO          v; is To Half|Meters (m)|Whole|Word|Zero; click header 0; is H0 FROM        ^; is H1 TO" + desc},
      {.name = "group change between", .script = "pick Combo1 LENGTH; click header 0; pick Combo1 ALL; is H0 FROM; is From Feet (ft)|Celsius|...; click header 0; is H0 FROM        ^; is From Zero|Psi|P9|P8|...; is FG1 Feet (ft)"},
      {.name = "9 before 10", .script = "pick Combo1 NUM; click header 1; is H1 TO          v; is To 9|10|Meters"},
      {.name = "double clicks: a step each", .script = "pick Combo1 LENGTH; dclick header 0; dclick header 0; is clicks 2; is H0 FROM        ^" + desc},
      // A header click, or another button than the left on a body row, keeps the fields.
      {.name = "clicks that keep the fields", .script = "pick Combo1 LENGTH; click row 2; is Text2 .50; click header 1; rclick row 5; is Row 2; is Text1 1.00; is Text2 .50; is Label1 Half; is Label2 Whole"},
      {.name = "choices 2, 0, 7", .script = "set Text1 2; click row 2; is Text2 35.60; is Text1 2.00" + celsius + "; set Combo2 0; set Text1 2; click row 2; is Text2 36; is Text1 2; set Combo2 7; set Text1 2; click row 2; is Text2 35.6; is Text1 2"},
      {.name = "no number", .script = "set Text1; set Text2 typed; click row 2; is Text2 typed; is Text1" + celsius + "; pick Combo1 LENGTH; set Text1 1; click row 3; is Text2 typed; is Text1 1; is Label1 Bad"},
      // A double click is one click: a second would convert again from the rendered 2.34.
      {.name = "double click", .script = "set Text1 2.344; dclick row 2; is Text2 36.22; is Text1 2.34" + celsius},
      {.name = "next", .script = page + "click NextBtn; is Row 7; is TopRow 7" + at + "0.5; click NextBtn; is Row 13; click NextBtn; is Row 19; click NextBtn; is Row 20; is Label1 P20; click NextBtn; is Row 20" + at + "0.5"},
      {.name = "prev", .script = page + "row 20; click PrevBtn; is Row 14" + at + ".5; click PrevBtn; is Row 8; is TopRow 8; click PrevBtn; is Row 2; click PrevBtn; is Row 1; click PrevBtn; is Row 1; is TopRow 1; is Label1 P1" + at + ".5"},
      {.name = "top, bottom, from a clicked row", .script = page + "row 17; click TopBtn; is Row 1; is TopRow 1; is Label1 P1" + at + "0.5; row 3; click BtmBtn; is Row 20; is Label1 P20" + at + "0.5; "
          "click row 10; is Row 10; click NextBtn; is Row 16; is visible true"},
      {.name = "one conversion: group change", .script = "set Text1 2; pick Combo1 ONE; is Rows 2; is Row 1; is Text2 9.00; is Text1 2.00; is Label1 " + kLongFrom + "; is Label2 " + kLongTo},
      {.name = "one conversion: paging", .script = "pick Combo1 ONE; set Text1 3; set Text2 x; click NextBtn; is Text2 13.00; set Text2 x; click PrevBtn; is Text2 13.00; "
          "set Text2 x; click TopBtn; is Text2 13.00; set Text2 x; click BtmBtn; is Text2 13.00; is Row 1"},
      // A cut name shows whole when hovered, below the design's tooltip where there is one.
      {.name = "names whole", .script = "pick Combo1 ONE; tip row 1; is tip Sort|" + kLongFrom + "; tip Label1; is tip " + kLongFrom + "; is fit1 2 lines cut; is ink1 2; is a11y1 " + kLongFrom + "; tip Combo1; is tip Conversion Group Type|ONE; "
          "pick Combo1 LENGTH; tip row 1; is tip Sort; tip Label1; is tip; is fit1 1 lines"},
      // The table's keys move the current row and re-convert nothing; Tab leaves the table. The
      // next value entered goes through that row, and the captions follow it.
      {.name = "keys, then Enter", .script = "pick Combo1 LENGTH; focus MSFlexGrid1; key MSFlexGrid1 Down; key MSFlexGrid1 Down; key MSFlexGrid1 Down; is Row 4; is Label1 Feet (ft); is Text2 .30; "
          "key MSFlexGrid1 Tab; is focus Text2; key Text1 Return; is Text2 2.00; is Label1 Double; is Label2 Half; "
          "focus MSFlexGrid1; key MSFlexGrid1 Right; key MSFlexGrid1 Right; is Col 1; key MSFlexGrid1 End; key MSFlexGrid1 Ctrl+End; is Col 1; is Row 5; key MSFlexGrid1 Shift+Tab; is focus Text1"},
      // Each menu entry opens its dialog; one that ModalAnswers has no answer for fails the test at once.
      {.name = "menus open their dialogs", .script = "menu UtilityMenu AddItem2; menu UtilityMenu AddItem; menu HelpMenu AboutItem; is said Add Type|Add Conversion|About Unit Converter"},
      {.name = "an unanswered dialog fails", .script = "unanswered frmAbout; menu HelpMenu AboutItem; is said no answer for frmAbout \"About Unit Converter\"; is Text1 1"},
      {.name = "sort, then Enter", .script = "pick Combo1 LENGTH; click header 1; is Label1 Feet (ft); set Text2 4; key Text2 Return; is Text1 2.00; is Label1 Double; is Label2 Half"},
    };
    test::AddRows(rows);
  }
  // clang-format on
  void input() {
    QFETCH(Row, row);
    QLocale::setDefault(QLocale(QString::fromLatin1(row.locale)));
    answers_.texts.clear();
    answers_.buttons = {
        {"addtypes", "Command2"}, {"addconvert", "CommandCancel"}, {"frmAbout", "cmdOK"}};
    if (row.convert)
      QVERIFY(QFile::remove("type.txt") && test::WriteBytes("convert.txt", Records(row.convert)));
    w_ = std::make_unique<frmMain>();
    picks1_ = std::make_unique<QSignalSpy>(w_->Combo1, &PickCombo::picked);
    picks2_ = std::make_unique<QSignalSpy>(w_->Combo2, &PickCombo::picked);
    gridClicks_ = std::make_unique<QSignalSpy>(w_->MSFlexGrid1, &FlexGrid::Click);
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    for (const QString &step : row.script.split(';')) {
      Step(step.trimmed());
      if (QTest::currentTestFailed()) return;
    }
  }
};

// Without input: "set W TEXT", "row N". Input: "type W TEXT", "key W KEYS", "wheel W DELTA",
// "pick W ENTRY" (a click in the open list), "focus W", "click/rclick/dclick AT" (left; right
// and middle; double) on W, "row N" or "header C", "tip W" or "tip row N" (the pointer rests).
// "menu M ITEM" (a click on the bar's menu M, then on its entry), "unanswered DIALOG" (no answer
// for it: the test is expected to fail once).
// "is KEY VALUE": State(KEY) is VALUE, or begins with it when VALUE ends in "|...".
void TestMainWindow::Step(const QString &step) {
  const QString verb = step.section(' ', 0, 0), target = step.section(' ', 1, 1),
                arg = step.section(' ', 2);
  frmMain &w = *w_;
  QWidget *widget = w.findChild<QWidget *>(target);
  auto *combo = qobject_cast<QComboBox *>(widget);
  QTableView *v = w.MSFlexGrid1->view();
  QPoint at = widget ? widget->rect().center() : QPoint();
  if (target == "row") {
    widget = v->viewport();
    v->scrollTo(v->model()->index(arg.toInt() - 1, 0));
    at = v->visualRect(v->model()->index(arg.toInt() - 1, 0)).center();
  } else if (target == "header") {
    widget = v->horizontalHeader()->viewport();
    at = {v->horizontalHeader()->sectionViewportPosition(arg.toInt()) + 4, widget->height() / 2};
  }
  const QKeyCombination key = QKeySequence(arg)[0];
  if (verb == "is") {
    const QString actual = State(target);
    QVERIFY2(arg.endsWith("|...") ? actual.startsWith(arg.chopped(3)) : actual == arg,
             qPrintable(step + " but is " + actual));
  } else if (verb == "set") {
    combo ? combo->setEditText(arg) : qobject_cast<QLineEdit *>(widget)->setText(arg);
  } else if (verb == "row") {
    w.MSFlexGrid1->SetRow(target.toInt());
  } else if (verb == "type") {
    QTest::keyClicks(widget, arg);
  } else if (verb == "key") {
    target == "window" ? QTest::keyClick(w.windowHandle(), key.key(), key.keyboardModifiers())
                       : QTest::keyClick(widget, key.key(), key.keyboardModifiers());
  } else if (verb == "wheel") {  // to the line edit under the pointer; it passes it on
    QWidget *under = combo->lineEdit();
    const QPointF center = under->rect().center();
    QWheelEvent wheel(center, under->mapToGlobal(center), {}, {0, arg.toInt()}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(under, &wheel);
  } else if (verb == "pick") {
    const int index = combo->findText(arg);
    combo->showPopup();
    QAbstractItemView *list = combo->view();
    // Open, as wide as its entries: here less than the screen.
    QVERIFY(list->isVisible() && list->width() < combo->screen()->availableGeometry().width());
    const QModelIndex item = list->model()->index(index, 0);
    list->scrollTo(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
    QVERIFY2(!list->isVisible() && index >= 0, qPrintable(step));
  } else if (verb == "tip") {  // the pointer rests over W: a tooltip shows, or none
    for (QWidget *shown : QApplication::topLevelWidgets())
      if (shown->inherits("QTipLabel")) shown->hide();
    if (combo) widget = combo->lineEdit();
    QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &help);
  } else if (verb == "focus") {
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    widget->setFocus();
  } else if (verb == "click" || verb == "rclick") {
    for (const Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
      if ((b == Qt::LeftButton) == (verb == "click")) QTest::mouseClick(widget, b, {}, at);
  } else if (verb == "dclick") {  // through the window: press, release, double click, release
    QTest::mouseDClick(w.windowHandle(), Qt::LeftButton, {}, widget->mapTo(&w, at));
  } else if (verb == "menu") {
    QMenuBar *bar = w.menuBar();
    auto *menu = static_cast<QMenu *>(widget);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    const QRect item = menu->actionGeometry(w.findChild<QAction *>(arg));
    QTest::mouseClick(menu, Qt::LeftButton, {}, item.center());  // returns when the dialog closes
  } else if (verb == "unanswered") {
    answers_.buttons.remove(target);
    QEXPECT_FAIL("", "ModalAnswers fails a test that opens a dialog it has no answer for",
                 Continue);
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
  QStringList column, list2;
  for (int r = 1; r < g.Rows(); ++r) column << g.TextMatrix(r, key == "To");
  for (int i = 0; i < w.Combo2->count(); ++i) list2 << w.Combo2->itemText(i);
  const QTableView *v = g.view();
  const QRect current = v->visualRect(v->model()->index(g.Row() - 1, 0));
  const auto *note = w.findChild<QMessageBox *>("StartupMessage");
  // The caption's lines as painted: each within the label, and together the name, cut at the end.
  const FittedLines fit = w.Label1->Shown();
  const QFontMetrics m = w.Label1->fontMetrics();
  bool fits = (fit.lines.size() - 1) * m.lineSpacing() + m.height() <= w.Label1->height();
  for (const QString &line : fit.lines)
    fits = fits && m.horizontalAdvance(line) <= w.Label1->width();
  const QString read = fit.lines.join(' ').chopped(fit.cut ? 1 : 0);
  int inked = 0;  // lines of the caption with ink in the middle of their letters
  const QImage caption = w.Label1->grab().toImage();
  for (int top = 0; top + m.ascent() <= caption.height(); top += m.lineSpacing()) {
    bool ink = false;
    for (int y = top + m.ascent() / 3; y < top + m.ascent(); ++y)
      for (int x = 0; x < caption.width() && !ink; ++x)
        ink = caption.pixel(x, y) != caption.pixel(0, 0);
    inked += ink;
  }
  // The frame on the screen is the window as it draws itself (the first frame is not blank).
  const QImage onScreen = w.screen()->grabWindow(w.winId()).toImage(), drawn = w_->grab().toImage();
  qsizetype differ = 0;
  for (int y = 0; y < std::min(onScreen.height(), drawn.height()); ++y)
    for (int x = 0; x < std::min(onScreen.width(), drawn.width()); ++x)
      differ += onScreen.pixel(x, y) != drawn.pixel(x, y);
  QAccessibleInterface *a11y1 = QAccessible::queryAccessibleInterface(w.Label1);
  fits = fits && (fit.cut ? w.Label1->text().startsWith(read) : w.Label1->text() == read);
  // clang-format off
  const QMap<QString, QVariant> state{
      {"Row", g.Row()}, {"Col", g.Col()}, {"ColSel", g.ColSel()}, {"TopRow", g.TopRow()}, {"Rows", g.Rows()},
      {"From", column.join('|')}, {"To", column.join('|')}, {"H0", g.TextMatrix(0, 0)}, {"H1", g.TextMatrix(0, 1)},
      {"M1", g.TextMatrix(1, 3)}, {"FG1", w.FG1->TextMatrix(1, 0)},  // the master table keeps file order
      {"picks1", picks1_->count()}, {"picks2", picks2_->count()}, {"list2", list2.join('|')}, {"clicks", gridClicks_->count()},
      {"cursor", w.Combo1->lineEdit()->cursorPosition()}, {"cursor1", w.Text1->cursorPosition()},
      {"cursor2", w.Text2->cursorPosition()}, {"busy", QApplication::overrideCursor() != nullptr},
      {"visible", v->viewport()->rect().contains(current)}, {"note", note && note->isVisible()},
      {"problems", w.StartupProblems().contains(QDir::toNativeSeparators(dir_.path()))},
      {"focus", w.focusWidget() ? w.focusWidget()->objectName() : QString()},
      {"opened", QUrl::toStringList(doubles_.shell.opened).join('|')}, {"said", answers_.texts.join('|')},
      {"tip", QToolTip::isVisible() ? ShownText(QToolTip::text()).replace('\n', '|') : QString()},
      {"W0", g.ColWidth(0)},  // twips
      {"deferred", w.Combo1->view()->minimumWidth() > 0 ? "done" : "waiting"},  // after the first frame
      {"ink1", inked}, {"a11y1", a11y1 ? a11y1->text(QAccessible::Name) : QString()},
      {"frame", onScreen.size() == drawn.size() && differ * 50 < drawn.width() * drawn.height() ? "as drawn" : "differs"},
      {"fit1", QString("%1 lines%2%3").arg(fit.lines.size()).arg(fit.cut ? " cut" : "", fits ? "" : " BROKEN")}};
  // clang-format on
  return state.value(key, "no such state: " + key).toString();
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
