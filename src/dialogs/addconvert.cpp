#include "dialogs/addconvert.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "data/conversion_data.h"
#include "data/type_list.h"
#include "numbers/read_number.h"
#include "widgets/design.h"
#include "widgets/message_box.h"

namespace qlc {

namespace {

QLineEdit *MakeField(QWidget *parent, const char *name, QLabel *label, int top) {
  auto *field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  QString caption = label->text();
  if (caption.endsWith(u':')) caption.chop(1);
  field->setAccessibleName(caption);
  label->setBuddy(field);
  PlaceTwips(field, 2040, top, 2295, 285);
  return field;
}

}  // namespace

addconvert::addconvert(QWidget *parent, const QString &folder)
    : AddDialog(parent, "addconvert", QStringLiteral("Add Conversion"), 3750, folder) {
  typePath_ = DataPath(kTypeFileName);
  convertPath_ = DataPath(kConvertFileName);

  Label6 = PlaceTwips(
      MakeLabel(
          this, "Label6",
          QStringLiteral("Choose from an existing Type category then add your new conversion."),
          Qt::AlignLeft | Qt::AlignTop, font(), true),
      360, 240, 3975, 495);

  Label5 = PlaceTwips(MakeLabel(this, "Label5", QStringLiteral("Conversion Type:"),
                                Qt::AlignRight | Qt::AlignVCenter, font()),
                      480, 1080, 1455, 255);
  Combo1 = new QComboBox(this);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->setEditable(true);
  // A typed type goes into the record only, never into the list; and it goes there as typed:
  // a completer would complete it from the list and match it ignoring case.
  Combo1->setInsertPolicy(QComboBox::NoInsert);
  Combo1->setCompleter(nullptr);
  Combo1->setAccessibleDescription(QStringLiteral("Conversion Type"));
  Label5->setBuddy(Combo1);
  PlaceTwips(Combo1, 2040, 1080, 2295, 315);

  Label1 = PlaceTwips(MakeLabel(this, "Label1", QStringLiteral("Convert From:"),
                                Qt::AlignRight | Qt::AlignVCenter, font()),
                      840, 1440, 1095, 255);
  Text1 = MakeField(this, "Text1", Label1, 1440);
  Label2 = PlaceTwips(MakeLabel(this, "Label2", QStringLiteral("Convert To:"),
                                Qt::AlignRight | Qt::AlignVCenter, font()),
                      960, 1800, 975, 255);
  Text2 = MakeField(this, "Text2", Label2, 1800);
  Label3 = PlaceTwips(MakeLabel(this, "Label3", QStringLiteral("Conversion Multiplier:"),
                                Qt::AlignRight | Qt::AlignVCenter, font()),
                      360, 2160, 1575, 255);
  Text3 = MakeField(this, "Text3", Label3, 2160);
  Label4 = PlaceTwips(MakeLabel(this, "Label4", QStringLiteral("Conversion Adder:"),
                                Qt::AlignRight | Qt::AlignVCenter, font()),
                      480, 2520, 1455, 255);
  Text4 = MakeField(this, "Text4", Label4, 2520);

  CommandOK = MakeButton(this, "CommandOK", QStringLiteral("OK"), false);
  PlaceTwips(CommandOK, 720, 3120, 1095, 375);
  CommandCancel = MakeButton(this, "CommandCancel", QStringLiteral("Cancel"), false);
  PlaceTwips(CommandCancel, 2760, 3120, 1215, 375);

  setTabOrder(Combo1, Text1);
  setTabOrder(Text1, Text2);
  setTabOrder(Text2, Text3);
  setTabOrder(Text3, Text4);
  setTabOrder(Text4, CommandOK);
  setTabOrder(CommandOK, CommandCancel);
  Combo1->setFocus();

  connect(CommandOK, &QPushButton::clicked, this, [this] { CommandOK_Click(); });
  connect(CommandCancel, &QPushButton::clicked, this, [this] { CommandCancel_Click(); });
  Form_Load();
}

addconvert::~addconvert() = default;

void addconvert::Form_Load() {
  Combo1->clear();
  Combo1->addItems(ListedTypes(typePath_));
  // Type names are often wider than the box: the open list shows them whole.
  FitListToEntries(Combo1);
  // The box opens empty: a type is picked or typed, never taken by default.
  Combo1->setCurrentIndex(-1);
  Combo1->setEditText(QString());
}

void addconvert::Refuse(const QString &text) {
  ShowMessage(this, QMessageBox::Warning, text);
}

void addconvert::CommandOK_Click() {
  const QString typeName = Combo1->currentText();
  const QString fromUnit = Text1->text();
  const QString toUnit = Text2->text();
  if (typeName.isEmpty() || fromUnit.isEmpty() || toUnit.isEmpty()) {
    accept();
    return;
  }
  const QString multiplier = Text3->text();
  const std::pair<const QString *, const char *> quotable[] = {
      {&typeName, "Conversion Type"},
      {&fromUnit, "Convert From"},
      {&toUnit, "Convert To"},
      {&multiplier, "Conversion Multiplier"}};
  for (const auto &[text, field] : quotable) {
    if (text->contains(u'"')) {
      Refuse(QStringLiteral("\"%1\" holds a double quote (\"), which convert.txt cannot store. "
                            "Please remove it and press OK again.")
                 .arg(QLatin1String(field)));
      return;
    }
  }
  double adder = 0.0;
  if (!Text4->text().isEmpty()) {
    const ReadResult read = ReadNumber(Text4->text(), CurrentSeparators());
    if (!read.ok()) {
      Refuse(read.status == ReadStatus::Overflow
                 ? QStringLiteral("\"Conversion Adder\" is too large a number. Please enter a "
                                  "smaller one and press OK again.")
                 : QStringLiteral("\"Conversion Adder\" is not a number. Please enter a number "
                                  "(or leave it empty for 0) and press OK again."));
      return;
    }
    adder = read.value;
  }
  const auto line = RecordLine(fromUnit, toUnit, typeName,
                               FileMultiplierText(multiplier, CurrentSeparators()), adder);
  if (!line) {
    Refuse(QStringLiteral("The conversion cannot be written to convert.txt."));
    return;
  }
  const AppendResult result = AppendLine(convertPath_, *line);
  if (!result.ok) {
    Refuse(QStringLiteral("The conversion could not be added to %1.\n\n%2")
               .arg(QDir::toNativeSeparators(convertPath_), result.error));
    return;
  }
  accept();
}

void addconvert::CommandCancel_Click() {
  reject();
}

}  // namespace qlc
