// The Add Type and Add Conversion dialogs, typed into and clicked as a user would: what they
// list, the bytes they append, what the next start makes of them, and how they refuse what
// cannot be written.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "dialogs/addconvert.h"
#include "dialogs/addtypes.h"
#include "doubles.h"
#include "main_window/frm_main.h"
#include "table/flex_grid.h"
#include "test_support.h"
#include "widgets/caption_label.h"

using namespace qlc;
using qlc::test::ReadBytes;
using qlc::test::WriteBytes;

namespace {

const QByteArray kTypes = "\"ALL\"\r\n\"Length\"\r\n\"Mass\"\r\n";
const QByteArray kConvert = "\"kg\",\"g\",\"Mass\",0,0\r\n";
const QByteArray kLatin1 = "\"\xB0\",\"K\",\"T\",0,273.15\r\n";  // the degree sign is one byte

struct Row {
  const char *name;
  QStringList typed;           // the type; or type, from, to, multiplier, adder
  QByteArray before = {};      // the file's bytes; null: no file
  QByteArray after = {};       // null: as before
  const char *said = nullptr;  // a refusal: a part of its message
  bool folder = false;         // a folder stands where the file should be
  const char *locale = "en_US";
  // Started afresh under this locale, the main window converts 1 through the new record to
  // this text.
  const char *readIn = nullptr, *converts = nullptr;
};

// An open dialog, Add Conversion when more than one text is to be typed: OK, Cancel, the
// fields in the order they are filled, and the type list.
struct Dialog {
  std::unique_ptr<QDialog> box;
  QList<QWidget *> controls;
  QLineEdit *Field(int i) const { return qobject_cast<QLineEdit *>(controls[2 + i]); }
};

Dialog Open(const QString &dir, const QStringList &typed) {
  Dialog d;
  if (typed.size() > 1) {
    auto *c = new addconvert(nullptr, dir);
    d = {std::unique_ptr<QDialog>(c),
         {c->CommandOK, c->CommandCancel, c->Combo1->lineEdit(), c->Text1, c->Text2, c->Text3,
          c->Text4}};
  } else {
    auto *t = new addtypes(nullptr, dir);
    d = {std::unique_ptr<QDialog>(t), {t->Command1, t->Command2, t->Text1, t->MSFG1->view()}};
  }
  d.box->show();
  QApplication::setActiveWindow(d.box.get());
  if (!QTest::qWaitForWindowActive(d.box.get())) qWarning("the dialog is not active");
  // Each text key by key into its field; any character, not only ASCII.
  for (int i = 0; i < typed.size(); ++i)
    for (const QChar c : typed[i])
      QTest::sendKeyEvent(QTest::Click, d.Field(i), Qt::Key_unknown, QString(c), {});
  return d;
}

}  // namespace

