#pragma once

#include <QString>
#include <vector>

#include "numbers/read_number.h"

namespace qlc {

// The sort order of a column of texts: two keys that both read as numbers compare as
// numbers, any other pair compares as text (case-insensitive, in the user's locale).
// This is not a strict weak order when numbers and names mix, so it is used only with a
// stable merge sort; equal keys keep their order. Returns the body-row permutation.
std::vector<int> GenericSortOrder(const std::vector<QString> &keys, bool descending);
std::vector<int> GenericSortOrder(const std::vector<QString> &keys, bool descending,
                                  const NumberSeparators &sep);

}  // namespace qlc
