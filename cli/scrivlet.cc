// The scrivlet command line: one subcommand per job, each from its own
// cli/cmd_*.cc file.
#include <algorithm>
#include <iostream>
#include <map>

#include "base/addin_folder.h"
#include "cli/command.h"
#include "cli/nearest_name.h"

namespace scrivlet {

std::vector<Command> commandTable() {
  return {commentCommand(),  compileCommand(),  copyCodeCommand(),
          elementsCommand(), settingsCommand(), templateCommand(),
          trustCommand()};
}

namespace {

// The long option names `app` takes, "--quiet" and the like.
std::vector<std::string> longOptions(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::Option* option : app.get_options())
    for (const std::string& name : option->get_lnames())
      names.push_back("--" + name);
  return names;
}

// After a command line that could not be read: what was probably meant,
// for the first word that names no command and each unknown long option.
void suggest(CLI::App& app, int argc, char** argv) {
  std::vector<std::string> commandNames;
  for (const CLI::App* sub : app.get_subcommands({})) commandNames.push_back(sub->get_name());
  CLI::App* command = nullptr;
  for (int i = 1; i < argc; ++i) {
    std::string word = argv[i];
    if (word.empty()) continue;
    if (!command && word[0] != '-') {
      auto known = std::find(commandNames.begin(), commandNames.end(), word);
      if (known != commandNames.end()) {
        command = app.get_subcommand(word);
        continue;
      }
      std::string near = nearestName(word, commandNames);
      if (!near.empty())
        std::cerr << "scrivlet: there is no command \"" << word
                  << "\"; did you mean \"" << near << "\"?\n";
      return;
    }
    if (word.rfind("--", 0) != 0 || word == "--") continue;
    word = word.substr(0, word.find('='));
    std::vector<std::string> options = longOptions(app);
    if (command) {
      std::vector<std::string> own = longOptions(*command);
      options.insert(options.end(), own.begin(), own.end());
    }
    if (std::find(options.begin(), options.end(), word) != options.end())
      continue;
    std::string near = nearestName(word, options);
    if (!near.empty())
      std::cerr << "scrivlet: there is no option " << word << "; did you mean "
                << near << "?\n";
  }
}

}  // namespace

int runScrivlet(int argc, char** argv) {
  CLI::App app{
      "Scrivlet documents Visual Basic 6 projects: it reads a project or a "
      "project group, parses every member's declaration and its '** "
      "documentation comment, and compiles documentation through a "
      "template.",
      "scrivlet"};
  app.require_subcommand(1);
  app.set_version_flag("--version", [] {
    return "scrivlet " SCRIVLET_VERSION "\nadd-in folder: " + findAddinFolder();
  });

  std::map<CLI::App*, std::function<int()>> runners;
  for (const Command& command : commandTable()) {
    CLI::App* sub = app.add_subcommand(command.name, command.help);
    runners[sub] = command.setup(*sub);
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    if (code != 0) suggest(app, argc, argv);
    return code == 0 ? 0 : 2;
  }
  for (auto& [sub, run] : runners)
    if (sub->parsed()) return run();
  return 2;
}

}  // namespace scrivlet
