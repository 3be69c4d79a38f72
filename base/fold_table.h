// Byte-wise case folding without allocating, for hot paths: the mapping of
// foldCase, looked up in a table built at compile time; and the hash
// and equality of texts compared without regard to case, for hash maps that
// are looked up by a view of the text.
#ifndef SCRIVLET_BASE_FOLD_TABLE_H_
#define SCRIVLET_BASE_FOLD_TABLE_H_

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

// Eight bytes folded at once: a word of ASCII by arithmetic (each byte from
// 'A' to 'Z' gains 0x20), any other through the table.
inline std::uint64_t foldWord(std::uint64_t word) {
  constexpr std::uint64_t ones = 0x0101010101010101ull;
  constexpr std::uint64_t highBits = ones * 0x80;
  if ((word & highBits) == 0) {
    // No byte carries into the next: each is below 0x80 before the sum.
    std::uint64_t fromA = word + ones * (0x80 - 'A');
    std::uint64_t pastZ = word + ones * (0x80 - 'Z' - 1);
    return word | ((fromA & ~pastZ & highBits) >> 2);
  }
  std::uint64_t folded = 0;
  for (int shift = 0; shift < 64; shift += 8) {
    auto byte = static_cast<unsigned char>(
        kFoldTable[static_cast<unsigned char>(word >> shift)]);
    folded |= std::uint64_t{byte} << shift;
  }
  return folded;
}

// The word of `text` at `at`, the bytes past its end zero.
inline std::uint64_t wordAt(std::string_view text, std::size_t at) {
  std::uint64_t word = 0;
  std::memcpy(&word, text.data() + at, std::min<std::size_t>(8, text.size() - at));
  return word;
}

// A multiplying hash of the folded text, eight bytes a step. Deliberately
// not noexcept: the standard library then keeps each key's hash in its node,
// rather than hashing the keys of a bucket again at every lookup and every
// rehash.
struct FoldedHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    constexpr std::uint64_t multiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = text.size() * multiplier;
    for (std::size_t at = 0; at < text.size(); at += 8) {
      hash = (hash ^ foldWord(wordAt(text, at))) * multiplier;
      hash ^= hash >> 29;
    }
    return static_cast<std::size_t>(hash);
  }
};

struct FoldedEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t at = 0; at < a.size(); at += 8) {
      std::uint64_t wa = wordAt(a, at);
      std::uint64_t wb = wordAt(b, at);
      if (wa != wb && foldWord(wa) != foldWord(wb)) return false;
    }
    return true;
  }
};

// A hash map keyed by text without regard to case; `find` takes a view.
template <typename T>
using FoldedMap = std::unordered_map<std::string, T, FoldedHash, FoldedEqual>;

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_FOLD_TABLE_H_
