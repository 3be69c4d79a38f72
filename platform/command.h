// The subcommands of the scrivlet program. Each lives in its own
// platform/cmd_*.cc file and registers itself with a `RegisterCommand`
// object at namespace scope:
//
//   static RegisterCommand reg{{"elements", "List the elements ...",
//                               [](CLI::App& app) { ...; return run; }}};
//
// `setup` adds the options to the subcommand and returns the function that
// runs it once the command line is parsed; that function returns the exit
// code (0 done, 1 failed, 2 wrong usage).
#ifndef SCRIVLET_PLATFORM_COMMAND_H_
#define SCRIVLET_PLATFORM_COMMAND_H_

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace scrivlet {

struct Command {
  std::string name;
  std::string help;
  std::function<std::function<int()>(CLI::App& app)> setup;
};

std::vector<Command>& commands();

struct RegisterCommand {
  explicit RegisterCommand(Command command) {
    commands().push_back(std::move(command));
  }
};

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_COMMAND_H_
