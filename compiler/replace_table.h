// The template's replace table: pairs of a text to find, without regard to
// case, and its replacement, applied in turn to comment texts and names
// while replacement is on.
//
//   {"&", "&amp;", "<", "&lt;"}   "a<b & c" -> "a&lt;b &amp; c"
//
// Each pair works on the result of the pairs before it. The finds are
// folded once, when the table is set. A table whose pairs cannot act on one
// another's work (as an HTML table's) is applied in one pass; any other
// copies a text holding no byte that could start a find as it is.
#ifndef SCRIVLET_COMPILER_REPLACE_TABLE_H_
#define SCRIVLET_COMPILER_REPLACE_TABLE_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scrivlet {

class ReplaceTable {
 public:
  ReplaceTable() = default;
  // Find, replacement, find, replacement...; a last find without a
  // replacement and empty finds are ignored.
  ReplaceTable(std::vector<std::string> pairs);  // NOLINT: a table is its pairs

  const std::vector<std::string>& pairs() const { return pairs_; }
  bool empty() const { return pairs_.empty(); }
  void clear() { *this = ReplaceTable(); }

  // Appends `text`, with every replacement made, to `out`.
  void apply(std::string_view text, std::string& out) const;

 private:
  struct Pair {
    std::string find;  // folded
    std::size_t replacement;  // its place in `pairs_`
    bool caseless;  // no byte of `find` has another case
  };
  std::vector<std::string> pairs_;
  std::vector<Pair> active_;
  // For each byte, the first pair whose find it begins (folded), or -1.
  std::array<std::int16_t, 256> startOf_{};
  bool onePass_ = false;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_REPLACE_TABLE_H_
