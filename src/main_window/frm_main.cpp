#include "main_window/frm_main.h"

#include <QDir>
#include <QFrame>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "data/conversion_data.h"
#include "main_window/first_frame.h"
#include "main_window/tray_state.h"
#include "platform/services.h"
#include "table/flex_grid.h"
#include "widgets/caption_label.h"
#include "widgets/design.h"
#include "widgets/pick_combo.h"

namespace qlc {

namespace {

QFont ArialFont(double points, bool bold = false) {
  return DesignFont(Face::Arial, points, bold);
}

QToolButton *MakePageButton(QWidget *parent, const char *name, const char *image,
                            const QString &tip) {
  auto *button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  SetButtonPicture(button, image);
  button->setIconSize(QSize(11, 9));
  button->setToolTip(tip);
  button->setAccessibleName(tip);
  button->setFocusPolicy(Qt::TabFocus);
  button->setAutoRaise(false);
  return button;
}

}  // namespace

QString frmMain::SalesAddress() {
  return QStringLiteral("sales@quellor.example");
}

frmMain::frmMain(QWidget *parent) : QMainWindow(parent), tray_(std::make_unique<TrayState>()) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("QUELLOR - UNIT CONVERTER"));
  setWindowIcon(Picture("icon"));
  // A fixed window with a close box and no minimise or maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  BuildControls();
  BuildMenus();
  // The window's own size is fixed (minimum = maximum), so that window managers offer no
  // resizing and no maximising.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  Form_Load();
  // What the first frame does not show waits until the window is on the screen: the width
  // of the type list's popup, and the tray icon, whose look-ups of the desktop's tray (an
  // X selection, or the session bus) would otherwise delay that frame.
  afterFirstFrame_ = new AfterFirstFrame(this, [this] {
    // The list may be wider than the narrow box, so that group names are not cut.
    FitListToEntries(Combo1);
    if (ShellTrayAdd() == 1) HookWindow();
  });
}

frmMain::~frmMain() = default;

