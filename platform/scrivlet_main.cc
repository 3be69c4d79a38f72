// The scrivlet command line: one subcommand per job, each registered from
// its own platform/cmd_*.cc file.
#include <algorithm>
#include <iostream>
#include <map>

#include "platform/command.h"

namespace scrivlet {

std::vector<Command>& commands() {
  static std::vector<Command> all;
  return all;
}

}  // namespace scrivlet

int main(int argc, char** argv) {
  using namespace scrivlet;
  CLI::App app{
      "Scrivlet documents Visual Basic 6 projects: it reads a project or a "
      "project group, parses every member's declaration and its '** "
      "documentation comment, and compiles documentation through a "
      "template.",
      "scrivlet"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "scrivlet 0.1");

  std::vector<Command> sorted = commands();
  std::sort(sorted.begin(), sorted.end(),
            [](const Command& a, const Command& b) { return a.name < b.name; });
  std::map<CLI::App*, std::function<int()>> runners;
  for (const Command& command : sorted) {
    CLI::App* sub = app.add_subcommand(command.name, command.help);
    runners[sub] = command.setup(*sub);
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  for (auto& [sub, run] : runners)
    if (sub->parsed()) return run();
  return 2;
}
