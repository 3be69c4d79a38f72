// Names of the files a compile writes into the output folder. A name is
// built from the project, module and member names and the template's
// extensions ("Form1-Load.htm"), all of which come from files the user (or
// someone else) wrote: a bracketed member name may hold any character but
// "]", a project's Name line anything at all, and a template's MEMBER-EXT
// any text. Such a name must stay one file inside the output folder.
#ifndef SCRIVLET_COMPILER_OUTPUT_NAME_H_
#define SCRIVLET_COMPILER_OUTPUT_NAME_H_

#include <string_view>

namespace scrivlet {

// True when `name` is a single file name: not empty, no folder separator
// ("/" or "\"), no drive colon, no NUL or other control character, and not
// made of dots and spaces alone ("..", ". .", which Windows reads as "..").
//   "Form1-Load.htm"  true       "modMain-[a b].htm"  true
//   "../x.htm"        false      "a\\b.htm"           false
//   ".."              false      "C:x.htm"            false
bool isSafeOutputName(std::string_view name);

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_OUTPUT_NAME_H_
