// What the macro store holds under a name: a text (a template definition or
// a value the compiler set) or a list of items. A list item is one text whose
// fields are separated by CR:
//   link list      "Class1.Load" CR "label"        (label may be empty)
//                  """Calc" CR ""                   (external file: a quote,
//                                                    then the file name)
//   parameter list "name" CR "description..."
//   settings list  "name" CR "constant" CR "value" CR "description..."
// A list held through a null pointer is an empty object reference: it counts
// as empty, and it is neither a text nor a list.
#ifndef SCRIVLET_COMPILER_MACRO_VALUE_H_
#define SCRIVLET_COMPILER_MACRO_VALUE_H_

#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace scrivlet {

using MacroList = std::vector<std::string>;
using MacroListPtr = std::shared_ptr<const MacroList>;
using MacroValue = std::variant<std::string, MacroListPtr>;

inline MacroListPtr shareList(MacroList items) {
  return std::make_shared<const MacroList>(std::move(items));
}

inline MacroValue makeList(MacroList items) { return shareList(std::move(items)); }

inline const std::string* asText(const MacroValue& v) {
  return std::get_if<std::string>(&v);
}

// Null for a text and for an empty object reference.
inline const MacroList* asList(const MacroValue& v) {
  const MacroListPtr* p = std::get_if<MacroListPtr>(&v);
  return p ? p->get() : nullptr;
}

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_MACRO_VALUE_H_
