// The About box: the registry rules and order of the system information lookups, keys, links,
// and the system's own services behind them.

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "dialogs/frm_about.h"
#include "doubles.h"
#include "platform/sysinfo.h"
#include "test_support.h"

using namespace qlc;

namespace {

const QString kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
              kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";

struct SysRow {
  const char *name;
  QByteArray path = {}, msinfo = {};  // the PATH value and the MSINFO folder; null when missing
  QString onPath = {};                // the one desktop program found
  bool starts = true;
  QString log = {};  // every call and action
};

}  // namespace

class TstAbout : public QObject {
  Q_OBJECT
  QList<QUrl> opened_;

 public slots:
  void Opened(const QUrl &url) { opened_ << url; }

 private slots:
  void startSysInfo_data() {
    // clang-format off
    const QString first = "open " + kMsinfo + "; query PATH; close; ";
    const QString noPath = "open " + kMsinfo + "; open " + kLocation + "; ", noKeys = noPath + "find kinfocenter; ";
    const QString none = "message System Information Is Unavailable At This Time", msinfo = "exists C:\\W\\MSINFO32.EXE; start C:\\W\\MSINFO32.EXE";
    const QByteArray folder("C:\\W"), program = "C:\\" + QByteArray(1016, 'p') + ".exe";  // 1024 bytes with its NUL
    test::AddRows<SysRow>({
      {.name = "PATH, NUL dropped", .path = QByteArray("C:\\P\\m.exe\0", 11), .msinfo = folder, .log = first + "start C:\\P\\m.exe"},
      {.name = "empty PATH", .path = "", .msinfo = folder, .log = first + none},
      {.name = "PATH of 1024 bytes", .path = program + '\0', .msinfo = folder, .log = first + "start " + program},
      {.name = "PATH of 1025 bytes: not read", .path = '\\' + program + '\0', .msinfo = folder, .log = first + "open " + kLocation + "; query MSINFO; close; " + msinfo},
      {.name = "MSINFO folder", .msinfo = QByteArray("C:\\W\0", 5), .log = noPath + "query MSINFO; close; " + msinfo},
      {.name = "desktop", .onPath = "hardinfo2", .log = noKeys + "find hardinfo2; start /usr/bin/hardinfo2"},
      {.name = "none", .log = noKeys + "find hardinfo2; find hardinfo; " + none},
      {.name = "start fails", .onPath = "kinfocenter", .starts = false, .log = noKeys + "start /usr/bin/kinfocenter; " + none},
    });
    // clang-format on
  }
  void startSysInfo() {
    QFETCH(SysRow, row);
    test::Doubles doubles;
    test::ModalAnswers answers;
    answers.own = {"frmAbout"};
    for (const auto &[key, name, v] :
         {std::tuple{kMsinfo, "PATH", row.path}, std::tuple{kLocation, "MSINFO", row.msinfo}})
      if (!v.isNull())
        doubles.registry.SetValue(kHKeyLocalMachine, key.toStdString(), name, kRegSz,
                                  {v.begin(), v.end()});
    doubles.programs.files = {"C:\\W\\MSINFO32.EXE"};
    doubles.programs.onPath = {row.onPath};
    doubles.programs.starts = row.starts;
    frmAbout about;
    about.show();
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    QStringList log;
    for (const auto &entry : doubles.registry.log) log << QString::fromStdString(entry);
    for (const QString &text : answers.texts) log << "message " + text;
    QCOMPARE(log.join("; "), row.log);
    QCOMPARE(doubles.registry.OpenHandles(), 0);
  }

  // With the system's own services: a folder is no program file, the links reach the desktop's
  // handler whole, and System Info finds a program in any PATH folder and starts it without
  // arguments.
  void systemServices() {
    QTemporaryDir dir;
    const QString program = dir.filePath("hardinfo2");
    QVERIFY(test::WriteBytes(program, "#!/bin/sh\necho $# > \"${0%/*}/said\"\n") &&
            QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
    Programs &programs = *CurrentServices().programs;
    QVERIFY(programs.FileExists(program) && !programs.FileExists(dir.path()));
    for (const char *scheme : {"https", "mailto"})
      QDesktopServices::setUrlHandler(scheme, this, "Opened");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir.path().toUtf8());
    test::ModalAnswers answers;
    answers.own = {"frmAbout"};
    frmAbout about;
    about.show();
    for (QWidget *clicked :
         std::initializer_list<QWidget *>{about.Label11, about.Label12, about.cmdSysInfo})
      QTest::mouseClick(clicked, Qt::LeftButton);
    qputenv("PATH", path);
    for (const char *scheme : {"https", "mailto"}) QDesktopServices::unsetUrlHandler(scheme);
    QCOMPARE(answers.texts, QStringList());
    QCOMPARE(opened_, (QList<QUrl>{QUrl("https://www.quellor.example/"),
                                   QUrl("mailto:support@quellor.example")}));
    // The program runs on its own, once started.
    QTRY_COMPARE_WITH_TIMEOUT(test::ReadBytes(dir.filePath("said")), QByteArray("0\n"), 60000);
  }

  // Enter on a link opens it and leaves the box open; Enter on OK and Escape close it.
  void keysCloseAndLinksOpen() {
    test::Doubles doubles;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
      frmAbout about;
      about.show();
      QApplication::setActiveWindow(&about);
      QVERIFY(QTest::qWaitForWindowActive(&about));
      about.Label11->setFocus();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      QVERIFY(about.isVisible());
      about.cmdOK->setFocus();
      QTest::keyClick(QApplication::focusWidget(), key);
      QCOMPARE(about.isVisible() ? -1 : about.result(), int(QDialog::Accepted));
    }
    QCOMPARE(doubles.shell.opened, QList<QUrl>(2, QUrl("https://www.quellor.example/")));
  }
};

QTEST_MAIN(TstAbout)
#include "tst_about.moc"
