// Command lines as Windows programs receive them: one string, split into
// arguments by the rules below, so that callers build it the way they would
// for CreateProcess.
#ifndef SCRIVLET_BASE_COMMAND_LINE_H_
#define SCRIVLET_BASE_COMMAND_LINE_H_

#include <string>
#include <string_view>
#include <vector>

namespace scrivlet {

// Splits a command line into arguments. Spaces and tabs separate arguments
// outside double quotes; a double quote opens or closes a quoted stretch;
// backslashes are literal unless they stand before a double quote, where
// each pair gives one backslash and an odd one makes the quote literal.
//   hhc.exe "C:\my doc\p.hhp"   -> {hhc.exe, C:\my doc\p.hhp}
//   echo "say \"hi\"" x""y     -> {echo, say "hi", xy}
//   a ""                       -> {a, ""}
std::vector<std::string> splitCommandLine(std::string_view commandLine);

// `argument` written so that splitCommandLine gives it back unchanged:
// as it is when nothing in it needs quoting, else in double quotes.
std::string quoteArgument(std::string_view argument);

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_COMMAND_LINE_H_
