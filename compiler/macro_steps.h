// A macro text read once into the steps of its expansion. A template's
// macros are expanded for every page and every list item; reading each
// text again every time (its references, its blocks and their closing
// tags) cost more than the expansion itself. The steps are kept beside the
// stored text and dropped when a new text is stored.
//
//   "<b>$MEMBER-NAME$</b>$IFNOTEMPTY$ $MEMBER-RETURN$ CR ... $END-IFNOTEMPTY$"
//   -> literal "<b>", macro MEMBER-NAME, literal "</b>",
//      if-not-empty MEMBER-RETURN { ... }
//
// What the reading finds wrong (a name cut short, a block without its
// closing tag) becomes a warning step, reported each time the expansion
// passes it, as it was when every expansion read the text anew.
#ifndef SCRIVLET_COMPILER_MACRO_STEPS_H_
#define SCRIVLET_COMPILER_MACRO_STEPS_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/macro_store.h"

namespace scrivlet {

struct MacroBlock;

struct MacroStep {
  enum class Kind {
    literal,
    warning,
    macro,
    nextId,
    counter,
    resetCounter,
    incCounter,
    decCounter,
    replaceOn,
    replaceOff,
    ifNotEmpty,
    doList,
  };
  Kind kind = Kind::literal;
  // The literal text or the macro's name: a view of the text read.
  std::string_view text;
  std::string message;  // of a warning
  // Where a warning's cause is: the template file's line, or -1 in text
  // the project wrote (the element being compiled); 0 when unknown.
  long line = 0;
  std::shared_ptr<const MacroBlock> block;  // of a condition or a loop
  // Whether the macro's name is read-only (isReadOnlyMacro), and where the
  // macro was found in the store last time.
  bool readOnly = false;
  mutable MacroStore::Handle handle;
};

// "$IFNOTEMPTY$ $X$ CR body $ELSEIF$ otherwise $END-IFNOTEMPTY$", or
// "$DOLIST$ $X-LIST$ CR body $END-DOLIST$".
struct MacroBlock {
  std::string_view argument;
  mutable MacroStore::Handle argumentHandle;
  std::vector<MacroStep> body;
  std::vector<MacroStep> otherwise;
  // The body as written, which a loop is charged for per item.
  std::size_t bodySize = 0;
  // Blocks nested deeper than an expansion may go are not read: expanding
  // them stops at the nesting limit first.
  bool read = true;
};

struct ParsedText {
  std::string text;
  std::vector<MacroStep> steps;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_MACRO_STEPS_H_
