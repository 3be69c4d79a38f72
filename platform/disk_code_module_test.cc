#include "platform/disk_code_module.h"

#include <gtest/gtest.h>

#include "base/vbide.h"
#include "source/crlf_test_util.h"

namespace scrivlet {
namespace {

// Lines as Lines() joins them: CR LF between, none after the last.
std::string joined(std::initializer_list<std::string> lines) {
  std::string text = crlf(lines);
  return text.substr(0, text.size() - 2);
}

std::string allLines(const CodeModule& m) {
  return m.CountOfLines() ? m.Lines(1, m.CountOfLines()) : "";
}

std::string describeMembers(const CodeModule& m) {
  std::string out;
  for (const auto& member : m.Members())
    out += std::to_string(member->Type()) + " " +
           std::to_string(member->Scope()) + " " +
           std::to_string(member->CodeLocation()) + " " + member->Name() + "\n";
  return out;
}

std::string describeProcedure(const CodeModule& m, const std::string& name,
                              int kind) {
  return std::to_string(m.ProcStartLine(name, kind)) + " " +
         std::to_string(m.ProcBodyLine(name, kind)) + " " +
         std::to_string(m.ProcCountLines(name, kind));
}

int hostErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const HostError& e) {
    return e.number;
  }
  return 0;
}

const std::string kForm = crlf({
    "VERSION 5.00",
    "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"",
    "Begin VB.Form frmMain ",
    "   Caption         =   \"Main\"",
    "   Begin VB.Frame fraOuter ",
    "      BeginProperty Font ",
    "         Name            =   \"Tahoma\"",
    "      EndProperty",
    "      Begin VB.CommandButton cmdOK ",
    "         Caption         =   \"End\"",
    "      End",
    "   End",
    "   Begin VB.Menu mnuFile ",
    "      Caption         =   \"&File\"",
    "   End",
    "End",
    "Attribute VB_Name = \"frmMain\"",
    "Attribute VB_GlobalNameSpace = False",
    "Attribute VB_Creatable = False",
    "Option Explicit",
    "Private WithEvents mTimer As Timer, _",
    "    mCount As Long",
    "Attribute mTimer.VB_VarHelpID = -1",
    "Attribute mCount.VB_VarDescription = \"How \"\"many\"\"\"",
    "Attribute mCount.VB_VarHelpID = 12",
    "' Attribute x.VB_Description = \"a comment\"",
    "Attribute Stray.VB_Description = \"not under a member\"",
    "Public Property Get Value() As Long: Value = mCount: End Property",
    "Attribute Value.VB_UserMemId = 0",
    "Attribute Value.VB_Description = \"The value\"",
    "",
    "Private Sub cmdOK_Click()",
    "    Dim x As Long",
    "Attribute x.VB_VarHelpID = -1",
    "End Sub",
});

TEST(DiskCodeModule, HidesHeaderAndMemberAttributesAndWritesThemBack) {
  auto m = DiskCodeModule::fromText("frmMain", vbext_ct_VBForm, kForm);
  EXPECT_EQ(allLines(*m), joined({
                              "Option Explicit",
                              "Private WithEvents mTimer As Timer, _",
                              "    mCount As Long",
                              "' Attribute x.VB_Description = \"a comment\"",
                              "Attribute Stray.VB_Description = \"not under a member\"",
                              "Public Property Get Value() As Long: Value = mCount: End Property",
                              "",
                              "Private Sub cmdOK_Click()",
                              "    Dim x As Long",
                              "Attribute x.VB_VarHelpID = -1",
                              "End Sub",
                          }));
  EXPECT_EQ(m->CountOfLines(), 11);
  EXPECT_EQ(m->designerLine(), "Begin VB.Form frmMain ");
  EXPECT_EQ(describeMembers(*m),
            "3 1 2 mTimer\n"
            "3 1 2 mCount\n"
            "2 2 5 Value\n"
            "1 1 7 cmdOK_Click\n");
  auto members = m->Members();
  EXPECT_EQ(members[0]->HelpContextID(), -1);
  EXPECT_EQ(members[1]->Description(), "How \"many\"");
  EXPECT_EQ(members[1]->HelpContextID(), 12);
  EXPECT_EQ(members[2]->Description(), "The value");
  EXPECT_EQ(m->Parent()->Name(), "frmMain");
  EXPECT_EQ(m->toBytes(), kForm);
}

