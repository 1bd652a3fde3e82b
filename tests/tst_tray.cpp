#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "dialogs/dialog.h"
#include "doubles.h"
#include "main_window/frm_main.h"
#include "test_support.h"
#include "tray/winproc.h"

using namespace qlc;
using T = TrayClick;

namespace {

const char *const kOK = "OKButton", *const kCancel = "CommandCancel",
                  *const kUnload = "commandUnload", *const kCloseBox = "";

// how: "close" (the close box), "unload" (the icon's menu), "menu" (&Minimize) or "wm"; tray: 0
// none, 1 from the start, 2 later; shown after the answer `press`; restores after `click`, with
// `focus` (where the user clicked before) focused as it was.
struct HideRow {
  const char *name, *how = "close";
  int tray = 1;
  const char *press = kOK;
  bool shown = false;
  T click = T::Left;
  bool restores = true;
  const char *focus = "Text1";
};

struct KeyRow {
  const char *name;
  int tabs, key, choice;
};

}  // namespace

Q_DECLARE_METATYPE(HideRow)
Q_DECLARE_METATYPE(KeyRow)

class TestTray : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  test::Doubles doubles_;
  test::FakeTrayHost *&host_ = doubles_.trayHosts.host;

 private slots:
  void initTestCase() {
    QVERIFY(QDir::setCurrent(dir_.path()) && test::WriteBytes("type.txt", "\"ALL\"\r\n\"L\"\r\n") &&
            test::WriteBytes("convert.txt", "\"in\",\"cm\",\"L\",\"2.54\",0\r\n"));
  }

  // Every close request asks, one prompt at a time, none after "Unload Program"; every way of
  // hiding keeps the icon; only a left or double click or "&Restore" brings the window back.
  void hideAndRestore_data() {
    test::AddRows<HideRow>({
        // First: the run's first prompt, closed before any answer was ever given.
        {.name = "close box is Cancel", .press = kCloseBox, .shown = true},
        {.name = "OK hides"},
        {.name = "Cancel keeps", .press = kCancel, .shown = true, .focus = "Combo2"},
        {.name = "Unload Program ends", .press = kUnload, .restores = false},
        {.name = "OK, no tray: minimises", .tray = 0, .shown = true, .restores = false},
        {.name = "OK, tray starts later", .tray = 2, .focus = "Text2"},
        {.name = "unload, Cancel", .how = "unload", .press = kCancel, .shown = true},
        {.name = "unload, OK", .how = "unload", .focus = "Combo1"},
        {.name = "unload, Unload Program", .how = "unload", .press = kUnload, .restores = false},
        {.name = "OK, &Restore", .click = T::Right},
        {.name = "&Minimize, left", .how = "menu", .focus = "Combo2"},
        {.name = "&Minimize, middle", .how = "menu", .click = T::Middle, .restores = false},
        {.name = "window manager, double", .how = "wm", .click = T::Double, .focus = "Text2"},
    });
  }
  void hideAndRestore() {
    QFETCH(HideRow, row);
    const QByteArray how = row.how, press = row.press;
    const bool asks = how == "close" || how == "unload", ends = asks && press == kUnload;
    doubles_.trayHosts.available = row.tray == 1;
    frmMain w;
    const auto minimised = [&] { return bool(w.windowState() & Qt::WindowMinimized); };
    w.show();
    w.move(140, 90);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(host_->tip, "Quellor Unit Converter");  // the icon's tooltip
    host_->available = row.tray > 0;
    w.Text1->setText("42");
    w.Text2->setText("135");
    // The user clicks into a control and selects its text's last character but one, backwards.
    auto *focus = w.findChild<QWidget *>(row.focus);
    auto *combo = qobject_cast<QComboBox *>(focus);
    QLineEdit *edit = combo != nullptr ? combo->lineEdit() : static_cast<QLineEdit *>(focus);
    QTest::mouseClick(focus, Qt::LeftButton);
    QTest::keyClick(focus, Qt::Key_End);
    QTest::keyClick(focus, Qt::Key_Left);
    QTest::keyClick(focus, Qt::Key_Left, Qt::ShiftModifier);
    const auto typing = [&] {
      return std::tuple{QApplication::focusWidget(), edit->text(), edit->cursorPosition(),
                        edit->selectedText()};
    };
    const auto before = typing();
    const QPoint place = w.pos();
    test::ModalAnswers answers;
    answers.press = press;
    bool iconAtPrompt = false, closedAgain = false;
    answers.onShown = [&] {  // the first time, once more while the prompt is open
      if (answers.texts.size() > 1) return;
      iconAtPrompt = host_->requested;
      QCloseEvent again;
      closedAgain = (QCoreApplication::sendEvent(&w, &again), again.isAccepted());
    };
    if (how == "close") QCOMPARE(w.close(), ends);
    if (how == "unload") w.mFile[1]->trigger();
    if (how == "menu") w.ExitItem->trigger();
    if (how == "wm") w.setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(answers.texts.size() >= int(asks));  // "&Unload QLCNVT" asks a moment later
    QTRY_COMPARE(w.isVisible(), row.shown);
    const QString
        prompt =  // the design's words, two blanks after each full stop, a blank at the end
        "The Quellor Unit Converter is designed to run in your system tray.  This makes it "
        "easily accessable from your desktop.  Click Ok to Minimize. ";
    QCOMPARE(answers.texts, asks ? QStringList{prompt} : QStringList());
    QCOMPARE(iconAtPrompt, how == "close");
    QVERIFY2(!closedAgain, "a close request while the prompt is open must be refused");
    QCOMPARE(DialogChoice, kNoAnswer);
    // To the tray in the normal state; minimised as usual without one, or by the WM.
    QCOMPARE(minimised(), how == "wm" || (press == kOK && !row.tray));
    QCOMPARE(host_->requested, !ends);
    if (w.isHidden()) {  // X11 activates the hidden window when the menu or prompt lets go
      QApplication::setActiveWindow(&w);
      QApplication::setActiveWindow(nullptr);
    }
    if (asks) {  // quitting closes the window once more
      answers.press = kCancel;
      if (ends) w.show();
      QCOMPARE(w.close(), ends);
      QCOMPARE(answers.texts.size(), ends ? 1 : 2);
    }
    host_->Click(row.click);  // reaches WindowProc through the hook
    if (row.click == T::Right) {
      QVERIFY(w.isHidden());
      QTRY_VERIFY(w.zmnuSysTrayDemo->isVisible());
      QTest::keyClick(w.zmnuSysTrayDemo, Qt::Key_R);
    }
    QCOMPARE(w.isVisible() && !minimised(), row.restores);
    QCOMPARE(w.Text1->text(), "42");
    if (!row.restores) return;
    QApplication::setActiveWindow(&w);  // as X11 does when the window is back
    QCOMPARE(w.pos(), place);
    QCOMPARE(typing(), before);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_7);
    auto [_, text, cursor, selected] = before;  // the selection runs backwards: from the cursor
    QCOMPARE(edit->text(), text.replace(cursor, selected.size(), u'7'));
  }

  // Enter presses the focused button (tab order OK, Cancel, Unload); Escape does nothing.
  void promptKeys_data() {
    test::AddRows<KeyRow>({
        {.name = "Enter, OK", .tabs = 0, .key = Qt::Key_Return, .choice = kMinimiseToTray},
        {.name = "keypad Enter, Unload", .tabs = 2, .key = Qt::Key_Enter, .choice = kUnloadProgram},
        {.name = "Escape", .tabs = 1, .key = Qt::Key_Escape, .choice = kNoAnswer},
    });
  }
  void promptKeys() {
    QFETCH(KeyRow, row);
    DialogChoice = kNoAnswer;
    Dialog d;
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QVERIFY2(d.Label1->heightForWidth(d.Label1->width()) <= d.OKButton->y() - d.Label1->y(),
             "the message runs under the buttons");
    for (int i = 0; i < row.tabs; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(row.key));
    QCOMPARE(DialogChoice, row.choice);
    QCOMPARE(d.isVisible(), row.choice == kNoAnswer);
  }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
