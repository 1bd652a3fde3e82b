#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include "table/flex_grid.h"
#include "table/paging.h"

using namespace qlc;

namespace {
QStringList Column(const FlexGrid &g, int col) {
  QStringList out;
  for (int r = 1; r < g.Rows(); ++r) out << g.TextMatrix(r, col);
  return out;
}
}  // namespace

class TestFlexGrid : public QObject {
  Q_OBJECT
 private slots:
  void sort_data() {
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("numbers as numbers")
        << QStringList{"10", "9", "100", "-1"} << 1 << QStringList{"-1", "9", "10", "100"};
    QTest::newRow("names, case-insensitive")
        << QStringList{"beta", "Alpha", "gamma"} << 1 << QStringList{"Alpha", "beta", "gamma"};
    QTest::newRow("descending") << QStringList{"beta", "Alpha", "gamma"} << 2
                                << QStringList{"gamma", "beta", "Alpha"};
    QTest::newRow("mixed: 9 before 10") << QStringList{"Meters", "10", "9", "Feet"} << 1
                                        << QStringList{"9", "10", "Feet", "Meters"};
    QTest::newRow("stable") << QStringList{"b", "a", "b", "a"} << 1
                            << QStringList{"a", "a", "b", "b"};
    QTest::newRow("stable descending")
        << QStringList{"b", "a", "b", "a"} << 2 << QStringList{"b", "b", "a", "a"};
  }
  // Rows move whole, the header stays, and equal keys keep their order in both directions.
  void sort() {
    QFETCH(QStringList, keys);
    QFETCH(int, order);
    QFETCH(QStringList, sorted);
    FlexGrid grid(2, nullptr);
    for (int i = 0; i < keys.size(); ++i) grid.AddItem(keys[i] + '\t' + QString::number(i));
    grid.SetTextMatrix(0, 0, "HEAD");
    grid.Sort(order, 0);
    QCOMPARE(Column(grid, 0), sorted);
    QCOMPARE(grid.TextMatrix(0, 0), QString("HEAD"));
    for (int r = 1; r < grid.Rows(); ++r) {
      const int original = grid.TextMatrix(r, 1).toInt();
      QCOMPARE(keys[original], grid.TextMatrix(r, 0));
      if (r > 1 && grid.TextMatrix(r, 0) == grid.TextMatrix(r - 1, 0))
        QVERIFY(grid.TextMatrix(r - 1, 1).toInt() < original);
    }
  }

  void addRemove() {
    FlexGrid grid(3, nullptr);
    grid.AddItem(QString());
    grid.AddItem("a\tb\tc");
    grid.AddItem("d");
    QCOMPARE(grid.TextMatrix(2, 2), QString("c"));
    grid.RemoveItem(1);
    grid.RemoveItem(0);  // the header row cannot go
    grid.RemoveItem(9);
    QCOMPARE(Column(grid, 0), (QStringList{"a", "d"}));
    QCOMPARE(grid.TextMatrix(7, 0), QString());  // out of range reads empty
  }

