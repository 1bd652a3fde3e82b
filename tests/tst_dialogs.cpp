// The Add Type and Add Conversion dialogs: what they list, the bytes they append, and how
// they refuse what cannot be written.

#include <unistd.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "dialogs/addconvert.h"
#include "dialogs/addtypes.h"
#include "dialogs/message_box.h"
#include "table/flex_grid.h"
#include "test_support.h"

using namespace qlc;
using qlc::test::ReadBytes;
using qlc::test::WriteBytes;

namespace {

// What stands where a data file should be.
enum class FileKind { Missing, Bytes, Folder, DevFull, ReadOnly };

bool Prepare(const QString &path, FileKind kind, const QByteArray &bytes) {
  switch (kind) {
    case FileKind::Missing:
      return true;
    case FileKind::Bytes:
      return WriteBytes(path, bytes);
    case FileKind::Folder:
      return QDir().mkpath(path);
    case FileKind::DevFull:
      return QFile::link(QStringLiteral("/dev/full"), path);
    case FileKind::ReadOnly:
      return WriteBytes(path, bytes) &&
             QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  }
  return false;
}

// The body rows of the Add Type table.
QStringList TableRows(const FlexGrid *grid) {
  QStringList rows;
  for (int r = 1; r < grid->Rows(); ++r) rows << grid->TextMatrix(r, 0);
  return rows;
}

QStringList ComboItems(const QComboBox *combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

// The widgets Tab visits from start on, in order.
QList<QWidget *> TabChain(QWidget *dialog, QWidget *start, int count) {
  QList<QWidget *> chain{start};
  QWidget *w = start;
  while (chain.size() < count) {
    w = w->nextInFocusChain();
    if (w == start) break;
    if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(dialog) && w->isEnabled() &&
        !w->focusProxy())
      chain << w;
  }
  return chain;
}

// Types the text key by key, as the user would; any character, not only ASCII.
void Type(QWidget *widget, const QString &text) {
  for (const QChar c : text) {
    QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

const QByteArray kTypes = "\"ALL\"\r\n\"Length\"\r\n\"Mass\"\r\n";

}  // namespace

class TstDialogs : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void init();

  void listsTypes_data();
  void listsTypes();
  void addTypeWrites_data();
  void addTypeWrites();
  void addTypeRefuses_data();
  void addTypeRefuses();
  void addConversionWrites_data();
  void addConversionWrites();
  void addConversionRefuses_data();
  void addConversionRefuses();
  void keysAndFocus_data();
  void keysAndFocus();

 private:
  QTemporaryDir dir_;
  QStringList messages_;
  MessageFunction previous_;
  QString Path(const char *name) const { return dir_.filePath(QString::fromLatin1(name)); }
};

void TstDialogs::initTestCase() {
  QVERIFY(dir_.isValid());
  previous_ = SetMessageFunction(
      [this](QWidget *, QMessageBox::Icon, const QString &text) { messages_ << text; });
}

void TstDialogs::cleanupTestCase() {
  SetMessageFunction(previous_);
  QLocale::setDefault(QLocale::system());
}

void TstDialogs::init() {
  messages_.clear();
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  for (const char *name : {"type.txt", "convert.txt"}) {
    const QString path = Path(name);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
      QDir(path).removeRecursively();
    else
      QFile::remove(path);
  }
}

void TstDialogs::listsTypes_data() {
  QTest::addColumn<FileKind>("kind");
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QStringList>("listed");

  QTest::newRow("line 1 left out")
      << FileKind::Bytes << QByteArray("\"ALL\"\r\n\"A\"\r\n\"B\"\r\n\"C\"\r\n")
      << QStringList{"A", "B", "C"};
  QTest::newRow("only ALL") << FileKind::Bytes << QByteArray("\"ALL\"\r\n") << QStringList{};
  QTest::newRow("missing") << FileKind::Missing << QByteArray() << QStringList{};
  QTest::newRow("empty") << FileKind::Bytes << QByteArray() << QStringList{};
  QTest::newRow("a folder") << FileKind::Folder << QByteArray() << QStringList{};
  QTest::newRow("no final line break, comma in a name")
      << FileKind::Bytes << QByteArray("\"ALL\"\r\n\"Speed, fast\"\r\n\"Time\"")
      << QStringList{"Speed, fast", "Time"};
  QTest::newRow("Windows-1252") << FileKind::Bytes << QByteArray("\"ALL\"\r\n\"Temp \xB0\"\r\n")
                                << QStringList{QStringLiteral("Temp \u00B0")};
}

void TstDialogs::listsTypes() {
  QFETCH(FileKind, kind);
  QFETCH(QByteArray, bytes);
  QFETCH(QStringList, listed);
  QVERIFY(Prepare(Path("type.txt"), kind, bytes));

  addtypes types(nullptr, dir_.path());
  QCOMPARE(types.MSFG1->TextMatrix(0, 0), QStringLiteral("CURRENT TYPES"));
  QCOMPARE(TableRows(types.MSFG1), listed);
  QCOMPARE(types.MSFG1->ColWidth(0), types.MSFG1->Width());

  addconvert convert(nullptr, dir_.path());
  QCOMPARE(ComboItems(convert.Combo1), listed);
  QCOMPARE(convert.Combo1->currentText(), QString());
  QVERIFY(messages_.isEmpty());
}

void TstDialogs::addTypeWrites_data() {
  QTest::addColumn<FileKind>("kind");
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("button");  // OK, Cancel or close
  QTest::addColumn<QByteArray>("after");

  QTest::newRow("new name") << FileKind::Bytes << kTypes << "Speed"
                            << "OK" << kTypes + "\"Speed\"\r\n";
  QTest::newRow("duplicate appended again") << FileKind::Bytes << kTypes << "Mass"
                                            << "OK" << kTypes + "\"Mass\"\r\n";
  QTest::newRow("blanks kept") << FileKind::Bytes << kTypes << "  "
                               << "OK" << kTypes + "\"  \"\r\n";
  QTest::newRow("empty writes nothing") << FileKind::Bytes << kTypes << ""
                                        << "OK" << kTypes;
  QTest::newRow("cancel") << FileKind::Bytes << kTypes << "Speed"
                          << "Cancel" << kTypes;
  QTest::newRow("close box") << FileKind::Bytes << kTypes << "Speed"
                             << "close" << kTypes;
  QTest::newRow("no final line break")
      << FileKind::Bytes << QByteArray("\"ALL\"\r\n\"Mass\"") << "Speed"
      << "OK" << QByteArray("\"ALL\"\r\n\"Mass\"\r\n\"Speed\"\r\n");
  QTest::newRow("missing file gets ALL first") << FileKind::Missing << QByteArray() << "Speed"
                                               << "OK" << QByteArray("\"ALL\"\r\n\"Speed\"\r\n");
  QTest::newRow("empty file gets ALL first") << FileKind::Bytes << QByteArray() << "Speed"
                                             << "OK" << QByteArray("\"ALL\"\r\n\"Speed\"\r\n");
  QTest::newRow("UTF-8 file") << FileKind::Bytes << kTypes << QStringLiteral("Temp \u00B0 \u03A9")
                              << "OK" << kTypes + "\"Temp \xC2\xB0 \xCE\xA9\"\r\n";
  QTest::newRow("Windows-1252 file")
      << FileKind::Bytes << QByteArray("\"ALL\"\r\n\"Temp \xB0\"\r\n") << QStringLiteral("\u20AC")
      << "OK" << QByteArray("\"ALL\"\r\n\"Temp \xB0\"\r\n\"\x80\"\r\n");
}

void TstDialogs::addTypeWrites() {
  QFETCH(FileKind, kind);
  QFETCH(QByteArray, before);
  QFETCH(QString, typed);
  QFETCH(QString, button);
  QFETCH(QByteArray, after);
  const QString path = Path("type.txt");
  QVERIFY(Prepare(path, kind, before));

  addtypes dialog(nullptr, dir_.path());
  dialog.show();
  Type(dialog.Text1, typed);
  if (button == "OK")
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
  else if (button == "Cancel")
    QTest::mouseClick(dialog.Command2, Qt::LeftButton);
  else
    dialog.close();

  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), button == "OK" ? int(QDialog::Accepted) : int(QDialog::Rejected));
  QCOMPARE(QFileInfo::exists(path), kind != FileKind::Missing || !after.isEmpty());
  QCOMPARE(ReadBytes(path), after);
  QVERIFY(messages_.isEmpty());

  // Each opening reads the file afresh: the new name is listed last.
  if (button == "OK" && !typed.isEmpty()) {
    addtypes again(nullptr, dir_.path());
    QCOMPARE(TableRows(again.MSFG1).constLast(), typed);
  }
}

