// Design colours stay readable in any palette: the navy titles and links and the paging
// buttons' pictures, against what they are drawn on, as the palette changes at run time.
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "dialogs/frm_about.h"
#include "main_window/frm_main.h"
#include "rules/contrast.h"
#include "test_support.h"

using namespace qlc;

namespace {

Rgb ToRgb(QColor c) {
  return {c.red(), c.green(), c.blue()};
}

QPalette Plain(QColor ground, QColor text) {
  QPalette palette(ground, ground);
  for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
    palette.setColor(role, text);
  return palette;
}

struct PaletteRow {
  const char *name;
  QPalette palette;
  bool keepsDesign;  // navy and the design's pictures stay
};

struct TintRow {
  const char *name;
  Rgb colour, ground;
  double ratio;
  int toward;  // the tint moves each channel toward 255 or 0; -1: the colour stays
};

}  // namespace

class TestTheme : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  std::unique_ptr<frmMain> main_;
  std::unique_ptr<frmAbout> about_;

 private slots:
  void initTestCase() {
    QVERIFY(test::WriteBytes(dir_.filePath("type.txt"), "\"ALL\"\r\n\"LENGTH\"\r\n"));
    QVERIFY(test::WriteBytes(dir_.filePath("convert.txt"),
                             "\"Feet (ft)\",\"Meters (m)\",\"LENGTH\",\"0.3048\",0\r\n"));
    QDir::setCurrent(dir_.path());
    // Both windows are made under the starting palette; each row switches it while they run.
    main_ = std::make_unique<frmMain>();
    main_->show();
    about_ = std::make_unique<frmAbout>();
    about_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
  }

  void palettes_data() {
    const QPalette light = QApplication::style()->standardPalette();
    const PaletteRow rows[] = {
        {.name = "light", .palette = light, .keepsDesign = true},
        {.name = "dark", .palette = Plain({50, 50, 50}, {240, 240, 240}), .keepsDesign = false},
        {.name = "black on white", .palette = Plain(Qt::white, Qt::black), .keepsDesign = true},
        {.name = "white on black", .palette = Plain(Qt::black, Qt::white), .keepsDesign = false},
        {.name = "light again", .palette = light, .keepsDesign = true}};
    test::AddRows(rows);
  }
  void palettes() {
    QFETCH(PaletteRow, row);
    QApplication::setPalette(row.palette);
    QCoreApplication::sendPostedEvents();  // windows take a new palette through a posted event
    for (QWidget *window : std::initializer_list<QWidget *>{main_.get(), about_.get()})
      QCOMPARE(window->palette().color(QPalette::Window), row.palette.color(QPalette::Window));
    QStringList faults;
    auto check = [&](const QString &what, QColor ink, QColor ground) {
      const double ratio = ContrastRatio(ToRgb(ink), ToRgb(ground));
      if (ratio < kReadableContrast)
        faults << QString("%1: %2 on %3 is %4:1").arg(what, ink.name(), ground.name()).arg(ratio);
    };
    for (QLabel *label : {main_->Label12, main_->Label8, main_->Label11, main_->Label13,
                          about_->lbl3, about_->Label11, about_->Label12}) {
      const QColor ink = label->palette().color(label->foregroundRole());
      // Labels paint no ground of their own: the window's shows through.
      check(label->objectName(), ink, label->window()->palette().color(QPalette::Window));
      if (row.keepsDesign && ink != QColor(0, 0, 128)) faults << label->objectName() + ": not navy";
    }
    const std::pair<QToolButton *, const char *> buttons[] = {{main_->TopBtn, "top"},
                                                              {main_->PrevBtn, "prev"},
                                                              {main_->NextBtn, "next"},
                                                              {main_->BtmBtn, "bottom"}};
    for (const auto &[button, picture] : buttons) {
      for (const qreal dpr : {1.0, 2.0}) {
        const QImage shown = button->icon().pixmap(button->iconSize(), dpr).toImage();
        const QString what = button->objectName() + QString(" at %1x").arg(dpr);
        int inked = 0;
        for (int y = 0; y < shown.height(); ++y)
          for (int x = 0; x < shown.width(); ++x)
            if (qAlpha(shown.pixel(x, y)) == 255 && ++inked)
              check(what, shown.pixelColor(x, y), button->palette().color(QPalette::Button));
        if (inked == 0) faults << what + ": no picture";
        const QImage design(QString(":/%1%2.png").arg(picture, dpr > 1 ? "@2x" : ""));
        if (row.keepsDesign && shown.convertToFormat(QImage::Format_ARGB32) !=
                                   design.convertToFormat(QImage::Format_ARGB32))
          faults << what + ": not the design's picture";
      }
    }
    faults.removeDuplicates();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }

  // Known ratios, and the tint a colour takes on a ground: readable, the same hue, each
  // channel moved the same share of its way to white or black.
  void contrastAndTint_data() {
    // clang-format off
    const TintRow rows[] = {
        {.name = "black on white", .colour = {0, 0, 0}, .ground = {255, 255, 255}, .ratio = 21, .toward = -1},
        {.name = "white on black", .colour = {255, 255, 255}, .ground = {0, 0, 0}, .ratio = 21, .toward = -1},
        {.name = "navy on white", .colour = {0, 0, 128}, .ground = {255, 255, 255}, .ratio = 16.01, .toward = -1},
        {.name = "navy on dark grey", .colour = {0, 0, 128}, .ground = {50, 50, 50}, .ratio = 1.249, .toward = 255},
        {.name = "navy on #777", .colour = {0, 0, 128}, .ground = {119, 119, 119}, .ratio = 3.575, .toward = 0},
        {.name = "#777 on white", .colour = {119, 119, 119}, .ground = {255, 255, 255}, .ratio = 4.48, .toward = 0},
        {.name = "red on green", .colour = {255, 0, 0}, .ground = {0, 128, 0}, .ratio = 1.285, .toward = 255},
        {.name = "olive on olive", .colour = {128, 128, 0}, .ground = {100, 110, 20}, .ratio = 1.323, .toward = 255}};
    // clang-format on
    test::AddRows(rows);
  }
  void contrastAndTint() {
    QFETCH(TintRow, row);
    const Rgb tint = ReadableTint(row.colour, row.ground);
    QVERIFY2(std::abs(ContrastRatio(row.colour, row.ground) - row.ratio) < 0.005,
             qPrintable(QString::number(ContrastRatio(row.colour, row.ground))));
    QVERIFY(ContrastRatio(tint, row.ground) >= kReadableContrast);
    if (row.toward < 0) {
      QCOMPARE(tint, row.colour);
      return;
    }
    const int a[3] = {row.colour.red, row.colour.green, row.colour.blue};
    const int b[3] = {tint.red, tint.green, tint.blue};
    int far = 0;  // the channel with the longest way, for the most exact share
    for (int i = 1; i < 3; ++i)
      if (std::abs(row.toward - a[i]) > std::abs(row.toward - a[far])) far = i;
    const double share = double(b[far] - a[far]) / (row.toward - a[far]);
    QVERIFY(share > 0 && share <= 1);
    for (int i = 0; i < 3; ++i) QVERIFY(std::abs(a[i] + (row.toward - a[i]) * share - b[i]) <= 1);
  }
};

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"
