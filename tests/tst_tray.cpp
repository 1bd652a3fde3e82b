#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "dialogs/dialog.h"
#include "main_window/frm_main.h"
#include "platform/tray_host.h"
#include "test_support.h"
#include "tray/systray.h"
#include "tray/winproc.h"

using namespace qlc;

class TestTray : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  FakeTrayHost *host_ = nullptr;
  bool hostAvailable_ = true;
  int answer_ = kCancelClose;
  int prompts_ = 0;
  bool iconAtPrompt_ = false;
  frmMain *closeAgain_ = nullptr;  // closed once more while the prompt is open
  bool closedAgain_ = false;

  // A new main window with a tray host or not, shown, or minimised by "&Minimize".
  std::unique_ptr<frmMain> MakeWindow(bool trayAvailable, bool minimise = false) {
    hostAvailable_ = trayAvailable, prompts_ = 0, answer_ = kCancelClose;
    auto window = std::make_unique<frmMain>();
    window->Show();
    if (minimise) window->ExitItem_Click();
    QCoreApplication::processEvents();
    return window;
  }
  static bool Minimised(const frmMain &w) { return w.windowState() & Qt::WindowMinimized; }

 private slots:
  void initTestCase() {
    QVERIFY(test::WriteBytes(dir_.filePath("type.txt"), "\"ALL\"\r\n\"Length\"\r\n"));
    QVERIFY(test::WriteBytes(dir_.filePath("convert.txt"),
                             "\"Inches\",\"Centimeters\",\"Length\",\"2.54\",0\r\n"));
    QVERIFY(QDir::setCurrent(dir_.path()));
    TrayHostFactory() = [this] {
      auto host = std::make_unique<FakeTrayHost>();
      host->available = hostAvailable_;
      host_ = host.get();
      return std::unique_ptr<TrayHost>(std::move(host));
    };
    ClosePromptRunner() = [this](QWidget *) {
      ++prompts_;
      iconAtPrompt_ = host_->requested;
      if (frmMain *w = std::exchange(closeAgain_, nullptr)) {
        QCloseEvent again;
        QCoreApplication::sendEvent(w, &again);
        closedAgain_ = again.isAccepted();
      }
      DialogChoice = answer_;
    };
  }

  void minimiseWithoutTray() {  // nothing hides the window without a tray host
    auto w = MakeWindow(false, true);
    QVERIFY(w->isVisible() && Minimised(*w));
  }

  void windowProc_data() {
    QTest::addColumn<uint>("message");
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");  // what the icon reports
    QTest::addColumn<qintptr>("code");
    QTest::addColumn<QString>("effect");
    using T = QSystemTrayIcon;
    QTest::newRow("left release") << 1025u << T::Trigger << qintptr(514) << "restore";
    QTest::newRow("double click") << 1025u << T::DoubleClick << qintptr(515) << "restore";
    QTest::newRow("right release") << 1025u << T::Context << qintptr(517) << "menu";
    QTest::newRow("mouse move") << 1025u << T::Unknown << qintptr(512) << "";
    QTest::newRow("other message") << 1026u << T::Trigger << qintptr(514) << "passed";
  }
  void windowProc() {
    QFETCH(uint, message);
    QFETCH(QSystemTrayIcon::ActivationReason, reason);
    QFETCH(qintptr, code);
    QFETCH(QString, effect);
    QCOMPARE(MouseCode(reason), code);
    auto w = MakeWindow(true, true);
    QCOMPARE(host_->menu, w->zmnuSysTrayDemo);
    PrevWndProc = [](QWidget *, std::uint32_t m, std::uintptr_t, std::intptr_t l) {
      return std::intptr_t(m * 1000 + l);  // shows what was passed on
    };
    const std::intptr_t result = WindowProc(w.get(), message, 125, code);
    PrevWndProc = DefWindowProc;
    QCOMPARE(result, effect == "passed" ? message * 1000 + code : 0);
    QCOMPARE(w->isVisible() && !Minimised(*w), effect == "restore");
    QCOMPARE(w->zmnuSysTrayDemo->isVisible(), effect == "menu");
    w->zmnuSysTrayDemo->hide();
  }

  // "&Unload QLCNVT" removes the icon and asks; the program goes on, so the icon is back.
  void mFileClick_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("answer");
    QTest::newRow("restore") << 0 << kCancelClose;
    QTest::newRow("unload, Cancel") << 1 << kCancelClose;
    QTest::newRow("unload, OK") << 1 << kMinimiseToTray;
  }
  void mFileClick() {
    QFETCH(int, index);
    QFETCH(int, answer);
    auto w = MakeWindow(true, true);
    answer_ = answer;
    w->mFile_Click(index);
    QCoreApplication::processEvents();
    QCOMPARE(prompts_, index);
    if (index == 1) QVERIFY2(!iconAtPrompt_, "the icon must be gone when the prompt opens");
    QVERIFY(host_->requested && w->TrayIconShown());
    QCOMPARE(w->isVisible(), index == 0);
  }

  // Every close request asks. tray: 0 none, 1 from the start, 2 a host that starts later.
  void closePath_data() {
    QTest::addColumn<int>("tray");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("shown");
    QTest::newRow("OK hides") << 1 << kMinimiseToTray << false;
    QTest::newRow("Cancel keeps") << 1 << kCancelClose << true;
    QTest::newRow("close box is Cancel") << 1 << kNoAnswer << true;
    QTest::newRow("Unload Program ends") << 1 << kUnloadProgram << false;
    QTest::newRow("OK, no tray: minimises") << 0 << kMinimiseToTray << true;
    QTest::newRow("OK, tray starts later") << 2 << kMinimiseToTray << false;
  }
  void closePath() {
    QFETCH(int, tray);
    QFETCH(int, answer);
    QFETCH(bool, shown);
    const bool closes = answer == kUnloadProgram;
    auto w = MakeWindow(tray == 1);
    host_->available = tray > 0;
    answer_ = answer;
    closeAgain_ = w.get();
    QCOMPARE(w->close(), closes);
    QVERIFY2(!closedAgain_, "a close request while the prompt is open must be refused");
    QCoreApplication::processEvents();
    QCOMPARE(prompts_, 1);
    QCOMPARE(DialogChoice, kNoAnswer);
    QCOMPARE(w->isVisible(), shown);
    // To the tray in the normal state; minimised as usual without one.
    QCOMPARE(Minimised(*w), answer == kMinimiseToTray && tray == 0);
    QCOMPARE(host_->requested, !closes);
    // Quitting closes the window again: no new prompt after "Unload Program", else one more.
    answer_ = kCancelClose;
    if (closes) w->show();
    QCOMPARE(w->close(), closes);
    QCOMPARE(prompts_, closes ? 1 : 2);
    host_->Click(QSystemTrayIcon::Trigger);  // reaches WindowProc through the hook
    QCOMPARE(w->isVisible() && !Minimised(*w), tray > 0 && !closes);
  }

  // Every way of hiding keeps the icon, and one click brings the window back as it was:
  // shown, not minimised, its texts kept. (Focus and stacking need a window manager: the
  // tray integration test checks them.)
  void hideAndRestore_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("click");
    using T = QSystemTrayIcon;
    QTest::newRow("&Minimize, left") << "menu" << T::Trigger;
    QTest::newRow("window manager, double") << "wm" << T::DoubleClick;
    QTest::newRow("prompt OK, &Restore") << "ok" << T::Context;
    QTest::newRow("unload then OK, left") << "unload" << T::Trigger;
  }
  void hideAndRestore() {
    QFETCH(QString, how);
    QFETCH(QSystemTrayIcon::ActivationReason, click);
    auto w = MakeWindow(true);
    w->Text1->setText(QStringLiteral("42"));
    answer_ = kMinimiseToTray;
    if (how == "menu") w->ExitItem->trigger();
    if (how == "wm") w->setWindowState(Qt::WindowMinimized);
    if (how == "ok") w->close();
    if (how == "unload") w->mFile[1]->trigger();
    QTRY_VERIFY(w->isHidden());
    QCOMPARE(Minimised(*w), how == "wm");  // only the window manager minimises first
    QVERIFY(host_->requested);
    host_->Click(click);
    if (click == QSystemTrayIcon::Context) {
      QVERIFY(w->isHidden());
      QTRY_VERIFY(w->zmnuSysTrayDemo->isVisible());
      QTest::keyClick(w->zmnuSysTrayDemo, Qt::Key_R);
    }
    QVERIFY(w->isVisible() && !Minimised(*w));
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
    QCOMPARE(QApplication::focusWidget(), d.OKButton);
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
