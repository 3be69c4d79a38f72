// Starting a program and waiting for its end. A command line is one string,
// as Windows programs receive it; it is split into arguments here by the
// same rules, so that callers build it the way they would for CreateProcess.
#ifndef SCRIVLET_PLATFORM_PROCESS_H_
#define SCRIVLET_PLATFORM_PROCESS_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scrivlet {

class Progress;

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

// Starts `application` with the arguments of `commandLine` (the first
// being the program's own name) and waits, without a time limit, until it
// has ended. When `application` cannot be started (or is empty), tries the
// first argument of the command line, looked up along PATH. The program's
// exit status does not matter: true means it ran. On failure reports
// "ERROR: Cannot execute <command line>." and
// "CreateProcess failed. Error: <errno>" and returns false.
// The full path of the program `name` along PATH; empty when there is none.
std::string findProgram(const std::string& name);

// `environment` adds variables to (or replaces them in) the program's own.
bool runAndWait(
    const std::string& application, const std::string& commandLine,
    Progress& progress,
    const std::vector<std::pair<std::string, std::string>>& environment = {});

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_PROCESS_H_
