#include "comments/comment_generator.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "platform/disk_code_module.h"
#include "source/source_lines.h"

namespace scrivlet {
namespace {

std::string skeletonAt(const std::string& text, long line,
                       const ProjectSettings& settings,
                       int type = vbext_ct_ClassModule) {
  auto module = DiskCodeModule::fromText("M", type, text);
  return join(generateComment(*elementAtLine(*module, line), settings), "|");
}

TEST(CommentSkeleton, ProceduresFollowTheSettings) {
  ProjectSettings settings;
  EXPECT_EQ(skeletonAt("Function F(ByVal start As Long = 1, Optional f As Form, _\r\n"
                       "    ParamArray items() As Variant) As Long\r\nEnd Function\r\n",
                       1, settings),
            "|@param        start Required. Long. Default value is 1."
            "|@param        f Optional. Form object."
            "|@param        items() Optional. ParamArray, comma-delimited list of Variant values."
            "|@return       Long.|@see          |@rem          ");
  // Property procedures write no Required/Optional sentence; a Sub no @return.
  EXPECT_EQ(skeletonAt("Property Let Value(ByVal v As Integer)\r\nEnd Property\r\n", 1,
                       settings),
            "|@param        v Integer.|@see          |@rem          ");
  EXPECT_EQ(skeletonAt("Sub S()\r\nEnd Sub\r\n", 1, settings),
            "|@see          |@rem          ");

  ProjectSettings none;
  none.addSee = none.addParam = none.addReturn = none.addDescription =
      none.addRem = false;
  EXPECT_EQ(skeletonAt("Function F(x) As Long\r\nEnd Function\r\n", 1, none), "");
  EXPECT_EQ(skeletonAt("Option Explicit\r\n", 1, none), "|@see");
  EXPECT_EQ(skeletonAt("Public x As Long\r\nConst C = 1\r\n", 2, none), "|@see");

  none.addSame = none.addAuthor = none.addRevision = none.addVersion =
      none.addIncludeSource = true;
  none.addUser = {true, true, false, false, false};
  none.userName[0] = "abcdefghijkl";   // 13 characters with the "@"
  none.userName[1] = "abcdefghijklm";  // 14
  none.userDefault[0] = "x";
  EXPECT_EQ(skeletonAt("Sub S()\r\nEnd Sub\r\n", 1, none),
            "|@same         |@author       |@revision     |@version      "
            "|@includesource yes|@abcdefghijkl x|@abcdefghijklm ");
}

TEST(CommentSkeleton, DescriptionComesFromTheAttribute) {
  ProjectSettings settings;
  settings.addSee = settings.addRem = false;
  EXPECT_EQ(skeletonAt("Sub S()\r\nAttribute S.VB_Description = \"Does \"\"it\"\".\"\r\n"
                       "End Sub\r\n",
                       1, settings),
            "Does \"it\".");
}

TEST(CommentSkeleton, InsertedIndentedWithTheCaretOnTheDescription) {
  auto module = DiskCodeModule::fromText(
      "M", vbext_ct_ClassModule,
      "Option Explicit\r\n    Public Sub S(a)\r\n    End Sub\r\n");
  ProjectSettings settings;
  settings.addRem = false;
  addComment(*elementAtLine(*module, 3), settings);
  EXPECT_EQ(module->toBytes(),
            "Option Explicit\r\n"
            "    '**\r\n"
            "    '\r\n"
            "    '@param        a Required. Variant.\r\n"
            "    '@see          \r\n"
            "    Public Sub S(a)\r\n    End Sub\r\n");
  long sl, sc, el, ec;
  module->CodePane()->GetSelection(sl, sc, el, ec);
  EXPECT_EQ(std::vector<long>({sl, sc, el, ec}), std::vector<long>({3, 6, 3, 6}));
  EXPECT_EQ(module->CodePane()->TopLine(), 2);

  // With a selection the command does nothing.
  module->CodePane()->SetSelection(6, 1, 6, 4);
  EXPECT_FALSE(insertCommentAtCaret(*module->CodePane(), settings));
  module->CodePane()->SetSelection(6, 4, 6, 4);
  EXPECT_TRUE(insertCommentAtCaret(*module->CodePane(), settings));
  EXPECT_EQ(module->CountOfLines(), 11);
}

TEST(CommentSkeleton, LastArgumentOfAPropertyProcedure) {
  ProjectSettings settings;
  auto module = DiskCodeModule::fromText(
      "M", vbext_ct_ClassModule,
      "Property Set Item(ByVal i As Long, ByVal v As Widget)\r\nEnd Property\r\n"
      "Property Let None()\r\nEnd Property\r\n");
  EXPECT_EQ(join(generateCommentForLastArgument(*elementAtLine(*module, 1), settings), "|"),
            "2|@param        v Widget object.");
  EXPECT_EQ(join(generateCommentForLastArgument(*elementAtLine(*module, 3), settings), "|"),
            "0");
  auto set = elementAtLine(*module, 1);
  set->comment = {"", "@param i The index.", "@param v The widget,", "  shared."};
  EXPECT_EQ(getExistingCommentForLastArgument(*set, settings),
            "@param        v\rThe widget,\r  shared.\r");
}

TEST(ParamUpdate, MergesGeneratedSentencesWithTheUsersText) {
  using K = GeneratedTextKind;
  EXPECT_EQ(mergeGeneratedText("Required. Long. The index.", "Required. Integer.", K::parameter),
            "Required. Integer. The index.");
  // A blank between the generated sentences and the user's text.
  EXPECT_EQ(mergeGeneratedText("The index.", "Required. Integer.", K::parameter),
            "Required. Integer. The index.");
  EXPECT_EQ(mergeGeneratedText("Required. Long.The index.", "Required. Integer.", K::parameter),
            "Required. Integer. The index.");
  EXPECT_EQ(mergeGeneratedText("", "Required. Integer.", K::parameter), "Required. Integer.");
  EXPECT_EQ(mergeGeneratedText("\rThe index.", "Required. Integer.", K::parameter),
            "Required. Integer.\rThe index.");
  // A decimal default is one value, however often the merge runs, and so is
  // a default the declaration has changed.
  EXPECT_EQ(mergeGeneratedText("Optional. Double. Default value is 1.5. The factor.",
                               "Optional. Double. Default value is 1.5.", K::parameter),
            "Optional. Double. Default value is 1.5. The factor.");
  EXPECT_EQ(mergeGeneratedText("Optional. Double. Default value is 1.5. The factor.",
                               "Optional. Single. Default value is 2.", K::parameter),
            "Optional. Single. Default value is 2. The factor.");
  EXPECT_EQ(mergeGeneratedText("Optional. String. Default value is \"a.b\". Name.",
                               "Optional. String. Default value is \"a.b\".", K::parameter),
            "Optional. String. Default value is \"a.b\". Name.");
  // Sentences broken over lines, as wrapping or the editor's text box
  // breaks them, are still the generated ones.
  EXPECT_EQ(mergeGeneratedText("Optional. Double. Default value\r  is 1.5. The\rfactor.",
                               "Optional. Single. Default value is 1.5.", K::parameter),
            "Optional. Single. Default value is 1.5. The\rfactor.");
  EXPECT_EQ(mergeGeneratedText("Required.\r\nLong. The index.", "Required. Integer.",
                               K::parameter),
            "Required. Integer. The index.");
  // Its own earlier result, also where the type is no type sentence.
  EXPECT_EQ(mergeGeneratedText("Byte(). The key.", "Byte().", K::returnValue), "Byte(). The key.");
  EXPECT_EQ(mergeGeneratedText("Required. Byte(). The key.", "Required. Byte().", K::parameter),
            "Required. Byte(). The key.");
  EXPECT_EQ(mergeGeneratedText("Required. MSComctlLib.Node object. The node.",
                               "Required. MSComctlLib.Node object.", K::parameter),
            "Required. MSComctlLib.Node object. The node.");
  EXPECT_EQ(mergeGeneratedText("Required. MSComctlLib.Node object. The node.",
                               "Required. Long.", K::parameter),
            "Required. Long. The node.");
  EXPECT_EQ(userTextOf("Optional. Double. Default value is 1.5."), "");
  EXPECT_EQ(userTextOf("Long."), "");
  EXPECT_EQ(userTextOf("Required. Long. The index."), " The index.");
  EXPECT_EQ(userTextOf("Wide."), "Wide.");
  EXPECT_EQ(userTextOf("Collection.", K::returnValue), "");
  EXPECT_EQ(mergeGeneratedText("Optional. Long. Default value is 1. Start.",
                               "Optional. Long. Default value is 2.", K::parameter),
            "Optional. Long. Default value is 2. Start.");
  EXPECT_EQ(mergeGeneratedText("Required. Not a type. Text.", "Required. Long.", K::parameter),
            "Required. Long. Required. Not a type. Text.");
  EXPECT_EQ(mergeGeneratedText("Long. The count.", "Integer.", K::returnValue),
            "Integer. The count.");
  EXPECT_TRUE(isTypeSentence("Form object"));
  EXPECT_TRUE(isTypeSentence("ParamArray, comma-delimited list of Variant values"));
  EXPECT_FALSE(isTypeSentence(""));
  EXPECT_FALSE(isTypeSentence("1Long"));
  EXPECT_FALSE(isTypeSentence("New Collection"));
}

TEST(ParamUpdate, FollowsTheDeclaration) {
  ProjectSettings settings;
  ParamDocumentation current;
  // Names are compared as Visual Basic compares them, an exact match first.
  current.params = {{"old", "Required. Long. Gone."},
                    {"INDEX", "Required. Long. Other."},
                    {"index", "Required. Long. The index."},
                    {"ADDED", "Required. Long. Added."}};
  current.returnText = "Long. The count.";
  current.settingGroups[0] = {"old\rA\r1\rx\r"};
  current.settingGroups[2] = {"Added\rB\r2\ry\r"};
  std::vector<std::string> skeleton{"", "@param        index Required. Integer.",
                                    "@param        added Optional. String.",
                                    "@return       Integer."};
  ParamDocumentation updated = updateParamsFromDeclaration(current, skeleton, settings);
  ASSERT_EQ(updated.params.size(), 2u);
  EXPECT_EQ(updated.params[0].name + "=" + updated.params[0].description,
            "index=Required. Integer. The index.");
  EXPECT_EQ(updated.params[1].name + "=" + updated.params[1].description,
            "added=Optional. String. Added.");
  EXPECT_EQ(updated.returnText, "Integer. The count.");
  EXPECT_EQ(updated.settingGroups[0], std::vector<std::string>{"added\rB\r2\ry\r"});
  EXPECT_TRUE(updated.settingGroups[1].empty() && updated.settingGroups[2].empty());

  // A skeleton without @return clears the return text.
  EXPECT_EQ(updateParamsFromDeclaration(current, {""}, settings).returnText, "");
}

}  // namespace
}  // namespace scrivlet
