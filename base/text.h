// Small text helpers shared by every layer. Text is bytes in the ANSI code
// page; lines inside the system are separated by a single CR. Trimming
// removes spaces only, never tabs.
#ifndef SCRIVLET_BASE_TEXT_H_
#define SCRIVLET_BASE_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

namespace scrivlet {

inline constexpr char CR = '\r';
inline constexpr char LF = '\n';

std::string trim(std::string_view s);
// The part of `s` that trim keeps, without a copy.
std::string_view trimmedView(std::string_view s);
std::string leftTrim(std::string_view s);
std::string rightTrim(std::string_view s);

// Lower-cases ASCII and the Windows-1252 capitals (À..Þ but ×, Š, Œ, Ž, Ÿ),
// as the environment compares keys and names without regard to case.
std::string foldCase(std::string_view s);
bool equalsNoCase(std::string_view a, std::string_view b);

bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);

// "a\rb" -> {"a", "b"}; "" -> {""}; "a\r" -> {"a", ""}.
std::vector<std::string> split(std::string_view s, std::string_view sep);
std::string join(const std::vector<std::string>& parts, std::string_view sep);

// Every occurrence of `from` replaced by `to`, left to right.
std::string replaceAll(std::string_view s, std::string_view from,
                       std::string_view to);

// 1-based position of `pattern` at or after `start`, 0 when absent (the
// environment's InStr).
std::size_t inStr(std::string_view s, std::string_view pattern,
                  std::size_t start = 1);
// 1-based position of the last occurrence, 0 when absent (InStrRev).
std::size_t inStrRev(std::string_view s, std::string_view pattern);

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_TEXT_H_
