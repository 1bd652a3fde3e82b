// The Add Type and Add Conversion dialogs: what they list, the bytes they append, and how
// they refuse what cannot be written.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
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
enum class FileKind { Bytes, Folder, DevFull };

const QByteArray kTypes = "\"ALL\"\r\n\"Length\"\r\n\"Mass\"\r\n";
const QByteArray kConvert = "\"kg\",\"g\",\"Mass\",0,0\r\n";

// An open dialog: Add Conversion when more than one text is to be typed.
struct Dialog {
  std::unique_ptr<QDialog> box;
  QList<QLineEdit *> fields;  // in the order they are filled
  QPushButton *ok, *cancel;
};

Dialog Open(const QString &dir, bool conversion) {
  Dialog d;
  if (conversion) {
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
  return d;
}

// Types each text key by key into its field, as the user would; any character, not only ASCII.
void Fill(const Dialog &d, const QStringList &texts) {
  for (int i = 0; i < texts.size() && i < d.fields.size(); ++i)
    for (const QChar c : texts[i])
      QTest::sendKeyEvent(QTest::Click, d.fields[i], Qt::Key_unknown, QString(c), {});
}

}  // namespace

class TstDialogs : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void listsTypes();
  void writes_data();
  void writes();
  void refuses_data();
  void refuses();
  void enterAndEscape_data();
  void enterAndEscape();

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QStringList messages_;
  QString Path(bool conversion) const {
    return dir_->filePath(conversion ? QStringLiteral("convert.txt") : QStringLiteral("type.txt"));
  }
};

void TstDialogs::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(dir_->isValid());
  messages_.clear();
  SetMessageFunction([this](QWidget *, QMessageBox::Icon, const QString &t) { messages_ << t; });
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TstDialogs::listsTypes() {
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

void TstDialogs::writes_data() {
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
  row("no CR LF at end", "\"ALL\"\r\n\"Mass\"", {"Speed"}, "\"ALL\"\r\n\"Mass\"\r\n\"Speed\"\r\n");
  row("ALL into missing", QByteArray(), {"Speed"}, "\"ALL\"\r\n\"Speed\"\r\n");
  row("ALL into empty", "", {"Speed"}, "\"ALL\"\r\n\"Speed\"\r\n");
  row("ALL after BOM", "\xEF\xBB\xBF", {"Speed"}, "\xEF\xBB\xBF\"ALL\"\r\n\"Speed\"\r\n");
  row("conv", kConvert, {"Length", "inch, US", " cm", "2.54", "0.5"},
      kConvert + "\"inch, US\",\" cm\",\"Length\",\"2.54\",0.5\r\n");
  row("conv again, 0 for blanks", kConvert, {"Mass", "kg", "g", "", ""}, kConvert + kConvert);
  // The type is written as typed: not completed from the list, not matched ignoring case.
  row("type as typed", kConvert, {"mas", "kg", "g"}, kConvert + "\"kg\",\"g\",\"mas\",0,0\r\n");
  row("type case kept", kConvert, {"mass", "kg", "g"}, kConvert + "\"kg\",\"g\",\"mass\",0,0\r\n");
  // Run under de_DE: the multiplier is kept as typed, the adder written with a full stop.
  row("de_DE", QByteArray(), {"Area", "in", "cm", "2,54", "0,5"},
      "\"in\",\"cm\",\"Area\",\"2,54\",0.5\r\n");
  row("empty type", kConvert, {"", "a", "b"}, kConvert);
  row("empty from", kConvert, {"X", "", "b"}, kConvert);
  row("empty to", kConvert, {"X", "a", "", "1", "zz"}, kConvert);
  row("conv cancel", kConvert, {"X", "a", "b", "1", "2"}, kConvert, false);
}

void TstDialogs::writes() {
  QFETCH(QByteArray, before);
  QFETCH(QStringList, typed);
  QFETCH(bool, ok);
  QFETCH(QByteArray, after);
  if (QByteArray(QTest::currentDataTag()) == "de_DE")
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const bool conversion = typed.size() > 1;
  if (conversion) QVERIFY(WriteBytes(Path(false), kTypes));
  if (!before.isNull()) QVERIFY(WriteBytes(Path(conversion), before));

  Dialog d = Open(dir_->path(), conversion);
  QVERIFY(QTest::qWaitForWindowActive(d.box.get()));
  Fill(d, typed);
  QTest::mouseClick(ok ? d.ok : d.cancel, Qt::LeftButton);

  QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(u'\n')));
  QVERIFY(!d.box->isVisible());
  QCOMPARE(d.box->result(), ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
  QCOMPARE(QFileInfo::exists(Path(conversion)), !after.isNull());
  QCOMPARE(ReadBytes(Path(conversion)), after);
  if (conversion) QCOMPARE(ReadBytes(Path(false)), kTypes);  // the typed type is not added
}

