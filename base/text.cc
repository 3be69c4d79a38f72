#include "base/text.h"

#include "base/fold_table.h"

namespace scrivlet {

std::string leftTrim(std::string_view s) {
  std::size_t b = s.find_first_not_of(' ');
  return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string rightTrim(std::string_view s) {
  std::size_t e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string()
                                     : std::string(s.substr(0, e + 1));
}

std::string_view trimmedView(std::string_view s) {
  std::size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string trim(std::string_view s) { return std::string(trimmedView(s)); }

std::string foldCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = foldByte(c);
  return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  return FoldedEqual{}(a, b);
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() &&
         s.substr(s.size() - suffix.size()) == suffix;
}

std::vector<std::string> split(std::string_view s, std::string_view sep) {
  std::vector<std::string> parts;
  if (sep.empty()) {
    parts.emplace_back(s);
    return parts;
  }
  std::size_t from = 0;
  for (;;) {
    std::size_t at = s.find(sep, from);
    if (at == std::string_view::npos) break;
    parts.emplace_back(s.substr(from, at - from));
    from = at + sep.size();
  }
  parts.emplace_back(s.substr(from));
  return parts;
}

std::string join(const std::vector<std::string>& parts, std::string_view sep) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i) out += sep;
    out += parts[i];
  }
  return out;
}

std::string replaceAll(std::string_view s, std::string_view from,
                       std::string_view to) {
  if (from.empty()) return std::string(s);
  // Most calls replace one character (line ends): found without a compare.
  auto next = [&](std::size_t pos) {
    return from.size() == 1 ? s.find(from[0], pos) : s.find(from, pos);
  };
  std::size_t at = next(0);
  if (at == std::string_view::npos) return std::string(s);
  std::string out;
  out.reserve(s.size() + s.size() / 16);
  std::size_t pos = 0;
  do {
    out.append(s.substr(pos, at - pos));
    out.append(to);
    pos = at + from.size();
    at = next(pos);
  } while (at != std::string_view::npos);
  out.append(s.substr(pos));
  return out;
}

std::size_t inStr(std::string_view s, std::string_view pattern,
                  std::size_t start) {
  if (start == 0) start = 1;
  if (start > s.size() + 1) return 0;
  std::size_t at = s.find(pattern, start - 1);
  return at == std::string_view::npos ? 0 : at + 1;
}

std::size_t inStrRev(std::string_view s, std::string_view pattern) {
  std::size_t at = s.rfind(pattern);
  return at == std::string_view::npos ? 0 : at + 1;
}

}  // namespace scrivlet
