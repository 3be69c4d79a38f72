// The project classes an element is related to, found by reading source
// text: the interfaces a module implements, the classes that implement a
// module, and the classes that declarations use as types. The comment
// editor offers them as candidate see-also links.
//
// Every operation is tolerant: a module that cannot be read contributes
// nothing and the rest is still collected.
#ifndef SCRIVLET_SOURCE_SOURCE_CODE_PARSER_H_
#define SCRIVLET_SOURCE_SOURCE_CODE_PARSER_H_

#include <string>
#include <string_view>
#include <vector>

#include "base/vbide.h"
#include "source/elements.h"

namespace scrivlet {

class SourceCodeParser {
 public:
  // `text` cut at every `sep`, statements continued with " _" joined into
  // the piece where they start; the pieces they took are left empty:
  //   "Implements _\r\n  IShape\r\nDim x" -> {"Implements IShape", "", "Dim x"}
  static std::vector<std::string> splitStatements(std::string_view text,
                                                  std::string_view sep);

  // One "Name\r" per Implements statement of the declarations section, in
  // source order.
  static std::vector<std::string> getImplements(const CodeModule& module);

  // The project classes of the active project that implement `module`.
  static std::vector<std::string> getWhoImplements(const CodeModule& module,
                                                   const VBE& ide);

  // The first entry equal to `text` without regard to case, as the
  // collection writes it; empty when there is none.
  static std::string isStringInCollection(
      std::string_view text, const std::vector<std::string>& collection);

  // Type names the element declares or uses, each once, unfiltered ("Long"
  // and "Collection" as well as project classes). `sourceCode` is the
  // element's source, lines joined by CR: a procedure's whole text, a
  // variable's or constant's declaration statement (or nothing). A module
  // reads its own declarations section instead and ignores it.
  static std::vector<std::string> getUsedObjects(const Element& element,
                                                 std::string_view sourceCode);

  // Those `names` that are project classes of the active project, in the
  // order of `names`, written as the project writes them, each once.
  static std::vector<std::string> filterProjectClasses(
      const std::vector<std::string>& names, const VBE& ide);
};

// The "Interesting references" of an element, each "Name [implemented]"
// (an interface the module implements), "Name [implements]" (a class that
// implements the module) or "Name [used]"; a class is listed once, with the
// first mark it got. `sourceCode` as for `getUsedObjects`.
std::vector<std::string> interestingReferences(const Element& element,
                                               const VBE& ide,
                                               std::string_view sourceCode);

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_SOURCE_CODE_PARSER_H_
