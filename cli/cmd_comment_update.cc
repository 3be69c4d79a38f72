// scrivlet comment update FILE:LINE | --all PROJECT: parameter
// documentation brought in line with changed declarations.
#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "cli/comment_update_command.h"

namespace scrivlet {

std::function<int()> setupCommentUpdate(CLI::App& app) {
  auto request = std::make_shared<CommentUpdateRequest>();
  app.add_option("TARGET", request->target,
                 "FILE:LINE, a line of a module file; with --all, a project "
                 "file (.vbp) or group (.vbg)")
      ->required();
  app.add_flag("--all", request->all,
               "update every commented procedure of the project TARGET");
  app.add_flag("--dry-run", request->dryRun,
               "print what would change as a unified diff, write nothing");
  app.add_flag("--check", request->check,
               "write nothing; exit 1 when a comment is out of date");
  app.add_option("--project", request->project,
                 "the project whose settings apply to FILE (default: the "
                 "project file in FILE's folder that lists it; none, the "
                 "defaults)")
      ->type_name("P.vbp");
  app.footer(
      "Runs the comment editor's Update on an existing documentation "
      "comment and writes its result as a minimal edit: \"@param\" lines "
      "follow the declaration (new parameters appear, removed ones go, type "
      "sentences are renewed, the rest of each description is kept), and so "
      "does \"@return\". Only the lines whose text changes are rewritten; "
      "every other line of the block and of the file stays as it is. A block "
      "in which a parameter that no longer exists still has a description of "
      "its own is left unchanged and reported, so that no description is "
      "lost. LINE counts the lines of the file as an editor shows it, header "
      "and attribute lines included; it may be any line of the declaration "
      "or the procedure, but not a hidden header or attribute line. Printed: "
      "FILE:LINE: LINK for each changed comment, one line for each comment "
      "left unchanged and why, and the count; with --dry-run the diff "
      "(the rest goes to the error output); with --check each comment that "
      "is out of date.");
  return [request] { return runCommentUpdate(*request, std::cout, std::cerr); };
}

}  // namespace scrivlet
