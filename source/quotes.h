// Searches in one line of Basic code that pass over string literals, so that
// a quote, comma or parenthesis inside "..." is never taken for code. A
// literal writes its own quote character doubled ("say ""hi""").
//
// Positions are 1-based and 0 means "not found", as everywhere in the code
// readers; searches are case-sensitive.
#ifndef SCRIVLET_SOURCE_QUOTES_H_
#define SCRIVLET_SOURCE_QUOTES_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace scrivlet {

// The first `pattern` at or after `start` that lies outside string
// literals; 0 when there is none, or when an unterminated literal hides the
// rest of the line.
//   findOutsideQuotes("x = \"a, b\", c", ", ", 1) -> 11
//   findOutsideQuotes("s = \"it's\" ' note", "'", 1) -> 12
std::size_t findOutsideQuotes(std::string_view text, std::string_view pattern,
                              std::size_t start);

// The quote that closes the literal opened at `pos`; doubled quotes inside
// the literal are passed over. 0 when the literal is not terminated.
//   closingQuote("\"a\"\"b\" & c", 1) -> 6
std::size_t closingQuote(std::string_view text, std::size_t pos);

// The line without its apostrophe comment, right-trimmed. "Rem" comments are
// left alone.
//   "Dim s As String ' name"  -> "Dim s As String"
//   "s = \"don't\""            -> "s = \"don't\""
std::string stripTrailingComment(std::string_view line);

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_QUOTES_H_
