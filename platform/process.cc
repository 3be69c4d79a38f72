#include "platform/process.h"

#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "base/progress.h"

extern char** environ;

namespace scrivlet {

namespace {

// Starts the program and answers 0, or the error number of the failed
// start. `search` looks the name up along PATH.
int spawn(const std::string& program, bool search,
          const std::vector<std::string>& arguments,
          const std::vector<std::string>& environment, pid_t& pid) {
  std::vector<char*> argv;
  for (const std::string& a : arguments)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& e : environment)
    envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  return search ? posix_spawnp(&pid, program.c_str(), nullptr, nullptr,
                               argv.data(), envp.data())
                : posix_spawn(&pid, program.c_str(), nullptr, nullptr,
                              argv.data(), envp.data());
}

// The program's environment with `added` set in it, each "NAME=value".
std::vector<std::string> childEnvironment(
    const std::vector<std::pair<std::string, std::string>>& added) {
  std::vector<std::string> out;
  for (char** e = environ; e && *e; ++e) {
    std::string_view entry(*e);
    std::string_view name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const auto& [addedName, value] : added)
      replaced = replaced || addedName == name;
    if (!replaced) out.emplace_back(entry);
  }
  for (const auto& [name, value] : added) out.push_back(name + "=" + value);
  return out;
}

void waitForEnd(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) == -1 && errno == EINTR) {
  }
}

}  // namespace


std::string findProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (!path || name.empty() || name.find('/') != std::string::npos) return {};
  std::string_view folders(path);
  while (true) {
    std::size_t colon = folders.find(':');
    std::string folder(folders.substr(0, colon));
    std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string_view::npos) return {};
    folders.remove_prefix(colon + 1);
  }
}

bool runAndWait(
    const std::string& application, const std::string& commandLine,
    Progress& progress,
    const std::vector<std::pair<std::string, std::string>>& environment) {
  std::vector<std::string> arguments = splitCommandLine(commandLine);
  if (arguments.empty()) arguments.push_back(application);
  const std::vector<std::string> envp = childEnvironment(environment);
  pid_t pid = 0;
  int error = ENOENT;
  if (!application.empty())
    error = spawn(application, false, arguments, envp, pid);
  if (error != 0 && !arguments[0].empty())
    error = spawn(arguments[0], true, arguments, envp, pid);
  if (error != 0) {
    progress.reportMessage("ERROR: Cannot execute " + commandLine + ".");
    progress.reportMessage("CreateProcess failed. Error: " +
                           std::to_string(error));
    return false;
  }
  waitForEnd(pid);
  return true;
}

}  // namespace scrivlet
