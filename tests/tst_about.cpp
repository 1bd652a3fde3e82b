// The About box: the registry rules and order of the system information
// lookups, keys, links.

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "dialogs/frm_about.h"
#include "doubles.h"
#include "platform/registry.h"
#include "platform/sysinfo.h"

using namespace qlc;

namespace {

const std::string kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";

struct SysCase {
  QByteArray path,
      msinfo;           // the PATH value and the MSINFO folder; null when missing
  QString onPath, log;  // the one desktop program found; every call and action
  uint pathType = kRegSz;
};

}  // namespace

Q_DECLARE_METATYPE(SysCase)

class TstAbout : public QObject {
  Q_OBJECT

 private slots:
  void startSysInfo_data() {
    QTest::addColumn<SysCase>("c");
    // clang-format off
    const QString msinfoKey = QString::fromStdString(kMsinfo), location = QString::fromStdString(kLocation);
    const QString first = "open " + msinfoKey + "; query PATH; close; ", both = first + "open " + location + "; query MSINFO; close; ";
    const QString noPath = "open " + msinfoKey + "; open " + location, noKeys = noPath + "; find kinfocenter; ";
    const QString none = "message " + kSysInfoUnavailable, msinfo = "exists C:\\W\\MSINFO32.EXE; start C:\\W\\MSINFO32.EXE";
    const QByteArray no, folder("C:\\W"), full(1024, 'a');
    QTest::newRow("PATH, NUL dropped") << SysCase{QByteArray("C:\\P\\m.exe\0", 11), folder, "", first + "start C:\\P\\m.exe"};
    QTest::newRow("PATH of 1024 bytes") << SysCase{full, folder, "", first + "start " + full};
    QTest::newRow("PATH of 1025 bytes") << SysCase{full + 'b', folder, "", both + msinfo};
    QTest::newRow("dword PATH") << SysCase{QByteArray("\xB3\xA2\x01\x00", 4), no, "", first + "start &h1A2B3", kRegDword};
    QTest::newRow("empty PATH") << SysCase{"", folder, "", first + none};
    QTest::newRow("MSINFO folder") << SysCase{no, QByteArray("C:\\W\0", 5), "", noPath + "; query MSINFO; close; " + msinfo};
    QTest::newRow("desktop") << SysCase{no, no, "hardinfo2", noKeys + "find hardinfo2; start /usr/bin/hardinfo2"};
    QTest::newRow("none") << SysCase{no, no, "", noKeys + "find hardinfo2; find hardinfo; " + none};
    // clang-format on
  }
  void startSysInfo() {
    QFETCH(SysCase, c);
    test::Doubles doubles;
    test::ModalAnswers answers;
    test::FakeRegistry *registry = &doubles.registry;
    for (const auto &[key, name, type, data] : {std::tuple{kMsinfo, "PATH", c.pathType, c.path},
                                                std::tuple{kLocation, "MSINFO", kRegSz, c.msinfo}})
      if (!data.isNull())
        registry->SetValue(kHKeyLocalMachine, key, name, type, {data.begin(), data.end()});
    doubles.programs.files = {"C:\\W\\MSINFO32.EXE"};
    doubles.programs.onPath = {c.onPath};
    frmAbout about;
    about.show();
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    QVERIFY(about.isVisible());
    QStringList log;
    for (const auto &entry : registry->log) log << QString::fromStdString(entry);
    for (const QString &text : answers.texts) log << "message " + text;
    QCOMPARE(log.join("; "), c.log);
    QCOMPARE(registry->OpenHandles(), 0);
  }

  void keysCloseAndLinksOpen() {
    test::Doubles doubles;
    const QList<QUrl> &opened = doubles.shell.opened;
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
      QCOMPARE(about.result(), int(QDialog::Accepted));
    }
    const QUrl home("https://www.quellor.example/"), mail("mailto:support@quellor.example");
    QCOMPARE(opened, (QList<QUrl>{home, mail, home, mail}));
  }
};

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
