// Where a message about an element's comment points: the module's file and
// the line of the element's declaration, as an editor of the file shows it.
#ifndef SCRIVLET_COMPILER_MESSAGE_PLACE_H_
#define SCRIVLET_COMPILER_MESSAGE_PLACE_H_

#include <string>

#include "base/progress.h"
#include "source/elements.h"

namespace scrivlet {

// The module file of `element` (relative to the current folder when it lies
// below it, as compilers name files) and the line of its declaration; the
// first line for a module. Empty when the host knows no file.
//   Calculator.Apply in /work/Calc/Calculator.cls, run from /work/Calc
//     -> {"Calculator.cls", 42}
MessagePlace placeOf(const Element& element);

// `path` relative to the current folder when it lies below it.
std::string shownPath(const std::string& path);

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_MESSAGE_PLACE_H_
