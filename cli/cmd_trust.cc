// scrivlet trust TEMPLATE: allows a template's after-compile commands to run
// when a project's settings choose that template.
#include <iostream>
#include <memory>

#include "cli/command.h"
#include "addin/trusted_templates.h"

namespace scrivlet {
namespace {

std::function<int()> setup(CLI::App& app) {
  auto file = std::make_shared<std::string>();
  app.add_option("TEMPLATE", *file, "the template file (*.scvt) to trust")
      ->required();
  app.footer(
      "A template's after-compile commands (its \"scriv-exec-after\" section) "
      "are shell commands, and a project's settings may choose a template of "
      "the project's own. A compile runs them only from templates you trust: "
      "the shipped ones, one given with --template, and those allowed here. "
      "The template is remembered by its path and the fingerprint of its "
      "contents, in $XDG_CONFIG_HOME/scrivlet/trusted-templates: when it "
      "changes, it must be trusted again. Read the template's commands "
      "before you trust it.\n"
      "Exit status: 0 trusted; 1 the template or the list could not be read "
      "or written; 2 wrong usage.");
  return [file] {
    std::string error;
    if (!trustTemplate(trustedTemplatesFile(), *file, error)) {
      std::cerr << "scrivlet trust: " << error << '\n';
      return 1;
    }
    std::cout << "Trusted: " << *file << '\n';
    return 0;
  };
}

}  // namespace

Command trustCommand() {
  return {"trust",
                     "Allow a template's after-compile commands to run",
                     setup};
}
}  // namespace scrivlet
