#include "base/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace scrivlet {

namespace {

// One iconv conversion, closed when it goes out of scope.
class Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : handle_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Converts from `in` as far as it can; answers false at a sequence it
  // cannot convert (or one cut off at the end), with `in` left before it.
  bool convert(std::string_view& in, std::string& out) {
    char buffer[4096];
    while (!in.empty()) {
      char* from = const_cast<char*>(in.data());
      std::size_t left = in.size();
      char* to = buffer;
      std::size_t room = sizeof buffer;
      std::size_t result = iconv(handle_, &from, &left, &to, &room);
      out.append(buffer, static_cast<std::size_t>(to - buffer));
      in.remove_prefix(in.size() - left);
      if (result == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t handle_;
};

std::string iconvName(int codePage) {
  return codePage == 65001 ? "UTF-8" : "CP" + std::to_string(codePage);
}

void appendUtf8(std::string& out, unsigned code) {
  out += static_cast<char>(0xC0 | (code >> 6));
  out += static_cast<char>(0x80 | (code & 0x3F));
}

}  // namespace

std::string ansiToUtf8(std::string_view bytes, int codePage) {
  Converter converter("UTF-8", iconvName(codePage));
  std::string out;
  while (!bytes.empty()) {
    if (converter.ok() && converter.convert(bytes, out)) break;
    // Undefined in the code page (or no converter): the byte's own number.
    auto byte = static_cast<unsigned char>(bytes.front());
    if (byte < 0x80) out += static_cast<char>(byte);
    else appendUtf8(out, byte);
    bytes.remove_prefix(1);
  }
  return out;
}

std::string utf8ToAnsi(std::string_view text, int codePage, bool* exact) {
  Converter converter(iconvName(codePage), "UTF-8");
  std::string out;
  if (exact) *exact = true;
  while (!text.empty()) {
    if (converter.ok() && converter.convert(text, out)) break;
    auto lead = static_cast<unsigned char>(text.front());
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    length = std::min(length, text.size());
    if (length == 2 && lead == 0xC2 &&
        static_cast<unsigned char>(text[1]) < 0xA0) {
      out += text[1] | static_cast<char>(0x80);  // U+0080..U+009F
    } else if (lead < 0x80) {
      out += static_cast<char>(lead);
    } else {
      out += '?';
      if (exact) *exact = false;
    }
    text.remove_prefix(length);
  }
  return out;
}

}  // namespace scrivlet
