// Design colours stay readable in any palette.
#include <QtTest>

#include "main_window/contrast.h"

using namespace qlc;

namespace {

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
  void contrastRatio_data();
  void contrastRatio();
  void readableTint_data();
  void readableTint();
};

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
