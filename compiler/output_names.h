// The file names one compile run gives its pages. The file systems of
// Windows and macOS take "Calc.htm" and "calc.htm" for one file, and a
// project, a module and a member may all end up with the same name (a
// project named like one of its classes, the module "Form1-A" beside the
// member A of Form1, two projects of a group with a Form1 each): a page
// written later under such a name would silently replace the earlier one.
// So names are compared without regard to letter case, across every project
// of the run, and a later page gets a name of its own.
#ifndef SCRIVLET_COMPILER_OUTPUT_NAMES_H_
#define SCRIVLET_COMPILER_OUTPUT_NAMES_H_

#include <string>
#include <string_view>
#include <unordered_map>

#include "base/progress.h"

namespace scrivlet {

// The longest file name most file systems hold, in bytes.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// A stem that, with `ext` and room for a "-N" suffix, would not fit into a
// file name: its first bytes, "~" and a hash of the whole stem, so that the
// same stem is shortened the same way on every run. Other stems unchanged.
//   ("Form1-" + 300 x "a", ".htm") -> "Form1-aa...a~3f0c2d9e1b7a" (243 bytes)
std::string fittingStem(std::string_view stem, std::string_view ext);

class OutputNames {
 public:
  enum class Use {
    page,
    // A file that every project of a group writes again (the group's own
    // files): it keeps its name each time.
    shared,
    // A project's own file (project file, contents, index, title page):
    // it takes the name kept for it by reserve().
    projectFile,
  };

  // The file name of a page of `folder`: `stem` + `ext`, or, when a page
  // of this run was given that name before (in any letter case) or it is
  // kept for a project's file, stem + "-2" + ext, "-3", ..., the first one
  // free. A stem too long for a file name is shortened first (fittingStem).
  // Each change is reported as a warning. "" for an empty name.
  std::string claim(const std::string& folder, std::string_view stem,
                    std::string_view ext, Progress& progress,
                    Use use = Use::page);
  // Keeps a name for a file of the group's project `project`, compiled
  // later in the run: the pages of all projects link to a project's files
  // by the project's name, which cannot change, while a page's links
  // follow it to another name. A name given out before stays as it is.
  void reserve(const std::string& folder, std::string_view stem,
               std::string_view ext, const std::string& project);

 private:
  struct Claimed {
    std::string name;
    Use use = Use::page;
    // The project a reserved name is kept for; empty once it is written.
    std::string reservedFor;
    // Where the search for a free "-N" of this name goes on.
    unsigned nextNumber = 2;
  };
  using Folder = std::unordered_map<std::string, Claimed>;
  Folder& folder(const std::string& path);

  // Folded folder -> folded name -> the name as first given.
  std::unordered_map<std::string, Folder> folders_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_OUTPUT_NAMES_H_