TEST(DiskCodeModule, HeaderOnlyAndEmptyModules) {
  auto headerOnly = DiskCodeModule::fromText(
      "C", vbext_ct_ClassModule,
      crlf({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END",
            "Attribute VB_Name = \"C\""}));
  EXPECT_EQ(headerOnly->CountOfLines(), 0);
  EXPECT_EQ(headerOnly->CountOfDeclarationLines(), 0);
  EXPECT_TRUE(headerOnly->Members().empty());
  auto empty = DiskCodeModule::fromText("M", vbext_ct_StdModule, "");
  EXPECT_EQ(empty->CountOfLines(), 0);
  EXPECT_EQ(empty->Lines(1, 1), "");
  // Only declarations and comments: the whole module is its declarations.
  auto declarations = DiskCodeModule::fromText(
      "M", vbext_ct_StdModule, "Option Explicit\r\nPublic gA As Long\r\n' end");
  EXPECT_EQ(declarations->CountOfDeclarationLines(), 3);
  int kind = 7;
  EXPECT_EQ(declarations->ProcOfLine(3, kind), "");
  EXPECT_EQ(kind, 0);
}

const std::string kClass = crlf({
    "Option Explicit",                                    // 1
    "Implements IThing",                                  // 2
    "DefLng A-Z",                                         // 3
    "Public Event Changed(ByVal Key As String, _",        // 4
    "    ByVal Value As Long)",                           // 5
    "Const kLimit = 10, kName As String = \"a, b\"",      // 6
    "Global Const kTop& = 5",                             // 7
    "Public Const kLow = 1 ' low: not two statements",    // 8
    "Dim mA As Long, mB(1 To 3, 2) As String",            // 9
    "Private mC%",                                        // 10
    "Public WithEvents mForm As Form",                    // 11
    "Global gD As Long",                                  // 12
    "Private Enum Colour",                                // 13
    "    Red",                                            // 14
    "    Green = 2",                                      // 15
    "End Enum",                                           // 16
    "Public Type Pair",                                   // 17
    "    Left As Long",                                   // 18
    "    Right As Long",                                  // 19
    "End Type",                                           // 20
    "Declare Function GetTickCount Lib \"kernel32\" () As Long",  // 21
    "Private Declare Sub Sleep Lib \"kernel32\" _",       // 22
    "    (ByVal ms As Long)",                             // 23
    "#If Win32 Then",                                     // 24
    "#End If",                                            // 25
    "",                                                   // 26
    "' about Run",                                        // 27
    "Public Sub Run(ByVal a As Long, _",                  // 28
    "               ByVal b As Long)",                    // 29
    "    Dim local1 As Long",                             // 30
    "    Const kInner = 1",                               // 31
    "End Sub",                                            // 32
    "Private Function Twice$(x)",                         // 33
    "    Twice = x & x: Exit Function",                   // 34
    "End Function",                                       // 35
    "Friend Property Let Size(ByVal v As Long)",          // 36
    "End Property",                                       // 37
    "Public Property Get Size() As Long",                 // 38
    "End Property",                                       // 39
    "Static Sub Counter()",                               // 40
    "End Sub",                                            // 41
    "Private Sub OneLine(): End Sub",                     // 42
    "' trailing comment",                                 // 43
});

