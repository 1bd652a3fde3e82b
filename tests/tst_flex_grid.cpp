#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include "table/flex_grid.h"
#include "test_support.h"

using namespace qlc;

namespace {
QStringList Column(const FlexGrid &g, int col) {
  QStringList out;
  for (int r = 1; r < g.Rows(); ++r) out << g.TextMatrix(r, col);
  return out;
}

struct SortRow {
  const char *name;
  QStringList keys;
  int order;  // 1 ascending, 2 descending
  QStringList sorted;
};

enum Change { Text, AddOwnRow, Remove, Sort };
struct ShareRow {
  const char *name;
  Change change;
  bool inMaster;  // the change is made in the grid that owns the rows
  QStringList changed;
};

}  // namespace

class TestFlexGrid : public QObject {
  Q_OBJECT
 private slots:
  void sort_data() {
    // clang-format off
    const SortRow rows[] = {
        {.name = "numbers", .keys = {"10", "9", "100", "-1"}, .order = 1, .sorted = {"-1", "9", "10", "100"}},
        {.name = "names", .keys = {"beta", "Alpha", "gamma"}, .order = 1, .sorted = {"Alpha", "beta", "gamma"}},
        {.name = "names descending", .keys = {"beta", "Alpha", "gamma"}, .order = 2, .sorted = {"gamma", "beta", "Alpha"}},
        {.name = "case", .keys = {"b", "A", "a", "B"}, .order = 1, .sorted = {"A", "a", "b", "B"}},
        {.name = "mixed", .keys = {"Meters", "10", "9", "Feet"}, .order = 1, .sorted = {"9", "10", "Feet", "Meters"}},
        {.name = "equal keys", .keys = {"b", "a", "b", "a"}, .order = 1, .sorted = {"a", "a", "b", "b"}},
        {.name = "equal keys descending", .keys = {"b", "a", "b", "a"}, .order = 2, .sorted = {"b", "b", "a", "a"}}};
    // clang-format on
    test::AddRows(rows);
  }
  // Rows move whole, the header stays, and equal keys keep their order in both directions.
  void sort() {
    QFETCH(SortRow, row);
    FlexGrid grid(2, nullptr);
    for (int i = 0; i < row.keys.size(); ++i) grid.AddItem(row.keys[i] + '\t' + QString::number(i));
    grid.SetTextMatrix(0, 0, "HEAD");
    grid.Sort(row.order, 0);
    QCOMPARE(Column(grid, 0), row.sorted);
    QCOMPARE(grid.TextMatrix(0, 0), QString("HEAD"));
    for (int r = 1; r < grid.Rows(); ++r) {
      const int original = grid.TextMatrix(r, 1).toInt();
      QCOMPARE(row.keys[original], grid.TextMatrix(r, 0));
      if (r > 1 &&
          grid.TextMatrix(r, 0).compare(grid.TextMatrix(r - 1, 0), Qt::CaseInsensitive) == 0)
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
    // clang-format off
    const ShareRow rows[] = {
        {.name = "text", .change = Text, .inMaster = false, .changed = {"b", "x", "a"}},
        {.name = "own row", .change = AddOwnRow, .inMaster = false, .changed = {"b", "c", "a", "b"}},
        {.name = "remove", .change = Remove, .inMaster = false, .changed = {"c", "a"}},
        {.name = "sort", .change = Sort, .inMaster = false, .changed = {"a", "b", "c"}},
        {.name = "text in master", .change = Text, .inMaster = true, .changed = {"b", "x", "a", ""}},
        {.name = "sort in master", .change = Sort, .inMaster = true, .changed = {"", "a", "b", "c"}}};
    // clang-format on
    test::AddRows(rows);
  }
  void sharedRows() {
    QFETCH(ShareRow, row);
    FlexGrid master(2, nullptr), shown(2, nullptr);
    for (const char *unit : {"b", "c", "a"}) master.AddItem(QString(unit) + "\t1");
    master.AddItem(QString());  // a row the other grid does not show
    shown.ShareRows(master, 3);
    QCOMPARE(Column(shown, 0), (QStringList{"b", "c", "a"}));
    FlexGrid &grid = row.inMaster ? master : shown;
    if (row.change == Text) grid.SetTextMatrix(2, 0, "x");
    if (row.change == AddOwnRow) grid.AddRow(grid.RowCells(1));
    if (row.change == Remove) grid.RemoveItem(1);
    if (row.change == Sort) grid.Sort(1, 0);
    QCOMPARE(Column(grid, 0), row.changed);
    QCOMPARE(Column(row.inMaster ? shown : master, 0),
             (row.inMaster ? QStringList{"b", "c", "a"} : QStringList{"b", "c", "a", ""}));
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
};

QTEST_MAIN(TestFlexGrid)
#include "tst_flex_grid.moc"
