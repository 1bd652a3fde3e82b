#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "dialogs/dialog.h"
#include "doubles.h"
#include "main_window/frm_main.h"
#include "test_support.h"
#include "tray/systray.h"
#include "tray/winproc.h"

using namespace qlc;
using T = QSystemTrayIcon;

class TestTray : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  test::Doubles doubles_;
  test::ModalAnswers answers_;
  test::FakeTrayHost *&host_ = doubles_.trayHosts.host;
  int answer_ = kCancelClose;
  int prompts_ = 0;
  bool iconAtPrompt_ = false;
  frmMain *closeAgain_ = nullptr;  // closed once more while the prompt is open
  bool closedAgain_ = false;

  std::unique_ptr<frmMain> MakeWindow(bool trayAvailable) {
    doubles_.trayHosts.available = trayAvailable, prompts_ = 0, answer_ = kCancelClose;
    auto window = std::make_unique<frmMain>();
    window->show();
    QCoreApplication::processEvents();
    return window;
  }
  static bool Restored(const frmMain &w) {
    return w.isVisible() && !(w.windowState() & Qt::WindowMinimized);
  }

 private slots:
  void initTestCase() {
    QVERIFY(test::WriteBytes(dir_.filePath("type.txt"), "\"ALL\"\r\n\"Length\"\r\n"));
    QVERIFY(test::WriteBytes(dir_.filePath("convert.txt"),
                             "\"Inches\",\"Centimeters\",\"Length\",\"2.54\",0\r\n"));
    QVERIFY(QDir::setCurrent(dir_.path()));
    answers_.onShown = [this] {
      ++prompts_;
      answers_.press = answer_ == kMinimiseToTray  ? "OKButton"
                       : answer_ == kCancelClose   ? "CommandCancel"
                       : answer_ == kUnloadProgram ? "commandUnload"
                                                   : "";
      iconAtPrompt_ = host_->requested;
      if (frmMain *w = std::exchange(closeAgain_, nullptr)) {
        QCloseEvent again;
        QCoreApplication::sendEvent(w, &again);
        closedAgain_ = again.isAccepted();
      }
    };
  }

  // Every close request asks: the close box, and "&Unload QLCNVT", which takes the icon away
  // while it asks. tray: 0 none, 1 from the start, 2 a host that starts later.
  void closePath_data() {
    QTest::addColumn<int>("tray");
    QTest::addColumn<bool>("unload");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("shown");
    QTest::newRow("OK hides") << 1 << false << kMinimiseToTray << false;
    QTest::newRow("Cancel keeps") << 1 << false << kCancelClose << true;
    QTest::newRow("close box is Cancel") << 1 << false << kNoAnswer << true;
    QTest::newRow("Unload Program ends") << 1 << false << kUnloadProgram << false;
    QTest::newRow("OK, no tray: minimises") << 0 << false << kMinimiseToTray << true;
    QTest::newRow("OK, tray starts later") << 2 << false << kMinimiseToTray << false;
    QTest::newRow("unload, Cancel") << 1 << true << kCancelClose << true;
    QTest::newRow("unload, OK") << 1 << true << kMinimiseToTray << false;
    QTest::newRow("unload, Unload Program") << 1 << true << kUnloadProgram << false;
  }
  void closePath() {
    QFETCH(int, tray);
    QFETCH(bool, unload);
    QFETCH(int, answer);
    QFETCH(bool, shown);
    const bool closes = answer == kUnloadProgram;
    auto w = MakeWindow(tray == 1);
    host_->available = tray > 0;
    answer_ = answer;
    closeAgain_ = w.get();
    if (unload)
      w->mFile[1]->trigger();
    else
      QCOMPARE(w->close(), closes);
    QTRY_COMPARE(prompts_, 1);
    QCOMPARE(iconAtPrompt_, !unload);
    QVERIFY2(!closedAgain_, "a close request while the prompt is open must be refused");
    QCoreApplication::processEvents();
    QCOMPARE(prompts_, 1);
    QCOMPARE(DialogChoice, kNoAnswer);
    QCOMPARE(w->isVisible(), shown);
    // To the tray in the normal state; minimised as usual without one.
    QCOMPARE(bool(w->windowState() & Qt::WindowMinimized), answer == kMinimiseToTray && !tray);
    QCOMPARE(host_->requested, !closes);
    // Quitting closes the window again: no new prompt after "Unload Program", else one more.
    answer_ = kCancelClose;
    if (closes) w->show();
    QCOMPARE(w->close(), closes);
    QCOMPARE(prompts_, closes ? 1 : 2);
    host_->Click(T::Trigger);  // reaches WindowProc through the hook
    QCOMPARE(Restored(*w), tray > 0 && !closes);
  }

  // Every way of hiding keeps the icon; a left or double click or "&Restore" brings the
  // window back as it was, other clicks leave it hidden. (Focus and stacking need a window
  // manager: the tray integration test checks them.)
  void hideAndRestore_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<T::ActivationReason>("click");
    QTest::newRow("&Minimize, left") << "menu" << T::Trigger;
    QTest::newRow("window manager, double") << "wm" << T::DoubleClick;
    QTest::newRow("prompt OK, &Restore") << "ok" << T::Context;
    QTest::newRow("unload then OK, left") << "unload" << T::Trigger;
    QTest::newRow("&Minimize, middle") << "menu" << T::MiddleClick;
    QTest::newRow("window manager, mouse move") << "wm" << T::Unknown;
  }
  void hideAndRestore() {
    QFETCH(QString, how);
    QFETCH(T::ActivationReason, click);
    auto w = MakeWindow(true);
    w->Text1->setText(QStringLiteral("42"));
    answer_ = kMinimiseToTray;
    if (how == "menu") w->ExitItem->trigger();
    if (how == "wm") w->setWindowState(Qt::WindowMinimized);
    if (how == "ok") w->close();
    if (how == "unload") w->mFile[1]->trigger();
    QTRY_VERIFY(w->isHidden());
    QCOMPARE(bool(w->windowState() & Qt::WindowMinimized), how == "wm");  // only the WM's
    QVERIFY(host_->requested);
    // Other messages go on to the window procedure before the hook, and restore nothing.
    PrevWndProc = [](QWidget *, std::uint32_t m, std::uintptr_t, std::intptr_t l) {
      return std::intptr_t(m * 1000 + l);
    };
    const std::intptr_t code = MouseCode(click);
    QCOMPARE(WindowProc(w.get(), kTrayCallbackMessage + 1, 0, code),
             (kTrayCallbackMessage + 1) * 1000 + code);
    PrevWndProc = DefWindowProc;
    QVERIFY(w->isHidden());
    host_->Click(click);
    if (click == T::Context) {
      QVERIFY(w->isHidden());
      QTRY_VERIFY(w->zmnuSysTrayDemo->isVisible());
      QTest::keyClick(w->zmnuSysTrayDemo, Qt::Key_R);
    }
    QCOMPARE(Restored(*w), click != T::MiddleClick && click != T::Unknown);
    QCOMPARE(w->Text1->text(), QStringLiteral("42"));
  }

  // Enter presses the focused button (tab order OK, Cancel, Unload); Escape does nothing.
  void promptKeys_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("choice");
    QTest::newRow("Enter on OK") << 0 << int(Qt::Key_Return) << kMinimiseToTray;
    QTest::newRow("keypad Enter on Unload") << 2 << int(Qt::Key_Enter) << kUnloadProgram;
    QTest::newRow("Escape") << 1 << int(Qt::Key_Escape) << kNoAnswer;
  }
  void promptKeys() {
    QFETCH(int, tabs);
    QFETCH(int, key);
    QFETCH(int, choice);
    DialogChoice = kNoAnswer;
    Dialog d;
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QVERIFY2(d.Label1->heightForWidth(d.Label1->width()) <= d.OKButton->y() - d.Label1->y(),
             "the message runs under the buttons");
    for (int i = 0; i < tabs; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(DialogChoice, choice);
    QCOMPARE(d.isVisible(), choice == kNoAnswer);
  }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
