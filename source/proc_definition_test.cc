#include "source/proc_definition.h"

#include <gtest/gtest.h>

#include "source/quotes.h"

namespace scrivlet {
namespace {

std::string render(const argument& a) {
  std::string out;
  if (a.aOptional) out += "Optional ";
  if (a.aByVal) out += "ByVal ";
  if (a.pArray) out += "ParamArray ";
  out += a.aName + " As " + a.aType;
  if (!a.aDefault.empty()) out += " = " + a.aDefault;
  return out;
}

// "kind | returns | arg; arg".
std::string parsed(const std::string& line) {
  ProcDefinition d;
  d.pLine = line;
  d.parse();
  std::string out = d.pType + " | " + d.returns + " |";
  for (std::size_t i = 0; i < d.args.size(); ++i)
    out += (i ? "; " : " ") + render(d.args[i]);
  return out;
}

TEST(ProcDefinition, ParsesDeclarations) {
  struct {
    const char* line;
    const char* expected;
  } cases[] = {
      {"Public Sub Main()", "Sub |  |"},
      {"Public Event Changed", "Event |  |"},
      {"Public Event Moved(ByVal x As Single, ByVal y As Single)",
       "Event |  | ByVal x As Single; ByVal y As Single"},
      {"Private Function Pad(ByVal s As String, Optional ByVal fill As "
       "String = \", \") As String",
       "Function | String | ByVal s As String; Optional ByVal fill As String "
       "= \", \""},
      {"Function G(x() As Long, y() As String) As Variant()",
       "Function | Variant() | x() As Long; y() As String"},
      {"Sub S(n%, ByRef t$)", "Sub |  | n As Integer; t As String"},
      {"Sub T(a&, b@, c#, d!, e As Long, f)",
       "Sub |  | a As Long; b As Currency; c As Double; d As Single; e As "
       "Long; f As Variant"},
      {"Sub S(ParamArray items() As Variant)",
       "Sub |  | Optional ParamArray items() As Variant"},
      {"Friend Function Area(ByVal w As Double)",
       "Function | Variant | ByVal w As Double"},
      {"Public Property Get Count() As Long ' number", "Property Get | Long |"},
      {"Public Property Let Value(ByVal vNew As Variant)",
       "Property Let |  | ByVal vNew As Variant"},
      {"Public Property Set Font(ByVal f As StdFont)",
       "Property Set |  | ByVal f As StdFont"},
      // A ")" or an apostrophe inside a literal is not code.
      {"Sub Q(Optional s As String = \"it's (x)\") ' done",
       "Sub |  | Optional s As String = \"it's (x)\""},
      {"Private Declare Function GetTickCount Lib \"kernel32\" () As Long",
       "Function | Long |"},
      // Without a closing parenthesis there are no arguments, and the
      // return type is looked for in the whole line.
      {"Public Function Open(ByVal path As String", "Function | String |"},
      {"Sub Unterminated(Optional s As String = \"abc)",
       "Sub | String = \"abc) |"},
      {"", "Event |  |"},
      {"(", "Event |  |"},
      {")(", "Event |  |"},
  };
  for (const auto& c : cases) EXPECT_EQ(parsed(c.line), c.expected) << c.line;
}

TEST(ProcDefinition, ReturnTypesOfPropertiesVariablesAndConstants) {
  auto propGet = [](const std::string& line) {
    ProcDefinition d;
    d.pLine = line;
    d.parsePropGetReturn();
    return d.pType + " | " + d.returns;
  };
  EXPECT_EQ(propGet("Property Get Count() As Long ' number"),
            "Property Get | Long ' number");
  EXPECT_EQ(propGet("Property Get Item(ByVal i As Long)"),
            "Property Get | Variant");

  auto variable = [](const std::string& line) {
    ProcDefinition d;
    d.pLine = line;
    d.parseVariableReturn();
    return d.returns;
  };
  EXPECT_EQ(variable("Dim c As New Collection"), "Collection");
  EXPECT_EQ(variable("Public Name As String ' the caption"), "String");
  EXPECT_EQ(variable("Private buf As String * 20"), "String * 20");
  EXPECT_EQ(variable("Public Count"), "Variant");

  auto constant = [](const std::string& line) {
    ProcDefinition d;
    d.pLine = line;
    d.parseConstantReturn();
    return d.returns;
  };
  EXPECT_EQ(constant("Private Const MAX_ITEMS As Long = 100"), "&100");
  EXPECT_EQ(constant("Const LIMIT& = 5"), "&5");
  EXPECT_EQ(constant("Public Const RATE As Double = 0.5 ' percent"), "#0.5");
  EXPECT_EQ(constant("Const TITLE = \"Don't \"\"panic\"\"\" ' quoted"),
            "\"Don't \"\"panic\"\"\"");
  EXPECT_EQ(constant("Const NAME As String = \"x\""), "\"x\"");
  EXPECT_EQ(constant("Public Const "), "");
  EXPECT_EQ(constant("Dim x As Long"), "");
}

TEST(ProcDefinition, TerminatingParenthesisIsCachedForTheObject) {
  ProcDefinition d;
  d.pLine = "Function G(x() As Long, y() As String) As Variant()";
  EXPECT_EQ(d.endOfArgs(), 38u);
  d.pLine = "Sub S()";
  EXPECT_EQ(d.endOfArgs(), 38u);
  EXPECT_EQ(ProcDefinition::findTerminatingParenth("Sub S()", 6), 7u);
  EXPECT_EQ(ProcDefinition::findTerminatingParenth("Sub S()", 0), 0u);
  EXPECT_EQ(ProcDefinition::findTerminatingParenth("Sub S(", 6), 0u);
  EXPECT_EQ(ProcDefinition::findTerminatingParenth("Sub S(", 60), 0u);
}

TEST(Argument, VariableDeclaratorKeepsTheWholeTypeClause) {
  argument a;
  a.parseVariable("c As New Collection");
  EXPECT_EQ(render(a), "c As New Collection");
  a.parseVariable("s As String * 20");
  EXPECT_EQ(render(a), "s As String * 20");
  a.parse("Optional ByVal start As Long = 1");
  EXPECT_EQ(render(a), "Optional ByVal start As Long = 1");
  a.parse("s$ = \"a b\"");
  EXPECT_EQ(render(a), "s As String = \"a b\"");
  // Modifiers longer than what is left of the text.
  a.parse("Optional ByVal ParamArray ");
  EXPECT_EQ(render(a), "Optional ByVal ParamArray  As Variant");
  a.parseVariable("x As ");
  EXPECT_EQ(render(a), "x As ");
}

TEST(Quotes, SearchesPassOverStringLiterals) {
  EXPECT_EQ(findOutsideQuotes("x = \"a, b\", c", ", ", 1), 11u);
  EXPECT_EQ(findOutsideQuotes("x = \"a, b\", c", ", ", 12), 0u);
  EXPECT_EQ(findOutsideQuotes("x = \"a, b, c", ", ", 1), 0u);
  EXPECT_EQ(findOutsideQuotes("abc", "c", 3), 3u);
  EXPECT_EQ(findOutsideQuotes("abc", "c", 4), 0u);
  EXPECT_EQ(findOutsideQuotes("abc", "c", 99), 0u);
  EXPECT_EQ(findOutsideQuotes("", "'", 1), 0u);
  EXPECT_EQ(findOutsideQuotes("aBc", "b", 1), 0u);
  EXPECT_EQ(closingQuote("\"a\"\"b\" & c", 1), 6u);
  EXPECT_EQ(closingQuote("\"\"", 1), 2u);
  EXPECT_EQ(closingQuote("\"a\"\"", 1), 0u);
  EXPECT_EQ(closingQuote("\"", 1), 0u);
  EXPECT_EQ(closingQuote("\"", 9), 0u);

  EXPECT_EQ(stripTrailingComment("Dim s As String   ' name 'x'"),
            "Dim s As String");
  EXPECT_EQ(stripTrailingComment("s = \"don't\" & \"\"\"'\" ' why"),
            "s = \"don't\" & \"\"\"'\"");
  EXPECT_EQ(stripTrailingComment("x = 1 \t"), "x = 1 \t");
  EXPECT_EQ(stripTrailingComment("x = 1 Rem not a comment here"),
            "x = 1 Rem not a comment here");
  EXPECT_EQ(stripTrailingComment("' all comment"), "");
  EXPECT_EQ(stripTrailingComment("s = \"open ' literal"),
            "s = \"open ' literal");
  EXPECT_EQ(stripTrailingComment("caf\xE9 = 1 ' \xE9t\xE9"), "caf\xE9 = 1");
}

}  // namespace
}  // namespace scrivlet