void TstDialogs::refuses_data() {
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

void TstDialogs::refuses() {
  QFETCH(FileKind, kind);
  QFETCH(QStringList, typed);
  QFETCH(QString, said);
  const bool conversion = typed.size() > 1;
  const QString path = Path(conversion);
  // A Windows-1252 file: the degree sign is one byte.
  const QByteArray before = conversion ? QByteArray("\"\xB0\",\"K\",\"T\",0,273.15\r\n") : kTypes;
  if (kind == FileKind::Folder) QVERIFY(QDir().mkpath(path));
  if (kind == FileKind::DevFull) QVERIFY(QFile::link(QStringLiteral("/dev/full"), path));
  if (kind == FileKind::Bytes) QVERIFY(WriteBytes(path, before));

  Dialog d = Open(dir_->path(), conversion);
  Fill(d, typed);
  QTest::mouseClick(d.ok, Qt::LeftButton);

  QVERIFY(d.box->isVisible());
  QCOMPARE(messages_.size(), 1);
  QVERIFY2(messages_[0].contains(said), qPrintable(messages_[0]));
  for (int i = 0; i < typed.size(); ++i) QCOMPARE(d.fields[i]->text(), typed[i]);
  if (kind == FileKind::Bytes) QCOMPARE(ReadBytes(path), before);
  if (kind == FileKind::Folder) QVERIFY(QFileInfo(path).isDir());
}

void TstDialogs::enterAndEscape_data() {
  QTest::addColumn<bool>("conversion");
  QTest::addColumn<QString>("control");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("result");  // -1: the dialog stays open
  const int stays = -1, ok = QDialog::Accepted, cancel = QDialog::Rejected;
  const QStringList fields[] = {{"Text1", "MSFG1"}, {"Combo1", "Text1", "Text2", "Text3", "Text4"}};
  for (const bool conversion : {false, true}) {
    const QString okName = conversion ? "CommandOK" : "Command1";
    const QString cancelName = conversion ? "CommandCancel" : "Command2";
    // Enter presses the button that has the focus; nothing else reacts to Enter or Esc.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
      const bool enter = key != Qt::Key_Escape;
      auto row = [&](const QString &control, int result) {
        QTest::addRow("%s %s %s", conversion ? "addconvert" : "addtypes", qPrintable(control),
                      qPrintable(QKeySequence(key).toString()))
            << conversion << control << int(key) << result;
      };
      row(okName, enter ? ok : stays);
      row(cancelName, enter ? cancel : stays);
      for (const QString &field : fields[conversion]) row(field, stays);
    }
  }
}

void TstDialogs::enterAndEscape() {
  QFETCH(bool, conversion);
  QFETCH(QString, control);
  QFETCH(int, key);
  QFETCH(int, result);
  QVERIFY(WriteBytes(Path(false), kTypes));
  Dialog d = Open(dir_->path(), conversion);
  QVERIFY(QTest::qWaitForWindowActive(d.box.get()));
  Fill(d, {"Speed", "a", "b"});
  auto *target = d.box->findChild<QWidget *>(control);
  QVERIFY(target);
  target->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
  QCOMPARE(d.box->isVisible(), result == -1);
  if (result != -1) QCOMPARE(d.box->result(), result);
  const QByteArray typeLine = conversion ? "" : "\"Speed\"\r\n";
  QCOMPARE(ReadBytes(Path(false)), kTypes + (result == QDialog::Accepted ? typeLine : ""));
  QCOMPARE(ReadBytes(Path(true)),
           result == QDialog::Accepted && conversion ? "\"a\",\"b\",\"Speed\",0,0\r\n" : "");
}

QTEST_MAIN(TstDialogs)
#include "tst_dialogs.moc"
