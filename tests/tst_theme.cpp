// Design colours stay readable in any palette: the navy titles and links and the paging
// buttons' pictures, against what they are drawn on, as the palette changes at run time.
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "dialogs/frm_about.h"
#include "main_window/contrast.h"
#include "main_window/frm_main.h"
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

struct TintCase {
  Rgb colour, ground;
  int toward;  // 255 lighter, 0 darker, -1 unchanged
};

}  // namespace

Q_DECLARE_METATYPE(Rgb)
Q_DECLARE_METATYPE(TintCase)

class TestTheme : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase();
  void palettes_data();
  void palettes();
  void contrastRatio_data();
  void contrastRatio();
  void readableTint_data();
  void readableTint();

 private:
  QTemporaryDir dir_;
  std::unique_ptr<frmMain> main_;
  std::unique_ptr<frmAbout> about_;
};

void TestTheme::initTestCase() {
  QVERIFY(test::WriteBytes(dir_.filePath("type.txt"), "\"ALL\"\r\n\"LENGTH\"\r\n"));
  QVERIFY(test::WriteBytes(dir_.filePath("convert.txt"),
                           "\"Feet (ft)\",\"Meters (m)\",\"LENGTH\",\"0.3048\",0\r\n"));
  QDir::setCurrent(dir_.path());
  // Both windows are made under the starting palette; each row switches it while they run.
  main_ = std::make_unique<frmMain>();
  main_->Show();
  about_ = std::make_unique<frmAbout>();
  about_->show();
  QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
}

void TestTheme::palettes_data() {
  QTest::addColumn<QPalette>("palette");
  QTest::addColumn<bool>("keepsDesign");
  const QPalette light = QApplication::style()->standardPalette();
  QTest::newRow("light") << light << true;
  QTest::newRow("dark") << Plain(QColor(50, 50, 50), QColor(240, 240, 240)) << false;
  QTest::newRow("black on white") << Plain(Qt::white, Qt::black) << true;
  QTest::newRow("white on black") << Plain(Qt::black, Qt::white) << false;
  QTest::newRow("light again") << light << true;
}

void TestTheme::palettes() {
  QFETCH(QPalette, palette);
  QFETCH(bool, keepsDesign);
  QApplication::setPalette(palette);
  // Windows take a new application palette through a posted event.
  QCoreApplication::sendPostedEvents();
  QCOMPARE(main_->palette().color(QPalette::Window), palette.color(QPalette::Window));
  QCOMPARE(about_->palette().color(QPalette::Window), palette.color(QPalette::Window));
  QStringList faults;
  auto check = [&](const QString &what, QColor ink, QColor ground) {
    const double ratio = ContrastRatio(ToRgb(ink), ToRgb(ground));
    if (ratio < 4.5)
      faults << QString("%1: %2 on %3 is %4:1").arg(what, ink.name(), ground.name()).arg(ratio);
  };
  const QList<QLabel *> texts = {main_->Label12, main_->Label8,   main_->Label11, main_->Label13,
                                 about_->lbl3,   about_->Label11, about_->Label12};
  for (QLabel *label : texts) {
    const QColor ink = label->palette().color(label->foregroundRole());
    // Labels paint no ground of their own: the window's shows through.
    check(label->window()->objectName() + "." + label->objectName(), ink,
          label->window()->palette().color(QPalette::Window));
    if (keepsDesign && ink != QColor(0, 0, 128)) faults << label->objectName() + ": not navy";
  }
  const QList<QPair<QToolButton *, const char *>> buttons = {{main_->TopBtn, "top"},
                                                             {main_->PrevBtn, "prev"},
                                                             {main_->NextBtn, "next"},
                                                             {main_->BtmBtn, "bottom"}};
  for (const auto &[button, picture] : buttons) {
    for (const qreal dpr : {1.0, 2.0}) {
      const QImage shown = button->icon().pixmap(button->iconSize(), dpr).toImage();
      const QString what = button->objectName() + QString(" at %1x").arg(dpr);
      int inked = 0;
      for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
          if (qAlpha(shown.pixel(x, y)) < 255) continue;
          ++inked;
          check(what, shown.pixelColor(x, y), button->palette().color(QPalette::Button));
        }
      if (inked == 0) faults << what + ": no picture";
      const QString file = QString(":/%1%2.png").arg(picture, dpr > 1 ? "@2x" : "");
      if (keepsDesign && shown.convertToFormat(QImage::Format_ARGB32) !=
                             QImage(file).convertToFormat(QImage::Format_ARGB32))
        faults << what + ": not the design's picture";
    }
  }
  faults.removeDuplicates();
  QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

void TestTheme::contrastRatio_data() {
  QTest::addColumn<Rgb>("a");
  QTest::addColumn<Rgb>("b");
  QTest::addColumn<double>("ratio");
  QTest::newRow("black on white") << Rgb{0, 0, 0} << Rgb{255, 255, 255} << 21.0;
  QTest::newRow("either order") << Rgb{255, 255, 255} << Rgb{0, 0, 0} << 21.0;
  QTest::newRow("navy on white") << Rgb{0, 0, 128} << Rgb{255, 255, 255} << 16.01;
  QTest::newRow("#777 on white") << Rgb{119, 119, 119} << Rgb{255, 255, 255} << 4.48;
  QTest::newRow("red on green") << Rgb{255, 0, 0} << Rgb{0, 128, 0} << 1.285;
  QTest::newRow("same colour") << Rgb{50, 50, 50} << Rgb{50, 50, 50} << 1.0;
}

void TestTheme::contrastRatio() {
  QFETCH(Rgb, a);
  QFETCH(Rgb, b);
  QFETCH(double, ratio);
  QVERIFY2(std::abs(ContrastRatio(a, b) - ratio) < 0.005,
           qPrintable(QString::number(ContrastRatio(a, b))));
}

void TestTheme::readableTint_data() {
  QTest::addColumn<TintCase>("c");
  QTest::newRow("navy on white stays") << TintCase{{0, 0, 128}, {255, 255, 255}, -1};
  QTest::newRow("navy on dark grey") << TintCase{{0, 0, 128}, {50, 50, 50}, 255};
  QTest::newRow("navy on black") << TintCase{{0, 0, 128}, {0, 0, 0}, 255};
  QTest::newRow("navy on mid grey") << TintCase{{0, 0, 128}, {119, 119, 119}, 0};
  QTest::newRow("olive on olive") << TintCase{{128, 128, 0}, {100, 110, 20}, 255};
}

void TestTheme::readableTint() {
  QFETCH(TintCase, c);
  const Rgb tint = ReadableTint(c.colour, c.ground);
  QVERIFY(ContrastRatio(tint, c.ground) >= 4.5);
  if (c.toward < 0) {
    QCOMPARE(tint, c.colour);
    return;
  }
  // The same hue: each channel has moved the same share of its way to white or black.
  const int from[3] = {c.colour.red, c.colour.green, c.colour.blue};
  const int to[3] = {tint.red, tint.green, tint.blue};
  int far = 0;  // the channel with the longest way, for the most exact share
  for (int i = 1; i < 3; ++i)
    if (std::abs(c.toward - from[i]) > std::abs(c.toward - from[far])) far = i;
  const double share = double(to[far] - from[far]) / (c.toward - from[far]);
  QVERIFY(share > 0 && share <= 1);
  for (int i = 0; i < 3; ++i)
    QVERIFY(std::abs(from[i] + (c.toward - from[i]) * share - to[i]) <= 1);
}

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"
