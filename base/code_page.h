// The user's text between the ANSI code page of the project and UTF-8, for
// the windows, which show and edit it as Unicode. Unlike the conversion of
// output pages, this one is exact both ways: a module opened in an editor and
// saved unchanged keeps every byte.
#ifndef SCRIVLET_BASE_CODE_PAGE_H_
#define SCRIVLET_BASE_CODE_PAGE_H_

#include <string>
#include <string_view>

namespace scrivlet {

// `bytes` of `codePage` (1252, 932, ...) as UTF-8. A byte the code page
// leaves undefined becomes the control character of the same number, so that
// fromUtf8 gives it back:
//   ("caf\xE9", 1252) -> "caf\xC3\xA9";  ("\x81", 1252) -> "\xC2\x81"
std::string ansiToUtf8(std::string_view bytes, int codePage);

// `text` (UTF-8) in `codePage`. A character the code page cannot hold
// becomes '?' and clears `exact`; the control characters U+0080 to U+009F
// become their own byte (see ansiToUtf8).
//   ("caf\xC3\xA9", 1252) -> "caf\xE9";  ("\xE2\x82\xAC", 1252) -> "\x80"
std::string utf8ToAnsi(std::string_view text, int codePage, bool* exact = nullptr);

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_CODE_PAGE_H_
