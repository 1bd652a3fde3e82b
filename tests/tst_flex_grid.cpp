// The grid's own rules; sorting, paging and shared rows are tested through the window.
#include <QTableView>
#include <QtTest>

#include "table/flex_grid.h"

using namespace qlc;

class TestFlexGrid : public QObject {
  Q_OBJECT
 private slots:
  // Rows move whole, the header stays, and keys equal but for case keep their order both
  // ways, also where keys repeat enough to be ranked; also 17 equal keys, as std::sort leaves
  // runs of 16 or fewer to an insertion sort.
  void sortIsStable() {
    QString equal;
    for (int i = 1; i <= 17; ++i) equal += QString(" a%1").arg(i);
    const std::tuple<int, QString, QString> rows[] = {{1, "b0 a1 B2 a3", "a1 a3 b0 B2"},
                                                      {2, "b0 a1 B2 a3", "b0 B2 a1 a3"},
                                                      {1, "b0 a1 B2 a3 b4 a5", "a1 a3 a5 b0 B2 b4"},
                                                      {2, "a0" + equal + " b99", "b99 a0" + equal}};
    for (const auto &[order, keys, sorted] : rows) {
      FlexGrid grid(2, nullptr);
      grid.SetTextMatrix(0, 0, "HEAD");
      for (const QString &key : keys.split(' ')) grid.AddItem(key.left(1) + '\t' + key.mid(1));
      grid.Sort(order, 0);
      QStringList shown{grid.TextMatrix(0, 0)};
      for (int r = 1; r < grid.Rows(); ++r) shown << grid.TextMatrix(r, 0) + grid.TextMatrix(r, 1);
      QCOMPARE(shown.join(' '), "HEAD " + sorted);
    }
  }

  // The highlight spans the current row from the current column to the selected one.
  void highlight() {
    QWidget parent;
    FlexGrid grid(5, &parent);
    const QString cells[5] = {"a", "b", "c", "1", "0"};
    for (int i = 0; i < 20; ++i) grid.AddRow(cells);
    grid.SetRow(12);
    grid.SetColSel(1);
    QCOMPARE(grid.view()->selectionModel()->selectedIndexes().size(), 2);
    QCOMPARE(grid.view()->currentIndex().row(), 11);
    grid.SetRow(3);  // the old row's highlight goes
    grid.SetColSel(1);
    QCOMPARE(grid.view()->selectionModel()->selectedIndexes().size(), 2);
  }
};

QTEST_MAIN(TestFlexGrid)
#include "tst_flex_grid.moc"
