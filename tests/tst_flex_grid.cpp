#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include "rules/paging.h"
#include "table/flex_grid.h"

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
  // Rows move whole, the header stays, and equal keys keep their order in both directions.
  void sort() {
    const std::tuple<QStringList, int, QStringList> rows[] = {
        {{"10", "9", "100", "-1"}, 1, {"-1", "9", "10", "100"}},
        {{"beta", "Alpha", "gamma"}, 1, {"Alpha", "beta", "gamma"}},
        {{"beta", "Alpha", "gamma"}, 2, {"gamma", "beta", "Alpha"}},
        {{"Meters", "10", "9", "Feet"}, 1, {"9", "10", "Feet", "Meters"}},
        {{"b", "a", "b", "a"}, 1, {"a", "a", "b", "b"}},
        {{"b", "a", "b", "a"}, 2, {"b", "b", "a", "a"}}};
    for (const auto &[keys, order, sorted] : rows) {
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
  void sharedRows() {
    enum Change { Text, AddOwnRow, Remove, Sort };
    const std::tuple<Change, bool, QStringList> rows[] = {
        // change, in master, column 0
        {Text, false, {"b", "x", "a"}},    {AddOwnRow, false, {"b", "c", "a", "b"}},
        {Remove, false, {"c", "a"}},       {Sort, false, {"a", "b", "c"}},
        {Text, true, {"b", "x", "a", ""}}, {Sort, true, {"", "a", "b", "c"}}};
    for (const auto &[change, inMaster, changed] : rows) {
      FlexGrid master(2, nullptr), shown(2, nullptr);
      for (const char *unit : {"b", "c", "a"}) master.AddItem(QString(unit) + "\t1");
      master.AddItem(QString());  // a row the other grid does not show
      shown.ShareRows(master, 3);
      QCOMPARE(Column(shown, 0), (QStringList{"b", "c", "a"}));
      FlexGrid &grid = inMaster ? master : shown;
      if (change == Text) grid.SetTextMatrix(2, 0, "x");
      if (change == AddOwnRow) grid.AddRow(grid.RowCells(1));
      if (change == Remove) grid.RemoveItem(1);
      if (change == Sort) grid.Sort(1, 0);
      QCOMPARE(Column(grid, 0), changed);
      QCOMPARE(Column(inMaster ? shown : master, 0),
               (inMaster ? QStringList{"b", "c", "a"} : QStringList{"b", "c", "a", ""}));
    }
  }

  // A refill with redraw off is one reset; the highlight spans the current row from the
  // current column to the selected one.
  void refillAndHighlight() {
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
    grid.SetRow(12);
    grid.SetCol(0);
    grid.SetColSel(1);
    QCOMPARE(grid.view()->selectionModel()->selectedIndexes().size(), 2);
    QCOMPARE(grid.view()->currentIndex().row(), 11);
  }

  // The row after each click of a paging button, from the first row given.
  void paging() {
    using B = PageButton;
    // clang-format off
    const std::tuple<B, int, QList<int>> rows[] = {
        {B::Next, 21, {1, 7, 13, 19, 20, 20}}, {B::Next, 21, {14, 20}}, {B::Next, 4, {1, 3}},
        {B::Prev, 21, {20, 14, 8, 2, 1, 1}}, {B::Top, 21, {17, 1}}, {B::Bottom, 21, {3, 20}},
        {B::Next, 1, {0, 0}}};  // no body rows
    // clang-format on
    for (const auto &[button, count, path] : rows)
      for (int i = 1; i < path.size(); ++i)
        QCOMPARE(PageTarget(button, path[i - 1], count), path[i]);
  }
};

QTEST_MAIN(TestFlexGrid)
#include "tst_flex_grid.moc"
