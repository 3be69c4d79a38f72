#include "addin/windows/ansi_text.h"

#include <array>

namespace scrivlet {

namespace {

// Windows-1252 at 0x80..0x9F; 0 where the code page defines no character
// (those bytes are shown as the C1 control of the same number, so that
// they survive the trip back unchanged).
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

QString fromAnsi(const std::string& bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    char16_t mapped = b >= 0x80 && b < 0xA0 ? kHighTable[b - 0x80] : 0;
    text.append(QChar(mapped ? mapped : static_cast<char16_t>(b)));
  }
  return text;
}

std::string toAnsi(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (QChar ch : text) {
    char16_t u = ch.unicode();
    if (u < 0x100) {
      bytes.push_back(static_cast<char>(u));
      continue;
    }
    char byte = '?';
    for (std::size_t i = 0; i < kHighTable.size(); ++i)
      if (kHighTable[i] == u) byte = static_cast<char>(0x80 + i);
    bytes.push_back(byte);
  }
  return bytes;
}

QString boxTextFromAnsi(const std::string& bytes) {
  return fromAnsi(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string boxTextToAnsi(const QString& text) {
  QString crlf = text;
  crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return toAnsi(crlf);
}

}  // namespace scrivlet
