#include "table/flex_grid.h"

#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "rules/generic_compare.h"
#include "widgets/design.h"

namespace qlc {

FlexGridModel::FlexGridModel(FlexGrid *grid) : QAbstractTableModel(grid), grid_(grid) {}

int FlexGridModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : grid_->rows_ - 1;
}

int FlexGridModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() ? 0 : grid_->cols_;
}

QVariant FlexGridModel::data(const QModelIndex &index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) return {};
  return grid_->TextMatrix(index.row() + 1, index.column());
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= grid_->cols_) return {};
  if (role == Qt::DisplayRole) return grid_->TextMatrix(0, section);
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

namespace {

// Paints cells as usual. Hovering a cell whose text is cut shows the table's own tooltip with
// the whole text on a second line; a cell that shows its text whole keeps the table's tooltip.
class CellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                 const QModelIndex &index) override {
    // The text is cut where it needs more than the cell's width (option.rect, the cell less
    // its grid line), or than the part of the cell the view shows.
    const int shown = option.rect.intersected(view->viewport()->rect()).width();
    if (event->type() == QEvent::ToolTip && index.isValid() &&
        sizeHint(option, index).width() > shown) {
      QString tip = view->toolTip();
      if (!tip.isEmpty()) tip += u'\n';
      tip += index.data(Qt::DisplayRole).toString();
      QToolTip::showText(event->globalPos(), PlainTip(tip), view->viewport(), option.rect);
      return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  }
};

}  // namespace

FlexGrid::FlexGrid(int cols, QWidget *viewParent, QObject *parent)
    : QObject(parent),
      cols_(std::max(1, cols)),
      header_(size_t(cols_)),
      body_(std::make_shared<std::vector<std::uint32_t>>()),
      texts_(std::make_shared<std::vector<QString>>()),
      colWidths_(size_t(cols_), -1),
      model_(new FlexGridModel(this)) {
  if (!viewParent) return;
  auto *view = new QTableView(viewParent);
  view_ = view;
  view->setModel(model_);
  view->setItemDelegate(new CellDelegate(view));
  // Tab and Shift+Tab go on to the window's next and previous control: a table that took
  // them for moving between cells could not be left by keyboard. The arrow keys move.
  view->setTabKeyNavigation(false);
  view->setSelectionMode(QAbstractItemView::NoSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSortingEnabled(false);
  view->setWordWrap(false);
  view->setCornerButtonEnabled(false);
  view->verticalHeader()->hide();
  // Fixed row heights keep tens of thousands of rows cheap to lay out.
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(16);
  view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->horizontalHeader()->setSectionsClickable(true);
  view->horizontalHeader()->setHighlightSections(false);
  view->horizontalHeader()->setSortIndicatorShown(false);
  view->horizontalHeader()->setStretchLastSection(false);
  view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  view->viewport()->installEventFilter(this);
  view->horizontalHeader()->viewport()->installEventFilter(this);
  connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this] { SyncCurrentFromView(); });
}

FlexGrid::~FlexGrid() = default;

QString FlexGrid::TextMatrix(int row, int col) const {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) return {};
  if (row == 0) return header_[size_t(col)];
  return (*texts_)[(*body_)[size_t(row - 1) * size_t(cols_) + size_t(col)]];
}

void FlexGrid::Detach() {
  const size_t used = size_t(rows_ - 1) * size_t(cols_);
  if (body_.use_count() > 1)
    body_ = std::make_shared<std::vector<std::uint32_t>>(body_->begin(),
                                                         body_->begin() + ptrdiff_t(used));
  else if (body_->size() != used)
    body_->resize(used);
}

std::uint32_t FlexGrid::AddText(const QString &text) {
  texts_->push_back(text);
  return std::uint32_t(texts_->size() - 1);
}

void FlexGrid::SetTextMatrix(int row, int col, const QString &text) {
  if (row < 0 || row >= rows_ || col < 0 || col >= cols_) return;
  if (row == 0) {
    header_[size_t(col)] = text;
  } else {
    Detach();
    (*body_)[size_t(row - 1) * size_t(cols_) + size_t(col)] = AddText(text);
  }
  if (!redraw_) return;
  if (row == 0)
    emit model_->headerDataChanged(Qt::Horizontal, col, col);
  else
    emit model_->dataChanged(model_->index(row - 1, col), model_->index(row - 1, col));
}

void FlexGrid::RowsChangedBegin(int first, int last, bool insert) {
  if (!redraw_) {
    pendingReset_ = true;
    return;
  }
  if (insert)
    model_->beginInsertRows({}, first - 1, last - 1);
  else
    model_->beginRemoveRows({}, first - 1, last - 1);
}

void FlexGrid::RowsChangedEnd(bool insert) {
  if (!redraw_) return;
  if (insert)
    model_->endInsertRows();
  else
    model_->endRemoveRows();
}

