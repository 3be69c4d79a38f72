// Comment skeletons: what a member's documentation comment starts as, how it
// is put above the declaration, and how existing parameter documentation is
// brought in line with a changed declaration.
#ifndef SCRIVLET_COMMENTS_COMMENT_GENERATOR_H_
#define SCRIVLET_COMMENTS_COMMENT_GENERATOR_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/project_settings.h"
#include "base/vbide.h"
#include "source/elements.h"

namespace scrivlet {

// Whether two parameter names name the same parameter as Visual Basic reads
// them: case aside, and with or without the parentheses of an array
// ("Bytes()" is "bytes").
bool isSameParameterName(std::string_view a, std::string_view b);

// False only for the built-in value types ("Long", "String", ...).
bool isObjectTypeName(const std::string& type);

// The skeleton of `element`, comment lines without their apostrophes. The
// first line is the description line; tags stand in a column 14 wide:
//   {"", "@param        start Optional. Long. Default value is 1.",
//    "@return       Long.", "@see          ", "@rem          "}
std::vector<std::string> generateComment(const Element& element,
                                         const ProjectSettings& settings);

// Puts "'**" and the lines, indented like the declaration at `line`, above
// it; scrolls the code window to the block and puts the caret just after
// the description line's apostrophe.
void insertCommentBlock(CodeModule& module, long line,
                        const std::vector<std::string>& lines);

// The skeleton of `element` inserted above its declaration.
void addComment(const Element& element, const ProjectSettings& settings);

// The insert-comment command: with an empty selection, the skeleton of the
// element under the caret. False when the selection is not empty.
bool insertCommentAtCaret(CodePane& pane, const ProjectSettings& settings);

// For a Property Let or Set: its argument count as text, then (with
// `addParam` on and an argument present) the "@param" line of its last
// argument, the value assigned.
std::vector<std::string> generateCommentForLastArgument(
    const Element& element, const ProjectSettings& settings);

// For a Property Set: "@param        " + the last "@param" entry of its own
// comment as the parser gives it; "" when it documents no parameter.
std::string getExistingCommentForLastArgument(const Element& element,
                                              const ProjectSettings& settings);

struct ParamEntry {
  std::string name;
  std::string description;
};

// What the comment editor holds of a member's parameters and return value.
struct ParamDocumentation {
  std::vector<ParamEntry> params;
  std::string returnText;
  // Three groups of "@set" entries ("param\rconstant\rvalue\rdescription\r").
  std::array<std::vector<std::string>, 3> settingGroups;
};

// `current` brought in line with the declaration that `skeleton` was made
// from: parameters that no longer exist are dropped, new ones appear with
// their generated text, and the generated type sentences of the others are
// renewed while the user's own text is kept. A parameter's entry is found
// by its name as Visual Basic compares names (case aside, an exact match
// first); the result spells it as the declaration does.
ParamDocumentation updateParamsFromDeclaration(
    const ParamDocumentation& current, const std::vector<std::string>& skeleton,
    const ProjectSettings& settings);

enum class GeneratedTextKind { parameter, returnValue };

// "Required. Long. The index." with generated "Required. Integer." gives
// "Required. Integer. The index."; "The index." gives
// "Required. Integer. The index.". Line breaks inside the old generated
// sentences read as blanks, and an old default value ends where the
// declaration's value ends: "Optional. Double. Default value\ris 1.5. F."
// with "Optional. Single. Default value is 1.5." gives
// "Optional. Single. Default value is 1.5. F.".
std::string mergeGeneratedText(const std::string& existing,
                               const std::string& generated,
                               GeneratedTextKind kind);

// What is left of a parameter description or a return text without the
// sentences a skeleton writes: "Required. Long. The index." -> " The
// index."; "Long." -> "".
std::string userTextOf(const std::string& text,
                       GeneratedTextKind kind = GeneratedTextKind::parameter);

// A property's skeleton writes no "Required. " or "Optional. ", so a text
// that opens with a sentence the skeleton writes ("Long.", "Form object.")
// is marked "Optional. " for the merge to recognise that sentence and a
// default value sentence after it; "Wide." is the user's and stays as it is.
std::string withTypeSentenceMarked(const std::string& description);

// "Long", "Form object", "ParamArray, comma-delimited list of Variant values".
bool isTypeSentence(const std::string& text);

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_COMMENT_GENERATOR_H_
