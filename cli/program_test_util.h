// For tests that run the scrivlet program: a runner that captures what the
// program prints.
#ifndef SCRIVLET_CLI_PROGRAM_TEST_UTIL_H_
#define SCRIVLET_CLI_PROGRAM_TEST_UTIL_H_

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/scratch_folder_test_util.h"

namespace scrivlet::testing {

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `scrivlet arguments` with no input, in the folder `folder` when one
// is given; arguments go through the shell.
inline ProgramRun runScrivletIn(const std::string& folder,
                                const std::string& arguments) {
  ScratchFolder scratch;
  std::string errFile = scratch.path("stderr");
  std::string command = (folder.empty() ? "" : "cd '" + folder + "' && ") +
                        std::string(SCRIVLET_BINARY) + " " + arguments +
                        " </dev/null 2>'" + errFile + "'";
  ProgramRun run;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.err = readFile(errFile);
  return run;
}

inline ProgramRun runScrivlet(const std::string& arguments) {
  return runScrivletIn("", arguments);
}

}  // namespace scrivlet::testing

#endif  // SCRIVLET_CLI_PROGRAM_TEST_UTIL_H_
