#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "dialogs/dialog.h"
#include "main_window/frm_main.h"
#include "platform/tray_host.h"
#include "test_support.h"
#include "tray/systray.h"
#include "tray/winproc.h"

using namespace qlc;

namespace {

std::uint32_t g_passedMessage = 0;
std::intptr_t RecordingProc(QWidget *, std::uint32_t uMsg, std::uintptr_t, std::intptr_t) {
  g_passedMessage = uMsg;
  return 77;
}

// Clicks the named button of the modal prompt once it is up; no name: its close box.
void AnswerModalPrompt(const QString &button, int triesLeft = 200) {
  QTimer::singleShot(10, qApp, [button, triesLeft] {
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal && triesLeft > 0) AnswerModalPrompt(button, triesLeft - 1);
    if (modal && button.isEmpty()) modal->close();
    if (modal && !button.isEmpty()) modal->findChild<QPushButton *>(button)->click();
  });
}

}  // namespace

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

  // A main window with a tray host present or not, shown, or minimised by "&Minimize".
  std::unique_ptr<frmMain> MakeWindow(bool trayAvailable, bool minimise = false) {
    hostAvailable_ = trayAvailable;
    auto window = std::make_unique<frmMain>();
    window->Show();
    if (minimise) Minimise(*window);
    return window;
  }
  static void Minimise(frmMain &w) {
    w.ExitItem_Click();
    QCoreApplication::processEvents();
  }
  static bool Minimised(const frmMain &w) { return w.windowState() & Qt::WindowMinimized; }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
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
  void init() {
    prompts_ = 0;
    answer_ = kCancelClose;
  }

  void mouseCodes() {
    QCOMPARE(MouseCode(QSystemTrayIcon::Trigger), 514);
    QCOMPARE(MouseCode(QSystemTrayIcon::DoubleClick), 515);
    QCOMPARE(MouseCode(QSystemTrayIcon::Context), 517);
    QCOMPARE(MouseCode(QSystemTrayIcon::Unknown), 512);
  }

  void windowProc_data() {
    QTest::addColumn<bool>("mainWindow");
    QTest::addColumn<uint>("message");
    QTest::addColumn<qintptr>("code");
    QTest::addColumn<QString>("effect");
    QTest::newRow("left release") << true << 1025u << qintptr(514) << "restore";
    QTest::newRow("double click") << true << 1025u << qintptr(515) << "restore";
    QTest::newRow("right release") << true << 1025u << qintptr(517) << "menu";
    QTest::newRow("mouse move") << true << 1025u << qintptr(512) << "";
    QTest::newRow("other message") << true << 1026u << qintptr(514) << "passed";
    QTest::newRow("other window") << false << 1025u << qintptr(514) << "passed";
  }
  void windowProc() {
    QFETCH(bool, mainWindow);
    QFETCH(uint, message);
    QFETCH(qintptr, code);
    QFETCH(QString, effect);
    auto other = MakeWindow(false, true);  // no tray icon, minimised: left alone
    auto w = MakeWindow(true, true);
    QVERIFY(w->isHidden() && other->isVisible());  // no tray: nothing hides the window
    QCOMPARE(host_->menu, w->zmnuSysTrayDemo);
    PrevWndProc = RecordingProc;
    g_passedMessage = 0;
    const std::intptr_t result = WindowProc(mainWindow ? w.get() : other.get(), message, 125, code);
    PrevWndProc = DefWindowProc;
    QCOMPARE(result, effect == "passed" ? 77 : 0);
    QCOMPARE(g_passedMessage, effect == "passed" ? message : 0u);
    QCOMPARE(w->isVisible(), effect == "restore");
    QCOMPARE(Minimised(*w), effect != "restore");
    QVERIFY(Minimised(*other));
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
    iconAtPrompt_ = true;
    w->mFile_Click(index);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(prompts_, index);
    if (index == 1) QVERIFY2(!iconAtPrompt_, "the icon must be gone when the prompt opens");
    QVERIFY(host_->requested && w->TrayIconShown());
    QCOMPARE(w->isVisible(), index == 0);
  }

  // Every close request asks. tray: 0 none, 1 from the start, 2 a host that starts later;
  // hiding uses the tray only while the icon is shown, without it the window minimises.
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
    closedAgain_ = true;
    QCOMPARE(w->close(), closes);
    QVERIFY2(!closedAgain_, "a close request while the prompt is open must be refused");
    QCoreApplication::processEvents();
    QCOMPARE(prompts_, 1);
    QCOMPARE(DialogChoice, kNoAnswer);
    QCOMPARE(w->isVisible(), shown);
    QCOMPARE(Minimised(*w), answer == kMinimiseToTray);
    QCOMPARE(host_->requested, !closes);
    // Quitting closes the window again: no new prompt after "Unload Program", else one more.
    answer_ = kCancelClose;
    if (closes) w->show();
    QCOMPARE(w->close(), closes);
    QCOMPARE(prompts_, closes ? 1 : 2);
    host_->Click(QSystemTrayIcon::Trigger);  // reaches WindowProc through the hook
    QCOMPARE(w->isVisible() && !Minimised(*w), tray > 0 && !closes);
  }

  // The real modal prompt: its close box is Cancel, "Unload Program" ends.
  void realPrompt() {
    const auto saved = std::exchange(ClosePromptRunner(), nullptr);
    const auto restore = qScopeGuard([&saved] { ClosePromptRunner() = saved; });
    for (const bool unload : {false, true}) {
      auto w = MakeWindow(true);
      AnswerModalPrompt(unload ? "commandUnload" : "");
      QCOMPARE(w->close(), unload);
      QCOMPARE(w->isVisible(), !unload);
      QCOMPARE(DialogChoice, kNoAnswer);
    }
  }

  // Enter presses the focused button (tab order OK, Cancel, Unload); Escape does nothing.
  void promptKeys_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("choice");
    QTest::newRow("Enter on OK") << 0 << int(Qt::Key_Return) << kMinimiseToTray;
    QTest::newRow("Enter on Cancel") << 1 << int(Qt::Key_Return) << kCancelClose;
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
    DialogChoice = kNoAnswer;
  }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
