// Starting a program and waiting for its end. The command line is one
// string, split into arguments by the rules of base/command_line.h.
#ifndef SCRIVLET_PLATFORM_PROCESS_H_
#define SCRIVLET_PLATFORM_PROCESS_H_

#include <string>
#include <utility>
#include <vector>

#include "base/command_line.h"

namespace scrivlet {

class Progress;

// The full path of the program `name` along PATH; empty when there is none.
std::string findProgram(const std::string& name);

// Starts `application` with the arguments of `commandLine` (the first
// being the program's own name) and waits, without a time limit, until it
// has ended. When `application` cannot be started (or is empty), tries the
// first argument of the command line, looked up along PATH. The program's
// exit status does not matter: true means it ran. On failure reports
// "ERROR: Cannot execute <command line>." and
// "CreateProcess failed. Error: <errno>" and returns false.
// `environment` adds variables to (or replaces them in) the program's own.
bool runAndWait(
    const std::string& application, const std::string& commandLine,
    Progress& progress,
    const std::vector<std::pair<std::string, std::string>>& environment = {});

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_PROCESS_H_
