// Synthetic VB6 projects of a chosen size, for timing the documentation of
// large code bases and for checking that its results do not change.
//
// A project holds every module kind (.bas, .cls, .frm with a designer
// block, .ctl) and every member kind (Sub, Function, Declare, Property
// Get/Let/Set, public and private variables, Const, Event), documentation
// comments with every tag, links between members and modules, "@same"
// chains, names repeated across modules, " _" continuations, and a last
// module of Enum and Type blocks. The same size always gives the same bytes.
// Files end their lines with CR LF.
#ifndef SCRIVLET_BENCH_SCALE_PROJECT_GENERATOR_H_
#define SCRIVLET_BENCH_SCALE_PROJECT_GENERATOR_H_

#include <string>
#include <vector>

namespace scrivlet {

struct GeneratedProject {
  std::string vbpPath;             // the project file
  std::vector<std::string> files;  // the module files, in project order
  long members = 0;                // members as the code window lists them
  long lines = 0;                  // lines of all module files
};

// Writes project "P" with about `members` members into `folder` (which must
// exist), with a settings file P.scriv that documents every kind and scope.
GeneratedProject generateProject(const std::string& folder, long members);

}  // namespace scrivlet

#endif  // SCRIVLET_BENCH_SCALE_PROJECT_GENERATOR_H_
