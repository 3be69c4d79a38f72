// The one rule by which both a template header line and expanded text read
// a macro name: from the character after an opening "$" up to the next "$".
//
//   "$MEMBER-EXT$ .htm"  -> "MEMBER-EXT", closed, ends after the second "$"
//   "$MY MACRO$ x"       -> "MY", not closed (a space came first); the
//                           warning quotes "$MY"
//   "$TITLE"             -> "TITLE", not closed (the line ended); the
//                           warning quotes the whole "$TITLE"
#ifndef SCRIVLET_COMPILER_MACRO_NAME_H_
#define SCRIVLET_COMPILER_MACRO_NAME_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace scrivlet {

struct MacroName {
  std::string_view name;  // a view of the text read
  // One past the last character the reference occupies: after the closing
  // "$", or after the last character of the name when it was not closed.
  std::size_t end = 0;
  bool closed = false;
  // For an unclosed name: the text from the opening "$" up to, not
  // including, the character that stopped it.
  std::string_view quoted;
};

// `text[dollar]` is the opening "$". A space, a tab or a CR stops the name
// as the end of the text does.
MacroName readMacroName(std::string_view text, std::size_t dollar);

// "WARNING (config file): Wrong macro name $MY."
std::string wrongMacroNameMessage(std::string_view quoted);

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_MACRO_NAME_H_