void frmMain::BuildControls() {
  auto *client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(TwipsToPx(6840), TwipsToPx(4500));
  setCentralWidget(client);
  BuildTitle(client);
  BuildTable(client);
  BuildChoosers(client);
  BuildValueFields(client);
  BuildContacts(client);
  // Tab order: Text1, the table, Text2, the four buttons, the two choosers, then the links.
  QWidget *const order[] = {
      Text1,  MSFlexGrid1->view(), Text2, TopBtn, PrevBtn, NextBtn, BtmBtn, Combo1, Combo2, Label11,
      Label13};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void frmMain::BuildTitle(QWidget *client) {
  Line1 = new QFrame(client);
  Line1->setObjectName(QStringLiteral("Line1"));
  Line1->setFrameShape(QFrame::HLine);
  Line1->setFrameShadow(QFrame::Sunken);
  Line1->setGeometry(0, 0, TwipsToPx(9480), 2);

  Image2 = new QLabel(client);
  Image2->setObjectName(QStringLiteral("Image2"));
  Image2->setPixmap(Picture("logo").pixmap(QSize(147, 70)));
  Image2->setAccessibleDescription(QStringLiteral("Quellor logo"));
  PlaceTwips(Image2, 240, 120, 2205, 1050);

  Label12 = MakeLabel(client, "Label12", QStringLiteral("UNIT"), Qt::AlignHCenter | Qt::AlignTop,
                      DesignFont(Face::CopperplateGothicBold, 26.25, true));
  SetNavy(Label12);
  PlaceTwips(Label12, 2760, 120, 3975, 615);
  Label8 = MakeLabel(client, "Label8", QStringLiteral("CONVERTER"), Qt::AlignHCenter | Qt::AlignTop,
                     DesignFont(Face::CopperplateGothicBold, 26.25, true));
  SetNavy(Label8);
  PlaceTwips(Label8, 2760, 600, 3975, 495);
}

void frmMain::BuildTable(QWidget *client) {
  FG1 = new FlexGrid(5, nullptr, this);
  FG1->setObjectName(QStringLiteral("FG1"));
  MSFlexGrid1 = new FlexGrid(5, client, this);
  MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
  QTableView *grid = MSFlexGrid1->view();
  grid->setObjectName(QStringLiteral("MSFlexGrid1"));
  grid->setToolTip(QStringLiteral("Sort"));
  grid->setAccessibleName(QStringLiteral("Conversions"));
  grid->setAccessibleDescription(QStringLiteral("Sort"));
  const QFont gridFont = DesignFont(Face::MsSansSerif, 8.25);
  grid->setFont(gridFont);
  grid->horizontalHeader()->setFont(gridFont);
  PlaceTwips(grid, 120, 1200, 3195, 2115);
  connect(MSFlexGrid1, &FlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });

  TopBtn = MakePageButton(client, "TopBtn", "top", QStringLiteral("Top of List"));
  PlaceTwips(TopBtn, 3480, 1200, 255, 255);
  PrevBtn = MakePageButton(client, "PrevBtn", "prev", QStringLiteral("Go Back One Page"));
  PlaceTwips(PrevBtn, 3480, 1560, 255, 255);
  NextBtn = MakePageButton(client, "NextBtn", "next", QStringLiteral("Move Down One Page"));
  PlaceTwips(NextBtn, 3480, 2640, 255, 255);
  BtmBtn = MakePageButton(client, "BtmBtn", "bottom", QStringLiteral("Go to Bottom of List"));
  PlaceTwips(BtmBtn, 3480, 3000, 255, 255);
  connect(TopBtn, &QToolButton::clicked, this, [this] { TopBtn_Click(); });
  connect(PrevBtn, &QToolButton::clicked, this, [this] { PrevBtn_Click(); });
  connect(NextBtn, &QToolButton::clicked, this, [this] { NextBtn_Click(); });
  connect(BtmBtn, &QToolButton::clicked, this, [this] { BtmBtn_Click(); });
}

void frmMain::BuildChoosers(QWidget *client) {
  Label4 =
      MakeLabel(client, "Label4", QStringLiteral("Select Type"), Qt::AlignHCenter, ArialFont(8.25));
  PlaceTwips(Label4, 3960, 1440, 1455, 255);
  Combo1 = new PickCombo(client);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->setAccessibleDescription(QStringLiteral("Conversion Group Type"));
  // The box is narrower than most group names: its tooltip gives the whole name.
  connect(Combo1, &QComboBox::editTextChanged, this, [this](const QString &group) {
    Combo1->setToolTip(PlainTip(QStringLiteral("Conversion Group Type") +
                                (group.isEmpty() ? QString() : u'\n' + group)));
  });
  Combo1->setMaxVisibleItems(20);
  PlaceTwips(Combo1, 3960, 1680, 1455, 315);

  Label9 = MakeLabel(client, "Label9", QStringLiteral("Significant Digits"), Qt::AlignHCenter,
                     ArialFont(8.25));
  PlaceTwips(Label9, 5520, 1440, 1215, 255);
  Combo2 = new PickCombo(client);
  Combo2->setObjectName(QStringLiteral("Combo2"));
  Combo2->setAccessibleDescription(QStringLiteral("Significant Digits"));
  PlaceTwips(Combo2, 5640, 1680, 975, 315);
  connect(Combo1, &PickCombo::picked, this, [this] { Combo1_Click(); });
  connect(Combo2, &PickCombo::picked, this, [this] { Combo2_Click(); });
}

