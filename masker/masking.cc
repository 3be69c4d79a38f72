#include "masker/masking.h"

#include <array>
#include <cstddef>

namespace tessick {

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';

// One lookup per byte: the rewrite of a large folder spends its time here.
constexpr std::array<char, 256> makeMaskTable() {
  std::array<char, 256> table{};
  for (std::size_t b = 0; b < table.size(); ++b)
    table[b] = b > 127 ? '_' : static_cast<char>(b);
  return table;
}

constexpr std::array<char, 256> maskTable = makeMaskTable();

char maskByte(char c) {
  return maskTable[static_cast<unsigned char>(c)];
}

bool isLoneCR(std::string_view text, std::size_t i) {
  return text[i] == CR && (i + 1 == text.size() || text[i + 1] != LF);
}

}  // namespace

std::string maskNonAscii(std::string_view text) {
  std::string masked(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    masked[i] = maskByte(text[i]);
  return masked;
}

std::string maskFileText(std::string_view text) {
  std::size_t loneCRs = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (isLoneCR(text, i))
      ++loneCRs;
  if (loneCRs == 0)
    return maskNonAscii(text);

  std::string masked;
  masked.reserve(text.size() + loneCRs);
  for (std::size_t i = 0; i < text.size(); ++i) {
    masked.push_back(maskByte(text[i]));
    if (isLoneCR(text, i))
      masked.push_back(LF);
  }
  return masked;
}

bool isMaskedFileText(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) > 127 || isLoneCR(text, i))
      return false;
  return true;
}

}  // namespace tessick
