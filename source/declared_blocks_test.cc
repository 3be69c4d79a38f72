#include "source/declared_blocks.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "platform/disk_code_module.h"
#include "source/project_loader.h"
#include "source/source_lines.h"

namespace scrivlet {
namespace {

// One line per block, then one per item: name, value and comment lines.
std::string render(const std::vector<DeclaredBlock>& blocks) {
  std::string out;
  for (const DeclaredBlock& b : blocks) {
    out += std::string(b.isEnum ? "Enum " : "Type ") + b.name +
           (b.scope == vbext_Private ? " private" : " public") + " lines " +
           std::to_string(b.line) + "-" + std::to_string(b.endLine) +
           " logical " + std::to_string(b.logicalLine) + "\n";
    for (const BlockItem& item : b.items)
      out += "  " + std::to_string(item.line) + " [" + item.name + "] [" +
             item.value + "] [" + join(item.comment, "|") + "]\n";
    out += "  decl: " + join(b.declaration, "|") + "\n";
  }
  return out;
}

std::unique_ptr<DiskCodeModule> moduleOf(const std::string& text,
                                         int type = vbext_ct_StdModule) {
  return DiskCodeModule::fromText("M", type, text);
}

TEST(DeclaredBlocks, EnumValuesAndTheirDocumentation) {
  auto module = moduleOf(
      "Option Explicit\r\n"
      "Private Const X = 1 ' not in a block\r\n"
      "'** Modes of a file.\r\n"
      "Public Enum FileMode\r\n"
      "    '** the opener's own text is not part of it\r\n"
      "    ' Read only.\r\n"
      "    fmRead = 1\r\n"
      "    fmWrite = -2 ' Write only.\r\n"
      "\r\n"
      "    ' a plain comment documents nothing\r\n"
      "    fmAppend\r\n"
      "    fmFlags = &H10 Or _\r\n"
      "        &H20 ' Two bits.\r\n"
      "#If Win64 Then\r\n"
      "    fmWide = 8\r\n"
      "#Else\r\n"
      "    fmWide = 4 ' the other branch\r\n"
      "    fmNarrow = \"'\" ' quoted apostrophe\r\n"
      "#End If\r\n"
      "End Enum\r\n"
      "enum Bare\r\n"
      "  b1\r\n"
      "end enum\r\n"
      "Private Enum Hidden: End Enum\r\n"
      "Sub Main()\r\n"
      "End Sub\r\n");
  EXPECT_EQ(render(findDeclaredBlocks(*module)),
            "Enum FileMode public lines 4-20 logical 4\n"
            "  7 [fmRead] [1] [ Read only.]\n"
            "  8 [fmWrite] [-2] [Write only.]\n"
            "  11 [fmAppend] [] []\n"
            "  12 [fmFlags] [&H10 Or &H20] [Two bits.]\n"
            "  15 [fmWide] [8] []\n"
            "  18 [fmNarrow] [\"'\"] [quoted apostrophe]\n"
            "  decl: Public Enum FileMode|    fmRead = 1|    fmWrite = -2|"
            "    fmAppend|    fmFlags = &H10 Or _|        &H20|#If Win64 Then|"
            "    fmWide = 8|#Else|    fmWide = 4|    fmNarrow = \"'\"|#End If|"
            "End Enum\n"
            "Enum Bare public lines 21-23 logical 20\n"
            "  22 [b1] [] []\n"
            "  decl: enum Bare|  b1|end enum\n"
            "Enum Hidden private lines 24-24 logical 23\n"
            "  decl: Private Enum Hidden: End Enum\n");
}

TEST(DeclaredBlocks, TypeFieldsKeepTheirDeclaredTypes) {
  auto module = moduleOf(
      "Private Type Span\r\n"
      "    Label As String * 20 ' Shown above.\r\n"
      "    Points(1 To 4) As Long\r\n"
      "    Items() As Variant\r\n"
      "    Count%\r\n"
      "    Owner As New Collection\r\n"
      "    Mode As FileMode\r\n"
      "End Type\r\n"
      "Type _\r\n"
      "  Pair\r\n"
      "  a As Long: b As Long\r\n"
      "End Type\r\n"
      "Public Type Unfinished\r\n"
      "  x As Long\r\n",
      vbext_ct_ClassModule);
  EXPECT_EQ(render(findDeclaredBlocks(*module)),
            "Type Span private lines 1-8 logical 1\n"
            "  2 [Label] [String * 20] [Shown above.]\n"
            "  3 [Points(1 To 4)] [Long] []\n"
            "  4 [Items()] [Variant] []\n"
            "  5 [Count] [Integer] []\n"
            "  6 [Owner] [New Collection] []\n"
            "  7 [Mode] [FileMode] []\n"
            "  decl: Private Type Span|    Label As String * 20|"
            "    Points(1 To 4) As Long|    Items() As Variant|    Count%|"
            "    Owner As New Collection|    Mode As FileMode|End Type\n"
            "Type Pair public lines 9-12 logical 9\n"
            "  11 [a] [Long] []\n"
            "  11 [b] [Long] []\n"
            "  decl: Type _|  Pair|  a As Long: b As Long|End Type\n"
            "Type Unfinished public lines 13-14 logical 12\n"
            "  14 [x] [Long] []\n"
            "  decl: Public Type Unfinished|  x As Long\n");
}

// Blocks are documented after every other element: the help numbers of
// the others stay where they were. Private ones need comPrivate, and a
// compile whose template has no page for a kind loads none of it.
TEST(DeclaredBlocks, LoadedLastWithTheirOwnHelpNumbers) {
  auto first = moduleOf(
      "Option Explicit\r\n"
      "'**\r\n' Modes.\r\n"
      "Public Enum Mode\r\n  mA\r\nEnd Enum\r\n"
      "Private Type Secret\r\n  s As Long\r\nEnd Type\r\n"
      "'**\r\n' Adds.\r\n"
      "Public Sub Add()\r\nEnd Sub\r\n");
  auto second = DiskCodeModule::fromText(
      "C", vbext_ct_ClassModule,
      "Type Point\r\n  x As Long\r\nEnd Type\r\n"
      "Public Sub Move()\r\nEnd Sub\r\n");
  ProjectSettings settings;
  settings.comStdModule = true;
  settings.selectedModules.add("M", first.get());
  settings.selectedModules.add("C", second.get());
  auto load = [&](bool enums, bool types) {
    store elements;
    Progress progress;
    ProjectLoader loader(elements, settings, progress, [](Element& e) {
      return std::vector<std::string>{"skeleton of " + e.name()};
    });
    loader.documentEnums = enums;
    loader.documentTypes = types;
    loader.loadProject();
    std::string out;
    for (const auto& entry : elements.all)
      out += std::to_string(entry.item->helpID) + " " +
             entry.item->className() + " " + entry.key + " [" +
             join(entry.item->comment, "|") + "] line " +
             std::to_string(entry.item->CodeLocation()) + "\n";
    return out + std::to_string(elements.enums.size()) + " enums " +
           std::to_string(elements.types.size()) + " types\n";
  };
  const std::string members =
      "100 Smodule M [skeleton of M] line 1\n"
      "101 Smethod M.Add [ Adds.] line 12\n"
      "102 Smodule C [skeleton of C] line 1\n"
      "103 Smethod C.Move [skeleton of Move] line 4\n";
  EXPECT_EQ(load(true, true), members +
                                  "104 Senum M.Mode [ Modes.] line 4\n"
                                  "105 Stype C.Point [skeleton of Point] line 1\n"
                                  "1 enums 1 types\n");
  EXPECT_EQ(load(false, false), members + "0 enums 0 types\n");
  settings.comPrivate = true;
  settings.comEnum = false;
  EXPECT_EQ(load(true, true), members +
                                  "104 Stype M.Secret [skeleton of Secret] line 7\n"
                                  "105 Stype C.Point [skeleton of Point] line 1\n"
                                  "0 enums 2 types\n");
}

TEST(DeclaredBlocks, LinesOfABlockFindItsElement) {
  auto module = moduleOf(
      "Public x As Long\r\n"
      "Public Enum E\r\n  a = 1\r\nEnd Enum\r\n"
      "Sub S()\r\nEnd Sub\r\n");
  std::string found;
  for (long line = 1; line <= 6; ++line) {
    auto element = elementAtLine(*module, line);
    found += std::string(element->className()) + " " +
             element->canonicalLink() + "\n";
  }
  EXPECT_EQ(found,
            "Svariable M.x\nSenum M.E\nSenum M.E\nSenum M.E\nSmethod M.S\n"
            "Smethod M.S\n");
}

}  // namespace
}  // namespace scrivlet
