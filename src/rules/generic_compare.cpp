#include "rules/generic_compare.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <optional>

namespace qlc {

namespace {

// One row's key as the sort compares it. The rows are sorted as these records, not as
// indexes into them, so that the sort reads memory in order.
struct Item {
  double number = 0.0;
  int text = 0;  // index into the text keys, or the rank of the text in collation order
  int row = 0;
  bool numeric = false;
};

// What is known of one distinct text.
struct Text {
  bool numeric = false;
  double number = 0.0;
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

  // Keys are computed once per distinct text (unit names repeat across records): a number
  // where the text reads as one, and a collation key for every text (a number also
  // compares as text against a name).
  std::vector<Item> items(keys.size());
  QHash<QString, int> distinct;
  distinct.reserve(qsizetype(keys.size()));
  std::vector<Text> texts;
  std::vector<QCollatorSortKey> textKeys;
  textKeys.reserve(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    auto it = distinct.constFind(keys[i]);
    if (it == distinct.constEnd()) {
      it = distinct.insert(keys[i], int(textKeys.size()));
      const ReadResult r = ReadNumber(keys[i], sep);
      texts.push_back({r.ok(), r.value});
      // Folding first keeps the order case-insensitive even where the collator (the C
      // locale) would not be.
      textKeys.push_back(collator.sortKey(keys[i].toCaseFolded()));
    }
    const Text &t = texts[size_t(*it)];
    items[i] = {t.number, *it, int(i), t.numeric};
  }
  // Ranking pays where names repeat; where most texts differ, the keys are compared as
  // they are, which saves the extra pass over them.
  const bool ranked = textKeys.size() * 2 <= keys.size();
  if (ranked) {
    std::vector<int> byKey(textKeys.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(),
              [&](int a, int b) { return textKeys[size_t(a)].compare(textKeys[size_t(b)]) < 0; });
    std::vector<int> rank(textKeys.size());
    int next = 0;
    for (size_t k = 0; k < byKey.size(); ++k) {
      if (k > 0 && textKeys[size_t(byKey[k - 1])].compare(textKeys[size_t(byKey[k])]) < 0) ++next;
      rank[size_t(byKey[k])] = next;
    }
    for (Item &item : items) item.text = rank[size_t(item.text)];
  }

  auto less = [&](const Item &a, const Item &b) {
    if (a.numeric && b.numeric) return a.number < b.number;
    if (ranked) return a.text < b.text;
    return textKeys[size_t(a.text)].compare(textKeys[size_t(b.text)]) < 0;
  };
  if (descending)
    std::stable_sort(items.begin(), items.end(),
                     [&](const Item &a, const Item &b) { return less(b, a); });
  else
    std::stable_sort(items.begin(), items.end(), less);
  std::vector<int> order(keys.size());
  for (size_t k = 0; k < items.size(); ++k) order[k] = items[k].row;
  return order;
}

}  // namespace qlc
