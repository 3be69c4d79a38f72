// Tessick's command line: one text, read character by character.
//
//   /d <folder>   the folder to process (default: the current folder)
//   /e <list>     comma-separated extensions without dots, e.g. htm,hhc,hhk
//   /b            mode 0: contents and names (default)
//   /n            mode 1: names only
//   /c            mode 2: contents only
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessick {

enum class Mode { contentsAndNames = 0, namesOnly = 1, contentsOnly = 2 };

struct Options {
  std::string folder;      // empty, or ending with '/'
  std::string extensions;  // empty: nothing is processed
  Mode mode = Mode::contentsAndNames;
};

// The program's arguments arrive already split by the shell; this gives back
// the one text Windows would have handed over: arguments joined
// by single spaces, one holding a space or a tab (and no double quote) put
// between double quotes.
//   {"/d", "My Docs", "/e", "htm"}  ->  /d "My Docs" /e htm
std::string joinArguments(const std::vector<std::string>& arguments);

// Splits the text at spaces and tabs outside double quotes; the quotes stay
// part of the argument. Only the first five arguments count.
//   /d  "My Docs"\t/e htm   ->  {/d, "My Docs", /e, htm}
//   a b c d e f             ->  {a, b, c, d, e}
std::vector<std::string> splitArguments(std::string_view text);

// Reads the options from the split arguments. Every argument is examined,
// the value after /d or /e too, and the last of a repeated option wins.
// Upper-case letters are no options. Empty when /d or /e has no value.
//   /d out /e htm /n   ->  folder "out/", extensions "htm", names only
//   /D out /e "htm"    ->  folder "", extensions "htm", contents and names
std::optional<Options> readOptions(const std::vector<std::string>& arguments);

}  // namespace tessick
