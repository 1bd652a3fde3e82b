// The Add Type and Add Conversion dialogs: what they list, the bytes they append, and how
// they refuse what cannot be written. Everything is typed and clicked as a user would.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "dialogs/addconvert.h"
#include "dialogs/addtypes.h"
#include "table/flex_grid.h"
#include "doubles.h"
#include "test_support.h"

using namespace qlc;
using qlc::test::ReadBytes;
using qlc::test::WriteBytes;

namespace {

enum class FileKind { Bytes, Folder, DevFull };  // what stands where a data file should be

const QByteArray kTypes = "\"ALL\"\r\n\"Length\"\r\n\"Mass\"\r\n";
const QByteArray kConvert = "\"kg\",\"g\",\"Mass\",0,0\r\n";

// An open dialog, Add Conversion when more than one text is to be typed, with its fields in
// the order they are filled.
struct Dialog {
  std::unique_ptr<QDialog> box;
  QList<QLineEdit *> fields;
  QPushButton *ok, *cancel;
};

Dialog Open(const QString &dir, const QStringList &typed) {
  Dialog d;
  if (typed.size() > 1) {
    auto *c = new addconvert(nullptr, dir);
    d = {std::unique_ptr<QDialog>(c),
         {c->Combo1->lineEdit(), c->Text1, c->Text2, c->Text3, c->Text4},
         c->CommandOK,
         c->CommandCancel};
  } else {
    auto *t = new addtypes(nullptr, dir);
    d = {std::unique_ptr<QDialog>(t), {t->Text1}, t->Command1, t->Command2};
  }
  d.box->show();
  QApplication::setActiveWindow(d.box.get());
  if (!QTest::qWaitForWindowActive(d.box.get())) qWarning("the dialog is not active");
  // Each text key by key into its field; any character, not only ASCII.
  for (int i = 0; i < typed.size() && i < d.fields.size(); ++i)
    for (const QChar c : typed[i])
      QTest::sendKeyEvent(QTest::Click, d.fields[i], Qt::Key_unknown, QString(c), {});
  return d;
}

}  // namespace

