// Operations on the lines of a code module that every reader of code uses:
// logical to physical lines, continued statements, and the element that a
// member or a line stands for.
#ifndef SCRIVLET_SOURCE_SOURCE_LINES_H_
#define SCRIVLET_SOURCE_SOURCE_LINES_H_

#include <memory>
#include <string>

#include "base/vbide.h"
#include "source/elements.h"

namespace scrivlet {

// The physical line of logical line `n`, where a statement continued with
// " _" counts as one logical line.
long physicalLine(const CodeModule& module, long n);
// The first line of the statement that holds `line`.
long statementStartLine(const CodeModule& module, long line);
// The statement holding `line` joined into one line: "Sub A(x, _" and
// "   y)" give "Sub A(x, y)".
std::string statementText(const CodeModule& module, long line);

// A new element for `member`, or none.
std::shared_ptr<Element> elementForMember(CodeModule& module,
                                          const std::shared_ptr<Member>& member);
// The element whose declaration holds `line`; a module element when no
// member's does.
std::shared_ptr<Element> elementAtLine(CodeModule& module, long line);

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_SOURCE_LINES_H_
