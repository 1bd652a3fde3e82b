#include "table/generic_compare.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <optional>

namespace qlc {

namespace {

struct Key {
  bool numeric = false;
  double number = 0.0;
  int text = 0;  // index into the text keys, or the rank of the text in collation order
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
  // collation key for every text (a number also compares as text against a name). Unit
  // names repeat across records, so each distinct text is collated once.
  std::vector<Key> parsed(keys.size());
  QHash<QString, int> distinct;
  distinct.reserve(qsizetype(keys.size()));
  std::vector<QCollatorSortKey> textKeys;
  textKeys.reserve(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    const ReadResult r = ReadNumber(keys[i], sep);
    parsed[i].numeric = r.ok();
    parsed[i].number = r.value;
    auto it = distinct.constFind(keys[i]);
    if (it == distinct.constEnd()) {
      it = distinct.insert(keys[i], int(textKeys.size()));
      // Folding first keeps the order case-insensitive even where the collator (the C
      // locale) would not be.
      textKeys.push_back(collator.sortKey(keys[i].toCaseFolded()));
    }
    parsed[i].text = *it;
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
    for (Key &key : parsed) key.text = rank[size_t(key.text)];
  }

  auto less = [&](int a, int b) {
    const Key &ka = parsed[size_t(a)], &kb = parsed[size_t(b)];
    if (ka.numeric && kb.numeric) return ka.number < kb.number;
    if (ranked) return ka.text < kb.text;
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
