// Byte-wise case folding without allocating, for hot paths: the mapping of
// foldCase, looked up in a table built at compile time; and the hash
// and equality of texts compared without regard to case, for hash maps that
// are looked up by a view of the text.
#ifndef SCRIVLET_SOURCE_FOLD_TABLE_H_
#define SCRIVLET_SOURCE_FOLD_TABLE_H_

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace scrivlet {

// Lower-cases ASCII and the Windows-1252 capitals (see foldCase).
constexpr char foldCharacter(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 32);
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 32);
  switch (u) {
    case 0x8A: return static_cast<char>(0x9A);  // Š
    case 0x8C: return static_cast<char>(0x9C);  // Œ
    case 0x8E: return static_cast<char>(0x9E);  // Ž
    case 0x9F: return static_cast<char>(0xFF);  // Ÿ
    default: return c;
  }
}

inline constexpr std::array<char, 256> kFoldTable = [] {
  std::array<char, 256> table{};
  for (int i = 0; i < 256; ++i)
    table[static_cast<std::size_t>(i)] = foldCharacter(static_cast<char>(i));
  return table;
}();

inline char foldByte(char c) {
  return kFoldTable[static_cast<unsigned char>(c)];
}

// FNV-1a over the folded bytes. Deliberately not noexcept: the standard
// library then keeps each key's hash in its node, rather than hashing the
// keys of a bucket again at every lookup and every rehash.
struct FoldedHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    std::size_t hash = 14695981039346656037ull;
    for (char c : text) {
      hash ^= static_cast<unsigned char>(foldByte(c));
      hash *= 1099511628211ull;
    }
    return hash;
  }
};

struct FoldedEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (foldByte(a[i]) != foldByte(b[i])) return false;
    return true;
  }
};

// A hash map keyed by text without regard to case; `find` takes a view.
template <typename T>
using FoldedMap = std::unordered_map<std::string, T, FoldedHash, FoldedEqual>;

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_FOLD_TABLE_H_
