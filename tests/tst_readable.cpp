// Every window stays readable: the design colours in any palette, and the labels' text for
// screen readers.
#include <QComboBox>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "dialogs/addconvert.h"
#include "dialogs/addtypes.h"
#include "dialogs/dialog.h"
#include "dialogs/frm_about.h"
#include "doubles.h"
#include "main_window/frm_main.h"
#include "rules/contrast.h"
#include "test_support.h"

using namespace qlc;

namespace {

Rgb ToRgb(QColor c) {
  return {c.red(), c.green(), c.blue()};
}

struct WindowRow {
  const char *name;
  const char *order;  // the controls' names in Tab order
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

  void palettes_data() {
    const QPalette light = QApplication::style()->standardPalette();
    const auto plain = [](QColor ground, QColor ink) {
      return QPalette(ink, ground, ground, ground, ground, ink, ground);
    };
    const PaletteRow rows[] = {
        {.name = "light", .palette = light, .keepsNavy = true},
        {.name = "dark", .palette = plain({50, 50, 50}, {240, 240, 240}), .keepsNavy = false},
        {.name = "black on white", .palette = plain(Qt::white, Qt::black), .keepsNavy = true},
        {.name = "white on black", .palette = plain(Qt::black, Qt::white), .keepsNavy = false},
        {.name = "light again", .palette = light, .keepsNavy = true}};
    test::AddRows(rows);
  }
  void palettes() {
    QFETCH(PaletteRow, row);
    QCOMPARE(ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0);  // the measure itself
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
      if (row.keepsNavy && ink != QColor(0, 0, 128)) faults << label->objectName() + ": not navy";
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
};

QTEST_MAIN(TestReadable)
#include "tst_readable.moc"
