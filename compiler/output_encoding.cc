#include "compiler/output_encoding.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

namespace scrivlet {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Code pages of two bytes per character for most non-ASCII text: their
// pairs often look like UTF-8 too, so such text is never mixed.
bool isDoubleByte(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 ||
         codePage == 950 || codePage == 1361;
}

std::string iconvName(int codePage) { return "CP" + std::to_string(codePage); }

// The length of the well-formed UTF-8 sequence of a non-ASCII character at
// `at`, or 0.
std::size_t utf8SequenceAt(std::string_view text, std::size_t at) {
  auto byte = [&](std::size_t i) {
    return static_cast<unsigned char>(text[i]);
  };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  return length;
}

bool isUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    if (static_cast<unsigned char>(text[at]) < 0x80) {
      ++at;
      continue;
    }
    const std::size_t length = utf8SequenceAt(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

// Converts with iconv; a byte it cannot read becomes U+FFFD.
std::string throughIconv(std::string_view text, int codePage) {
  iconv_t cd = iconv_open("UTF-8", iconvName(codePage).c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out;
  std::array<char, 4096> buffer;
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  while (inLeft > 0) {
    char* to = buffer.data();
    std::size_t toLeft = buffer.size();
    const std::size_t done = iconv(cd, &in, &inLeft, &to, &toLeft);
    out.append(buffer.data(), buffer.size() - toLeft);
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out += kReplacement;
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

// The UTF-8 of the bytes 128 to 255 of a single-byte code page.
using HighHalf = std::array<std::string, 128>;

const HighHalf& highHalfOf(int codePage) {
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<HighHalf>> tables;
  std::lock_guard<std::mutex> lock(mutex);
  std::unique_ptr<HighHalf>& table = tables[codePage];
  if (!table) {
    table = std::make_unique<HighHalf>();
    iconv_t cd = iconv_open("UTF-8", iconvName(codePage).c_str());
    for (std::size_t b = 0; b < 128; ++b) {
      std::string& entry = (*table)[b];
      entry = kReplacement;
      if (cd == reinterpret_cast<iconv_t>(-1)) continue;
      char byte = static_cast<char>(128 + b);
      char* in = &byte;
      std::size_t inLeft = 1;
      std::array<char, 8> buffer;
      char* to = buffer.data();
      std::size_t toLeft = buffer.size();
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &in, &inLeft, &to, &toLeft) != static_cast<std::size_t>(-1) &&
          inLeft == 0 && toLeft < buffer.size())
        entry.assign(buffer.data(), buffer.size() - toLeft);
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }
  return *table;
}

}  // namespace

std::string toUtf8(std::string_view text, int codePage) {
  if (isDoubleByte(codePage)) {
    if (isUtf8(text)) return std::string(text);
    std::string converted = throughIconv(text, codePage);
    return converted.empty() && !text.empty() ? std::string(text) : converted;
  }
  const HighHalf* high = codePage == 65001 ? nullptr : &highHalfOf(codePage);
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  std::size_t from = 0;
  for (std::size_t at = 0; at < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (c < 0x80) {
      ++at;
      continue;
    }
    out.append(text.substr(from, at - from));
    if (const std::size_t length = utf8SequenceAt(text, at)) {
      out.append(text.substr(at, length));
      at += length;
    } else {
      out += high ? (*high)[c - 128] : std::string(kReplacement);
      ++at;
    }
    from = at;
  }
  out.append(text.substr(from));
  return out;
}

std::string charsetName(int codePage) {
  switch (codePage) {
    case 65001: return "utf-8";
    case 932: return "shift_jis";
    case 936: return "gbk";
    case 949: return "euc-kr";
    case 950: return "big5";
    case 874: return "windows-874";
    case 28591: return "iso-8859-1";
    default: return "windows-" + std::to_string(codePage);
  }
}

}  // namespace scrivlet
