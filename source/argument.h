// One argument of a procedure declaration, or one declarator of a variable
// or constant statement, taken apart by text.
//
//   "Optional ByVal start As Long = 1" -> start, Long, default "1",
//                                          optional, by value
//   "ParamArray items() As Variant"     -> items(), Variant, optional, array
//   "ByRef t$"                          -> t, String
#ifndef SCRIVLET_SOURCE_ARGUMENT_H_
#define SCRIVLET_SOURCE_ARGUMENT_H_

#include <string>

namespace scrivlet {

class argument {
 public:
  // Without a type character; array parentheses stay ("x()").
  std::string aName;
  std::string aType = "Variant";
  std::string aDefault;
  bool aByVal = false;
  bool aOptional = false;  // also set for a ParamArray
  bool pArray = false;

  // An argument as the environment writes it: modifiers first, then the
  // name, " As " and a one-word type, then "= " and the default.
  void parse(std::string text);
  // A variable declarator: the type is all that follows " As ", so
  // "c As New Collection" gives "New Collection" and "s As String * 20"
  // gives "String * 20".
  void parseVariable(std::string text);

 private:
  void parseWith(std::string text, bool wholeTypeClause);
};

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_ARGUMENT_H_