void TstDialogs::addTypeRefuses_data() {
  QTest::addColumn<FileKind>("kind");
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("said");  // a part of the message

  QTest::newRow("double quote") << FileKind::Bytes << kTypes << "Big \"T\""
                                << "Add New Type";
  QTest::newRow("double quote, missing file") << FileKind::Missing << QByteArray() << "\""
                                              << "Add New Type";
  QTest::newRow("not held by Windows-1252")
      << FileKind::Bytes << QByteArray("\"ALL\"\r\n\"Temp \xB0\"\r\n") << QStringLiteral("\u03A9")
      << "Windows-1252";
  QTest::newRow("a folder in its place") << FileKind::Folder << QByteArray() << "Speed"
                                         << "folder";
  QTest::newRow("read-only file") << FileKind::ReadOnly << kTypes << "Speed"
                                  << "type.txt";
}

void TstDialogs::addTypeRefuses() {
  QFETCH(FileKind, kind);
  QFETCH(QByteArray, before);
  QFETCH(QString, typed);
  QFETCH(QString, said);
  if (kind == FileKind::ReadOnly && ::geteuid() == 0)
    QSKIP("Running as root: a read-only file can still be written.");
  const QString path = Path("type.txt");
  QVERIFY(Prepare(path, kind, before));

  addtypes dialog(nullptr, dir_.path());
  dialog.show();
  dialog.Text1->setText(typed);
  QTest::mouseClick(dialog.Command1, Qt::LeftButton);

  QVERIFY(dialog.isVisible());
  QCOMPARE(dialog.Text1->text(), typed);
  QCOMPARE(messages_.size(), 1);
  QVERIFY2(messages_[0].contains(said), qPrintable(messages_[0]));
  if (kind != FileKind::Folder) {
    QCOMPARE(QFileInfo::exists(path), kind != FileKind::Missing);
    QCOMPARE(ReadBytes(path), before);
  }
  if (kind != FileKind::Bytes || said != "Add New Type") {
    QVERIFY2(messages_[0].contains(QStringLiteral("type.txt")), qPrintable(messages_[0]));
  }
}

