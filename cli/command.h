// The subcommands of the scrivlet program. Each lives in a cli/cmd_*.cc
// file as a function that answers its `Command`; `commandTable` lists them
// all, in the order `scrivlet --help` shows them.
//
// `setup` adds the options to the subcommand and returns the function that
// runs it once the command line is parsed; that function returns the exit
// code (0 done, 1 failed, 2 wrong usage).
#ifndef SCRIVLET_CLI_COMMAND_H_
#define SCRIVLET_CLI_COMMAND_H_

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

Command commentCommand();
Command compileCommand();
Command copyCodeCommand();
Command elementsCommand();
Command settingsCommand();
Command templateCommand();
Command trustCommand();

// Every subcommand, by name.
std::vector<Command> commandTable();

// The whole program: parses `argv` and runs the subcommand it names, which
// prints to the standard streams. Answers the exit code. Tests call it in
// the test's own process.
int runScrivlet(int argc, char** argv);

}  // namespace scrivlet

#endif  // SCRIVLET_CLI_COMMAND_H_
