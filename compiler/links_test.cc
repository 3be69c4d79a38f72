#include "compiler/links.h"

#include <gtest/gtest.h>

#include "compiler/fake_elements.h"
#include "compiler/recording_sink.h"

namespace scrivlet {
namespace {

class LinksTest : public ::testing::Test {
 protected:
  LinksTest() : progress(&sink), links(elements, progress), project(elements) {
    class1 = project.addModule("Class1");
    load = project.addMember(class1, ElementKind::Smethod, "Load");
    save = project.addMember(class1, ElementKind::Smethod, "Save");
    project.addMember(class1, ElementKind::SpropGet, "Value");
    project.addMember(class1, ElementKind::SpropLet, "Value");
    valueSet = project.addMember(class1, ElementKind::SpropSet, "Value");
    auto class2 = project.addModule("Class2");
    onlyGet = project.addMember(class2, ElementKind::SpropGet, "Value");
    module2 = project.addModule("Module2");
    module2Load = project.addMember(module2, ElementKind::Smethod, "Load");
  }

  store elements;
  RecordingSink sink;
  Progress progress;
  Links links;
  FakeElementStore project;
  std::shared_ptr<Element> class1, load, save, valueSet, onlyGet, module2,
      module2Load;
};

TEST_F(LinksTest, ResolvesEveryWrittenForm) {
  const Element* in = load.get();
  EXPECT_EQ(links.getWrapperFromLink(in, ".Save"), save);
  EXPECT_EQ(links.getWrapperFromLink(in, "Class1.Save"), save);
  EXPECT_EQ(links.getWrapperFromLink(in, "Module2."), module2Load);
  EXPECT_EQ(links.getWrapperFromLink(in, "Class1.Value"), valueSet);
  EXPECT_EQ(links.getWrapperFromLink(in, "Class2.Value"), onlyGet);
  EXPECT_EQ(links.getWrapperFromLink(in, "CLASS1.value"), valueSet);
  EXPECT_EQ(links.getWrapperFromLink(in, "class1"), class1);
  EXPECT_EQ(links.getWrapperFromLink(in, "\"Class1"), nullptr);
  EXPECT_EQ(links.canonizeLink(in, "class1.value'let"), "Class1.Value'let");
  EXPECT_EQ(links.canonizeLink(in, ".load"), "Class1.Load");
  EXPECT_EQ(links.canonizeLink(valueSet.get(), ".'get"), "Class1.Value'get");
  EXPECT_EQ(links.canonizeLink(valueSet.get(), "Class2.'get"),
            "Class2.Value'get");
  // An empty link names the context's own module.
  EXPECT_EQ(links.canonizeLink(in, ""), "Class1");
  EXPECT_EQ(links.canonizeLink(in, "\"manual.chm"), "\"manual.chm");
  EXPECT_EQ(Links::getLinkFromWrapper(*onlyGet), "Class2.Value'get");
  EXPECT_EQ(Links::getLinkFromWrapper(*module2), "Module2");
  EXPECT_EQ(sink.text(), "");
}

// Lists built from the model hold their elements; only links that resolve
// by looking themselves up may use them instead.
TEST(LinksFullTest, TellsLinksThatNeedNoContext) {
  for (const char* full : {"Class1", "Class1.Load", "Class1.Value'get"})
    EXPECT_TRUE(Links::isFullLink(full)) << full;
  for (const char* partial :
       {"", ".Load", "Class1.", "Class1'get", "Class1.Value'GET", "Mo'd.x",
        "\"Class1"})
    EXPECT_FALSE(Links::isFullLink(partial)) << partial;
}

TEST_F(LinksTest, WarnsOnceForEachBadLinkInARow) {
  const Element* in = load.get();
  EXPECT_EQ(links.getWrapperFromLink(in, "Class1.Value'GET"), nullptr);
  EXPECT_EQ(links.getWrapperFromLink(in, "Value'get"), nullptr);
  EXPECT_EQ(links.canonizeLink(in, "Class1.Gone"), "Class1.Gone");
  EXPECT_EQ(links.canonizeLink(in, "Class1.Gone"), "Class1.Gone");
  EXPECT_EQ(links.getWrapperFromLink(module2.get(), "Nope"), nullptr);
  EXPECT_EQ(links.getWrapperFromLink(in, "Class1.Gone"), nullptr);
  // Without a context, a link that needs one names nothing and says nothing.
  EXPECT_EQ(links.getWrapperFromLink(nullptr, ".Save"), nullptr);
  EXPECT_EQ(links.getWrapperFromLink(nullptr, "Class1.Save"), save);
  EXPECT_EQ(sink.text(),
            "Warning: The link 'Class1.Value'GET' in 'Load' member of 'Class1' "
            "module contains wrong property type specifier \"'GET\".\n"
            "Warning: The link 'Value'get' in 'Load' member of 'Class1' module "
            "has wrong syntax.\n"
            "Warning: The dead link 'Class1.Gone' was found in 'Load' member "
            "of 'Class1' module.\n"
            "Warning: The dead link 'Nope' was found in 'Module2' member of "
            "'Module2' module.\n"
            "Warning: The dead link 'Class1.Gone' was found in 'Load' member "
            "of 'Class1' module.\n");
}

TEST_F(LinksTest, ParseLinkSplitsTheCanonicalLinkOfTheCompiledElement) {
  elements.compiledWrapper = load;
  auto show = [&](std::string_view link) {
    ParsedLink p = links.parseLink(link);
    return p.memberName + "|" + p.location + "|" + p.suffix + "|" +
           (p.element ? Links::getLinkFromWrapper(*p.element) : "-");
  };
  EXPECT_EQ(show("Class1.Value"), "Value|Class1|'set|Class1.Value'set");
  EXPECT_EQ(show(".Save"), "Save|Class1||Class1.Save");
  EXPECT_EQ(show("Module2"), "|Module2||Module2");
  EXPECT_EQ(show("\"help\\index.htm"), "|help\\index.htm||-");
  EXPECT_EQ(show("Class9.X"), "|||-");
  // An apostrophe before the dot leaves no member part.
  EXPECT_EQ(show("Class1'x.y"), "|||-");
  EXPECT_EQ(sink.text(),
            "Warning: The dead link 'Class9.X' was found in 'Load' member of "
            "'Class1' module.\n"
            "Warning: The link 'Class1'x.y' in 'Load' member of 'Class1' "
            "module contains wrong property type specifier \"'x.y\".\n");
}

}  // namespace
}  // namespace scrivlet
