#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
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

// Clicks the named button of the modal prompt once it is up; with no name it closes the
// prompt by its close box.
void AnswerModalPrompt(const QString &button, int triesLeft = 200) {
  QTimer::singleShot(10, qApp, [button, triesLeft] {
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      if (triesLeft > 0) AnswerModalPrompt(button, triesLeft - 1);
      return;
    }
    if (button.isEmpty())
      modal->close();
    else
      modal->findChild<QPushButton *>(button)->click();
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

  std::unique_ptr<frmMain> MakeWindow(bool trayAvailable) {
    hostAvailable_ = trayAvailable;
    auto window = std::make_unique<frmMain>();
    window->Show();
    return window;
  }

  void Minimise(frmMain &w) {
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

  void startup_data() {
    QTest::addColumn<bool>("available");
    QTest::newRow("tray host running") << true;
    QTest::newRow("no tray host") << false;
  }
  void startup() {
    QFETCH(bool, available);
    auto w = MakeWindow(available);
    QCOMPARE(TrayIconData.hWnd.data(), w.get());
    QCOMPARE(TrayIconData.uID, 125u);
    QCOMPARE(TrayIconData.uCallbackMessage, 1025u);
    QCOMPARE(host_->toolTip, QStringLiteral("Quellor Unit Converter"));
    QCOMPARE(host_->menu, w->zmnuSysTrayDemo);
    QCOMPARE(PrevWndProc != nullptr, available);
    QCOMPARE(w->TrayIconShown(), available);
    // Without a tray nothing could bring a hidden window back, so it only minimises.
    Minimise(*w);
    QVERIFY(Minimised(*w));
    QCOMPARE(w->isVisible(), !available);
  }

  void lateTrayHost() {
    auto w = MakeWindow(false);
    QVERIFY(host_->requested);
    host_->available = true;  // the host starts; the waiting icon shows in it
    QVERIFY(w->TrayIconShown());
    Minimise(*w);
    QVERIFY(w->isHidden());
    host_->Click(QSystemTrayIcon::Trigger);
    QVERIFY(w->isVisible());
    QVERIFY(!Minimised(*w));
    QVERIFY(PrevWndProc != nullptr);
  }

  void windowProc_data() {
    QTest::addColumn<bool>("forMainWindow");
    QTest::addColumn<uint>("message");
    QTest::addColumn<qintptr>("code");
    QTest::addColumn<bool>("restores");
    QTest::addColumn<bool>("opensMenu");
    QTest::addColumn<bool>("passedOn");
    QTest::newRow("left release") << true << 1025u << qintptr(514) << true << false << false;
    QTest::newRow("double click") << true << 1025u << qintptr(515) << true << false << false;
    QTest::newRow("right release") << true << 1025u << qintptr(517) << false << true << false;
    QTest::newRow("mouse move") << true << 1025u << qintptr(512) << false << false << false;
    QTest::newRow("left press") << true << 1025u << qintptr(513) << false << false << false;
    QTest::newRow("other message") << true << 1026u << qintptr(514) << false << false << true;
    QTest::newRow("other window") << false << 1025u << qintptr(514) << false << false << true;
  }
  void windowProc() {
    QFETCH(bool, forMainWindow);
    QFETCH(uint, message);
    QFETCH(qintptr, code);
    QFETCH(bool, restores);
    QFETCH(bool, opensMenu);
    QFETCH(bool, passedOn);
    // A second window without a tray icon, minimised, must be left alone.
    auto other = MakeWindow(false);
    Minimise(*other);
    auto w = MakeWindow(true);
    Minimise(*w);
    QVERIFY(w->isHidden());
    PrevWndProc = RecordingProc;
    g_passedMessage = 0;
    const std::intptr_t result =
        WindowProc(forMainWindow ? w.get() : other.get(), message, 125, code);
    QCOMPARE(result, passedOn ? 77 : 0);
    QCOMPARE(g_passedMessage, passedOn ? message : 0u);
    QCOMPARE(w->isVisible(), restores);
    QCOMPARE(Minimised(*w), !restores);
    QVERIFY(Minimised(*other));
    QCOMPARE(w->zmnuSysTrayDemo->isVisible(), opensMenu);
    w->zmnuSysTrayDemo->hide();
    PrevWndProc = DefWindowProc;
  }

  void mouseCodes_data() {
    QTest::addColumn<int>("reason");
    QTest::addColumn<qintptr>("code");
    QTest::newRow("trigger") << int(QSystemTrayIcon::Trigger) << qintptr(514);
    QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << qintptr(515);
    QTest::newRow("context") << int(QSystemTrayIcon::Context) << qintptr(517);
    QTest::newRow("middle") << int(QSystemTrayIcon::MiddleClick) << qintptr(520);
    QTest::newRow("unknown") << int(QSystemTrayIcon::Unknown) << qintptr(512);
  }
  void mouseCodes() {
    QFETCH(int, reason);
    QFETCH(qintptr, code);
    QCOMPARE(MouseCode(QSystemTrayIcon::ActivationReason(reason)), code);
  }

  void mFileClick_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("prompts");
    QTest::newRow("restore") << 0 << kCancelClose << true << 0;
    QTest::newRow("unload, then cancel") << 1 << kCancelClose << false << 1;
    QTest::newRow("unload, then close box") << 1 << kNoAnswer << false << 1;
    QTest::newRow("unload, then OK") << 1 << kMinimiseToTray << false << 1;
    QTest::newRow("no such item") << 2 << kCancelClose << false << 0;
  }
  void mFileClick() {
    QFETCH(int, index);
    QFETCH(int, answer);
    QFETCH(bool, shown);
    QFETCH(int, prompts);
    auto w = MakeWindow(true);
    Minimise(*w);
    answer_ = answer;
    iconAtPrompt_ = true;
    w->mFile_Click(index);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(prompts_, prompts);
    if (prompts > 0) QVERIFY2(!iconAtPrompt_, "the icon must be gone when the prompt opens");
    // The program goes on, so the icon is back to reach the window.
    QVERIFY(host_->requested);
    QVERIFY(w->TrayIconShown());
    QCOMPARE(w->isVisible(), shown);
  }

  void closePath_data() {
    QTest::addColumn<bool>("available");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("shown");
    QTest::newRow("OK hides") << true << kMinimiseToTray << false << false;
    QTest::newRow("Cancel keeps") << true << kCancelClose << false << true;
    QTest::newRow("close box is Cancel") << true << kNoAnswer << false << true;
    QTest::newRow("Unload Program ends") << true << kUnloadProgram << true << false;
    QTest::newRow("OK without tray minimises") << false << kMinimiseToTray << false << true;
  }
  void closePath() {
    QFETCH(bool, available);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, shown);
    auto w = MakeWindow(available);
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
    QCOMPARE(PrevWndProc != nullptr, available && !closes);
    // Quitting closes the window once more: after "Unload Program" without a new prompt,
    // otherwise every close request asks again.
    answer_ = kCancelClose;
    if (closes) w->show();
    QCOMPARE(w->close(), closes);
    QCOMPARE(prompts_, closes ? 1 : 2);
  }

  void realPrompt_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Cancel") << "CommandCancel" << false;
    QTest::newRow("close box") << "" << false;
    QTest::newRow("Unload Program") << "commandUnload" << true;
  }
  void realPrompt() {
    QFETCH(QString, button);
    QFETCH(bool, closes);
    auto saved = std::exchange(ClosePromptRunner(), nullptr);
    auto w = MakeWindow(true);
    AnswerModalPrompt(button);
    const bool closed = w->close();
    ClosePromptRunner() = saved;
    QCOMPARE(closed, closes);
    QCOMPARE(w->isVisible(), !closes);
    QCOMPARE(DialogChoice, kNoAnswer);
  }

  void promptLayout() {
    Dialog d;
    QCOMPARE(d.windowTitle(), QStringLiteral("System Tray"));
    QCOMPARE(d.size(), QSize(208, 150));
    QCOMPARE(d.Label1->text(),
             QStringLiteral("The Quellor Unit Converter is designed to run in your system tray.  "
                            "This makes it easily accessable from your desktop.  Click Ok to "
                            "Minimize. "));
    QVERIFY(d.Label1->accessibleName().isEmpty());
    QCOMPARE(d.OKButton->geometry(), QRect(8, 72, 81, 25));
    QCOMPARE(d.CommandCancel->geometry(), QRect(112, 72, 81, 25));
    QCOMPARE(d.commandUnload->geometry(), QRect(8, 112, 177, 25));
    QCOMPARE(d.commandUnload->accessibleName(), QStringLiteral("Unload Program"));
    // The whole message must be readable above the buttons.
    QVERIFY2(d.Label1->heightForWidth(d.Label1->width()) <= d.OKButton->y() - d.Label1->y(),
             "the message runs under the buttons");
  }

  void promptKeys_data() {
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("choice");
    QTest::newRow("Enter on OK") << 0 << int(Qt::Key_Return) << kMinimiseToTray;
    QTest::newRow("Enter on Cancel") << 1 << int(Qt::Key_Return) << kCancelClose;
    QTest::newRow("keypad Enter on Unload") << 2 << int(Qt::Key_Enter) << kUnloadProgram;
    QTest::newRow("tab wraps to OK") << 3 << int(Qt::Key_Return) << kMinimiseToTray;
    QTest::newRow("Escape does nothing") << 1 << int(Qt::Key_Escape) << kNoAnswer;
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
    for (int i = 0; i < tabs; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(DialogChoice, choice);
    QCOMPARE(d.isVisible(), choice == kNoAnswer);
    DialogChoice = kNoAnswer;
  }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
