// Table navigation: clicks on the table (sort by a header, select a row) and paging.

#include "main_window/frm_main.h"
#include "table/flex_grid.h"

namespace qlc {

namespace {

// A sorted column's caption is 13 characters with the direction mark last: v ascending,
// ^ descending.
const QString kFromAsc = QStringLiteral("FROM        v");
const QString kFromDesc = QStringLiteral("FROM        ^");
const QString kToAsc = QStringLiteral("TO          v");
const QString kToDesc = QStringLiteral("TO          ^");

// Sorts by one column and flips its memory: ascending unless it was last ascending.
// Returns true for an ascending sort.
bool SortByMemory(FlexGrid &grid, int column, std::int16_t &memory) {
  const bool ascending = memory != 1;
  grid.Sort(ascending ? 1 : 2, column);
  memory = ascending ? 1 : 2;
  return ascending;
}

}  // namespace

void frmMain::PlainHeader() {
  MSFlexGrid1->SetTextMatrix(0, 0, QStringLiteral("FROM"));
  MSFlexGrid1->SetTextMatrix(0, 1, QStringLiteral("TO"));
}

void frmMain::MSFlexGrid1_Click() {
  FlexGrid &grid = *MSFlexGrid1;
  const int mouseRow = grid.MouseRow();
  if (mouseRow == 0) {
    if (grid.Rows() <= 1) return;
    switch (grid.MouseCol()) {
      case 0: {
        const bool asc = SortByMemory(grid, 0, SortFrom);
        PlainHeader();
        grid.SetTextMatrix(0, 0, asc ? kFromAsc : kFromDesc);
        break;
      }
      case 1: {
        const bool asc = SortByMemory(grid, 1, SortTo);
        PlainHeader();
        grid.SetTextMatrix(0, 1, asc ? kToAsc : kToDesc);
        break;
      }
      case 2:
        SortByMemory(grid, 2, SortType);
        break;
      default:
        break;
    }
    return;
  }
  // A click below the last row lands on no row and does nothing.
  if (mouseRow < 1) return;
  grid.SetCol(0);
  grid.SetColSel(2);
  ReconvertCurrentRow(TableFormats);
}

void frmMain::Page(PageButton button, const PatternSet &set) {
  FlexGrid &grid = *MSFlexGrid1;
  const int target = PageTarget(button, grid.Row(), grid.Rows());
  if (target < 1) return;  // no body rows: nothing to move to
  grid.SetTopRow(target);
  grid.SetRow(target);
  grid.SetColSel(1);
  ReconvertCurrentRow(set);
}

void frmMain::TopBtn_Click() {
  Page(PageButton::Top, TableFormats);
}
void frmMain::PrevBtn_Click() {
  Page(PageButton::Prev, PrevPageFormats);
}
void frmMain::NextBtn_Click() {
  Page(PageButton::Next, TableFormats);
}
void frmMain::BtmBtn_Click() {
  Page(PageButton::Bottom, TableFormats);
}

}  // namespace qlc