void FlexGrid::AddItem(const QString &text) {
  std::vector<QString> row(static_cast<size_t>(cols_));
  if (!text.isEmpty()) {
    const auto parts = text.split(u'\t');
    for (int c = 0; c < cols_ && c < parts.size(); ++c) row[size_t(c)] = parts[c];
  }
  AddRow(row.data());
}

void FlexGrid::AddRow(const QString *cells) {
  RowsChangedBegin(rows_, rows_, true);
  Detach();
  for (int c = 0; c < cols_; ++c) body_->push_back(AddText(cells[c]));
  ++rows_;
  RowsChangedEnd(true);
}

void FlexGrid::AddRowOf(const FlexGrid &source, int row) {
  if (source.cols_ != cols_ || row < 1 || row >= source.rows_) return;
  // An empty grid takes the source's texts, and its rows are then copied as indexes.
  if (rows_ == 1 && texts_ != source.texts_) texts_ = source.texts_;
  if (texts_ != source.texts_) {
    std::vector<QString> cells(static_cast<size_t>(cols_));
    for (int c = 0; c < cols_; ++c) cells[size_t(c)] = source.TextMatrix(row, c);
    AddRow(cells.data());
    return;
  }
  RowsChangedBegin(rows_, rows_, true);
  Detach();
  const size_t first = size_t(row - 1) * size_t(cols_);
  for (int c = 0; c < cols_; ++c) {
    const std::uint32_t id = (*source.body_)[first + size_t(c)];  // the source may be this grid
    body_->push_back(id);
  }
  ++rows_;
  RowsChangedEnd(true);
}

void FlexGrid::RemoveItem(int row) {
  if (row < 1 || row >= rows_) return;
  RowsChangedBegin(row, row, false);
  Detach();
  const auto first = body_->begin() + ptrdiff_t(row - 1) * cols_;
  body_->erase(first, first + cols_);
  --rows_;
  RowsChangedEnd(false);
  if (row_ >= rows_) row_ = rows_ - 1;
}

void FlexGrid::SetCells(std::vector<QString> texts, std::vector<std::uint32_t> cells) {
  if (redraw_) model_->beginResetModel();
  texts_ = std::make_shared<std::vector<QString>>(std::move(texts));
  body_ = std::make_shared<std::vector<std::uint32_t>>(std::move(cells));
  rows_ = int(body_->size() / size_t(cols_)) + 1;
  row_ = 0;
  if (redraw_)
    model_->endResetModel();
  else
    pendingReset_ = true;
}

void FlexGrid::ShareRows(const FlexGrid &source, int count) {
  if (&source == this || source.cols_ != cols_ || count < 0 || count >= source.rows_) return;
  if (redraw_) model_->beginResetModel();
  body_ = source.body_;
  texts_ = source.texts_;
  rows_ = count + 1;
  row_ = 0;
  if (redraw_)
    model_->endResetModel();
  else
    pendingReset_ = true;
}

void FlexGrid::ClearBody() {
  if (rows_ <= 1) return;
  if (redraw_) model_->beginResetModel();
  if (body_.use_count() > 1)
    body_ = std::make_shared<std::vector<std::uint32_t>>();
  else
    body_->clear();
  if (texts_.use_count() > 1)
    texts_ = std::make_shared<std::vector<QString>>();
  else
    texts_->clear();
  rows_ = 1;
  row_ = 0;
  if (redraw_)
    model_->endResetModel();
  else
    pendingReset_ = true;
}

void FlexGrid::SetRedraw(bool on) {
  if (on == redraw_) return;
  if (!on) {
    redraw_ = false;
    return;
  }
  redraw_ = true;
  if (pendingReset_) {
    pendingReset_ = false;
    model_->beginResetModel();
    model_->endResetModel();
    emit model_->headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
    ApplyHighlight();
  }
}

int FlexGrid::ColWidth(int col) const {
  if (col < 0 || col >= cols_) return 0;
  const int w = colWidths_[size_t(col)];
  if (w >= 0) return w;
  return !view_.isNull() ? view_->columnWidth(col) * kTwipsPerPixel : 0;
}

void FlexGrid::SetColWidth(int col, int twips) {
  if (col < 0 || col >= cols_) return;
  colWidths_[size_t(col)] = std::max(0, twips);
  if (view_.isNull()) return;
  // A zero width hides the column; its cells keep their text and move with their row.
  view_->setColumnHidden(col, twips <= 0);
  if (twips > 0) view_->setColumnWidth(col, TwipsToPx(twips));
}

int FlexGrid::Width() const {
  return !view_.isNull() ? view_->width() * kTwipsPerPixel : 0;
}

void FlexGrid::SetRow(int row) {
  if (row < 0 || row >= rows_) return;
  row_ = row;
  colSel_ = col_;  // a new current row collapses the highlight to its current cell
  ApplyHighlight();
}

