#include "source/source_code_parser.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "source/fake_host_test_util.h"

namespace scrivlet {
namespace {

std::string listed(const std::vector<std::string>& items) {
  return join(items, " | ");
}

// A small drawing project: two interfaces, classes implementing them, a
// form, a standard module and a resource file.
class Drawing : public ::testing::Test {
 protected:
  void SetUp() override {
    project.addModule(vbext_ct_StdModule, "Helpers",
                      {"Implements IShape", "Public Sub Log()", "End Sub"}, 1);
    shape = &project.addModule(vbext_ct_ClassModule, "IShape",
                               {"Public Sub Draw()", "End Sub"});
    project.addModule(vbext_ct_ClassModule, "IPrintable", {});
    circle = &project.addModule(
        vbext_ct_ClassModule, "CCircle",
        {"Option Explicit",                                        // 1
         "Implements IShape",                                      // 2
         "Implements _",                                           // 3
         "    IPrintable ' for reports",                           // 4
         "'Implements IOther",                                     // 5
         "Private m_shape As IShape",                              // 6
         "Private m_list As New Collection, m_owner As cdrawing",  // 7
         "Private m_name As String ' \"Dim q As CSquare\"",        // 8
         "Public Function Area(ByVal scale As Double, _",          // 9
         "        ByVal other As CSquare) As Double",              // 10
         "    Dim n As Long",                                      // 11
         "    Dim p As New CPoint, h As Helpers ' temp",           // 12
         "    Area = 1",                                           // 13
         "End Function"},                                          // 14
        8);
    project.addModule(vbext_ct_ClassModule, "CSquare",
                      {"Implements ishape ' lower case"}, 1);
    project.addModule(vbext_ct_ClassModule, "CPoint", {});
    project.addModule(vbext_ct_VBForm, "CDrawing", {"Implements IShape"}, 1);
    // Claims more declaration lines than it has: unreadable.
    project.addModule(vbext_ct_ClassModule, "Broken", {"Implements IShape"}, 5);
    project.addComponentWithoutCode(vbext_ct_ResFile);
  }

  std::shared_ptr<Element> moduleElement(FakeModule& module) {
    auto element = makeElement(ElementKind::Smodule);
    element->cmo = &module;
    return element;
  }

  FakeProject project;
  FakeVBE ide{&project};
  FakeModule* shape = nullptr;
  FakeModule* circle = nullptr;
};

TEST_F(Drawing, ImplementsStatementsAndTheirImplementers) {
  EXPECT_EQ(listed(SourceCodeParser::getImplements(*circle)),
            "IShape\r | IPrintable\r");
  // The standard module and the unreadable class are not listed; the names
  // come as the project writes them.
  EXPECT_EQ(listed(SourceCodeParser::getWhoImplements(*shape, ide)),
            "CCircle | CSquare | CDrawing");
  EXPECT_EQ(
      listed(SourceCodeParser::filterProjectClasses(
          {"long", "cpoint", "Helpers", "IShape", "CPOINT", "", "Nothing"},
          ide)),
      "CPoint | IShape");
}

TEST_F(Drawing, InterestingReferencesOfModulesAndMembers) {
  // An interface the module implements and also declares a variable of is
  // listed once, with its first mark.
  EXPECT_EQ(listed(interestingReferences(*moduleElement(*circle), ide, "")),
            "IShape [implemented] | IPrintable [implemented] | "
            "CDrawing [used]");
  EXPECT_EQ(listed(interestingReferences(*moduleElement(*shape), ide, "")),
            "CCircle [implements] | CSquare [implements] | "
            "CDrawing [implements]");

  // Area is on logical line 8: lines 3 and 4 are one statement.
  auto area = circle->addMember("Area", vbext_mt_Method, 8);
  auto element = makeElement(ElementKind::Smethod);
  element->member = area;
  element->cmo = circle;
  std::string source =
      join({circle->Lines(9, 1), circle->Lines(10, 1), circle->Lines(11, 1),
            circle->Lines(12, 1), circle->Lines(13, 1), circle->Lines(14, 1)},
           "\r");
  EXPECT_EQ(listed(interestingReferences(*element, ide, source)),
            "CSquare [used] | CPoint [used]");
}

TEST_F(Drawing, UsedObjectsOfVariablesAndProperties) {
  auto owner =
      circle->addMember("m_shape", vbext_mt_Variable, 5, vbext_Private);
  auto variable = makeElement(ElementKind::Svariable);
  variable->member = owner;
  variable->cmo = circle;
  EXPECT_EQ(listed(SourceCodeParser::getUsedObjects(*variable, "")), "IShape");

  FakeModule& point = project.addModule(
      vbext_ct_ClassModule, "CPoint2",
      {"Public Property Get Owner() As CCircle", "End Property",
       "Public Property Let Owner(ByVal c As CCircle)", "End Property"});
  point.addProc("Owner", vbext_pk_Get, 1, 1, 2);
  point.addProc("Owner", vbext_pk_Let, 3, 3, 4);
  auto getter = makeElement(ElementKind::SpropGet);
  getter->member = point.addMember("Owner", vbext_mt_Property, 1);
  getter->cmo = &point;
  EXPECT_EQ(
      listed(SourceCodeParser::getUsedObjects(
          *getter, "Public Property Get Owner() As CCircle\rEnd Property")),
      "CCircle");
  // A member whose declaration cannot be found still yields its body's types.
  auto missing = makeElement(ElementKind::SpropSet);
  missing->member = getter->member;
  missing->cmo = &point;
  EXPECT_EQ(
      listed(SourceCodeParser::getUsedObjects(*missing, "  Dim x As IShape")),
      "IShape");
}

TEST(SourceCodeParser, SplitStatementsJoinsContinuedLines) {
  EXPECT_EQ(listed(SourceCodeParser::splitStatements(
                "  Implements _\r\n  IShape\r\nDim a As _\r\n  Long, _\r\n  "
                "b\r\n  x = 1 _ \r\n\r\ny = \"a _\"",
                "\r\n")),
            "Implements IShape |  | Dim a As Long, b |  |  |   x = 1 _  |  | "
            "y = \"a _\"");
  // A continuation on the last line has nothing to join.
  EXPECT_EQ(listed(SourceCodeParser::splitStatements("a _\rb _", "\r")),
            "a b  | ");
  EXPECT_EQ(listed(SourceCodeParser::splitStatements("", "\r")), "");
  EXPECT_EQ(SourceCodeParser::isStringInCollection("ishape\r", {"IShape\r"}),
            "IShape\r");
  EXPECT_EQ(SourceCodeParser::isStringInCollection("IShape", {"IShape\r"}), "");
}

}  // namespace
}  // namespace scrivlet