class TstDialogs : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  test::ModalAnswers answers_;
  QString Path(bool conversion) const {
    return dir_->filePath(conversion ? QStringLiteral("convert.txt") : QStringLiteral("type.txt"));
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    answers_.texts.clear();
    answers_.own = {"addconvert", "addtypes"};
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }

  // The type list leaves line 1 out and shows names whole, wider than the box; a click in it
  // puts the listed name into the box.
  void listsTypes() {
    QVERIFY(
        WriteBytes(Path(false), "\"ALL\"\r\n\"A, b\"\r\n\"ELECTRIC CONDUCTIVITY OF SEAWATER\""));
    addconvert convert(nullptr, dir_->path());
    convert.show();
    convert.Combo1->showPopup();
    QAbstractItemView *list = convert.Combo1->view();
    QCOMPARE(list->model()->rowCount(), 2);
    const QModelIndex longest = list->model()->index(1, 0);
    QVERIFY(list->sizeHintForIndex(longest).width() <= list->viewport()->width());
    QCOMPARE(convert.Combo1->currentText(), QString());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(0, 0)).center());
    QCOMPARE(convert.Combo1->currentText(), QString("A, b"));
  }

  // OK appends a line, or refuses: says what is wrong, keeps the dialog open with every
  // text and the file as it was.
  void ok_data() {
    // clang-format off
    const Row rows[] = {
        {.name = "type empty", .typed = {""}, .before = kTypes},
        {.name = "type of blanks, as typed", .typed = {"  "}, .before = kTypes, .after = kTypes + "\"  \"\r\n"},
        {.name = "no CR LF at end", .typed = {"Speed"}, .before = "\"ALL\"\r\n\"Mass\"", .after = "\"ALL\"\r\n\"Mass\"\r\n\"Speed\"\r\n"},
        {.name = "ALL into missing", .typed = {"Speed"}, .after = "\"ALL\"\r\n\"Speed\"\r\n"},
        // The readers skip both marks, so Add Type must too.
        {.name = "ALL after two BOMs", .typed = {"Speed"}, .before = "\xEF\xBB\xBF\xEF\xBB\xBF", .after = "\xEF\xBB\xBF\xEF\xBB\xBF\"ALL\"\r\n\"Speed\"\r\n"},
        {.name = "ALL after blank lines", .typed = {"Speed"}, .before = "\r\n \r\n", .after = "\r\n \r\n\"ALL\"\r\n\"Speed\"\r\n"},
        {.name = "conv", .typed = {"Length", "inch, US", " cm", "2.54", "0.5"}, .before = kConvert, .after = kConvert + "\"inch, US\",\" cm\",\"Length\",\"2.54\",0.5\r\n"},
        {.name = "conv again, 0 for blanks", .typed = {"Mass", "kg", "g", "", ""}, .before = kConvert, .after = kConvert + kConvert},
        // The type is written as typed: not completed from the list, not matched ignoring case.
        {.name = "type as typed", .typed = {"mas", "kg", "g"}, .before = kConvert, .after = kConvert + "\"kg\",\"g\",\"mas\",0,0\r\n"},
        {.name = "type case kept", .typed = {"mass", "kg", "g"}, .before = kConvert, .after = kConvert + "\"kg\",\"g\",\"mass\",0,0\r\n"},
        // A number is written in the files' form, to read back the same in any locale; a
        // number already in that form and any other text as typed.
        {.name = "de_DE", .typed = {"Area", "in", "cm", "2,54", "0,5"}, .after = "\"in\",\"cm\",\"Area\",\"2.54\",0.5\r\n", .locale = "de_DE", .readIn = "en_US", .converts = "3.04"},
        // In German 1.000 is a thousand, as Convert From reads it, not the files' 1.0.
        {.name = "de_DE grouped", .typed = {"Area", "in", "cm", "1.000"}, .after = "\"in\",\"cm\",\"Area\",\"1000\",0\r\n", .locale = "de_DE"},
        {.name = "en_US grouped", .typed = {"Area", "in", "cm", "1,234.5"}, .after = "\"in\",\"cm\",\"Area\",\"1234.5\",0\r\n", .readIn = "de_DE", .converts = "1234,50"},
        {.name = "en_US file form", .typed = {"Area", "in", "cm", "2.540"}, .after = "\"in\",\"cm\",\"Area\",\"2.540\",0\r\n", .readIn = "de_DE", .converts = "2,54"},
        {.name = "multiplier a word", .typed = {"Area", "in", "cm", " 2 kg "}, .after = "\"in\",\"cm\",\"Area\",\" 2 kg \",0\r\n"},
        {.name = "empty type", .typed = {"", "a", "b"}, .before = kConvert},
        {.name = "empty to", .typed = {"X", "a", "", "1", "zz"}, .before = kConvert},
        {.name = "type quote", .typed = {"Big \"T\""}, .before = kTypes, .said = "Add New Type"},
        {.name = "type folder", .typed = {"Speed"}, .said = "type.txt", .folder = true},
        {.name = "conversion folder", .typed = {"X", "a", "b"}, .said = "convert.txt", .folder = true},
        {.name = "quote in type", .typed = {"\"X", "a", "b"}, .before = kLatin1, .said = "Conversion Type"},
        {.name = "quote in to unit", .typed = {"X", "a", "b\""}, .before = kLatin1, .said = "Convert To"},
        {.name = "adder not a number", .typed = {"X", "a", "b", "", "abc"}, .before = kLatin1, .said = "Conversion Adder"},
        {.name = "not Windows-1252", .typed = {"X", QStringLiteral("\u03A9"), "b"}, .before = kLatin1, .said = "Windows-1252"},
    };
    // clang-format on
    test::AddRows(rows);
  }
  void ok() {
    QFETCH(Row, row);
    QLocale::setDefault(QLocale(QString::fromLatin1(row.locale)));
    const bool conversion = row.typed.size() > 1;
    const QString path = Path(conversion);
    if (conversion) QVERIFY(WriteBytes(Path(false), kTypes));
    if (row.folder) QVERIFY(QDir().mkpath(path));
    if (!row.before.isNull()) QVERIFY(WriteBytes(path, row.before));
    Dialog d = Open(dir_->path(), row.typed);
    // The design's width and title-bar buttons; Add Type lists the types in one full column.
    QCOMPARE(d.box->width(), 312);
    QVERIFY(d.box->windowFlags() & Qt::WindowMinMaxButtonsHint);
    if (const auto *types = qobject_cast<addtypes *>(d.box.get())) {
      QCOMPARE(types->MSFG1->TextMatrix(0, 0), "CURRENT TYPES");
      QVERIFY(types->MSFG1->view()->columnWidth(0) >= types->MSFG1->view()->viewport()->width());
    }
    QTest::mouseClick(qobject_cast<QPushButton *>(d.controls[0]), Qt::LeftButton);
    const QStringList &said = answers_.texts;
    QCOMPARE(said.size(), row.said ? 1 : 0);
    if (row.said) QVERIFY2(said[0].contains(row.said), qPrintable(said[0]));
    QCOMPARE(d.box->isVisible() ? -1 : d.box->result(), row.said ? -1 : int(QDialog::Accepted));
    for (int i = 0; i < row.typed.size(); ++i) QCOMPARE(d.Field(i)->text(), row.typed[i]);
    if (row.folder)
      QVERIFY(QFileInfo(path).isDir());
    else
      QCOMPARE(ReadBytes(path), row.after.isNull() ? row.before : row.after);
    if (conversion) QCOMPARE(ReadBytes(Path(false)), kTypes);  // the typed type is not added
    if (!row.converts) return;
    QLocale::setDefault(QLocale(QString::fromLatin1(row.readIn)));
    QVERIFY(QDir::setCurrent(dir_->path()));
    frmMain window;
    window.show();
    QTableView *table = window.MSFlexGrid1->view();
    const QModelIndex added = table->model()->index(table->model()->rowCount() - 1, 0);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(added).center());
    QCOMPARE(window.Label1->text() + ' ' + window.Text2->text(), "in " + QString(row.converts));
  }

  // Enter presses the focused OK or Cancel; nothing else reacts to Enter or Escape.
  void enterAndEscape_data() {
    // clang-format off
    const Row rows[] = {{.name = "addtypes", .typed = {"Speed"}, .after = "\"Speed\"\r\n"},
                        {.name = "addconvert", .typed = {"Speed", "a", "b"}, .after = "\"a\",\"b\",\"Speed\",0,0\r\n"}};
    // clang-format on
    test::AddRows(rows);
  }
  void enterAndEscape() {
    QFETCH(Row, row);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
      for (int i = 0, count = 1; i < count; ++i) {
        QVERIFY(WriteBytes(Path(false), kTypes) && WriteBytes(Path(true), ""));
        Dialog d = Open(dir_->path(), row.typed);
        count = int(d.controls.size());
        d.controls[i]->setFocus();
        QTest::keyClick(QApplication::focusWidget(), key);
        // OK accepts (1), Cancel rejects (0); -1: the dialog stays open.
        const int expected = key == Qt::Key_Escape || i > 1 ? -1 : i == 0 ? 1 : 0;
        const QByteArray added = expected == QDialog::Accepted ? row.after : "";
        const QByteArray files = ReadBytes(Path(false)) + '|' + ReadBytes(Path(true));
        const QString what = d.controls[i]->objectName() + ' ' + QKeySequence(key).toString();
        QVERIFY2((d.box->isVisible() ? -1 : d.box->result()) == expected, qPrintable(what));
        QVERIFY2(files == kTypes + (row.typed.size() > 1 ? "|" + added : added + '|'),
                 qPrintable(what + ": " + files));
      }
    }
  }
};

QTEST_MAIN(TstDialogs)
#include "tst_dialogs.moc"
