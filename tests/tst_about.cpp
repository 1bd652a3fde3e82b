// The About box: the registry rules of GetKeyValue, the order of StartSysInfo's lookups,
// the keys that close the box and the two links.

#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "dialogs/frm_about.h"
#include "dialogs/message_box.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sysinfo.h"

using namespace qlc;

namespace {

const std::string kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

std::vector<unsigned char> Bytes(const QByteArray &b) {
  return {b.begin(), b.end()};
}

QStringList Log(const FakeRegistry &registry) {
  QStringList log;
  for (const auto &entry : registry.log) log << QString::fromStdString(entry);
  return log;
}

// Services whose every action lands in the fake registry's log, so one list shows the
// order of registry calls, file tests, PATH lookups, starts and messages.
SysInfoServices Recorded(const std::shared_ptr<FakeRegistry> &registry, QStringList files,
                         QStringList onPath, bool startWorks, bool desktop) {
  SysInfoServices s;
  s.registry = registry;
  FakeRegistry *r = registry.get();
  s.fileExists = [r, files](const QString &path) {
    r->log.push_back("exists " + path.toStdString());
    return files.contains(path);
  };
  s.findOnPath = [r, onPath](const QString &name) {
    r->log.push_back("find " + name.toStdString());
    return onPath.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
  };
  s.startDetached = [r, startWorks](const QString &program) {
    r->log.push_back("start " + program.toStdString());
    return startWorks;
  };
  s.showMessage = [r](const QString &text) { r->log.push_back("message " + text.toStdString()); };
  if (desktop)
    s.desktopPrograms = {QStringLiteral("kinfocenter"), QStringLiteral("hardinfo2"),
                         QStringLiteral("hardinfo")};
  return s;
}

}  // namespace

class TstAbout : public QObject {
  Q_OBJECT

 private slots:
  void getKeyValue_data();
  void getKeyValue();
  void startSysInfo_data();
  void startSysInfo();
  void keysClose_data();
  void keysClose();
  void links_data();
  void links();
  void sysInfoButton();
};

void TstAbout::getKeyValue_data() {
  QTest::addColumn<bool>("keyExists");
  QTest::addColumn<bool>("valueExists");
  QTest::addColumn<uint>("type");
  QTest::addColumn<QByteArray>("data");
  QTest::addColumn<int>("result");
  QTest::addColumn<QString>("text");  // KeyVal afterwards; it goes in as "before"

  const int read = int(KeyRead::Read), notRead = int(KeyRead::NotRead);
  const QByteArray longText(1023, 'a');
  QTest::newRow("text with trailing NUL")
      << true << true << kRegSz << QByteArray("C:\\Tools\\msinfo32.exe", 22) << read
      << "C:\\Tools\\msinfo32.exe";
  QTest::newRow("text without NUL")
      << true << true << kRegSz << QByteArray("C:\\Tools") << read << "C:\\Tools";
  QTest::newRow("only the last NUL dropped") << true << true << kRegSz << QByteArray("ab\0\0", 4)
                                             << read << QString::fromLatin1("ab\0", 3);
  QTest::newRow("1024 bytes fit") << true << true << kRegSz << longText + 'b' << read
                                  << QString::fromLatin1(longText + 'b');
  QTest::newRow("1024 bytes with NUL")
      << true << true << kRegSz << longText + '\0' << read << QString::fromLatin1(longText);
  QTest::newRow("1025 bytes: not found")
      << true << true << kRegSz << longText + "bc" << notRead << "";
  QTest::newRow("dword as &h and hex")
      << true << true << kRegDword << QByteArray("\xB3\xA2\x01\x00", 4) << read << "&h1A2B3";
  QTest::newRow("dword zero") << true << true << kRegDword << QByteArray(4, '\0') << read << "&h0";
  QTest::newRow("other type leaves the text")
      << true << true << 3u << QByteArray("\x01\x02") << read << "before";
  QTest::newRow("zero length is an error")
      << true << true << kRegSz << QByteArray() << int(KeyRead::Failed) << "before";
  QTest::newRow("value missing") << true << false << kRegSz << QByteArray() << notRead << "";
  QTest::newRow("key missing") << false << false << kRegSz << QByteArray() << notRead << "";
}

