#pragma once

#include <QAbstractTableModel>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTableView>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>
class QWidget;

namespace qlc {

class FlexGrid;

// The cells of a FlexGrid as a Qt model: row 0 of the grid is the horizontal header,
// body rows 1.. are model rows 0..
class FlexGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit FlexGridModel(FlexGrid *grid);
  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  friend class FlexGrid;
  FlexGrid *grid_;
};

// A grid of text cells with one fixed header row (row 0) and no fixed column, shown by an
// optional QTableView. Positions and widths are in twips (15 to the logical pixel).
class FlexGrid : public QObject {
  Q_OBJECT
 public:
  // With a null viewParent the grid has no view (a hidden table).
  FlexGrid(int cols, QWidget *viewParent, QObject *parent = nullptr);
  ~FlexGrid() override;

  QTableView *view() const { return view_; }
  FlexGridModel *model() const { return model_; }

  int Rows() const { return rows_; }
  int Cols() const { return cols_; }
  QString TextMatrix(int row, int col) const;
  void SetTextMatrix(int row, int col, const QString &text);

  // Appends one row; the text's tab-separated parts fill its cells from column 0.
  void AddItem(const QString &text);
  // Appends one row from cols() cells.
  void AddRow(const QString *cells);
  // Appends a copy of a body row of another grid of as many columns.
  void AddRowOf(const FlexGrid &source, int row);
  void RemoveItem(int row);
  // Removes every body row at once.
  void ClearBody();
  // Makes the body these rows, in place of its own: cols() cells a row, each an index
  // into texts.
  void SetCells(std::vector<QString> texts, std::vector<std::uint32_t> cells);
  // Makes the body rows the first count body rows of another grid of as many columns,
  // in place of its own. The two grids share those cells until either changes its rows.
  void ShareRows(const FlexGrid &source, int count);

  // While redraw is off, changes to rows reach the view as one model reset when redraw
  // is switched on again: refilling thousands of rows costs one view update.
  void SetRedraw(bool on);

  int ColWidth(int col) const;
  void SetColWidth(int col, int twips);
  int Width() const;

  int Row() const { return row_; }
  void SetRow(int row);
  int Col() const { return col_; }
  void SetCol(int col);
  // The last column of the selection, which runs from Col to ColSel along the current row.
  int ColSel() const { return colSel_; }
  void SetColSel(int col);
  int TopRow() const;
  void SetTopRow(int row);

  // Row and column under the pointer at the last click; -1 where it was not over a cell.
  int MouseRow() const { return mouseRow_; }
  int MouseCol() const { return mouseCol_; }

  // Sorts the body rows by one column: order 1 ascending, 2 descending. The keys are
  // computed once and ordered stably (equal keys keep their order in both directions).
  void Sort(int order, int column);

 signals:
  // A mouse click on the view, once per click and once per double click; MouseRow and
  // MouseCol tell where.
  void Click();

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  friend class FlexGridModel;
  void ApplyHighlight();
  void SyncCurrentFromView();
  void RowsChangedBegin(int first, int last, bool insert);
  void RowsChangedEnd(bool insert);
  // Gives the grid a body of its own holding exactly its rows, before it changes them.
  void Detach();
  std::uint32_t AddText(const QString &text);

  int cols_;
  int rows_ = 1;
  std::vector<QString> header_;  // row 0
  // Rows 1.., row-major, each cell an index into texts_ (a cell is 4 bytes, and a text
  // that repeats is held once); shared with another grid after ShareRows, and then
  // possibly longer than this grid's rows.
  std::shared_ptr<std::vector<std::uint32_t>> body_;
  // The texts the cells index, shared as the body is; while shared, only appended to, so
  // that each grid can add texts of its own.
  std::shared_ptr<std::vector<QString>> texts_;
  std::vector<int> colWidths_;  // twips, -1 = default
  int row_ = 0, col_ = 0, colSel_ = 0;
  int mouseRow_ = -1, mouseCol_ = -1;
  bool clickPressed_ = false;  // a press whose release is a click
  bool redraw_ = true;
  bool pendingReset_ = false;
  bool syncing_ = false;
  FlexGridModel *model_;
  QPointer<QTableView> view_;
};

}  // namespace qlc
