// The start-up floor: the converter's main window as a static picture of its widgets. Same
// widget classes, geometry, texts, fonts, pictures, menu bar and table columns, a dozen
// fixed table rows, and nothing behind them: no data files, no tray, no handlers. What the
// real program needs beyond this before its first frame is its own work.
//
// The fonts are named directly by the families this desktop shows for the design's faces
// (the Debian packages fonts-liberation and fonts-dejavu-core); a static window written
// for this desktop would do the same, so no family is looked up here.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QToolButton>
#include <cmath>

#include "table/flex_grid.h"
#include "widgets/design.h"
#include "widgets/pick_combo.h"

namespace {

using qlc::PlaceTwips;
using qlc::TwipsToPx;

QFont Sans(double points, bool bold = false) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QLabel *Label(QWidget *parent, const char *name, const QString &text, Qt::Alignment align,
              const QFont &font) {
  auto *label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(align);
  label->setFont(font);
  return label;
}

void Navy(QWidget *widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
  widget->setPalette(palette);
}

QLabel *Link(QWidget *parent, const char *name, const QString &text) {
  QFont font = Sans(8.25, true);
  font.setUnderline(true);
  QLabel *label = Label(parent, name, text, Qt::AlignLeft | Qt::AlignVCenter, font);
  Navy(label);
  label->setCursor(Qt::PointingHandCursor);
  return label;
}

QToolButton *PageButton(QWidget *parent, const char *name, const char *image, const QString &tip) {
  auto *button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setIcon(qlc::Picture(image));
  button->setIconSize(QSize(11, 9));
  button->setToolTip(tip);
  button->setAccessibleName(tip);
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

// Rows of the kind the default data lists first.
const char *const kRows[][5] = {
    {"Meters (m)", "Feet (ft)", "LENGTH", "3.2808398950131235", "0"},
    {"Feet (ft)", "Meters (m)", "LENGTH", "0.3048", "0"},
    {"Kilometers (km)", "Miles (mi)", "LENGTH", "0.621371192237334", "0"},
    {"Miles (mi)", "Kilometers (km)", "LENGTH", "1.609344", "0"},
    {"Centimeters (cm)", "Inches (in)", "LENGTH", "0.3937007874015748", "0"},
    {"Inches (in)", "Centimeters (cm)", "LENGTH", "2.54", "0"},
    {"Millimeters (mm)", "Inches (in)", "LENGTH", "0.03937007874015748", "0"},
    {"Inches (in)", "Millimeters (mm)", "LENGTH", "25.4", "0"},
    {"Meters (m)", "Yards (yd)", "LENGTH", "1.0936132983377078", "0"},
    {"Yards (yd)", "Meters (m)", "LENGTH", "0.9144", "0"},
    {"Meters (m)", "Inches (in)", "LENGTH", "39.37007874015748", "0"},
    {"Inches (in)", "Meters (m)", "LENGTH", "0.0254", "0"},
};

class FloorWindow : public QMainWindow {
 public:
  FloorWindow() {
    setWindowTitle(QStringLiteral("QUELLOR - UNIT CONVERTER"));
    setWindowIcon(qlc::Picture("icon"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto *client = new QWidget(this);
    client->setFixedSize(TwipsToPx(6840), TwipsToPx(4500));
    setCentralWidget(client);

    auto *line = new QFrame(client);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(0, 0, TwipsToPx(9480), 2);

    auto *logo = new QLabel(client);
    logo->setPixmap(qlc::Picture("logo").pixmap(QSize(147, 70)));
    PlaceTwips(logo, 240, 120, 2205, 1050);

    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPointSizeF(26.25);
    title.setBold(true);
    QLabel *unit =
        Label(client, "Label12", QStringLiteral("UNIT"), Qt::AlignHCenter | Qt::AlignTop, title);
    Navy(unit);
    PlaceTwips(unit, 2760, 120, 3975, 615);
    QLabel *converter = Label(client, "Label8", QStringLiteral("CONVERTER"),
                              Qt::AlignHCenter | Qt::AlignTop, title);
    Navy(converter);
    PlaceTwips(converter, 2760, 600, 3975, 495);

    grid_ = new qlc::FlexGrid(5, client, this);
    QTableView *view = grid_->view();
    view->setToolTip(QStringLiteral("Sort"));
    QFont gridFont = Sans(8.25);
    view->setFont(gridFont);
    view->horizontalHeader()->setFont(gridFont);
    PlaceTwips(view, 120, 1200, 3195, 2115);
    grid_->SetTextMatrix(0, 0, QStringLiteral("FROM"));
    grid_->SetTextMatrix(0, 1, QStringLiteral("TO"));
    const double half = grid_->Width() / 2.0;
    grid_->SetColWidth(0, int(std::nearbyint(half - 151)));
    grid_->SetColWidth(1, int(std::nearbyint(half - 150)));
    for (int c = 2; c < 5; ++c) grid_->SetColWidth(c, 0);
    grid_->SetRedraw(false);
    for (const auto &row : kRows) {
      QString cells[5];
      for (int c = 0; c < 5; ++c) cells[c] = QString::fromUtf8(row[c]);
      grid_->AddRow(cells);
    }
    grid_->SetRedraw(true);
    grid_->SetRow(1);
    grid_->SetCol(0);

    QToolButton *top = PageButton(client, "TopBtn", "top", QStringLiteral("Top of List"));
    PlaceTwips(top, 3480, 1200, 255, 255);
    QToolButton *prev = PageButton(client, "PrevBtn", "prev", QStringLiteral("Go Back One Page"));
    PlaceTwips(prev, 3480, 1560, 255, 255);
    QToolButton *next = PageButton(client, "NextBtn", "next", QStringLiteral("Move Down One Page"));
    PlaceTwips(next, 3480, 2640, 255, 255);
    QToolButton *bottom =
        PageButton(client, "BtmBtn", "bottom", QStringLiteral("Go to Bottom of List"));
    PlaceTwips(bottom, 3480, 3000, 255, 255);

    PlaceTwips(Label(client, "Label4", QStringLiteral("Select Type"), Qt::AlignHCenter, Sans(8.25)),
               3960, 1440, 1455, 255);
    auto *combo1 = new qlc::PickCombo(client);
    combo1->setToolTip(QStringLiteral("Conversion Group Type"));
    combo1->setEditText(QStringLiteral("ALL"));
    PlaceTwips(combo1, 3960, 1680, 1455, 315);
    PlaceTwips(
        Label(client, "Label9", QStringLiteral("Significant Digits"), Qt::AlignHCenter, Sans(8.25)),
        5520, 1440, 1215, 255);
    auto *combo2 = new qlc::PickCombo(client);
    for (int i = 0; i <= 5; ++i) combo2->addItem(QString::number(i));
    combo2->setEditText(QStringLiteral("2"));
    PlaceTwips(combo2, 5640, 1680, 975, 315);

    auto *text1 = new QLineEdit(QStringLiteral("1"), client);
    text1->setToolTip(QStringLiteral("Convert From"));
    PlaceTwips(text1, 3960, 2280, 1095, 285);
    PlaceTwips(Label(client, "Label3", QStringLiteral("="), Qt::AlignHCenter, font()), 5160, 2280,
               255, 225);
    auto *text2 = new QLineEdit(QStringLiteral("1"), client);
    text2->setToolTip(QStringLiteral("Convert To"));
    PlaceTwips(text2, 5520, 2280, 1095, 285);
    QLabel *unit1 = Label(client, "Label1", QString(), Qt::AlignLeft | Qt::AlignTop, Sans(8.25));
    unit1->setWordWrap(true);
    PlaceTwips(unit1, 3960, 2640, 1335, 495);
    QLabel *unit2 = Label(client, "Label2", QString(), Qt::AlignLeft | Qt::AlignTop, Sans(8.25));
    unit2->setWordWrap(true);
    PlaceTwips(unit2, 5520, 2640, 1275, 495);

    PlaceTwips(
        Label(client, "Label5", QStringLiteral("QUELLOR DESKTOP TOOLS \u2022 EXACT, INSTANT, FREE"),
              Qt::AlignHCenter, Sans(8.25, true)),
        240, 3480, 6315, 195);
    PlaceTwips(
        Label(client, "Label14", QStringLiteral("QUELLOR, INC."), Qt::AlignLeft, Sans(8.25, true)),
        480, 3720, 1815, 255);
    PlaceTwips(Label(client, "Label6", QStringLiteral("1 Example Way, Springfield"), Qt::AlignLeft,
                     Sans(8.25)),
               2280, 3720, 2175, 255);
    PlaceTwips(
        Label(client, "Label7", QStringLiteral("Tel/Fax: +1 555 0100"), Qt::AlignLeft, Sans(8.25)),
        4560, 3720, 2040, 255);
    PlaceTwips(Label(client, "Label10", QStringLiteral("E-mail:"),
                     Qt::AlignRight | Qt::AlignVCenter, Sans(8.25)),
               840, 4200, 735, 255);
    PlaceTwips(Link(client, "Label11", QStringLiteral("sales@quellor.example")), 1680, 4200, 2175,
               255);
    PlaceTwips(Link(client, "Label13", QStringLiteral("www.quellor.example")), 4320, 4200, 2175,
               255);

    setTabOrder(text1, view);
    setTabOrder(view, text2);
    setTabOrder(text2, top);
    setTabOrder(top, prev);
    setTabOrder(prev, next);
    setTabOrder(next, bottom);
    setTabOrder(bottom, combo1);
    setTabOrder(combo1, combo2);

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Minimize"));
    QMenu *utilities = menuBar()->addMenu(QStringLiteral("&Utilities"));
    utilities->addAction(QStringLiteral("&Add Type"));
    utilities->addAction(QStringLiteral("&Add Conversion"));
    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About"));

    text1->setFocus();
  }

 private:
  qlc::FlexGrid *grid_;
};

}  // namespace

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("floor_window"));
  FloorWindow window;
  window.show();
  return QApplication::exec();
}
