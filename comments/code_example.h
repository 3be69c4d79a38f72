// Selected lines of code as a code-example block of a documentation
// comment, ready to be pasted into one:
//   '$CODE$
//   'Dim calc As New Calculator$EOL$
//   'calc.Clear
//   '$END-CODE$
#ifndef SCRIVLET_COMMENTS_CODE_EXAMPLE_H_
#define SCRIVLET_COMMENTS_CODE_EXAMPLE_H_

#include <string>

#include "base/vbide.h"

namespace scrivlet {

// The block for a selection of `module` (lines and columns 1-based, the end
// column just after the last character taken); lines separated by CR, no
// line end after the last. An empty selection takes the whole caret line; a
// selection given end first is turned round.
std::string copySelectionAsCode(const CodeModule& module, long startLine,
                                long startColumn, long endLine, long endColumn);

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_CODE_EXAMPLE_H_
