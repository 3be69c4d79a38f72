// scrivlet comment update FILE:LINE | --all PROJECT: parameter
// documentation brought in line with changed declarations.
#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "platform/comment_update_command.h"

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
               "show the new comment blocks without writing them");
  app.add_option("--project", request->project,
                 "the project whose settings apply to FILE (default: the "
                 "project file in FILE's folder that lists it; none, the "
                 "defaults)")
      ->type_name("P.vbp");
  app.footer(
      "Runs the comment editor's Update on an existing documentation "
      "comment and writes it back: \"@param\" lines follow the declaration "
      "(new parameters appear, removed ones go, type sentences are renewed, "
      "the rest of each description is kept), and so does \"@return\". Only "
      "procedures that have a comment are touched, and only when something "
      "changes; the block is then rewritten as the editor writes it. LINE "
      "counts the lines of the file as an editor shows it, header and "
      "attribute lines included; it may be any line of the declaration or "
      "the procedure, but not a hidden header or attribute line. One line is printed per changed element: "
      "FILE:LINE: LINK: parameters updated.");
  return [request] { return runCommentUpdate(*request, std::cout, std::cerr); };
}

}  // namespace scrivlet