void TstDialogs::addConversionWrites_data() {
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<bool>("german");
  QTest::addColumn<QStringList>("fields");  // type, from, to, multiplier, adder
  QTest::addColumn<QString>("button");
  QTest::addColumn<QByteArray>("after");

  const QByteArray old = "\"foot\",\"metre\",\"Length\",\"0.3048\",0\r\n";
  QTest::newRow("all fields") << old << false
                              << QStringList{"Length", "inch", "centimetre", "2.54", "0.5"} << "OK"
                              << old + "\"inch\",\"centimetre\",\"Length\",\"2.54\",0.5\r\n";
  QTest::newRow("blank multiplier and adder")
      << old << false << QStringList{"Mass", "kg", "g", "", ""} << "OK"
      << old + "\"kg\",\"g\",\"Mass\",0,0\r\n";
  QTest::newRow("word as multiplier, negative adder")
      << old << false << QStringList{"Temperature", "C", "F", "about two", "-40"} << "OK"
      << old + "\"C\",\"F\",\"Temperature\",\"about two\",-40\r\n";
  QTest::newRow("duplicate appended again")
      << old << false << QStringList{"Length", "foot", "metre", "0.3048", "0"} << "OK" << old + old;
  QTest::newRow("grouped adder") << QByteArray() << false
                                 << QStringList{"X", "a", "b", "1", "1,000.25"} << "OK"
                                 << QByteArray("\"a\",\"b\",\"X\",\"1\",1000.25\r\n");
  QTest::newRow("comma locale: adder with full stop, multiplier as typed")
      << QByteArray() << true << QStringList{"Length", "inch", "cm", "2,54", "0,5"} << "OK"
      << QByteArray("\"inch\",\"cm\",\"Length\",\"2,54\",0.5\r\n");
  QTest::newRow("commas and blanks kept in names")
      << QByteArray() << false << QStringList{" Odd, type ", "a, b", " c", "", ""} << "OK"
      << QByteArray("\"a, b\",\" c\",\" Odd, type \",0,0\r\n");
  QTest::newRow("no final line break")
      << QByteArray("\"a\",\"b\",\"X\",0,0") << false << QStringList{"X", "c", "d", "", ""} << "OK"
      << QByteArray("\"a\",\"b\",\"X\",0,0\r\n\"c\",\"d\",\"X\",0,0\r\n");
  QTest::newRow("Windows-1252 file")
      << QByteArray(
             "\"\xB0"
             "C\",\"K\",\"T\",0,273.15\r\n")
      << false << QStringList{"T", QStringLiteral("\u00B0F"), "K", "", ""} << "OK"
      << QByteArray(
             "\"\xB0"
             "C\",\"K\",\"T\",0,273.15\r\n\"\xB0"
             "F\",\"K\",\"T\",0,0\r\n");
  QTest::newRow("empty type") << old << false << QStringList{"", "a", "b", "1", "2"} << "OK" << old;
  QTest::newRow("empty from") << old << false << QStringList{"X", "", "b", "1", "2"} << "OK" << old;
  QTest::newRow("empty to, bad adder not looked at")
      << old << false << QStringList{"X", "a", "", "1", "zz"} << "OK" << old;
  QTest::newRow("cancel") << old << false << QStringList{"X", "a", "b", "1", "2"} << "Cancel"
                          << old;
  QTest::newRow("close box") << old << false << QStringList{"X", "a", "b", "1", "2"} << "close"
                             << old;
}