TEST(DiskCodeModule, MembersScopesAndLogicalLocations) {
  auto m = DiskCodeModule::fromText("Thing", vbext_ct_ClassModule, kClass);
  // Enum, Type, Implements, Option, Def..., directives and everything inside
  // procedures are not members; CodeLocation counts a continued statement as
  // one line.
  EXPECT_EQ(describeMembers(*m),
            "4 2 4 Changed\n"
            "5 1 5 kLimit\n"
            "5 1 5 kName\n"
            "5 2 6 kTop\n"
            "5 2 7 kLow\n"
            "3 1 8 mA\n"
            "3 1 8 mB\n"
            "3 1 9 mC\n"
            "3 2 10 mForm\n"
            "3 2 11 gD\n"
            "1 2 20 GetTickCount\n"
            "1 1 21 Sleep\n"
            "1 2 26 Run\n"
            "1 1 30 Twice\n"
            "2 3 33 Size\n"
            "1 2 37 Counter\n"
            "1 1 39 OneLine\n");
}

TEST(DiskCodeModule, DeclarationsSectionAndProcedureRanges) {
  auto m = DiskCodeModule::fromText("Thing", vbext_ct_ClassModule, kClass);
  EXPECT_EQ(m->CountOfLines(), 43);
  EXPECT_EQ(m->CountOfDeclarationLines(), 23);
  // start, body, count: comments and directives above a procedure are its
  // own; the last procedure runs to the end of the module.
  EXPECT_EQ(describeProcedure(*m, "Run", 0), "24 28 9");
  EXPECT_EQ(describeProcedure(*m, "twice", 0), "33 33 3");
  EXPECT_EQ(describeProcedure(*m, "Size", vbext_pk_Let), "36 36 2");
  EXPECT_EQ(describeProcedure(*m, "Size", vbext_pk_Get), "38 38 2");
  EXPECT_EQ(describeProcedure(*m, "OneLine", 0), "42 42 2");
  EXPECT_EQ(describeProcedure(*m, "Sleep", 0), "1 1 23");

  std::string owners;
  for (long line : {1L, 23L, 24L, 32L, 33L, 37L, 38L, 43L}) {
    int kind = -1;
    std::string name = m->ProcOfLine(line, kind);
    owners += std::to_string(line) + ":" + name + "/" + std::to_string(kind) + " ";
  }
  EXPECT_EQ(owners,
            "1:/0 23:/0 24:Run/0 32:Run/0 33:Twice/0 37:Size/1 38:Size/3 "
            "43:OneLine/0 ");

  EXPECT_EQ(hostErrorOf([&] { m->ProcBodyLine("Size", vbext_pk_Set); }), 35);
  EXPECT_EQ(hostErrorOf([&] { m->ProcStartLine("Nothing", 0); }), 35);
  EXPECT_EQ(hostErrorOf([&] { m->ProcCountLines("Changed", 0); }), 35);
  EXPECT_EQ(hostErrorOf([&] { m->ProcBodyLine("Run", vbext_pk_Get); }), 35);
  // The same questions without an error: 0 for none, 1 for a Declare.
  EXPECT_EQ(m->procBodyLineIfAny("Size", vbext_pk_Set), 0);
  EXPECT_EQ(m->procBodyLineIfAny("Size", vbext_pk_Get), 38);
  EXPECT_EQ(m->procBodyLineIfAny("Sleep", 0), 1);
  EXPECT_EQ(hostErrorOf([&] {
              int kind;
              m->ProcOfLine(44, kind);
            }),
            9);
}

// Statements joined by colons can put a declaration and a procedure, or
// two procedures, on one line; every procedure still starts at or above its
// first line and owns at least that line.
TEST(DiskCodeModule, ProceduresSharingALineWithOtherStatements) {
  auto m = DiskCodeModule::fromText(
      "Joined", vbext_ct_StdModule,
      crlf({"Attribute VB_Name = \"Joined\"", "Option Explicit",
            "Public :Sub B()", "End Sub: Sub C()", "  x = 1",
            "End Sub: Sub D(): End Sub: Sub E()", "End Sub"}));
  EXPECT_EQ(m->CountOfDeclarationLines(), 1);
  EXPECT_EQ(describeProcedure(*m, "B", 0), "2 2 1");
  EXPECT_EQ(describeProcedure(*m, "C", 0), "3 3 2");
  EXPECT_EQ(describeProcedure(*m, "D", 0), "5 5 2");
  // E opens on D's line and is read as part of D.
  EXPECT_EQ(hostErrorOf([&] { m->ProcBodyLine("E", 0); }), 35);
}

