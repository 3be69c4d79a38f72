// Finds the element whose declaration holds a line, for many lines of one
// module that does not change meanwhile: the module's members are indexed
// once, by the physical line of their declaration and by name, so each
// look-up costs the same however many members the module has.
//
// The answer is elementAtLine's: the first member, in declaration order,
// that is a method declared at the line or named as the procedure holding
// it; a property named as that procedure; or another member declared at
// the line. Else the Enum or Type block that holds the line; a module
// element when there is none.
#ifndef SCRIVLET_SOURCE_ELEMENT_LOCATOR_H_
#define SCRIVLET_SOURCE_ELEMENT_LOCATOR_H_

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/vbide.h"
#include "source/elements.h"

namespace scrivlet {

class ElementLocator {
 public:
  explicit ElementLocator(CodeModule& module);

  // A new element for the declaration that holds `line`.
  std::shared_ptr<Element> elementAtLine(long line) const;

 private:
  static constexpr std::size_t none = static_cast<std::size_t>(-1);

  std::shared_ptr<Element> elementFor(std::size_t index, int procKind,
                                      long line) const;
  std::shared_ptr<Element> blockAt(long line) const;

  CodeModule& module_;
  std::vector<std::shared_ptr<Member>> members_;
  std::vector<int> types_;
  // First member, not a property, declared at a physical line.
  std::unordered_map<long, std::size_t> byLine_;
  // First method or property of a name, compared exactly as written.
  std::unordered_map<std::string, std::size_t> byName_;
  std::size_t firstProperty_ = none;
};

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_ELEMENT_LOCATOR_H_
