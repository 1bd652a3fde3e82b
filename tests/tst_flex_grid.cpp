// The grid's own rules; sorting and paging through the window are in tst_main_window.
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
  // Rows move whole, the header stays, and keys equal but for case keep their order both ways.
  void sortIsStable() {
    for (const auto &[order, sorted] :
         {std::pair{1, "HEAD a1 a3 b0 B2"}, std::pair{2, "HEAD b0 B2 a1 a3"}}) {
      FlexGrid grid(2, nullptr);
      grid.SetTextMatrix(0, 0, "HEAD");
      for (const char *key : {"b\t0", "a\t1", "B\t2", "a\t3"}) grid.AddItem(key);
      grid.Sort(order, 0);
      QStringList shown{grid.TextMatrix(0, 0)};
      for (int r = 1; r < grid.Rows(); ++r) shown << grid.TextMatrix(r, 0) + grid.TextMatrix(r, 1);
      QCOMPARE(shown.join(' '), QString(sorted));
    }
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
    for (const char *unit : {"b\t1", "c\t1", "a\t1", ""}) master.AddItem(unit);
    shown.ShareRows(master, 3);  // all but the last
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
    const QString cells[5] = {"a", "b", "c", "1", "0"};
    for (int i = 0; i < 5000; ++i) grid.AddRow(cells);
    grid.SetRedraw(true);
    QCOMPARE(QList<qsizetype>({resets.count(), inserts.count()}), QList<qsizetype>({1, 0}));
    grid.SetRow(12);
    grid.SetColSel(1);
    QCOMPARE(grid.view()->selectionModel()->selectedIndexes().size(), 2);
    QCOMPARE(grid.view()->currentIndex().row(), 11);
  }
};

QTEST_MAIN(TestFlexGrid)
#include "tst_flex_grid.moc"
