#include "comments/comment_update.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"
#include "platform/disk_code_module.h"

namespace scrivlet {
namespace {

std::string lines(std::initializer_list<const char*> list, const char* eol) {
  std::string text;
  for (const char* l : list) (text += l) += eol;
  return text;
}

// Every procedure's comment updated, top down, as "comment update --all"
// updates a module.
std::string updatedModule(const std::string& text,
                          const ProjectSettings& settings = {}) {
  auto module = DiskCodeModule::fromText("M", vbext_ct_StdModule, text);
  std::vector<std::shared_ptr<Element>> elements = procedureElements(*module);
  std::stable_sort(elements.begin(), elements.end(),
                   [](const auto& a, const auto& b) {
                     return a->CodeLocation() < b->CodeLocation();
                   });
  for (const auto& element : elements)
    updateElementComment(element, settings, true);
  return module->toBytes();
}

std::string crlfLines(std::initializer_list<const char*> list) {
  return lines(list, "\r\n");
}

TEST(CommentLineEdit, OnlyChangedParameterLinesAreRewritten) {
  // A name that differs in case only is the same parameter; a line whose
  // text stays keeps its own spacing; lines the editor does not hold stay.
  std::string module = crlfLines(
      {"Attribute VB_Name = \"M\"", "'**", "' Finds text.",
       "' @param s The text", "' @param Start Optional. Long. Default value is 1. Where.",
       "' @param   count   Required. Long.", "' @remarks Extra.",
       "'@see          Other", "' After see.", "' @include Common.txt",
       "Public Function Find(ByVal S As String, Optional ByVal start As Long = 1, _",
       "    ByVal count As Long) As Long", "End Function"});
  std::string expected = crlfLines(
      {"Attribute VB_Name = \"M\"", "'**", "' Finds text.",
       "'@param        S Required. String. The text",
       "'@param        start Optional. Long. Default value is 1. Where.",
       "' @param   count   Required. Long.", "'@return       Long.",
       "' @remarks Extra.", "'@see          Other", "' After see.",
       "' @include Common.txt",
       "Public Function Find(ByVal S As String, Optional ByVal start As Long = 1, _",
       "    ByVal count As Long) As Long", "End Function"});
  EXPECT_EQ(updatedModule(module), expected);
  EXPECT_EQ(updatedModule(expected), expected);
}

TEST(CommentLineEdit, DefaultValuesAndWrappedSentences) {
  // A decimal point does not end the default value sentence, and a
  // sentence broken over two lines is still the generated one.
  std::string grow = crlfLines(
      {"Attribute VB_Name = \"M\"", "'**",
       "'@param        factor Optional. Double. Default value is 1.5. The factor.",
       "'@param        scale Optional. Double. Default value", "'  is 2.5. The scale,",
       "'  in percent.", "'@include      Common.txt",
       "Sub Grow(Optional factor As Double = 1.5, Optional scale As Double = 2.5)",
       "End Sub"});
  EXPECT_EQ(updatedModule(grow), grow);
  std::string single = replaceAll(grow, "As Double", "As Single");
  EXPECT_EQ(updatedModule(single),
            crlfLines({"Attribute VB_Name = \"M\"", "'**",
                       "'@param        factor Optional. Single. Default value is 1.5. The factor.",
                       "'@param        scale Optional. Single. Default value is 2.5. The scale,",
                       "'  in percent.", "'@include      Common.txt",
                       "Sub Grow(Optional factor As Single = 1.5, Optional scale As Single = 2.5)",
                       "End Sub"}));

  // Rewritten lines are wrapped; what is wrapped reads back as it was.
  ProjectSettings narrow;
  narrow.wordWrapLength = 40;
  std::string wrapped = updatedModule(
      crlfLines({"Attribute VB_Name = \"M\"", "'**", "  ' Grows.",
                 "  '@param factor The factor to grow by.",
                 "  '@param stepSize @see below, as it is long.",
                 "Sub Grow(Optional factor As Double = 1.5, ByVal stepSize As Long)",
                 "End Sub"}),
      narrow);
  // A piece that would open with a tag is not made.
  EXPECT_EQ(wrapped,
            crlfLines({"Attribute VB_Name = \"M\"", "'**", "  ' Grows.",
                       "'@param        factor Optional. Double.",
                       "'Default value is 1.5. The factor to grow", "'by.",
                       "'@param        stepSize Required. Long. @see below, as it is long.",
                       "Sub Grow(Optional factor As Double = 1.5, ByVal stepSize As Long)",
                       "End Sub"}));
  EXPECT_EQ(updatedModule(wrapped, narrow), wrapped);
  EXPECT_EQ(updatedModule(wrapped), wrapped);
}

TEST(CommentLineEdit, NoDescriptionIsLost) {
  // A parameter that is gone goes with its line when the line holds only
  // generated text; one with the user's words keeps the whole block.
  std::string module = crlfLines(
      {"Attribute VB_Name = \"M\"", "'**", "'@param        keep Required. Long. Kept.",
       "'@param        gone Required. Long.", "Sub Drop(ByVal keep As Long)", "End Sub",
       "'**", "'@param        oldName Required. Long. The count.",
       "'@param        other The other.", "'@return       The total.",
       "Sub Renamed(ByVal newName As Long)", "End Sub"});
  auto disk = DiskCodeModule::fromText("M", vbext_ct_StdModule, module);
  std::vector<std::shared_ptr<Element>> elements = procedureElements(*disk);
  ASSERT_EQ(elements.size(), 2u);
  CommentUpdate renamed = updateElementComment(elements[1], ProjectSettings(), true);
  EXPECT_EQ(renamed.outcome, UpdateOutcome::leftAlone);
  EXPECT_EQ(renamed.kept, (std::vector<std::pair<std::string, long>>{
                              {"oldName", 7}, {"other", 8}, {"@return", 9}}));
  EXPECT_EQ(disk->toBytes(), module);
  CommentUpdate drop = updateElementComment(elements[0], ProjectSettings(), true);
  EXPECT_EQ(drop.outcome, UpdateOutcome::updated);
  EXPECT_EQ(drop.start, 3);
  EXPECT_EQ(drop.oldLines, std::vector<std::string>{"'@param        gone Required. Long."});
  EXPECT_TRUE(drop.newLines.empty());

  // An array parameter is the same parameter with or without parentheses.
  std::string array = crlfLines({"Attribute VB_Name = \"M\"", "'**", "' @param Bytes The buffer.",
                                 "Sub Fill(ByRef bytes() As Byte)", "End Sub"});
  EXPECT_EQ(updatedModule(array),
            replaceAll(array, "' @param Bytes The buffer.",
                       "'@param        bytes() Required. Byte. The buffer."));
}

TEST(CommentLineEdit, SwitchedOffTagsAndMovedParameters) {
  std::string module = crlfLines(
      {"Attribute VB_Name = \"M\"", "'**", "'@param        b Required. Long. B.",
       "'@see          X", "'@param        a Required. Long. A.",
       "'@return       Integer.", "Function F(ByVal a As Long, ByVal b As Long) As Long",
       "End Function"});
  ProjectSettings off;
  off.addParam = false;
  off.addReturn = false;
  EXPECT_EQ(updatedModule(module, off), module);
  // The parameter lines follow the declaration where the first of them stood.
  EXPECT_EQ(updatedModule(module),
            crlfLines({"Attribute VB_Name = \"M\"", "'**",
                       "'@param        a Required. Long. A.",
                       "'@param        b Required. Long. B.", "'@see          X",
                       "'@return       Long.",
                       "Function F(ByVal a As Long, ByVal b As Long) As Long",
                       "End Function"}));
}

}  // namespace
}  // namespace scrivlet