void frmMain::BuildValueFields(QWidget *client) {
  Text1 = new QLineEdit(QStringLiteral("1"), client);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setToolTip(QStringLiteral("Convert From"));
  Text1->setAccessibleName(QStringLiteral("Convert From"));
  PlaceTwips(Text1, 3960, 2280, 1095, 285);
  Label3 = MakeLabel(client, "Label3", QStringLiteral("="), Qt::AlignHCenter, font());
  PlaceTwips(Label3, 5160, 2280, 255, 225);
  Text2 = new QLineEdit(QStringLiteral("1"), client);
  Text2->setObjectName(QStringLiteral("Text2"));
  Text2->setToolTip(QStringLiteral("Convert To"));
  Text2->setAccessibleName(QStringLiteral("Convert To"));
  PlaceTwips(Text2, 5520, 2280, 1095, 285);
  // Enter in either field converts (eventFilter).
  Text1->installEventFilter(this);
  Text2->installEventFilter(this);

  Label1 = new CaptionLabel(client, "Label1", ArialFont(8.25));
  Label1->setAccessibleDescription(QStringLiteral("Convert From unit"));
  PlaceTwips(Label1, 3960, 2640, 1335, 495);
  Label2 = new CaptionLabel(client, "Label2", ArialFont(8.25));
  Label2->setAccessibleDescription(QStringLiteral("Convert To unit"));
  PlaceTwips(Label2, 5520, 2640, 1275, 495);
}

void frmMain::BuildContacts(QWidget *client) {
  Label5 = MakeLabel(client, "Label5",
                     QStringLiteral("QUELLOR DESKTOP TOOLS \u2022 EXACT, INSTANT, FREE"),
                     Qt::AlignHCenter, ArialFont(8.25, true));
  PlaceTwips(Label5, 240, 3480, 6315, 195);
  Label14 = MakeLabel(client, "Label14", QStringLiteral("QUELLOR, INC."), Qt::AlignLeft,
                      ArialFont(8.25, true));
  PlaceTwips(Label14, 480, 3720, 1815, 255);
  Label6 = MakeLabel(client, "Label6", QStringLiteral("1 Example Way, Springfield"), Qt::AlignLeft,
                     ArialFont(8.25));
  PlaceTwips(Label6, 2280, 3720, 2175, 255);
  Label7 = MakeLabel(client, "Label7", QStringLiteral("Tel/Fax: +1 555 0100"), Qt::AlignLeft,
                     ArialFont(8.25));
  PlaceTwips(Label7, 4560, 3720, 2040, 255);

  Label10 = MakeLabel(client, "Label10", QStringLiteral("E-mail:"),
                      Qt::AlignRight | Qt::AlignVCenter, ArialFont(8.25));
  PlaceTwips(Label10, 840, 4200, 735, 255);
  auto *sales = new LinkLabel(client, "Label11", SalesAddress(), Qt::AlignLeft | Qt::AlignVCenter,
                              8.25, QStringLiteral("Write an e-mail to sales"));
  connect(sales, &LinkLabel::clicked, this, &frmMain::Label11_Click);
  Label11 = PlaceTwips(sales, 1680, 4200, 2175, 255);
  auto *home =
      new LinkLabel(client, "Label13", QLatin1String(kHomePageText),
                    Qt::AlignLeft | Qt::AlignVCenter, 8.25, QStringLiteral("Open the home page"));
  connect(home, &LinkLabel::clicked, this, &frmMain::Label13_Click);
  Label13 = PlaceTwips(home, 4320, 4200, 2175, 255);
}

void frmMain::Form_Load() {
  LoadTypes();
  Combo2->clear();
  for (int i = 0; i < kListedDigits; ++i) Combo2->addItem(QString::number(i));
  // An entry, not just its text, so that the list and the wheel start there.
  Combo2->setCurrentIndex(kStartDigits);
  LoadConversions();
  SortFrom = 0;
  SortTo = 0;
  SortType = 0;
  // So that a value entered right after start-up converts through the first record.
  if (MSFlexGrid1->Rows() > 1) {
    MSFlexGrid1->SetRow(1);
    MSFlexGrid1->SetCol(0);
  }
  Text1->setFocus();
  if (!startupProblems_.isEmpty()) QTimer::singleShot(0, this, [this] { ShowStartupProblems(); });
}