void TstAbout::getKeyValue() {
  QFETCH(bool, keyExists);
  QFETCH(bool, valueExists);
  QFETCH(uint, type);
  QFETCH(QByteArray, data);
  QFETCH(int, result);
  QFETCH(QString, text);

  FakeRegistry registry;
  if (keyExists) registry.AddKey(kHKeyLocalMachine, kMsinfoKey);
  if (valueExists) registry.SetValue(kHKeyLocalMachine, kMsinfoKey, "PATH", type, Bytes(data));
  // The same key under another root must not be found.
  registry.SetValue(0x80000001u, kMsinfoKey, "PATH", kRegSz, Bytes("wrong root"));

  QString value = QStringLiteral("before");
  QCOMPARE(int(GetKeyValue(registry, kHKeyLocalMachine, QString::fromStdString(kMsinfoKey),
                           QStringLiteral("PATH"), value)),
           result);
  QCOMPARE(value, text);
  QCOMPARE(registry.lastAccess, 0x2003Fu);
  // Whatever happened, an opened key is closed again.
  QCOMPARE(registry.OpenHandles(), 0);
  QStringList expected{QStringLiteral("open ") + QString::fromStdString(kMsinfoKey)};
  if (keyExists) expected << QStringLiteral("query PATH") << QStringLiteral("close");
  QCOMPARE(Log(registry), expected);
}

void TstAbout::startSysInfo_data() {
  QTest::addColumn<QByteArray>("path");    // the PATH value; null when missing
  QTest::addColumn<QByteArray>("msinfo");  // the MSINFO folder; null when missing
  QTest::addColumn<QStringList>("files");
  QTest::addColumn<QStringList>("onPath");
  QTest::addColumn<bool>("startWorks");
  QTest::addColumn<bool>("desktop");
  QTest::addColumn<QStringList>("log");

  const QString openPath = "open " + QString::fromStdString(kMsinfoKey);
  const QString openLocation = "open " + QString::fromStdString(kLocationKey);
  const QString message = "message " + kSysInfoUnavailable;
  const QString exe = "C:\\Win\\MSINFO32.EXE";

  QTest::newRow("PATH wins, no file test")
      << QByteArray("C:\\P\\msinfo32.exe\0", 18) << QByteArray() << QStringList{} << QStringList{}
      << true << true << QStringList{openPath, "query PATH", "close", "start C:\\P\\msinfo32.exe"};
  QTest::newRow("folder value and the file")
      << QByteArray() << QByteArray("C:\\Win\0", 7) << QStringList{exe} << QStringList{} << true
      << false << QStringList{openPath,       "query PATH", "close",         openLocation,
                              "query MSINFO", "close",      "exists " + exe, "start " + exe};
  QTest::newRow("folder value, file missing")
      << QByteArray() << QByteArray("C:\\Win") << QStringList{} << QStringList{} << true << false
      << QStringList{openPath,       "query PATH", "close",         openLocation,
                     "query MSINFO", "close",      "exists " + exe, message};
  QTest::newRow("PATH longer than the buffer counts as missing")
      << QByteArray(1025, 'x') << QByteArray("C:\\Win") << QStringList{exe} << QStringList{} << true
      << false << QStringList{openPath,       "query PATH", "close",         openLocation,
                              "query MSINFO", "close",      "exists " + exe, "start " + exe};
  QTest::newRow("empty PATH is an error: no further lookup")
      << QByteArray("") << QByteArray("C:\\Win") << QStringList{exe} << QStringList{} << true
      << true << QStringList{openPath, "query PATH", "close", message};
  QTest::newRow("nothing anywhere, no desktop programs")
      << QByteArray() << QByteArray() << QStringList{} << QStringList{} << true << false
      << QStringList{openPath,       "query PATH", "close", openLocation,
                     "query MSINFO", "close",      message};
  QTest::newRow("desktop programs in order")
      << QByteArray() << QByteArray() << QStringList{} << QStringList{"hardinfo", "hardinfo2"}
      << true << true
      << QStringList{openPath,           "query PATH",     "close",
                     openLocation,       "query MSINFO",   "close",
                     "find kinfocenter", "find hardinfo2", "start /usr/bin/hardinfo2"};
  QTest::newRow("no desktop program found")
      << QByteArray() << QByteArray() << QStringList{} << QStringList{} << true << true
      << QStringList{
             openPath, "query PATH",       "close",          openLocation,    "query MSINFO",
             "close",  "find kinfocenter", "find hardinfo2", "find hardinfo", message};
  QTest::newRow("start fails") << QByteArray() << QByteArray() << QStringList{}
                               << QStringList{"kinfocenter"} << false << true
                               << QStringList{openPath,
                                              "query PATH",
                                              "close",
                                              openLocation,
                                              "query MSINFO",
                                              "close",
                                              "find kinfocenter",
                                              "start /usr/bin/kinfocenter",
                                              message};
}