  // A grid showing another's rows keeps them as they were when either grid changes.
  void sharedRows_data() {
    QTest::addColumn<int>("change");  // 0 text, 1 own row added, 2 row removed, 3 sorted
    QTest::addColumn<bool>("inMaster");
    QTest::addColumn<QStringList>("changed");  // column 0 of the grid changed
    QTest::newRow("text") << 0 << false << QStringList{"b", "x", "a"};
    QTest::newRow("own row added") << 1 << false << QStringList{"b", "c", "a", "b"};
    QTest::newRow("row removed") << 2 << false << QStringList{"c", "a"};
    QTest::newRow("sorted") << 3 << false << QStringList{"a", "b", "c"};
    QTest::newRow("text in master") << 0 << true << QStringList{"b", "x", "a", ""};
    QTest::newRow("master sorted") << 3 << true << QStringList{"", "a", "b", "c"};
  }
  void sharedRows() {
    QFETCH(int, change);
    QFETCH(bool, inMaster);
    QFETCH(QStringList, changed);
    FlexGrid master(2, nullptr), shown(2, nullptr);
    for (const char *unit : {"b", "c", "a"}) master.AddItem(QString(unit) + "\t1");
    master.AddItem(QString());  // a row the other grid does not show
    shown.ShareRows(master, 3);
    QCOMPARE(Column(shown, 0), (QStringList{"b", "c", "a"}));
    FlexGrid &grid = inMaster ? master : shown;
    if (change == 0) grid.SetTextMatrix(2, 0, "x");
    if (change == 1) grid.AddRow(grid.RowCells(1));
    if (change == 2) grid.RemoveItem(1);
    if (change == 3) grid.Sort(1, 0);
    QCOMPARE(Column(grid, 0), changed);
    QCOMPARE(Column(inMaster ? shown : master, 0),
             (inMaster ? QStringList{"b", "c", "a"} : QStringList{"b", "c", "a", ""}));
  }

  void refillIsOneReset() {
    QWidget parent;
    FlexGrid grid(5, &parent);
    QSignalSpy resets(grid.model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(grid.model(), &QAbstractItemModel::rowsInserted);
    grid.SetRedraw(false);
    grid.ClearBody();
    const QString cells[5] = {"a", "b", "c", "1", "0"};
    for (int i = 0; i < 5000; ++i) grid.AddRow(cells);
    grid.SetRedraw(true);
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(grid.view()->model()->rowCount(), 5000);
  }

  // Widths in twips (15 a pixel), a zero width hides, the top row scrolls, the highlight
  // spans the current row from the current column to the selected one.
  void widthsAndTopRow() {
    QWidget parent;
    parent.resize(400, 300);
    FlexGrid grid(5, &parent);
    grid.view()->setGeometry(8, 80, 213, 141);
    QCOMPARE(grid.Width(), 213 * 15);
    grid.SetColWidth(2, 0);
    QVERIFY(grid.view()->isColumnHidden(2));
    grid.SetColWidth(0, 1446);
    QCOMPARE(grid.ColWidth(0), 1446);
    for (int i = 0; i < 40; ++i) grid.AddItem(QString::number(i));
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    grid.SetTopRow(8);
    QCOMPARE(grid.TopRow(), 8);
    grid.SetTopRow(40);  // past what can scroll to the top: the view shows the end
    QVERIFY(grid.TopRow() > 8 && grid.TopRow() <= 40);
    grid.SetRow(12);
    grid.SetCol(0);
    grid.SetColSel(1);
    QCOMPARE(grid.view()->selectionModel()->selectedIndexes().size(), 2);
    QCOMPARE(grid.view()->currentIndex().row(), 11);
  }

  void paging_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("path");  // start row, then the row after each click
    const int next = int(PageButton::Next), prev = int(PageButton::Prev);
    QTest::newRow("next from 1") << next << 21 << QList<int>{1, 7, 13, 19, 20, 20};
    QTest::newRow("next from 14") << next << 21 << QList<int>{14, 20};
    QTest::newRow("prev from 20") << prev << 21 << QList<int>{20, 14, 8, 2, 1, 1};
    QTest::newRow("three rows") << next << 4 << QList<int>{1, 3};
    QTest::newRow("top") << int(PageButton::Top) << 21 << QList<int>{17, 1};
    QTest::newRow("bottom") << int(PageButton::Bottom) << 21 << QList<int>{3, 20};
    QTest::newRow("no body rows") << next << 1 << QList<int>{0, 0};
  }
  void paging() {
    QFETCH(int, button);
    QFETCH(int, rows);
    QFETCH(QList<int>, path);
    for (int i = 1; i < path.size(); ++i)
      QCOMPARE(PageTarget(PageButton(button), path[i - 1], rows), path[i]);
  }
};

QTEST_MAIN(TestFlexGrid)
#include "tst_flex_grid.moc"
