// Compiling the documentation of one project: load and prepare the project
// model, fill the project-wide macros, write the project file, contents,
// index, title page and one page per element (or all of them into one file
// when the template's "SPLIT" is "0"), then run the template's
// after-compile commands.
//
// Output files, for a project Calc (ext values come from the template):
//   split layout   Calc + PROJECT-EXT, Calc + CONTENTS-EXT, Calc + INDEX-EXT,
//                  Calc+title + MEMBER-EXT, Module + MEMBER-EXT,
//                  Module-Member + MEMBER-EXT
//   single file    Calc + MEMBER-EXT (Calc + PROJECT-EXT in a group)
//   group compile  also Group+ + PROJECT-EXT (and Group+ + CONTENTS-EXT
//                  when split)
// A page whose name another page of the run has already (letter case
// aside) or that is too long for a file gets another one (OutputNames).
#ifndef SCRIVLET_COMPILER_COMPILE_DRIVER_H_
#define SCRIVLET_COMPILER_COMPILE_DRIVER_H_

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/progress.h"
#include "base/project_settings.h"
#include "base/text_file.h"
#include "base/vbide.h"
#include "comments/comment_parser.h"
#include "compiler/exec_after.h"
#include "compiler/macro_engine.h"
#include "compiler/member_pages.h"
#include "compiler/output_names.h"
#include "compiler/output_queue.h"
#include "compiler/preparation.h"
#include "source/store.h"

namespace scrivlet {

// A page of the single-file layout; `checkFirst`: the compile looks for an
// abort before it (before each module and each page not filed under one).
struct OrderedPage {
  std::shared_ptr<Element> element;
  bool checkFirst = false;
};

// The order of the pages in the single file: each form followed by its
// methods, properties, events, constants, variables, enums and types, then
// the other object modules the same way, then the standard modules with
// their methods, events, constants, variables, enums and types, then every
// page left over;
// modules and members each sorted by their index labels (`indexList`, one
// item per page of `pageIndex`).
std::vector<OrderedPage> singleFileOrder(const ElementCollection& pageIndex,
                                         const MacroList& indexList);

class CompileDriver {
 public:
  // `engine` holds the loaded template and works on `elements`; `files`
  // writes the pages and carries the progress whose `abortRequested` stops
  // the compile at its next check.
  CompileDriver(store& elements, MacroEngine& engine,
                const ProjectSettings& settings, FileServices& files,
                std::string addinFolder);

  // Compiles the active project of `vbe`. A group compile
  // (`Progress::compileGroup`) adds the group files and lists the group's
  // projects in "GROUP-PROJECTS-LIST". Returns false when the compile was
  // aborted; what was written before stays.
  bool compile(VBE& vbe);
  // The first half of compile(): loads the active project's model and
  // prepares it (sharing, link table, page index, contents and index
  // lists). False when aborted.
  bool prepare(VBE& vbe);
  const ElementCollection& pageIndex() const { return pageIndex_; }
  // The page of a prepared element, as compile() writes it.
  std::string compilePage(const std::shared_ptr<Element>& element);
  const Preparation& preparation() const { return preparation_; }
  // The output files written by compile().
  std::size_t filesWritten() const { return filesWritten_; }

  // The after-compile runner's services; its file writer is connected to
  // `files` unless set before compile().
  ExecAfterServices execAfter;
  // Asked once the template has after-compile commands to run: whether the
  // template may run them (the user trusts it). Unset: they run. A front end
  // that says no reports why itself.
  std::function<bool()> mayRunCommands;
  // The HTML Help compiler this machine has, for "HELP-COMPILER" (empty:
  // none), so that a template builds the help file where it can.
  std::string helpCompiler;
  // The file names given out so far in this run; the projects of a group
  // share one, so that a page of one never replaces a page of another.
  // The driver keeps its own when none is set.
  OutputNames* outputNames = nullptr;

  // "/doc/" + "Calc.htm" -> "/doc/Calc.htm"; an empty folder is the current
  // folder.
  static std::string outputFile(const std::string& folder,
                                const std::string& name);

 private:
  bool aborted();
  void setPathMacros(VBE& vbe);
  // The pages and sections of the compile, written through `output_`.
  bool writeOutput(const std::string& projectName);
  bool compileSplit(const std::string& projectName);
  bool compileSingle(const std::string& projectName);
  bool writeSection(const std::string& status, const std::string& file,
                    const std::string& section, bool append);
  void writePage(const std::shared_ptr<Element>& element,
                 const std::string& file, bool append);
  bool moduleEnabled(const Element& module) const;
  std::string ext(const char* name);
  // The path of a file named `stem` + `ext`, as the run's names give it
  // out; "" when the name may not be written.
  std::string file(const std::string& stem, const std::string& ext,
                   OutputNames::Use use = OutputNames::Use::page);
  // Keeps the names of the files of the group's projects compiled after
  // this one from this project's pages.
  void reserveLaterProjectFiles();
  // Gives every page of the split layout its file, before any is written:
  // the contents and index link to them.
  std::vector<std::pair<std::shared_ptr<Element>, std::string>> namePages();
  void put(const std::string& path, std::string text, bool append);
  void runAfterCompile(VBE& vbe);
  void setHelpFile(VBE& vbe);
  std::string summaryOf(const Element& element);

  store& elements_;
  MacroEngine& engine_;
  const ProjectSettings& settings_;
  FileServices& files_;
  Progress& progress_;
  std::string addinFolder_;
  std::string outputFolder_;
  OutputNames ownNames_;
  // In a group compile, the projects compiled after this one.
  std::vector<std::string> laterProjects_;
  Preparation preparation_;
  CommentParser parser_;
  CommentParser summaryParser_;
  std::unordered_map<const void*, std::string> summaries_;
  PageContext pageContext_;
  ElementCollection pageIndex_;
  // The template asks for its files in UTF-8 ("OUTPUT-ENCODING").
  bool utf8Output_ = false;
  // Open while the pages are written.
  std::optional<OutputQueue> output_;
  std::size_t filesWritten_ = 0;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_COMPILE_DRIVER_H_
