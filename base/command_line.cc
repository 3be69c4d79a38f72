#include "base/command_line.h"

namespace scrivlet {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Reads one argument starting at `i` (not a blank) and moves `i` past it.
std::string nextArgument(std::string_view s, std::size_t& i) {
  std::string arg;
  bool quoted = false;
  while (i < s.size() && (quoted || !isBlank(s[i]))) {
    if (s[i] == '\\') {
      std::size_t n = 0;
      while (i < s.size() && s[i] == '\\') {
        ++n;
        ++i;
      }
      bool beforeQuote = i < s.size() && s[i] == '"';
      arg.append(beforeQuote ? n / 2 : n, '\\');
      if (beforeQuote && n % 2 == 1) arg += s[i++];
    } else if (s[i] == '"') {
      quoted = !quoted;
      ++i;
    } else {
      arg += s[i++];
    }
  }
  return arg;
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  for (;;) {
    while (i < commandLine.size() && isBlank(commandLine[i])) ++i;
    if (i == commandLine.size()) break;
    arguments.push_back(nextArgument(commandLine, i));
  }
  return arguments;
}

std::string quoteArgument(std::string_view argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == argument.npos)
    return std::string(argument);
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count only before a quote: double them there.
    out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    out += c;
    backslashes = 0;
  }
  out.append(2 * backslashes, '\\');
  out += '"';
  return out;
}

}  // namespace scrivlet
