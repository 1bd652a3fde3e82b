#include "table/generic_compare.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <optional>

namespace qlc {

namespace {

struct Key {
  bool numeric = false;
  double number = 0.0;
  int text = 0;  // index into the text keys
};

}  // namespace

std::vector<int> GenericSortOrder(const std::vector<QString> &keys, bool descending) {
  return GenericSortOrder(keys, descending, CurrentSeparators());
}

std::vector<int> GenericSortOrder(const std::vector<QString> &keys, bool descending,
                                  const NumberSeparators &sep) {
  QCollator collator{QLocale()};
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  collator.setNumericMode(false);

  // Keys are computed once per sort: a number where the text reads as one, and a
  // collation key for every text (a number also compares as text against a name).
  std::vector<Key> parsed(keys.size());
  std::vector<QCollatorSortKey> textKeys;
  textKeys.reserve(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    const ReadResult r = ReadNumber(keys[i], sep);
    parsed[i].numeric = r.ok();
    parsed[i].number = r.value;
    parsed[i].text = int(textKeys.size());
    // Folding first keeps the order case-insensitive even where the collator (the C
    // locale) would not be.
    textKeys.push_back(collator.sortKey(keys[i].toCaseFolded()));
  }
  auto less = [&](int a, int b) {
    const Key &ka = parsed[size_t(a)], &kb = parsed[size_t(b)];
    if (ka.numeric && kb.numeric) return ka.number < kb.number;
    return textKeys[size_t(ka.text)].compare(textKeys[size_t(kb.text)]) < 0;
  };
  std::vector<int> order(keys.size());
  std::iota(order.begin(), order.end(), 0);
  if (descending)
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
  else
    std::stable_sort(order.begin(), order.end(), less);
  return order;
}

}  // namespace qlc