TEST(DiskCodeModule, ConditionalBranchesDeclaringOneNameGiveOneMember) {
  auto m = DiskCodeModule::fromText(
      "M", vbext_ct_StdModule,
      crlf({"#If Win64 Then",
            "Private Declare PtrSafe Function Tick Lib \"k\" () As LongLong",
            "#Else",
            "Private Declare Function Tick Lib \"k\" () As Long",
            "#End If",
            "#If Fast Then",
            "    Public Function Parse(s) As Object",
            "    End Function",
            "#Else",
            "    Public Function Parse(s) As Object",
            "Attribute Parse.VB_Description = \"Parses.\"",
            "        Set Parse = Nothing",
            "    End Function",
            "#End If"}));
  EXPECT_EQ(describeMembers(*m), "1 1 2 Tick\n1 2 7 Parse\n");
  EXPECT_EQ(m->Members()[1]->Description(), "Parses.");
  EXPECT_EQ(m->CountOfLines(), 13);
  int kind;
  EXPECT_EQ(m->ProcOfLine(10, kind), "Parse");
  EXPECT_EQ(m->ProcBodyLine("Parse", 0), 7);
}

TEST(DiskCodeModule, EditsReparseAndKeepMemberObjects) {
  auto m = DiskCodeModule::fromText("Thing", vbext_ct_ClassModule, kClass);
  std::shared_ptr<Member> run = m->Members()[12];
  ASSERT_EQ(run->Name(), "Run");

  m->InsertLines(27, "'**\r\n' Runs.\r' More.\n' Last.");
  EXPECT_EQ(m->Lines(26, 6),
            "\r\n'**\r\n' Runs.\r\n' More.\r\n' Last.\r\n' about Run");
  EXPECT_EQ(run->CodeLocation(), 30);
  EXPECT_EQ(m->ProcBodyLine("Run", 0), 32);
  EXPECT_EQ(m->ProcStartLine("Run", 0), 24);
  EXPECT_EQ(m->Members()[12].get(), run.get());

  // A new declaration moves the end of the declarations section.
  m->InsertLines(24, "Private mNew As Long");
  EXPECT_EQ(m->CountOfDeclarationLines(), 24);
  EXPECT_EQ(m->Members()[12]->Name(), "mNew");
  EXPECT_EQ(m->Members()[13].get(), run.get());

  m->DeleteLines(24);
  m->DeleteLines(27, 4);
  EXPECT_EQ(m->toBytes(), kClass);
  EXPECT_EQ(run->CodeLocation(), 26);

  EXPECT_EQ(hostErrorOf([&] { m->InsertLines(45, "x"); }), 9);
  EXPECT_EQ(hostErrorOf([&] { m->DeleteLines(43, 2); }), 9);
}

TEST(DiskCodeModule, RewrittenDeclarationGetsItsAttributesBack) {
  std::string text = crlf({"Public Function NewEnum() As IUnknown",
                           "Attribute NewEnum.VB_UserMemId = -4",
                           "Attribute NewEnum.VB_MemberFlags = \"40\"",
                           "End Function"});
  auto m = DiskCodeModule::fromText("List", vbext_ct_ClassModule, text);
  std::shared_ptr<Member> member = m->Members()[0];
  m->DeleteLines(1, 2);
  EXPECT_TRUE(m->Members().empty());
  EXPECT_EQ(m->toBytes(), "");
  m->InsertLines(1, "Public Function NewEnum() As IUnknown\r\nEnd Function");
  EXPECT_EQ(m->toBytes(), text);
  EXPECT_EQ(m->Members()[0].get(), member.get());
}

