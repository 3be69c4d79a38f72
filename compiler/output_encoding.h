// Output written as UTF-8 for the tools that read nothing else (GitHub, most
// Markdown tools and site generators), while the compile itself works on
// the project's ANSI bytes. A template asks for it with a one-line setting:
//
//   $OUTPUT-ENCODING$ UTF-8
//
// The text of an output file is converted just before it is written; file
// names and the user's sources are never converted.
#ifndef SCRIVLET_COMPILER_OUTPUT_ENCODING_H_
#define SCRIVLET_COMPILER_OUTPUT_ENCODING_H_

#include <string>
#include <string_view>

namespace scrivlet {

// `text` in UTF-8. Each byte is read as a character of `codePage`, except
// that a well-formed UTF-8 sequence of a non-ASCII character is kept as it
// is: a module saved as UTF-8 reads right beside the project's ANSI ones
// (genuine ANSI text almost never forms such sequences). A byte the code
// page does not define becomes U+FFFD.
//   toUtf8("caf\xE9", 1252)      -> "caf\xC3\xA9"
//   toUtf8("caf\xC3\xA9", 1252)  -> "caf\xC3\xA9"
std::string toUtf8(std::string_view text, int codePage);

// The character set name that HTML declares for `codePage`:
// 1252 -> "windows-1252", 932 -> "shift_jis", 65001 -> "utf-8".
std::string charsetName(int codePage);

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_OUTPUT_ENCODING_H_
