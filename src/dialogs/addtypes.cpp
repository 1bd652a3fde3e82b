#include "dialogs/addtypes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "data/conversion_data.h"
#include "dialogs/message_box.h"
#include "main_window/design.h"
#include "table/flex_grid.h"

namespace qlc {

namespace {

// True when the file is missing or holds nothing but blanks, line breaks and a byte-order
// mark: it has no all-types line yet.
bool LacksAllTypesLine(const QString &path) {
  const QFileInfo info(path);
  // A folder or a device in its place is left to the append to report.
  if (!info.isFile()) return !info.exists();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  QByteArray bytes = file.readAll();
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);  // an empty file saved as UTF-8
  return bytes.trimmed().isEmpty();
}

// Appends the type, first writing the all-types line when the file has none, so that the
// new type does not become line 1 (which the Add dialogs hide and the main window shows
// as "ALL"). On failure the file is as it was.
AppendResult AppendType(const QString &path, const QString &line) {
  if (!LacksAllTypesLine(path)) return AppendLine(path, line);
  const bool existed = QFileInfo::exists(path);
  const qint64 oldSize = existed ? QFileInfo(path).size() : 0;
  AppendResult result = AppendLine(path, *TypeLine(QStringLiteral("ALL")));
  if (!result.ok) return result;
  result = AppendLine(path, line);
  if (!result.ok) {
    // Take the all-types line back out.
    if (existed)
      QFile(path).resize(oldSize);
    else
      QFile::remove(path);
  }
  return result;
}

}  // namespace

QStringList ListedTypes(const QString &typePath) {
  const TypesFile file = ReadTypeFile(typePath);
  if (file.report.missing) return {};
  QStringList names = file.names;
  if (!names.isEmpty()) names.removeFirst();
  return names;
}

bool AddDialogKey(QDialog *dialog, QKeyEvent *event) {
  const int key = event->key();
  if (key != Qt::Key_Escape && key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  // A focused button leaves Enter to the dialog, as it is no default button.
  if (key != Qt::Key_Escape)
    if (auto *button = qobject_cast<QPushButton *>(dialog->focusWidget())) button->click();
  event->accept();
  return true;
}

addtypes::addtypes(QWidget *parent, const QString &folder) : QDialog(parent) {
  setObjectName(QStringLiteral("addtypes"));
  setWindowTitle(QStringLiteral("Add Type"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  setModal(true);
  setFont(DesignFont(Face::Arial, 8.25));
  resize(TwipsToPx(4680), TwipsToPx(3195));
  typePath_ =
      QDir(folder.isEmpty() ? QDir::currentPath() : folder).filePath(QStringLiteral("type.txt"));

  MSFG1 = new FlexGrid(1, this, this);
  MSFG1->setObjectName(QStringLiteral("MSFG1"));
  QTableView *grid = MSFG1->view();
  grid->setObjectName(QStringLiteral("MSFG1"));
  grid->setToolTip(QStringLiteral("Conversion Types"));
  grid->setAccessibleName(QStringLiteral("Conversion Types"));
  PlaceTwips(grid, 240, 240, 2055, 1935);

  Label1 = new QLabel(QStringLiteral("Add New Type"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  PlaceTwips(Label1, 2520, 960, 1935, 375);

  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setAccessibleName(QStringLiteral("Add New Type"));
  PlaceTwips(Text1, 2520, 1200, 1935, 285);
  Label1->setBuddy(Text1);

  Command1 = MakeButton(this, "Command1", QStringLiteral("OK"), false);
  PlaceTwips(Command1, 600, 2520, 1215, 375);
  Command2 = MakeButton(this, "Command2", QStringLiteral("Cancel"), false);
  PlaceTwips(Command2, 2640, 2520, 1335, 375);

  // Tab order: OK, the table, Cancel, the field; OK holds the focus on opening.
  setTabOrder(Command1, grid);
  setTabOrder(grid, Command2);
  setTabOrder(Command2, Text1);
  Command1->setFocus();

  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
  Form_Load();
}

addtypes::~addtypes() = default;

void addtypes::Form_Load() {
  MSFG1->SetTextMatrix(0, 0, QStringLiteral("CURRENT TYPES"));
  MSFG1->SetColWidth(0, MSFG1->Width());
  MSFG1->SetRedraw(false);
  MSFG1->ClearBody();
  for (const QString &name : ListedTypes(typePath_)) MSFG1->AddItem(name);
  MSFG1->SetRedraw(true);
}

void addtypes::Command1_Click() {
  const QString name = Text1->text();
  if (!name.isEmpty()) {
    const auto line = TypeLine(name);
    if (!line) {
      ShowMessage(this, QMessageBox::Warning,
                  QStringLiteral("\"Add New Type\" holds a double quote (\"), which type.txt "
                                 "cannot store. Please remove it and press OK again."));
      return;
    }
    const AppendResult result = AppendType(typePath_, *line);
    if (!result.ok) {
      ShowMessage(this, QMessageBox::Warning,
                  QStringLiteral("The type could not be added to %1.\n\n%2")
                      .arg(QDir::toNativeSeparators(typePath_), result.error));
      return;
    }
  }
  accept();
}

void addtypes::Command2_Click() {
  reject();
}

void addtypes::keyPressEvent(QKeyEvent *event) {
  if (!AddDialogKey(this, event)) QDialog::keyPressEvent(event);
}

}  // namespace qlc
