// The About box: the registry rules of GetKeyValue, the order of StartSysInfo's lookups,
// the keys that close the box and the two links.

#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "dialogs/frm_about.h"
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

// The registry's log, one entry after another, joined by "; ".
QString Log(const FakeRegistry &registry) {
  QStringList log;
  for (const auto &entry : registry.log) log << QString::fromStdString(entry);
  return log.join(QStringLiteral("; "));
}

}  // namespace

class TstAbout : public QObject {
  Q_OBJECT

 private slots:
  void getKeyValue_data();
  void getKeyValue();
  void startSysInfo_data();
  void startSysInfo();
  void keysCloseAndLinksOpen();
};

void TstAbout::getKeyValue_data() {
  QTest::addColumn<uint>("type");
  QTest::addColumn<QByteArray>("data");  // null: no key
  QTest::addColumn<int>("result");
  QTest::addColumn<QString>("text");  // the value afterwards; it goes in as "before"
  const int read = int(KeyRead::Read), notRead = int(KeyRead::NotRead);
  const QByteArray full(1024, 'a');
  QTest::newRow("NUL dropped") << kRegSz << QByteArray("C:\\T\0", 5) << read << "C:\\T";
  QTest::newRow("1024 bytes") << kRegSz << full << read << QString::fromLatin1(full);
  QTest::newRow("1025 bytes") << kRegSz << full + 'b' << notRead << "";
  QTest::newRow("dword") << kRegDword << QByteArray("\xB3\xA2\x01\x00", 4) << read << "&h1A2B3";
  QTest::newRow("zero length") << kRegSz << QByteArray("") << int(KeyRead::Failed) << "before";
  QTest::newRow("no key") << kRegSz << QByteArray() << notRead << "";
}

void TstAbout::getKeyValue() {
  QFETCH(uint, type);
  QFETCH(QByteArray, data);
  QFETCH(int, result);
  QFETCH(QString, text);
  FakeRegistry registry;
  if (!data.isNull()) registry.SetValue(kHKeyLocalMachine, kMsinfoKey, "PATH", type, Bytes(data));
  QString value = QStringLiteral("before");
  const QString key = QString::fromStdString(kMsinfoKey);
  QCOMPARE(int(GetKeyValue(registry, kHKeyLocalMachine, key, QStringLiteral("PATH"), value)),
           result);
  QCOMPARE(value, text);
  QCOMPARE(Log(registry), "open " + key + (data.isNull() ? "" : "; query PATH; close"));
  QCOMPARE(registry.OpenHandles(), 0);
}

void TstAbout::startSysInfo_data() {
  QTest::addColumn<QByteArray>("path");    // the PATH value; null when missing
  QTest::addColumn<QByteArray>("msinfo");  // the MSINFO folder; null when missing
  QTest::addColumn<QString>("onPath");     // the one desktop program found
  QTest::addColumn<QString>("log");
  const QString first = "open " + QString::fromStdString(kMsinfoKey) + "; query PATH; close; ";
  const QString both =
      first + "open " + QString::fromStdString(kLocationKey) + "; query MSINFO; close; ";
  const QString none = "message " + kSysInfoUnavailable;
  auto row = [](const char *name, const QByteArray &path, const QByteArray &msinfo,
                const char *onPath, const QString &log) {
    QTest::newRow(name) << path << msinfo << QString::fromLatin1(onPath) << log;
  };
  row("PATH", QByteArray("C:\\P\\m.exe\0", 11), "C:\\W", "", first + "start C:\\P\\m.exe");
  row("empty PATH", "", "C:\\W", "", first + none);
  row("MSINFO folder", {}, QByteArray("C:\\W\0", 5), "",
      both + "exists C:\\W\\MSINFO32.EXE; start C:\\W\\MSINFO32.EXE");
  row("desktop", {}, {}, "hardinfo2",
      both + "find kinfocenter; find hardinfo2; start /usr/bin/hardinfo2");
  row("none", {}, {}, "", both + "find kinfocenter; find hardinfo2; find hardinfo; " + none);
}

void TstAbout::startSysInfo() {
  QFETCH(QByteArray, path);
  QFETCH(QByteArray, msinfo);
  QFETCH(QString, onPath);
  QFETCH(QString, log);
  auto registry = std::make_shared<FakeRegistry>();
  registry->AddKey(kHKeyLocalMachine, kMsinfoKey);
  registry->AddKey(kHKeyLocalMachine, kLocationKey);
  if (!path.isNull())
    registry->SetValue(kHKeyLocalMachine, kMsinfoKey, "PATH", kRegSz, Bytes(path));
  if (!msinfo.isNull())
    registry->SetValue(kHKeyLocalMachine, kLocationKey, "MSINFO", kRegSz, Bytes(msinfo));
  // Every action lands in the registry's log, so one list shows the order of all of them.
  FakeRegistry *r = registry.get();
  auto note = [r](const char *what, const QString &s) { r->log.push_back(what + s.toStdString()); };
  const SysInfoServices s{
      .registry = registry,
      .fileExists = [=](const QString &p) { return note("exists ", p), p.startsWith("C:\\W\\"); },
      .findOnPath =
          [=](const QString &n) { return note("find ", n), n == onPath ? "/usr/bin/" + n : ""; },
      .startDetached = [=](const QString &p) { return note("start ", p), true; },
      .showMessage = [=](const QString &text) { note("message ", text); },
      .desktopPrograms = {"kinfocenter", "hardinfo2", "hardinfo"}};
  // Through the System Info button of the box.
  frmAbout about;
  about.SetSysInfoServices(s);
  about.show();
  QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
  QVERIFY(about.isVisible());
  QCOMPARE(Log(*registry), log);
  QCOMPARE(registry->OpenHandles(), 0);
}

void TstAbout::keysCloseAndLinksOpen() {
  RecordingShell shell;
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    frmAbout about;
    about.show();
    QApplication::setActiveWindow(&about);
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QTest::mouseClick(about.Label11, Qt::LeftButton);
    QTest::mouseClick(about.Label12, Qt::LeftButton);
    QVERIFY(about.isVisible());  // a link leaves the box open
    QSignalSpy ok(about.cmdOK, &QPushButton::clicked);
    QTest::keyClick(QApplication::focusWidget(), key);
    QVERIFY(!about.isVisible());
    QCOMPARE(ok.count(), 1);
  }
  const QUrl home("https://www.quellor.example/"), mail("mailto:support@quellor.example");
  QCOMPARE(shell.opened, (QList<QUrl>{home, mail, home, mail}));
}

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