void TstAbout::startSysInfo() {
  QFETCH(QByteArray, path);
  QFETCH(QByteArray, msinfo);
  QFETCH(QStringList, files);
  QFETCH(QStringList, onPath);
  QFETCH(bool, startWorks);
  QFETCH(bool, desktop);
  QFETCH(QStringList, log);

  auto registry = std::make_shared<FakeRegistry>();
  // Both keys exist; only their values come and go.
  registry->AddKey(kHKeyLocalMachine, kMsinfoKey);
  registry->AddKey(kHKeyLocalMachine, kLocationKey);
  if (!path.isNull())
    registry->SetValue(kHKeyLocalMachine, kMsinfoKey, "PATH", kRegSz, Bytes(path));
  if (!msinfo.isNull())
    registry->SetValue(kHKeyLocalMachine, kLocationKey, "MSINFO", kRegSz, Bytes(msinfo));

  StartSysInfo(Recorded(registry, files, onPath, startWorks, desktop));
  QCOMPARE(Log(*registry), log);
  QCOMPARE(registry->OpenHandles(), 0);
}

void TstAbout::keysClose_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<bool>("onSysInfo");  // the key goes to the focused System Info button
  QTest::newRow("Enter") << int(Qt::Key_Return) << false;
  QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << false;
  QTest::newRow("Esc") << int(Qt::Key_Escape) << false;
  QTest::newRow("Esc on System Info") << int(Qt::Key_Escape) << true;
}

void TstAbout::keysClose() {
  QFETCH(int, key);
  QFETCH(bool, onSysInfo);
  frmAbout about;
  QCOMPARE(about.windowTitle(), QStringLiteral("About Unit Converter"));
  QCOMPARE(about.Label13->text(), QStringLiteral("Revision 2.1.9"));
  about.show();
  QApplication::setActiveWindow(&about);
  QVERIFY(QTest::qWaitForWindowActive(&about));
  QCOMPARE(QApplication::focusWidget(), about.cmdOK);
  QSignalSpy ok(about.cmdOK, &QPushButton::clicked);
  if (onSysInfo) about.cmdSysInfo->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
  QVERIFY(!about.isVisible());
  QCOMPARE(ok.count(), 1);
}

void TstAbout::links_data() {
  QTest::addColumn<bool>("home");
  QTest::addColumn<QUrl>("url");
  QTest::newRow("home page") << true << QUrl(QStringLiteral("https://www.quellor.example/"));
  QTest::newRow("support mail") << false << QUrl(QStringLiteral("mailto:support@quellor.example"));
}

void TstAbout::links() {
  QFETCH(bool, home);
  QFETCH(QUrl, url);
  RecordingShell shell;
  frmAbout about;
  about.show();
  QTest::mouseClick(home ? about.Label11 : about.Label12, Qt::LeftButton);
  QCOMPARE(shell.opened, QList<QUrl>{url});
  // A link does not close the box; a right click opens nothing.
  QVERIFY(about.isVisible());
  QTest::mouseClick(home ? about.Label11 : about.Label12, Qt::RightButton);
  QCOMPARE(shell.opened.size(), 1);
}

void TstAbout::sysInfoButton() {
  // The box's own services: nothing in the registry and no desktop program on PATH.
  QStringList shown;
  const MessageFunction previous =
      SetMessageFunction([&](QWidget *, QMessageBox::Icon, const QString &text) { shown << text; });
  frmAbout about;
  SysInfoServices services = SystemSysInfoServices(&about);
  services.findOnPath = [](const QString &) { return QString(); };
  services.startDetached = [](const QString &) { return true; };
  about.SetSysInfoServices(services);
  about.show();
  QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
  SetMessageFunction(previous);
  QCOMPARE(shown, QStringList{kSysInfoUnavailable});
  QVERIFY(about.isVisible());
}

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