void frmMain::NoteProblem(const QString &fileName, const LoadReport &report) {
  const QString folder = QDir::toNativeSeparators(QDir::currentPath());
  QStringList lines;
  if (report.missing)
    lines << QStringLiteral("%1 could not be read in %2 (%3); the program starts without it.")
                 .arg(fileName, folder, report.error);
  if (report.truncated)
    lines << QStringLiteral("%1 holds more than %2 entries; only the first %2 were loaded.")
                 .arg(fileName)
                 .arg(report.limit);
  if (report.skippedLines > 0)
    lines << QStringLiteral(
                 "%1: %2 line(s) that do not fit the format were skipped, the "
                 "first at line %3.")
                 .arg(fileName)
                 .arg(report.skippedLines)
                 .arg(report.firstSkippedLine);
  if (report.windows1252Lines > 0)
    lines << QStringLiteral(
                 "%1: %2 line(s) not in UTF-8 like the rest were read as "
                 "Windows-1252, the first at line %3.")
                 .arg(fileName)
                 .arg(report.windows1252Lines)
                 .arg(report.firstWindows1252Line);
  if (lines.isEmpty()) return;
  if (!startupProblems_.isEmpty()) startupProblems_ += u'\n';
  startupProblems_ += lines.join(u'\n');
}

void frmMain::ShowStartupProblems() {
  // Modeless: the converter works while the note is open, and the note stays until closed.
  auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("qlconvert"), startupProblems_,
                              QMessageBox::Ok, this);
  box->setObjectName(QStringLiteral("StartupMessage"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}

void frmMain::LoadTypes() {
  const TypesFile types = ReadTypeFile(QDir::current().filePath(QLatin1String(kTypeFileName)));
  NoteProblem(QLatin1String(kTypeFileName), types.report);
  Combo1->clear();
  Combo1->addItems(types.names);
  Combo1->setEditText(QLatin1String(kAllTypes));
}

void frmMain::LoadConversions() {
  PlainHeader();
  // Half the table's width each, less a little; whole twips, ties to even.
  const double half = MSFlexGrid1->Width() / 2.0;
  MSFlexGrid1->SetColWidth(0, int(std::nearbyint(half - 151)));
  MSFlexGrid1->SetColWidth(1, int(std::nearbyint(half - 150)));
  for (int c = 2; c < 5; ++c) MSFlexGrid1->SetColWidth(c, 0);

  FG1->SetRedraw(false);
  MSFlexGrid1->SetRedraw(false);
  FG1->ClearBody();
  MSFlexGrid1->ClearBody();
  // The loaded table becomes the master table's cells as it is.
  ConversionTable table = ReadConversionFile(
      QDir::current().filePath(QLatin1String(kConvertFileName)), CurrentSeparators());
  NoteProblem(QLatin1String(kConvertFileName), table.report);
  FG1->SetCells(std::move(table.texts), std::move(table.cells));
  const int records = FG1->Rows() - 1;
  // The master table keeps one empty row after the last record.
  FG1->AddItem(QString());
  // The visible table lists the same records: it holds the master table's cells until
  // either table changes.
  MSFlexGrid1->ShareRows(*FG1, records);
  FG1->SetRedraw(true);
  MSFlexGrid1->SetRedraw(true);
}

// A link that nothing can open is ignored: the desktop has already said why.
void frmMain::Label11_Click() {
  CurrentServices().shell->Open(QUrl(QStringLiteral("mailto:") + SalesAddress()));
}

void frmMain::Label13_Click() {
  CurrentServices().shell->Open(QUrl(QLatin1String(kHomePage)));
}

bool frmMain::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::KeyPress && (watched == Text1 || watched == Text2)) {
    const auto *key = static_cast<QKeyEvent *>(event);
    // Enter on either keyboard is key code 13; modifiers do not matter.
    const int code = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) ? 13 : 0;
    if (watched == Text1)
      Text1_KeyDown(code);
    else
      Text2_KeyDown(code);
    return false;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace qlc
