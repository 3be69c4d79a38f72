// The type or value an element declares: the type of a variable or of a
// property's Get, the value text of a constant.
#ifndef SCRIVLET_SOURCE_ELEMENT_RETURNS_H_
#define SCRIVLET_SOURCE_ELEMENT_RETURNS_H_

#include <string>

#include "source/elements.h"

namespace scrivlet {

// "Dim c As New Collection" -> "Collection"; "Const MAX& = 5" -> "&5";
// "Property Get Count() As Long" -> "Long".
std::string getReturns(const Element& element);

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_ELEMENT_RETURNS_H_
