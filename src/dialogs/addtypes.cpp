#include "dialogs/addtypes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "data/conversion_data.h"
#include "data/type_list.h"
#include "table/flex_grid.h"
#include "widgets/design.h"
#include "widgets/message_box.h"

namespace qlc {

addtypes::addtypes(QWidget *parent, const QString &folder)
    : AddDialog(parent, "addtypes", QStringLiteral("Add Type"), 3195, folder) {
  typePath_ = DataPath(kTypeFileName);

  MSFG1 = new FlexGrid(1, this, this);
  MSFG1->setObjectName(QStringLiteral("MSFG1"));
  QTableView *grid = MSFG1->view();
  grid->setObjectName(QStringLiteral("MSFG1"));
  grid->setToolTip(QStringLiteral("Conversion Types"));
  grid->setAccessibleName(QStringLiteral("Conversion Types"));
  PlaceTwips(grid, 240, 240, 2055, 1935);

  Label1 = PlaceTwips(MakeLabel(this, "Label1", QStringLiteral("Add New Type"),
                                Qt::AlignLeft | Qt::AlignTop, font()),
                      2520, 960, 1935, 375);

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

}  // namespace qlc
