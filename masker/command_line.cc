#include "masker/command_line.h"

#include <cstddef>
#include <utility>

namespace tessick {

namespace {

constexpr std::size_t maxArguments = 5;
constexpr char quote = '"';
constexpr char separator = '/';

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

bool needsQuotes(const std::string& argument) {
  return argument.find_first_of(" \t") != std::string::npos &&
         argument.find(quote) == std::string::npos;
}

// One pair of enclosing double quotes is removed, and only a whole pair.
std::string unquote(const std::string& value) {
  if (value.size() >= 2 && value.front() == quote && value.back() == quote)
    return value.substr(1, value.size() - 2);
  return value;
}

// "out" and "out/" name the same folder; the empty folder would become the
// root, so it stays empty and means the current folder, as with no /d.
std::string folderValue(const std::string& value) {
  std::string folder = unquote(value);
  if (!folder.empty() && folder.back() != separator)
    folder.push_back(separator);
  return folder;
}

}  // namespace

std::string joinArguments(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) {
    if (&argument != &arguments.front())
      text.push_back(' ');
    if (needsQuotes(argument))
      text += quote + argument + quote;
    else
      text += argument;
  }
  return text;
}

std::vector<std::string> splitArguments(std::string_view text) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false;
  bool inQuotes = false;
  for (char c : text) {
    if (isBlank(c) && !inQuotes) {
      if (inArgument)
        arguments.push_back(std::move(current));
      current.clear();
      inArgument = false;
      continue;
    }
    if (!inArgument && arguments.size() == maxArguments)
      return arguments;
    inArgument = true;
    if (c == quote)
      inQuotes = !inQuotes;
    current.push_back(c);
  }
  if (inArgument)
    arguments.push_back(std::move(current));
  return arguments;
}

std::optional<Options> readOptions(const std::vector<std::string>& arguments) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    bool takesValue = argument == "/d" || argument == "/e";
    if (takesValue && i + 1 == arguments.size())
      return std::nullopt;
    if (argument == "/d")
      options.folder = folderValue(arguments[i + 1]);
    else if (argument == "/e")
      options.extensions = unquote(arguments[i + 1]);
    else if (argument == "/b")
      options.mode = Mode::contentsAndNames;
    else if (argument == "/n")
      options.mode = Mode::namesOnly;
    else if (argument == "/c")
      options.mode = Mode::contentsOnly;
  }
  return options;
}

}  // namespace tessick