class TstDialogs : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  test::ModalAnswers answers_;
  QStringList &messages_ = answers_.texts;
  QString Path(bool conversion) const {
    return dir_->filePath(conversion ? QStringLiteral("convert.txt") : QStringLiteral("type.txt"));
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    messages_.clear();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }

  void listsTypes() {
    QVERIFY(WriteBytes(Path(false), "\"ALL\"\r\n\"A, b\"\r\n\"C\""));
    const QStringList listed{"A, b", "C"};  // line 1 left out
    addtypes types(nullptr, dir_->path());
    QStringList rows;
    for (int r = 1; r < types.MSFG1->Rows(); ++r) rows << types.MSFG1->TextMatrix(r, 0);
    QCOMPARE(rows, listed);
    addconvert convert(nullptr, dir_->path());
    QStringList items;
    for (int i = 0; i < convert.Combo1->count(); ++i) items << convert.Combo1->itemText(i);
    QCOMPARE(items, listed);
    QCOMPARE(convert.Combo1->currentText(), QString());
    // A click in the open list puts the listed name into the box.
    convert.show();
    convert.Combo1->showPopup();
    QAbstractItemView *list = convert.Combo1->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(1, 0)).center());
    QCOMPARE(convert.Combo1->currentText(), QString("C"));
  }

  void writes_data() {
    QTest::addColumn<QByteArray>("before");  // null: no file
    QTest::addColumn<QStringList>("typed");  // type; or type, from, to, multiplier, adder
    QTest::addColumn<bool>("ok");            // else Cancel
    QTest::addColumn<QByteArray>("after");
    auto row = [](const char *name, const QByteArray &before, const QStringList &typed,
                  const QByteArray &after,
                  bool ok = true) { QTest::newRow(name) << before << typed << ok << after; };
    row("type again", kTypes, {"Mass"}, kTypes + "\"Mass\"\r\n");
    row("type empty", kTypes, {""}, kTypes);
    row("type cancel", kTypes, {"Speed"}, kTypes, false);
    row("no CR LF at end", "\"ALL\"\r\n\"Mass\"", {"Speed"},
        "\"ALL\"\r\n\"Mass\"\r\n\"Speed\"\r\n");
    row("ALL into missing", QByteArray(), {"Speed"}, "\"ALL\"\r\n\"Speed\"\r\n");
    row("ALL into empty", "", {"Speed"}, "\"ALL\"\r\n\"Speed\"\r\n");
    row("ALL after BOM", "\xEF\xBB\xBF", {"Speed"}, "\xEF\xBB\xBF\"ALL\"\r\n\"Speed\"\r\n");
    row("conv", kConvert, {"Length", "inch, US", " cm", "2.54", "0.5"},
        kConvert + "\"inch, US\",\" cm\",\"Length\",\"2.54\",0.5\r\n");
    row("conv again, 0 for blanks", kConvert, {"Mass", "kg", "g", "", ""}, kConvert + kConvert);
    // The type is written as typed: not completed from the list, not matched ignoring case.
    row("type as typed", kConvert, {"mas", "kg", "g"}, kConvert + "\"kg\",\"g\",\"mas\",0,0\r\n");
    row("type case kept", kConvert, {"mass", "kg", "g"},
        kConvert + "\"kg\",\"g\",\"mass\",0,0\r\n");
    // Run under de_DE: the multiplier is kept as typed, the adder written with a full stop.
    row("de_DE", QByteArray(), {"Area", "in", "cm", "2,54", "0,5"},
        "\"in\",\"cm\",\"Area\",\"2,54\",0.5\r\n");
    row("empty type", kConvert, {"", "a", "b"}, kConvert);
    row("empty from", kConvert, {"X", "", "b"}, kConvert);
    row("empty to", kConvert, {"X", "a", "", "1", "zz"}, kConvert);
    row("conv cancel", kConvert, {"X", "a", "b", "1", "2"}, kConvert, false);
  }
  void writes() {
    QFETCH(QByteArray, before);
    QFETCH(QStringList, typed);
    QFETCH(bool, ok);
    QFETCH(QByteArray, after);
    if (QByteArray(QTest::currentDataTag()) == "de_DE")
      QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const bool conversion = typed.size() > 1;
    if (conversion) QVERIFY(WriteBytes(Path(false), kTypes));
    if (!before.isNull()) QVERIFY(WriteBytes(Path(conversion), before));
    Dialog d = Open(dir_->path(), typed);
    QTest::mouseClick(ok ? d.ok : d.cancel, Qt::LeftButton);
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(u'\n')));
    QVERIFY(!d.box->isVisible());
    QCOMPARE(d.box->result(), ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(QFileInfo::exists(Path(conversion)), !after.isNull());
    QCOMPARE(ReadBytes(Path(conversion)), after);
    if (conversion) QCOMPARE(ReadBytes(Path(false)), kTypes);  // the typed type is not added
  }

  // A refusal says what is wrong, keeps the dialog open with every text and the file as it was.
  void refuses_data() {
    QTest::addColumn<FileKind>("kind");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("said");  // a part of the message
    auto row = [](const char *name, FileKind kind, const QStringList &typed, const char *said) {
      QTest::newRow(name) << kind << typed << QString::fromUtf8(said);
    };
    row("type quote", FileKind::Bytes, {"Big \"T\""}, "Add New Type");
    row("type folder", FileKind::Folder, {"Speed"}, "type.txt");
    row("quote in type", FileKind::Bytes, {"\"X", "a", "b"}, "Conversion Type");
    row("quote in multiplier", FileKind::Bytes, {"X", "a", "b", "2\""}, "Conversion Multiplier");
    row("adder not a number", FileKind::Bytes, {"X", "a", "b", "", "abc"}, "Conversion Adder");
    row("not Windows-1252", FileKind::Bytes, {"X", QStringLiteral("\u03A9"), "b"}, "Windows-1252");
    if (QFileInfo::exists(QStringLiteral("/dev/full")))
      row("disk full", FileKind::DevFull, {"X", "a", "b"}, "convert.txt");
  }
  void refuses() {
    QFETCH(FileKind, kind);
    QFETCH(QStringList, typed);
    QFETCH(QString, said);
    const QString path = Path(typed.size() > 1);
    // A Windows-1252 file: the degree sign is one byte.
    const QByteArray before =
        typed.size() > 1 ? QByteArray("\"\xB0\",\"K\",\"T\",0,273.15\r\n") : kTypes;
    if (kind == FileKind::Folder) QVERIFY(QDir().mkpath(path));
    if (kind == FileKind::DevFull) QVERIFY(QFile::link(QStringLiteral("/dev/full"), path));
    if (kind == FileKind::Bytes) QVERIFY(WriteBytes(path, before));
    Dialog d = Open(dir_->path(), typed);
    QTest::mouseClick(d.ok, Qt::LeftButton);
    QVERIFY(d.box->isVisible());
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].contains(said), qPrintable(messages_[0]));
    for (int i = 0; i < typed.size(); ++i) QCOMPARE(d.fields[i]->text(), typed[i]);
    if (kind == FileKind::Bytes) QCOMPARE(ReadBytes(path), before);
    if (kind == FileKind::Folder) QVERIFY(QFileInfo(path).isDir());
  }

  // Enter presses the button that has the focus; nothing else reacts to Enter or Escape.
  void enterAndEscape_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");  // -1: the dialog stays open
    const QStringList controls[] = {
        {"Command1", "Command2", "Text1", "MSFG1"},
        {"CommandOK", "CommandCancel", "Combo1", "Text1", "Text2", "Text3", "Text4"}};
    for (const QStringList &names : controls)
      for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        for (int i = 0; i < names.size(); ++i)
          QTest::addRow("%s %s %s", names.size() > 4 ? "addconvert" : "addtypes",
                        qPrintable(names[i]), qPrintable(QKeySequence(key).toString()))
              << (names.size() > 4 ? QStringList{"Speed", "a", "b"} : QStringList{"Speed"})
              << names[i] << int(key)
              << (key == Qt::Key_Escape || i > 1 ? -1
                  : i == 0                       ? QDialog::Accepted
                                                 : QDialog::Rejected);
  }
  void enterAndEscape() {
    QFETCH(QStringList, typed);
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(int, result);
    QVERIFY(WriteBytes(Path(false), kTypes));
    Dialog d = Open(dir_->path(), typed);
    auto *target = d.box->findChild<QWidget *>(control);
    QVERIFY(target);
    target->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(d.box->isVisible(), result == -1);
    if (result != -1) QCOMPARE(d.box->result(), result);
    const bool added = result == QDialog::Accepted, conversion = typed.size() > 1;
    QCOMPARE(ReadBytes(Path(false)), kTypes + (added && !conversion ? "\"Speed\"\r\n" : ""));
    QCOMPARE(ReadBytes(Path(true)), added && conversion ? "\"a\",\"b\",\"Speed\",0,0\r\n" : "");
  }
};

QTEST_MAIN(TstDialogs)
#include "tst_dialogs.moc"
