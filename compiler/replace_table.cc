#include "compiler/replace_table.h"

#include <utility>

#include "base/fold_table.h"

namespace scrivlet {

namespace {

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

// Whether `find` (folded) occurs in `text` at `at`.
bool matchesAt(std::string_view text, std::size_t at, std::string_view find) {
  if (text.size() - at < find.size()) return false;
  for (std::size_t i = 0; i < find.size(); ++i)
    if (foldByte(text[at + i]) != find[i]) return false;
  return true;
}

// Where `find` (folded) occurs in `text` at or after `from`, without regard
// to case; npos when it does not.
std::size_t findFolded(std::string_view text, std::string_view find,
                       std::size_t from) {
  for (std::size_t at = from; at < text.size(); ++at)
    if (matchesAt(text, at, find)) return at;
  return std::string_view::npos;
}

}  // namespace

ReplaceTable::ReplaceTable(std::vector<std::string> pairs)
    : pairs_(std::move(pairs)) {
  startOf_.fill(-1);
  for (std::size_t i = 0; i + 1 < pairs_.size(); i += 2) {
    if (pairs_[i].empty()) continue;
    Pair pair{pairs_[i], i + 1, false};
    for (char& c : pair.find) c = foldByte(c);
    pair.caseless = isCaseless(pair.find);
    active_.push_back(std::move(pair));
  }
  for (int b = 0; b < 256; ++b)
    for (std::size_t k = active_.size(); k-- > 0;)
      if (foldByte(static_cast<char>(b)) == active_[k].find[0])
        startOf_[static_cast<std::size_t>(b)] = static_cast<std::int16_t>(k);

  // One pass gives what the pairs in turn give when no two finds share a
  // byte (their matches neither overlap nor make or break one another) and
  // no replacement holds a byte of a later find or is empty (so no later
  // find matches in or across what an earlier pair wrote).
  auto bytesOf = [](std::string_view text) {
    std::array<bool, 256> bytes{};
    for (char c : text) bytes[static_cast<unsigned char>(foldByte(c))] = true;
    return bytes;
  };
  auto share = [](const std::array<bool, 256>& a,
                  const std::array<bool, 256>& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
      if (a[i] && b[i]) return true;
    return false;
  };
  onePass_ = true;
  for (std::size_t j = 0; j < active_.size() && onePass_; ++j) {
    const auto found = bytesOf(active_[j].find);
    for (std::size_t i = 0; i < j && onePass_; ++i) {
      const std::string& replacement = pairs_[active_[i].replacement];
      if (replacement.empty() || share(found, bytesOf(active_[i].find)) ||
          share(found, bytesOf(replacement)))
        onePass_ = false;
    }
  }
}

void ReplaceTable::apply(std::string_view text, std::string& out) const {
  if (onePass_) {
    std::size_t from = 0;
    std::size_t at = 0;
    while (at < text.size()) {
      const int k = startOf_[static_cast<unsigned char>(text[at])];
      const Pair* pair =
          k < 0 ? nullptr : &active_[static_cast<std::size_t>(k)];
      if (!pair || !matchesAt(text, at, pair->find)) {
        ++at;
        continue;
      }
      out.append(text.substr(from, at - from));
      out += pairs_[pair->replacement];
      at += pair->find.size();
      from = at;
    }
    out.append(text.substr(from));
    return;
  }
  bool mayMatch = false;
  for (char c : text)
    if (startOf_[static_cast<unsigned char>(c)] >= 0) {
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
