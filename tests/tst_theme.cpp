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
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<bool>("keepsDesign");
    const QPalette light = QApplication::style()->standardPalette();
    QTest::newRow("light") << light << true;
    QTest::newRow("dark") << Plain(QColor(50, 50, 50), QColor(240, 240, 240)) << false;
    QTest::newRow("black on white") << Plain(Qt::white, Qt::black) << true;
    QTest::newRow("white on black") << Plain(Qt::black, Qt::white) << false;
    QTest::newRow("light again") << light << true;
  }
  void palettes() {
    QFETCH(QPalette, palette);
    QFETCH(bool, keepsDesign);
    QApplication::setPalette(palette);
    QCoreApplication::sendPostedEvents();  // windows take a new palette through a posted event
    for (QWidget *window :
         {static_cast<QWidget *>(main_.get()), static_cast<QWidget *>(about_.get())})
      QCOMPARE(window->palette().color(QPalette::Window), palette.color(QPalette::Window));
    QStringList faults;
    auto check = [&](const QString &what, QColor ink, QColor ground) {
      const double ratio = ContrastRatio(ToRgb(ink), ToRgb(ground));
      if (ratio < 4.5)
        faults << QString("%1: %2 on %3 is %4:1").arg(what, ink.name(), ground.name()).arg(ratio);
    };
    for (QLabel *label : {main_->Label12, main_->Label8, main_->Label11, main_->Label13,
                          about_->lbl3, about_->Label11, about_->Label12}) {
      const QColor ink = label->palette().color(label->foregroundRole());
      // Labels paint no ground of their own: the window's shows through.
      check(label->objectName(), ink, label->window()->palette().color(QPalette::Window));
      if (keepsDesign && ink != QColor(0, 0, 128)) faults << label->objectName() + ": not navy";
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
        if (keepsDesign && shown.convertToFormat(QImage::Format_ARGB32) !=
                               design.convertToFormat(QImage::Format_ARGB32))
          faults << what + ": not the design's picture";
      }
    }
    faults.removeDuplicates();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
  }

  // Known ratios, and the tint a colour takes on a ground: readable, the same hue, each
  // channel moved the same share of its way to white (255) or black (0), or unchanged (-1).
  void contrastAndTint_data() {
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QColor>("ground");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("toward");
    QTest::newRow("black on white") << QColor(0, 0, 0) << QColor(255, 255, 255) << 21.0 << -1;
    QTest::newRow("white on black") << QColor(255, 255, 255) << QColor(0, 0, 0) << 21.0 << -1;
    QTest::newRow("navy on white") << QColor(0, 0, 128) << QColor(255, 255, 255) << 16.01 << -1;
    QTest::newRow("navy on dark grey") << QColor(0, 0, 128) << QColor(50, 50, 50) << 1.249 << 255;
    QTest::newRow("navy on black") << QColor(0, 0, 128) << QColor(0, 0, 0) << 1.312 << 255;
    QTest::newRow("navy on #777") << QColor(0, 0, 128) << QColor(119, 119, 119) << 3.575 << 0;
    QTest::newRow("#777 on white") << QColor(119, 119, 119) << QColor(255, 255, 255) << 4.48 << 0;
    QTest::newRow("red on green") << QColor(255, 0, 0) << QColor(0, 128, 0) << 1.285 << 255;
    QTest::newRow("olive on olive") << QColor(128, 128, 0) << QColor(100, 110, 20) << 1.323 << 255;
  }
  void contrastAndTint() {
    QFETCH(QColor, colour);
    QFETCH(QColor, ground);
    QFETCH(double, ratio);
    QFETCH(int, toward);
    const Rgb from = ToRgb(colour), on = ToRgb(ground), tint = ReadableTint(from, on);
    QVERIFY2(std::abs(ContrastRatio(from, on) - ratio) < 0.005,
             qPrintable(QString::number(ContrastRatio(from, on))));
    QVERIFY(ContrastRatio(tint, on) >= 4.5);
    if (toward < 0) {
      QCOMPARE(tint, from);
      return;
    }
    const int a[3] = {from.red, from.green, from.blue}, b[3] = {tint.red, tint.green, tint.blue};
    int far = 0;  // the channel with the longest way, for the most exact share
    for (int i = 1; i < 3; ++i)
      if (std::abs(toward - a[i]) > std::abs(toward - a[far])) far = i;
    const double share = double(b[far] - a[far]) / (toward - a[far]);
    QVERIFY(share > 0 && share <= 1);
    for (int i = 0; i < 3; ++i) QVERIFY(std::abs(a[i] + (toward - a[i]) * share - b[i]) <= 1);
  }
};

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"
