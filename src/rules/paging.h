#pragma once

namespace qlc {

// The four paging buttons beside the table.
enum class PageButton { Top, Prev, Next, Bottom };

inline constexpr int PageStep = 6;

// The new current row for a paging button, given the current row and the row count
// (header included). 0 when the table has no body rows.
constexpr int PageTarget(PageButton button, int currentRow, int rows) {
  const int last = rows - 1;
  if (last < 1) return 0;
  switch (button) {
    case PageButton::Top:
      return 1;
    case PageButton::Prev:
      return currentRow - PageStep >= 1 ? currentRow - PageStep : 1;
    case PageButton::Next:
      return currentRow + PageStep <= last ? currentRow + PageStep : last;
    case PageButton::Bottom:
      return last;
  }
  return 0;
}

}  // namespace qlc
