// What the macro store holds under a name: a text (a template definition or
// a value the compiler set) or a list of items. A list item is one text whose
// fields are separated by CR:
//   link list      "Class1.Load" CR "label"        (label may be empty)
//                  """Calc" CR ""                   (external file: a quote,
//                                                    then the file name)
//   parameter list "name" CR "description..."
//   settings list  "name" CR "constant" CR "value" CR "description..."
// A link list that the compiler builds from elements of the model also holds,
// for each item, the element its link names: a loop over it takes them from
// there instead of finding them again.
// A list held through a null pointer is an empty object reference: it counts
// as empty, and it is neither a text nor a list.
#ifndef SCRIVLET_COMPILER_MACRO_VALUE_H_
#define SCRIVLET_COMPILER_MACRO_VALUE_H_

#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace scrivlet {

class Element;

struct MacroList : std::vector<std::string> {
  using std::vector<std::string>::vector;
  MacroList(std::vector<std::string> items)  // NOLINT: a list is its items
      : std::vector<std::string>(std::move(items)) {}
  // Empty, or one per item: the element of the store whose canonical link
  // the item's link is.
  std::vector<std::shared_ptr<Element>> elements;

  void pushLink(std::string item, std::shared_ptr<Element> element) {
    push_back(std::move(item));
    elements.push_back(std::move(element));
  }
};
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