void TstDialogs::addConversionWrites() {
  QFETCH(QByteArray, before);
  QFETCH(bool, german);
  QFETCH(QStringList, fields);
  QFETCH(QString, button);
  QFETCH(QByteArray, after);
  if (german) QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const QString path = Path("convert.txt");
  if (!before.isNull()) QVERIFY(WriteBytes(path, before));
  QVERIFY(WriteBytes(Path("type.txt"), kTypes));

  addconvert dialog(nullptr, dir_.path());
  dialog.show();
  Type(dialog.Combo1, fields[0]);
  Type(dialog.Text1, fields[1]);
  Type(dialog.Text2, fields[2]);
  Type(dialog.Text3, fields[3]);
  Type(dialog.Text4, fields[4]);
  QCOMPARE(dialog.Combo1->currentText(), fields[0]);
  if (button == "OK")
    QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);
  else if (button == "Cancel")
    QTest::mouseClick(dialog.CommandCancel, Qt::LeftButton);
  else
    dialog.close();

  QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(u'\n')));
  QVERIFY(!dialog.isVisible());
  QCOMPARE(ReadBytes(path), after);
  // A typed type goes into the record only.
  QCOMPARE(ReadBytes(Path("type.txt")), kTypes);
}

void TstDialogs::addConversionRefuses_data() {
  QTest::addColumn<FileKind>("kind");
  QTest::addColumn<QStringList>("fields");
  QTest::addColumn<QString>("said");

  QTest::newRow("quote in type") << FileKind::Bytes << QStringList{"\"X", "a", "b", "", ""}
                                 << "Conversion Type";
  QTest::newRow("quote in from") << FileKind::Bytes << QStringList{"X", "a\"", "b", "", ""}
                                 << "Convert From";
  QTest::newRow("quote in to") << FileKind::Bytes << QStringList{"X", "a", "\"b\"", "", ""}
                               << "Convert To";
  QTest::newRow("quote in multiplier")
      << FileKind::Bytes << QStringList{"X", "a", "b", "2\"", ""} << "Conversion Multiplier";
  QTest::newRow("adder not a number")
      << FileKind::Bytes << QStringList{"X", "a", "b", "", "abc"} << "Conversion Adder";
  QTest::newRow("adder too large")
      << FileKind::Bytes << QStringList{"X", "a", "b", "", "1E999"} << "Conversion Adder";
  QTest::newRow("not held by Windows-1252")
      << FileKind::Bytes << QStringList{"X", QStringLiteral("\u03A9"), "b", "", ""}
      << "Windows-1252";
  QTest::newRow("a folder in its place")
      << FileKind::Folder << QStringList{"X", "a", "b", "", ""} << "folder";
  if (QFileInfo::exists(QStringLiteral("/dev/full")))
    QTest::newRow("disk full") << FileKind::DevFull << QStringList{"X", "a", "b", "", ""}
                               << "convert.txt";
  QTest::newRow("read-only file") << FileKind::ReadOnly << QStringList{"X", "a", "b", "", ""}
                                  << "convert.txt";
}

