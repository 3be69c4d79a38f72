// The template's replace table: pairs of a text to find, without regard to
// case, and its replacement, applied in turn to comment texts and names
// while replacement is on.
//
//   {"&", "&amp;", "<", "&lt;"}   "a<b & c" -> "a&lt;b &amp; c"
//
// Each pair works on the result of the pairs before it. The finds are
// folded once, when the table is set, and a text holding no byte that could
// start one is copied as it is: most names and labels hold none.
#ifndef SCRIVLET_COMPILER_REPLACE_TABLE_H_
#define SCRIVLET_COMPILER_REPLACE_TABLE_H_

#include <array>
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
  // The bytes that, folded, begin a find.
  std::array<bool, 256> starts_{};
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_REPLACE_TABLE_H_
