// One declaration statement taken apart by text: its kind, its return or
// value type, its arguments. The statement is one line (continuations joined
// by the caller). Nothing is ever rejected: what cannot be found keeps its
// default.
//
//   "Function Find(ByVal key As String, Optional start As Long = 1) As Long"
//       -> "Function", returns "Long", arguments key and start
//   "Public Event Changed"            -> "Event", no return, no arguments
//   "Private Const MAX_ITEMS As Long = 100", parseConstantReturn -> "&100"
#ifndef SCRIVLET_SOURCE_PROC_DEFINITION_H_
#define SCRIVLET_SOURCE_PROC_DEFINITION_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "source/argument.h"

namespace scrivlet {

class ProcDefinition {
 public:
  std::string pLine;
  // "Sub", "Function", "Property Get", "Property Set", "Property Let" or
  // "Event".
  std::string pType = "Sub";
  // Return type of a procedure, type of a variable, value of a constant.
  std::string returns;
  std::vector<argument> args;

  // Cuts the trailing comment off `pLine`, then sets `pType`, `returns` and
  // `args`.
  void parse();
  // `pType` "Property Get" and its return type; a trailing comment is not
  // cut first and so stays part of `returns`.
  void parsePropGetReturn();
  // "Dim c As New Collection" -> "Collection"; "Variant" without " As ".
  void parseVariableReturn();
  // The value preceded by the character of its declared type:
  // "Const LIMIT& = 5" -> "&5"; "Const NAME = \"x\"" -> "\"x\"".
  void parseConstantReturn();
  std::vector<argument> parseArgs();

  // Position of the parenthesis closing the argument list of `pLine`, 0 when
  // there is none. Computed on first use and kept for the life of the object.
  std::size_t endOfArgs();

  // The ")" that closes the "(" at `start`, passing over the "()" of array
  // arguments; 0 when there is none.
  static std::size_t findTerminatingParenth(std::string_view text,
                                            std::size_t start);

 private:
  std::string kindWord() const;
  std::string returnType();

  long endOfArgs_ = -1;  // -1: not computed yet
};

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_PROC_DEFINITION_H_
