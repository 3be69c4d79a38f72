// Byte-wise case folding without allocating, for the engine's hot paths:
// the same mapping as foldCase, looked up in a table built from it once.
#ifndef SCRIVLET_COMPILER_FOLD_TABLE_H_
#define SCRIVLET_COMPILER_FOLD_TABLE_H_

#include <array>
#include <string_view>

#include "source/text.h"

namespace scrivlet {

inline char foldByte(char c) {
  static const std::array<char, 256> table = [] {
    std::array<char, 256> t{};
    for (int i = 0; i < 256; ++i) {
      char byte = static_cast<char>(i);
      t[static_cast<std::size_t>(i)] = foldCase(std::string_view(&byte, 1))[0];
    }
    return t;
  }();
  return table[static_cast<unsigned char>(c)];
}

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_FOLD_TABLE_H_