TEST(DiskCodeModule, DescriptionsAndHelpNumbersGoToAttributeLines) {
  std::string text = crlf({
      "Attribute VB_Name = \"Thing\"",
      "Private mA As Long",
      "Public Sub Run(ByVal a As Long, _",
      "               ByVal b As Long)",
      "End Sub",
      "Public Property Let Size(ByVal v As Long)",
      "End Property",
      "Public Property Get Size() As Long",
      "Attribute Size.VB_Description = \"Old\"",
      "End Property",
  });
  auto m = DiskCodeModule::fromText("Thing", vbext_ct_ClassModule, text);
  auto members = m->Members();
  members[0]->setDescription("The \"a\" value");
  members[0]->setHelpContextID(101);
  members[1]->setDescription("Runs.\r\nTwice.\nThrice.");
  members[1]->setHelpContextID(102);
  members[2]->setDescription("New");
  members[2]->setHelpContextID(103);
  m->Parent()->setDescription("A thing");
  m->Parent()->setHelpContextID(100);
  EXPECT_EQ(m->toBytes(),
            crlf({
                "Attribute VB_Name = \"Thing\"",
                "Attribute VB_Description = \"A thing\"",
                "Attribute VB_HelpID = 100",
                "Private mA As Long",
                "Attribute mA.VB_VarDescription = \"The \"\"a\"\" value\"",
                "Attribute mA.VB_VarHelpID = 101",
                "Public Sub Run(ByVal a As Long, _",
                "               ByVal b As Long)",
                "Attribute Run.VB_Description = \"Runs. Twice. Thrice.\"",
                "Attribute Run.VB_HelpID = 102",
                "End Sub",
                "Public Property Let Size(ByVal v As Long)",
                "Attribute Size.VB_HelpID = 103",
                "End Property",
                "Public Property Get Size() As Long",
                "Attribute Size.VB_Description = \"New\"",
                "End Property",
            }));
  EXPECT_EQ(members[0]->Description(), "The \"a\" value");
  EXPECT_EQ(members[1]->Description(), "Runs. Twice. Thrice.");
  EXPECT_EQ(members[2]->HelpContextID(), 103);
  EXPECT_EQ(m->Parent()->Description(), "A thing");
  EXPECT_EQ(m->Parent()->HelpContextID(), 100);
  EXPECT_EQ(m->CountOfLines(), 8);

  // Clearing removes the lines again.
  members[0]->setDescription("");
  members[0]->setHelpContextID(0);
  members[1]->setDescription("");
  members[1]->setHelpContextID(0);
  members[2]->setDescription("Old");
  members[2]->setHelpContextID(0);
  m->Parent()->setDescription("");
  m->Parent()->setHelpContextID(0);
  EXPECT_EQ(m->toBytes(), text);
}

TEST(DiskCodeModule, LineEndsOfTheFileAreKept) {
  // LF alone, and a last line without a line end.
  auto m = DiskCodeModule::fromText("M", vbext_ct_StdModule,
                                    "Attribute VB_Name = \"M\"\nSub A()\nEnd Sub");
  m->InsertLines(2, "' x\r\n' y");
  EXPECT_EQ(m->toBytes(), "Attribute VB_Name = \"M\"\nSub A()\n' x\n' y\nEnd Sub");
  m->InsertLines(5, "Sub B()\nEnd Sub");
  EXPECT_EQ(m->toBytes(),
            "Attribute VB_Name = \"M\"\nSub A()\n' x\n' y\nEnd Sub\nSub B()\nEnd Sub\n");
  m->DeleteLines(5, 2);
  m->DeleteLines(2, 2);
  EXPECT_EQ(m->toBytes(), "Attribute VB_Name = \"M\"\nSub A()\nEnd Sub");
}

TEST(DiskCodeModule, CodePaneKeepsSelectionAndTopLine) {
  auto m = DiskCodeModule::fromText("M", vbext_ct_StdModule, "Sub A()\r\nEnd Sub\r\n");
  CodePane* pane = m->CodePane();
  EXPECT_EQ(pane, m->CodePane());
  EXPECT_EQ(pane->CodeModule(), m.get());
  pane->SetSelection(2, 3, 2, 5);
  pane->setTopLine(2);
  long a, b, c, d;
  pane->GetSelection(a, b, c, d);
  EXPECT_EQ(std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) +
                "," + std::to_string(d),
            "2,3,2,5");
  EXPECT_EQ(pane->TopLine(), 2);
}

}  // namespace
}  // namespace scrivlet
