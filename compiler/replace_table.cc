#include "compiler/replace_table.h"

#include <utility>

#include "source/fold_table.h"

namespace scrivlet {

namespace {

// Where `find` (already folded) occurs in `text` at or after `from`,
// without regard to case; npos when it does not.
std::size_t findFolded(std::string_view text, std::string_view find,
                       std::size_t from) {
  if (find.size() > text.size()) return std::string_view::npos;
  for (std::size_t at = from; at + find.size() <= text.size(); ++at) {
    if (foldByte(text[at]) != find[0]) continue;
    std::size_t i = 1;
    while (i < find.size() && foldByte(text[at + i]) == find[i]) ++i;
    if (i == find.size()) return at;
  }
  return std::string_view::npos;
}

// True when no byte of `text` has another case, so that a plain search
// finds it as well: "&", "<", "\"" of a replacement table.
bool isCaseless(std::string_view text) {
  static const std::array<bool, 256> caseless = [] {
    std::array<bool, 256> table;
    table.fill(true);
    for (int i = 0; i < 256; ++i) {
      char folded = foldByte(static_cast<char>(i));
      if (folded == static_cast<char>(i)) continue;
      table[static_cast<std::size_t>(i)] = false;
      table[static_cast<unsigned char>(folded)] = false;
    }
    return table;
  }();
  for (char c : text)
    if (!caseless[static_cast<unsigned char>(c)]) return false;
  return true;
}

}  // namespace

ReplaceTable::ReplaceTable(std::vector<std::string> pairs)
    : pairs_(std::move(pairs)) {
  for (std::size_t i = 0; i + 1 < pairs_.size(); i += 2) {
    if (pairs_[i].empty()) continue;
    Pair pair{pairs_[i], i + 1, false};
    for (char& c : pair.find) c = foldByte(c);
    pair.caseless = isCaseless(pair.find);
    active_.push_back(std::move(pair));
  }
  for (int i = 0; i < 256; ++i)
    for (const Pair& pair : active_)
      if (foldByte(static_cast<char>(i)) == pair.find[0])
        starts_[static_cast<std::size_t>(i)] = true;
}

void ReplaceTable::apply(std::string_view text, std::string& out) const {
  bool mayMatch = false;
  for (char c : text)
    if (starts_[static_cast<unsigned char>(c)]) {
      mayMatch = true;
      break;
    }
  if (!mayMatch) {
    out += text;
    return;
  }
  std::string current(text);
  std::string next;
  for (const Pair& pair : active_) {
    auto find = [&](std::size_t from) {
      return pair.caseless ? current.find(pair.find, from)
                           : findFolded(current, pair.find, from);
    };
    std::size_t at = find(0);
    if (at == std::string::npos) continue;
    next.clear();
    next.reserve(current.size());
    std::size_t from = 0;
    while (at != std::string::npos) {
      next.append(current, from, at - from);
      next += pairs_[pair.replacement];
      from = at + pair.find.size();
      at = find(from);
    }
    next.append(current, from, std::string::npos);
    current.swap(next);
  }
  out += current;
}

}  // namespace scrivlet
