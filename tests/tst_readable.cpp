// Every window stays readable: the design colours in any palette, the labels' text for
// screen readers, every control reached by Tab, names broken into lines, and the shipped names
// at the design's sizes.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QtTest>
#include <cmath>
#include <memory>

#include "dialogs/addconvert.h"
#include "dialogs/addtypes.h"
#include "dialogs/dialog.h"
#include "dialogs/frm_about.h"
#include "doubles.h"
#include "main_window/frm_main.h"
#include "rules/contrast.h"
#include "rules/text_lines.h"
#include "table/flex_grid.h"
#include "test_support.h"
#include "widgets/caption_label.h"
#include "widgets/design.h"
#include "widgets/pick_combo.h"

using namespace qlc;

namespace {

Rgb ToRgb(QColor c) {
  return {c.red(), c.green(), c.blue()};
}

struct WindowRow {
  const char *name;
  const char *order;  // the controls' names in Tab order
};

struct FitRow {
  const char *name;
  QString text;
  int width, maxLines;  // in characters
  QString shown;        // the lines, by '|'
};

struct PaletteRow {
  const char *name;
  QPalette palette;
  bool keepsNavy;
};

}  // namespace

class TestReadable : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  std::unique_ptr<frmMain> main_;
  std::unique_ptr<frmAbout> about_;

 private slots:
  void initTestCase() {
    QVERIFY(test::WriteBytes(dir_.filePath("type.txt"), "\"ALL\"\r\n\"LENGTH\"\r\n\"MASS\"\r\n"));
    QVERIFY(test::WriteBytes(dir_.filePath("convert.txt"),
                             "\"Feet (ft)\",\"Meters (m)\",\"LENGTH\",\"0.3048\",0\r\n"));
    QDir::setCurrent(dir_.path());
    // Both windows are made under the starting palette; each row switches it while they run.
    main_ = std::make_unique<frmMain>();
    main_->show();
    about_ = std::make_unique<frmAbout>();
    about_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
  }

  // Line breaking with every character one unit wide: a word wider than a line fills each
  // line, and a letter wider than the line still gets one, the blank after it none.
  void fitLines_data() {
    // clang-format off
    const FitRow rows[] = {
        {.name = "word too wide", .text = "Quadratzentimeter", .width = 6, .maxLines = 3, .shown = "Quadra|tzenti|meter"},
        {.name = "no room", .text = "a b", .width = 0, .maxLines = 3, .shown = "a|b"}};
    // clang-format on
    test::AddRows(rows);
  }
  void fitLines() {
    QFETCH(FitRow, row);
    const FittedLines fit =
        FitLines(row.text, row.width, row.maxLines, [](const QString &s) { return int(s.size()); });
    QCOMPARE(fit.lines.join(u'|'), row.shown);
  }

  void palettes_data() {
    const QPalette light = QApplication::style()->standardPalette();
    const auto plain = [](QColor ground, QColor ink, QColor fields = {}) {
      return QPalette(ink, ground, ground, ground, ground, ink, fields.isValid() ? fields : ground);
    };
    const PaletteRow rows[] = {
        {.name = "light", .palette = light, .keepsNavy = true},
        {.name = "dark", .palette = plain({50, 50, 50}, {240, 240, 240}), .keepsNavy = false},
        {.name = "dark, white fields",
         .palette = plain({50, 50, 50}, {240, 240, 240}, Qt::white),
         .keepsNavy = false},
        // Navy on this grey is 4.28:1, just short of readable.
        {.name = "mid grey", .palette = plain({132, 132, 132}, Qt::black), .keepsNavy = false},
        {.name = "black on white", .palette = plain(Qt::white, Qt::black), .keepsNavy = true},
        {.name = "white on black", .palette = plain(Qt::black, Qt::white), .keepsNavy = false},
        {.name = "light again", .palette = light, .keepsNavy = true}};
    test::AddRows(rows);
  }
  void palettes() {
    QFETCH(PaletteRow, row);
    QApplication::setPalette(row.palette);
    QCoreApplication::sendPostedEvents();  // windows take a new palette through a posted event
    for (QWidget *window : std::initializer_list<QWidget *>{main_.get(), about_.get()})
      QCOMPARE(window->palette().color(QPalette::Window), row.palette.color(QPalette::Window));
    QStringList faults;
    auto check = [&](const QString &what, QColor ink, QColor ground) {
      const double ratio = ContrastRatio(ToRgb(ink), ToRgb(ground));
      if (ratio < kReadableContrast)
        faults << QString("%1: %2 on %3 is %4:1").arg(what, ink.name(), ground.name()).arg(ratio);
    };
    for (QLabel *label : {main_->Label12, main_->Label8, main_->Label11, main_->Label13,
                          about_->lbl3, about_->Label11, about_->Label12}) {
      const QColor ink = label->palette().color(label->foregroundRole());
      // Labels paint no ground of their own: the window's shows through.
      check(label->objectName(), ink, label->window()->palette().color(QPalette::Window));
      if ((ink == QColor(0, 0, 128)) != row.keepsNavy)
        faults << label->objectName() + (row.keepsNavy ? ": not navy" : ": navy unchanged");
    }
    for (QToolButton *button : {main_->TopBtn, main_->PrevBtn, main_->NextBtn, main_->BtmBtn}) {
      for (const qreal dpr : {1.0, 2.0}) {
        const QImage shown = button->icon().pixmap(button->iconSize(), dpr).toImage();
        const QString what = button->objectName() + QString(" at %1x").arg(dpr);
        int inked = 0;
        for (int y = 0; y < shown.height(); ++y)
          for (int x = 0; x < shown.width(); ++x)
            if (qAlpha(shown.pixel(x, y)) == 255 && ++inked)
              check(what, shown.pixelColor(x, y), button->palette().color(QPalette::Button));
        if (inked == 0) faults << what + ": no picture";
      }
    }
    faults.removeDuplicates();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }
  // Each window: no label hides its text from screen readers (Qt 6.4 publishes a label's
  // accessible name instead of its text), and Tab alone walks every control in the design's
  // order, from the one that has the focus on opening, and Shift+Tab walks back: no control
  // keeps the focus.
  void windows_data() {
    const WindowRow rows[] = {
        {.name = "frmMain",
         .order =
             "Text1 MSFlexGrid1 Text2 TopBtn PrevBtn NextBtn BtmBtn Combo1 Combo2 Label11 Label13"},
        {.name = "frmAbout", .order = "cmdOK cmdSysInfo Label12 Label11"},
        {.name = "addtypes", .order = "Command1 MSFG1 Command2 Text1"},
        {.name = "addconvert", .order = "Combo1 Text1 Text2 Text3 Text4 CommandOK CommandCancel"},
        {.name = "Dialog", .order = "OKButton CommandCancel commandUnload"}};
    test::AddRows(rows);
  }
  void windows() {
    QFETCH(WindowRow, row);
    test::ModalAnswers answers;  // nothing here may wait on a modal message box
    answers.own = {"frmAbout", "addtypes", "addconvert", "Dialog"};
    std::unique_ptr<QWidget> made;
    const QString name = row.name;
    if (name == "addtypes") made = std::make_unique<addtypes>(nullptr, dir_.path());
    if (name == "addconvert") made = std::make_unique<addconvert>(nullptr, dir_.path());
    if (name == "Dialog") made = std::make_unique<Dialog>();
    QWidget *window = made                ? made.get()
                      : name == "frmMain" ? static_cast<QWidget *>(main_.get())
                                          : about_.get();
    // The About box is modal: while it shows, no other window takes input.
    for (QWidget *shown : std::initializer_list<QWidget *>{main_.get(), about_.get()})
      shown->setVisible(shown == window);
    window->show();
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    const QList<QLabel *> labels = window->findChildren<QLabel *>();
    QVERIFY(!labels.isEmpty());
    for (const QLabel *label : labels)
      QVERIFY2(label->accessibleName().isEmpty(), qPrintable(label->objectName()));
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
      QVERIFY2(!button->accessibleName().contains('&'), qPrintable(button->accessibleName()));
    for (const QString &name : QString(row.order).split(' ')) {
      const QWidget *control = window->findChild<QWidget *>(name);
      // The design's sizes are whole twips (0.75 pt steps: 8.25, 9.75, ...).
      QVERIFY2(control && std::fmod(control->font().pointSizeF(), 0.75) == 0, qPrintable(name));
      if (qobject_cast<const QLabel *>(control))  // a label in the tab order is a link
        QVERIFY2(control->font().underline(), qPrintable(name + " is not underlined"));
    }
    const auto focused = [] {
      const QWidget *w = QApplication::focusWidget();
      if (w && qobject_cast<QComboBox *>(w->parentWidget())) w = w->parentWidget();
      return w ? w->objectName() : QString("none");
    };
    const QStringList order = QString(row.order).split(' ');
    QStringList back(order.rbegin(), order.rend());
    back.prepend(back.takeLast());  // from the first control to the last, then backwards
    for (const bool backwards : {false, true}) {
      const QStringList &expected = backwards ? back : order;
      QStringList walked{focused()};
      for (int i = 1; i <= order.size(); ++i) {
        QTest::keyClick(window->windowHandle(), Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        walked << focused();
      }
      QCOMPARE(walked, expected + QStringList{expected[0]});
    }
  }
  // The shipped data reads in full at the design's sizes and fonts: every unit name within
  // the two lines of both unit captions, no two names of a group's listing cut to the same
  // cell text, no two groups showing the same text in the closed type list. CTest runs this
  // once more at scale 2 (tst_readable_x2).
  void shippedNamesReadable() {
    QDir::setCurrent(test::SourcePath("data"));
    frmMain window;
    QDir::setCurrent(dir_.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
    QCOMPARE(window.FG1->Rows() - 2,  // every record loaded
             test::ReadBytes(test::SourcePath("data/convert.txt")).count("\r\n"));
    QStringList names;
    for (int row = 1; row + 1 < window.FG1->Rows(); ++row)
      names << window.FG1->TextMatrix(row, 0) << window.FG1->TextMatrix(row, 1);
    names.removeDuplicates();
    QStringList faults;
    for (CaptionLabel *caption : {window.Label1, window.Label2}) {
      const QRect box = caption->contentsRect();
      const QFontMetricsF metrics(caption->font());
      for (const QString &name : names) {
        const QRectF text =
            metrics.boundingRect(QRectF(box), caption->alignment() | Qt::TextWordWrap, name);
        caption->setText(name);
        // A word wider than the caption runs past its side, a third line past its foot (a
        // line with a glyph from a fallback font is a little taller); the caption itself
        // would end it in an ellipsis.
        if (text.width() > box.width() || text.height() > box.height() ||
            text.height() > 2.5 * metrics.lineSpacing() || caption->Shown().cut)
          faults << caption->objectName() + " cuts " + name;
      }
    }
    const QTableView *grid = window.MSFlexGrid1->view();
    const QFontMetrics cellMetrics(grid->font());
    // The item view's style keeps this margin on either side of a cell's text.
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    const QLineEdit *typeText = window.Combo1->lineEdit();
    const QFontMetrics typeMetrics(typeText->font());
    const int typeWidth = typeText->contentsRect().width() - 4;  // QLineEdit's own 2 px a side
    QHash<QString, QString> typeShown;                           // closed list's text -> group
    for (int type = 1; type < window.Combo1->count(); ++type) {
      QTest::keyClick(window.Combo1, Qt::Key_Down);  // the next group, as a pick
      QCOMPARE(window.Combo1->currentIndex(), type);
      const QString group = window.Combo1->currentText();
      QString shown = group;
      while (typeMetrics.horizontalAdvance(shown) > typeWidth) shown.chop(1);
      shown = shown.trimmed();
      if (typeShown.contains(shown))
        faults << QString("%1 and %2 show %3").arg(typeShown[shown], group, shown);
      typeShown.insert(shown, group);
      for (int col = 0; col < 2; ++col) {
        const int width = grid->visualRect(grid->model()->index(0, col)).width() - 2 * margin;
        QHash<QString, QString> cells;  // cut text -> name
        for (int row = 1; row < window.MSFlexGrid1->Rows(); ++row) {
          const QString name = window.MSFlexGrid1->TextMatrix(row, col);
          const QString cut = cellMetrics.elidedText(name, grid->textElideMode(), width);
          if (cells.value(cut, name) != name)
            faults << QString("%1: %2 and %3 show %4").arg(group, cells[cut], name, cut);
          cells.insert(cut, name);
        }
      }
    }
    faults.removeDuplicates();
    QVERIFY2(faults.isEmpty(), qPrintable(QString("%1 faults, the first:\n%2")
                                              .arg(faults.size())
                                              .arg(faults.mid(0, 12).join('\n'))));
  }
};

QTEST_MAIN(TestReadable)
#include "tst_readable.moc"