void TstDialogs::addConversionRefuses() {
  QFETCH(FileKind, kind);
  QFETCH(QStringList, fields);
  QFETCH(QString, said);
  if (kind == FileKind::ReadOnly && ::geteuid() == 0)
    QSKIP("Running as root: a read-only file can still be written.");
  const QByteArray before =
      "\"\xB0"
      "C\",\"K\",\"T\",0,273.15\r\n";
  const QString path = Path("convert.txt");
  QVERIFY(Prepare(path, kind, before));

  addconvert dialog(nullptr, dir_.path());
  dialog.show();
  dialog.Combo1->setEditText(fields[0]);
  QLineEdit *edits[] = {dialog.Text1, dialog.Text2, dialog.Text3, dialog.Text4};
  for (int i = 0; i < 4; ++i) edits[i]->setText(fields[i + 1]);
  QTest::mouseClick(dialog.CommandOK, Qt::LeftButton);

  QVERIFY(dialog.isVisible());
  QCOMPARE(messages_.size(), 1);
  QVERIFY2(messages_[0].contains(said), qPrintable(messages_[0]));
  // Everything typed is still there.
  QCOMPARE(dialog.Combo1->currentText(), fields[0]);
  for (int i = 0; i < 4; ++i) QCOMPARE(edits[i]->text(), fields[i + 1]);
  if (kind == FileKind::Bytes || kind == FileKind::ReadOnly) QCOMPARE(ReadBytes(path), before);
  if (kind == FileKind::Folder) QVERIFY(QFileInfo(path).isDir());
  if (kind == FileKind::DevFull) QVERIFY(QFileInfo(path).isSymLink());
}

void TstDialogs::keysAndFocus_data() {
  QTest::addColumn<bool>("conversion");
  QTest::addColumn<int>("key");
  QTest::newRow("Add Type, Enter") << false << int(Qt::Key_Return);
  QTest::newRow("Add Type, Esc") << false << int(Qt::Key_Escape);
  QTest::newRow("Add Conversion, Enter") << true << int(Qt::Key_Return);
  QTest::newRow("Add Conversion, Esc") << true << int(Qt::Key_Escape);
}

void TstDialogs::keysAndFocus() {
  QFETCH(bool, conversion);
  QFETCH(int, key);
  QVERIFY(WriteBytes(Path("type.txt"), kTypes));
  QVERIFY(WriteBytes(Path("convert.txt"), QByteArray()));
  std::unique_ptr<QDialog> dialog;
  QList<QWidget *> expected;
  if (conversion) {
    auto *d = new addconvert(nullptr, dir_.path());
    dialog.reset(d);
    d->Combo1->setEditText(QStringLiteral("X"));
    d->Text1->setText(QStringLiteral("a"));
    d->Text2->setText(QStringLiteral("b"));
    expected = {d->Combo1, d->Text1, d->Text2, d->Text3, d->Text4, d->CommandOK, d->CommandCancel};
  } else {
    auto *d = new addtypes(nullptr, dir_.path());
    dialog.reset(d);
    d->Text1->setText(QStringLiteral("Speed"));
    expected = {d->Command1, d->MSFG1->view(), d->Command2, d->Text1};
  }
  dialog->show();
  QApplication::setActiveWindow(dialog.get());
  QVERIFY(QTest::qWaitForWindowActive(dialog.get()));

  // The first control of the tab order holds the focus on opening.
  QWidget *focus = QApplication::focusWidget();
  if (focus && focus->parentWidget() == expected[0]) focus = focus->parentWidget();
  QCOMPARE(focus, expected[0]);
  QCOMPARE(TabChain(dialog.get(), expected[0], int(expected.size())), expected);

  // Neither key presses a button or closes the dialog, whichever control has the focus.
  for (QWidget *w : expected) {
    w->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QVERIFY(dialog->isVisible());
  }
  QCOMPARE(ReadBytes(Path("type.txt")), kTypes);
  QCOMPARE(ReadBytes(Path("convert.txt")), QByteArray());
}

QTEST_MAIN(TstDialogs)
#include "tst_dialogs.moc"
