// The About box: registry rules, the order of the system information lookups, keys, links.

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "dialogs/frm_about.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sysinfo.h"

using namespace qlc;

namespace {

const std::string kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString kMsinfo = QString::fromStdString(kMsinfoKey);

// Sets a value under HKEY_LOCAL_MACHINE unless data is null.
void Set(FakeRegistry &r, const std::string &key, const char *name, uint type, QByteArray data) {
  if (!data.isNull()) r.SetValue(kHKeyLocalMachine, key, name, type, {data.begin(), data.end()});
}

// Every call and action in the registry's log, in order, joined by "; ".
QString Log(const FakeRegistry &registry) {
  QStringList log;
  for (const auto &entry : registry.log) log << QString::fromStdString(entry);
  return log.join(QStringLiteral("; "));
}

struct SysCase {
  QByteArray path, msinfo;  // the PATH value and the MSINFO folder; null when missing
  QString onPath, log;      // the one desktop program found; every call and action
};

}  // namespace

Q_DECLARE_METATYPE(SysCase)

class TstAbout : public QObject {
  Q_OBJECT

 private slots:
  void getKeyValue_data() {
    QTest::addColumn<uint>("type");
    QTest::addColumn<QByteArray>("data");  // null: no key
    QTest::addColumn<KeyRead>("result");
    QTest::addColumn<QString>("text");  // the value afterwards; it goes in as "before"
    const KeyRead read = KeyRead::Read, notRead = KeyRead::NotRead;
    const QByteArray full(1024, 'a');
    QTest::newRow("NUL dropped") << kRegSz << QByteArray("C:\\T\0", 5) << read << "C:\\T";
    QTest::newRow("1024 bytes") << kRegSz << full << read << QString::fromLatin1(full);
    QTest::newRow("1025 bytes") << kRegSz << full + 'b' << notRead << "";
    QTest::newRow("dword") << kRegDword << QByteArray("\xB3\xA2\x01\x00", 4) << read << "&h1A2B3";
    QTest::newRow("zero length") << kRegSz << QByteArray("") << KeyRead::Failed << "before";
    QTest::newRow("no key") << kRegSz << QByteArray() << notRead << "";
  }
  void getKeyValue() {
    QFETCH(uint, type);
    QFETCH(QByteArray, data);
    QFETCH(KeyRead, result);
    QFETCH(QString, text);
    FakeRegistry registry;
    Set(registry, kMsinfoKey, "PATH", type, data);
    QString value = QStringLiteral("before");
    QCOMPARE(GetKeyValue(registry, kHKeyLocalMachine, kMsinfo, "PATH", value), result);
    QCOMPARE(value, text);
    QCOMPARE(Log(registry), "open " + kMsinfo + (data.isNull() ? "" : "; query PATH; close"));
    QCOMPARE(registry.OpenHandles(), 0);
  }

  void startSysInfo_data() {
    QTest::addColumn<SysCase>("c");
    const QString first = "open " + kMsinfo + "; query PATH; close; ";
    const QString both =
        first + "open " + QString::fromStdString(kLocationKey) + "; query MSINFO; close; ";
    const QString none = "message " + kSysInfoUnavailable;
    const QString msinfo = "exists C:\\W\\MSINFO32.EXE; start C:\\W\\MSINFO32.EXE";
    const QString finds = both + "find kinfocenter; find hardinfo2; ";
    const QByteArray no, folder("C:\\W");
    QTest::newRow("PATH") << SysCase{"C:\\P\\m.exe", folder, "", first + "start C:\\P\\m.exe"};
    QTest::newRow("empty PATH") << SysCase{"", folder, "", first + none};
    QTest::newRow("MSINFO folder") << SysCase{no, QByteArray("C:\\W\0", 5), "", both + msinfo};
    QTest::newRow("desktop") << SysCase{no, no, "hardinfo2", finds + "start /usr/bin/hardinfo2"};
    QTest::newRow("none") << SysCase{no, no, "", finds + "find hardinfo; " + none};
  }
  void startSysInfo() {
    QFETCH(SysCase, c);
    auto registry = std::make_shared<FakeRegistry>();
    registry->AddKey(kHKeyLocalMachine, kMsinfoKey);
    registry->AddKey(kHKeyLocalMachine, kLocationKey);
    Set(*registry, kMsinfoKey, "PATH", kRegSz, c.path);
    Set(*registry, kLocationKey, "MSINFO", kRegSz, c.msinfo);
    // Every action lands in the registry's log, so one list shows the order of all of them.
    auto note = [&log = registry->log](const char *what, const QString &s) {
      log.push_back(what + s.toStdString());
    };
    const QString folder = "C:\\W\\", bin = "/usr/bin/";
    frmAbout about;
    about.SetSysInfoServices(
        {.registry = registry,
         .fileExists = [=](const QString &p) { return note("exists ", p), p.startsWith(folder); },
         .findOnPath =
             [=](const QString &n) { return note("find ", n), n == c.onPath ? bin + n : ""; },
         .startDetached = [=](const QString &p) { return note("start ", p), true; },
         .showMessage = [=](const QString &text) { note("message ", text); },
         .desktopPrograms = {"kinfocenter", "hardinfo2", "hardinfo"}});
    about.show();
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    QVERIFY(about.isVisible());
    QCOMPARE(Log(*registry), c.log);
    QCOMPARE(registry->OpenHandles(), 0);
  }

  void keysCloseAndLinksOpen() {
    RecordingShell shell;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
      frmAbout about;
      about.show();
      QApplication::setActiveWindow(&about);
      QVERIFY(QTest::qWaitForWindowActive(&about));
      QTest::mouseClick(about.Label11, Qt::LeftButton);
      QTest::mouseClick(about.Label12, Qt::LeftButton);
      QVERIFY(about.isVisible());  // a link leaves the box open
      QTest::keyClick(QApplication::focusWidget(), key);
      QVERIFY(!about.isVisible());
    }
    const QUrl home("https://www.quellor.example/"), mail("mailto:support@quellor.example");
    QCOMPARE(shell.opened, (QList<QUrl>{home, mail, home, mail}));
  }
};

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
