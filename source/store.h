// The element model of one compile: eleven keyed collections of elements,
// each element under its canonical link, in loading order; the help-number
// counter; and the element whose page is being compiled.
#ifndef SCRIVLET_SOURCE_STORE_H_
#define SCRIVLET_SOURCE_STORE_H_

#include <memory>

#include "base/keyed_collection.h"
#include "source/elements.h"

namespace scrivlet {

using ElementCollection = KeyedCollection<std::shared_ptr<Element>>;

class store {
 public:
  ElementCollection all;
  ElementCollection modules;
  ElementCollection methods;
  ElementCollection events;
  ElementCollection gets;
  ElementCollection lets;
  ElementCollection sets;
  ElementCollection variables;
  ElementCollection constants;
  ElementCollection enums;
  ElementCollection types;

  long counter = 100;
  std::shared_ptr<Element> compiledWrapper;

  void clearElements();
  // The kind's own collection.
  ElementCollection& collectionFor(ElementKind kind);
  // Adds to the kind's collection and to `all` under the canonical link;
  // false when the link is taken.
  bool addElement(const std::shared_ptr<Element>& element);
};

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_STORE_H_