void FlexGrid::SetCol(int col) {
  if (col < 0 || col >= cols_) return;
  col_ = col;
  colSel_ = col;  // setting the current cell collapses the highlight to it
  ApplyHighlight();
}

void FlexGrid::SetColSel(int col) {
  if (col < 0 || col >= cols_) return;
  colSel_ = col;
  ApplyHighlight();
}

int FlexGrid::TopRow() const {
  if (view_.isNull()) return rows_ > 1 ? 1 : 0;
  return view_->verticalScrollBar()->value() + 1;
}

void FlexGrid::SetTopRow(int row) {
  if (view_.isNull() || row < 1 || row >= rows_) return;
  // Per-item scrolling: the scroll value is the first body row shown. Near the end the
  // bar clamps and the view shows the last rows.
  view_->verticalScrollBar()->setValue(row - 1);
}

void FlexGrid::ApplyHighlight() {
  if (view_.isNull() || !redraw_) return;
  syncing_ = true;
  auto *sel = view_->selectionModel();
  if (row_ >= 1 && row_ < rows_) {
    const QModelIndex current = model_->index(row_ - 1, col_);
    sel->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    const int from = std::min(col_, colSel_), to = std::max(col_, colSel_);
    sel->select(QItemSelection(model_->index(row_ - 1, from), model_->index(row_ - 1, to)),
                QItemSelectionModel::ClearAndSelect);
  } else {
    sel->clear();
  }
  syncing_ = false;
}

void FlexGrid::SyncCurrentFromView() {
  if (syncing_ || view_.isNull()) return;
  // Keyboard movement in the view changes the current cell, as in the grid's own keys.
  const QModelIndex current = view_->selectionModel()->currentIndex();
  if (!current.isValid()) return;
  row_ = current.row() + 1;
  col_ = current.column();
  colSel_ = col_;
  ApplyHighlight();
}

bool FlexGrid::eventFilter(QObject *watched, QEvent *event) {
  // Only mouse events matter; others also arrive while the view is being destroyed,
  // when it must not be touched.
  const auto type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
      type != QEvent::MouseButtonRelease)
    return false;
  if (view_.isNull()) return false;
  const bool onBody = watched == view_->viewport();
  if (!onBody && watched != view_->horizontalHeader()->viewport()) return false;
  auto *mouse = static_cast<QMouseEvent *>(event);
  // Only the left button clicks; the others would move the view's current row unseen by
  // the program.
  if (mouse->button() != Qt::LeftButton) return true;
  // A double click arrives as press, release, double click, release: one click (the first
  // press and release) and then a double click, which nothing here handles. Two clicks
  // too far apart in time are two presses and give two clicks.
  if (type == QEvent::MouseButtonDblClick) {
    clickPressed_ = false;
    return true;
  }
  if (type == QEvent::MouseButtonRelease) {
    if (clickPressed_) {
      clickPressed_ = false;
      emit Click();
    }
    return true;
  }
  clickPressed_ = true;
  const QPoint pos = mouse->position().toPoint();
  if (!onBody) {
    mouseRow_ = 0;
    mouseCol_ = view_->horizontalHeader()->logicalIndexAt(pos);
    return true;
  }
  const QModelIndex index = view_->indexAt(pos);
  mouseRow_ = index.isValid() ? index.row() + 1 : -1;
  mouseCol_ = index.isValid() ? index.column() : view_->columnAt(pos.x());
  // A press on a body cell makes its row current, as the grid control does.
  if (index.isValid()) {
    row_ = mouseRow_;
    col_ = mouseCol_;
    colSel_ = col_;
    ApplyHighlight();
  }
  return true;
}

void FlexGrid::Sort(int order, int column) {
  if ((order != 1 && order != 2) || column < 0 || column >= cols_ || rows_ <= 2) return;
  const int bodyRows = rows_ - 1;
  std::vector<QString> keys;
  keys.reserve(size_t(bodyRows));
  for (int r = 1; r < rows_; ++r) keys.push_back(TextMatrix(r, column));
  const std::vector<int> perm = GenericSortOrder(keys, order == 2);
  if (int(perm.size()) != bodyRows) return;
  // A new body: rows another grid shares stay as they are there.
  auto sorted = std::make_shared<std::vector<std::uint32_t>>();
  sorted->reserve(size_t(bodyRows) * size_t(cols_));
  for (int i : perm) {
    const auto first = body_->begin() + ptrdiff_t(i) * cols_;
    sorted->insert(sorted->end(), first, first + cols_);
  }
  if (redraw_) emit model_->layoutAboutToBeChanged();
  body_ = std::move(sorted);
  // The current row stays a row number, as in the grid control: persistent indexes are
  // left where they are.
  if (redraw_) {
    emit model_->layoutChanged();
    ApplyHighlight();
  } else {
    pendingReset_ = true;
  }
}

}  // namespace qlc
