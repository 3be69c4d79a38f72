// Splits one fuzzer input into the pieces a target needs. Pieces are
// separated by a NUL byte, so that the seed files stay readable text: a
// template, then "\0", then the values of the macros, one per piece.
#ifndef SCRIVLET_FUZZ_FUZZ_INPUT_H_
#define SCRIVLET_FUZZ_FUZZ_INPUT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scrivlet::fuzz {

inline std::vector<std::string> pieces(const std::uint8_t* data,
                                       std::size_t size) {
  std::vector<std::string> out(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      out.emplace_back();
    else
      out.back() += static_cast<char>(data[i]);
  }
  return out;
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A small number read from the front of a piece (0 when it is empty).
inline unsigned char leadByte(const std::string& piece) {
  return piece.empty() ? 0 : static_cast<unsigned char>(piece[0]);
}

}  // namespace scrivlet::fuzz

#endif  // SCRIVLET_FUZZ_FUZZ_INPUT_H_
