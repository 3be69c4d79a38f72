// Loading a generated project with every tricky case gives, element for
// element, what it gave before loading was made fast: the listing below is
// compared whole with the one checked in beside this file. After a change
// that is meant to alter results, rewrite it with
//   SCRIVLET_UPDATE_GOLDEN=1 build/scrivlet_tests --gtest_filter='GeneratedProject.*'
// The same holds for the files a compile writes (generated_compiled.txt).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/scratch_folder_test_util.h"
#include "bench/scale/project_generator.h"
#include "cli/cli_support.h"
#include "comments/comment_generator.h"
#include "platform/disk_code_module.h"
#include "source/declared_blocks.h"
#include "source/element_returns.h"
#include "source/project_loader.h"
#include "source/source_lines.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

// A short fingerprint of a comment, so that the listing stays small while
// every byte of every comment counts.
std::string fingerprint(const std::vector<std::string>& lines) {
  std::uint64_t h = 1469598103934665603ull;
  for (const std::string& line : lines) {
    for (unsigned char c : line) h = (h ^ c) * 1099511628211ull;
    h = (h ^ '\r') * 1099511628211ull;
  }
  char text[20];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

// One line per element: what loading decided, where the element stands,
// its comment, what the declaration returns, and the element found again
// at its declaration line (as the comment editor finds it).
std::string listing(const std::string& vbp) {
  std::unique_ptr<DiskVBE> vbe = openForCommand(vbp);
  if (!vbe) return "cannot open " + vbp;
  ProjectSettings settings;
  loadSettingsForActiveProject(*vbe, settings);
  Progress progress;
  store elements;
  ProjectLoader loader(elements, settings, progress, [&](Element& element) {
    return generateComment(element, settings);
  });
  loader.loadProject();
  std::ostringstream out;
  for (const auto& entry : elements.all) {
    Element& e = *entry.item;
    long location = e.CodeLocation();
    std::shared_ptr<Element> again = elementAtLine(*e.cmo, location);
    out << e.helpID << '\t' << e.className() << '\t' << entry.key << '\t'
        << e.hadComment << '\t' << location << '\t' << e.comment.size() << '\t'
        << fingerprint(e.comment) << '\t' << getReturns(e) << '\t'
        << again->className() << ' ' << again->canonicalLink() << '\n';
  }
  out << "modules " << elements.modules.size() << " methods "
      << elements.methods.size() << " events " << elements.events.size()
      << " gets " << elements.gets.size() << " lets " << elements.lets.size()
      << " sets " << elements.sets.size() << " variables "
      << elements.variables.size() << " constants " << elements.constants.size()
      << " enums " << elements.enums.size() << " types " << elements.types.size()
      << '\n';
  return out.str();
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(GeneratedProject, LoadingListsWhatItListedBefore) {
  ScratchFolder folder("scrivlet-generated");
  GeneratedProject project = generateProject(folder.path(), 320);
  std::string actual = listing(project.vbpPath);

  fs::path golden =
      fs::path(SCRIVLET_SOURCE_DIR) / "bench/scale/generated_listing.txt";
  if (std::getenv("SCRIVLET_UPDATE_GOLDEN")) {
    std::ofstream(golden, std::ios::binary) << actual;
    GTEST_SKIP() << "rewrote " << golden;
  }
  EXPECT_EQ(actual, readFile(golden));
}

// Compiling a generated project with every shipped template writes the
// files it wrote before the compile was made fast, byte for byte, and says
// the same: one line per file with its size and fingerprint, beside the
// listing above.
std::string compiledListing(const std::string& templateName,
                            const std::string& addedSetting = "") {
  ScratchFolder scratch("scrivlet-compiled");
  const fs::path& folder = scratch.folder();
  fs::create_directory(folder / "project");
  GeneratedProject project =
      generateProject((folder / "project").string(), 900);
  if (!addedSetting.empty())
    std::ofstream(fs::path(project.vbpPath).replace_extension(".scriv"),
                  std::ios::app | std::ios::binary)
        << addedSetting << "\r\n";
  fs::path out = folder / "out";
  fs::path messages = folder / "messages.txt";
  std::string command =
      std::string(SCRIVLET_BINARY) + " compile '" + project.vbpPath +
      "' --template '" + SCRIVLET_SOURCE_DIR + "/templates/" + templateName +
      "' --output '" + out.string() + "' --quiet > '" + messages.string() +
      "' 2>&1";
  std::ostringstream listed;
  int status = std::system(command.c_str());
  // The messages name the temporary folder.
  std::string said = readFile(messages);
  for (std::size_t at; (at = said.find(folder.string())) != std::string::npos;)
    said.replace(at, folder.string().size(), "FOLDER");
  listed << "== " << templateName << ' ' << addedSetting << " exit " << status
         << " messages "
         << fingerprint({said}) << '\n';
  std::vector<fs::path> files;
  // A help file built by chmcmd holds the time it was made.
  for (const auto& entry : fs::recursive_directory_iterator(out))
    if (entry.is_regular_file() && entry.path().extension() != ".chm")
      files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::string bytes = readFile(file);
    listed << fs::relative(file, out).string() << '\t' << bytes.size() << '\t'
           << fingerprint({bytes}) << '\n';
  }
  // Help numbers and descriptions written back into the code count too.
  for (const std::string& module : project.files)
    listed << fs::path(module).filename().string() << '\t'
           << fingerprint({readFile(module)}) << '\n';
  return listed.str();
}

TEST(GeneratedProject, CompilesWhatItCompiledBefore) {
  std::string actual;
  for (const char* name : {"html.scvt", "chm.scvt", "rtf.scvt", "markdown.scvt"})
    actual += compiledListing(name);
  // Every page with its source code, properties with all their procedures.
  actual += compiledListing("html.scvt", "insertSourceGlobal = 1");
  fs::path golden =
      fs::path(SCRIVLET_SOURCE_DIR) / "bench/scale/generated_compiled.txt";
  if (std::getenv("SCRIVLET_UPDATE_GOLDEN")) {
    std::ofstream(golden, std::ios::binary) << actual;
    GTEST_SKIP() << "rewrote " << golden;
  }
  EXPECT_EQ(actual, readFile(golden));
}

// The same size gives the same files: the listing above depends on it.
TEST(GeneratedProject, SameSizeSameBytes) {
  ScratchFolder first("scrivlet-generated");
  ScratchFolder second("scrivlet-generated");
  GeneratedProject a = generateProject(first.path(), 900);
  GeneratedProject b = generateProject(second.path(), 900);
  EXPECT_GE(a.members, 900);
  EXPECT_LE(a.members, 902);
  ASSERT_EQ(a.files.size(), b.files.size());
  for (std::size_t i = 0; i < a.files.size(); ++i) {
    std::string bytes = readFile(a.files[i]);
    EXPECT_EQ(bytes, readFile(b.files[i]));
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << a.files[i];
  }
}

// A module that answers from the lines alone, as any host may: it keeps no
// list of continued lines, so readers fall back to reading each line.
class PlainModule : public CodeModule {
 public:
  explicit PlainModule(CodeModule& m) : m_(m) {}
  std::string Name() const override { return m_.Name(); }
  VBComponent* Parent() const override { return m_.Parent(); }
  std::string Lines(long start, long count) const override {
    return m_.Lines(start, count);
  }
  long CountOfLines() const override { return m_.CountOfLines(); }
  long CountOfDeclarationLines() const override {
    return m_.CountOfDeclarationLines();
  }
  std::string ProcOfLine(long line, int& kind) const override {
    return m_.ProcOfLine(line, kind);
  }
  long ProcBodyLine(const std::string& n, int k) const override {
    return m_.ProcBodyLine(n, k);
  }
  long ProcStartLine(const std::string& n, int k) const override {
    return m_.ProcStartLine(n, k);
  }
  long ProcCountLines(const std::string& n, int k) const override {
    return m_.ProcCountLines(n, k);
  }
  void InsertLines(long line, const std::string& text) override {
    m_.InsertLines(line, text);
  }
  void DeleteLines(long start, long count) override { m_.DeleteLines(start, count); }
  std::vector<std::shared_ptr<Member>> Members() const override {
    return m_.Members();
  }
  scrivlet::CodePane* CodePane() override { return m_.CodePane(); }

 private:
  CodeModule& m_;
};

// The element at a line found the plain way: every member in turn. (The
// lines themselves are read through the module's own index here, checked
// against reading them one by one separately, or the test would take
// minutes.)
std::string elementAtLineByWalking(CodeModule& module, long line) {
  line = statementStartLine(module, line);
  for (const std::shared_ptr<Member>& member : module.Members()) {
    int type = member->Type();
    long declared = physicalLine(module, member->CodeLocation());
    int kind = 0;
    if (type == vbext_mt_Method) {
      if (declared == line) return "Smethod " + member->Name();
      try {
        if (module.ProcOfLine(line, kind) == member->Name())
          return "Smethod " + member->Name();
      } catch (const HostError&) {
      }
    } else if (type == vbext_mt_Property) {
      if (module.ProcOfLine(line, kind) == member->Name())
        return std::string(kind == vbext_pk_Let   ? "SpropLet "
                           : kind == vbext_pk_Set ? "SpropSet "
                           : kind == vbext_pk_Get ? "SpropGet "
                                                  : "none ") +
               member->Name();
    } else if (declared == line) {
      return std::string(type == vbext_mt_Variable ? "Svariable "
                         : type == vbext_mt_Event  ? "Sevent "
                                                   : "Sconstant ") +
             member->Name();
    }
  }
  for (const DeclaredBlock& block : findDeclaredBlocks(module))
    if (line >= block.line && line <= block.endLine)
      return std::string(block.isEnum ? "Senum " : "Stype ") + block.name;
  return "Smodule";
}

std::string describe(const std::shared_ptr<Element>& e) {
  if (!e) return "none";
  return std::string(e->className()) + (e->member ? " " + e->member->Name() : "");
}

std::string elementAtLineOrError(CodeModule& module, long line) {
  try {
    return describe(elementAtLine(module, line));
  } catch (const HostError& e) {
    return "error " + std::to_string(e.number);
  }
}

std::string walkedOrError(CodeModule& module, long line) {
  try {
    return elementAtLineByWalking(module, line);
  } catch (const HostError& e) {
    return "error " + std::to_string(e.number);
  }
}

// Continued lines and member look-ups answer as reading every line does:
// on the generated modules and on a module of odd continuations.
void expectSameAsReadingLines(CodeModule& module) {
  PlainModule plain(module);
  long count = module.CountOfLines();
  for (long n = 0; n <= count + 2; ++n) {
    ASSERT_EQ(physicalLine(module, n), physicalLine(plain, n))
        << module.Name() << " logical line " << n;
    if (n >= 1 && n <= count) {
      ASSERT_EQ(statementStartLine(module, n), statementStartLine(plain, n))
          << module.Name() << " line " << n;
      ASSERT_EQ(statementText(module, n), statementText(plain, n));
      ASSERT_EQ(elementAtLineOrError(module, n), walkedOrError(module, n))
          << module.Name() << " line " << n;
    }
  }
}

TEST(GeneratedProject, LineLookupsMatchReadingEveryLine) {
  ScratchFolder folder("scrivlet-generated");
  GeneratedProject project = generateProject(folder.path(), 320);
  for (const std::string& path : project.files) {
    std::string bytes = readFile(path);
    auto module = DiskCodeModule::fromText(fs::path(path).stem().string(),
                                           vbext_ct_ClassModule, bytes);
    expectSameAsReadingLines(*module);
  }

  auto odd = DiskCodeModule::fromText(
      "Odd", vbext_ct_ClassModule,
      "Private a As _\r\n _\r\n  Long, b _\r\n As String\r\n"
      "Public Event E(x _\r\n)\r\n"
      "Public Sub S( _\r\n)\r\nEnd Sub\r\n"
      "Sub T(): End Sub\r\n"
      "Property Get S2() As Long\r\nEnd Property\r\n"
      "Property Let S2( _\r\n _\r\n v As Long)\r\nEnd Property\r\n"
      "' a comment _\r\n"
      "Function F() _\r\n");
  expectSameAsReadingLines(*odd);
}

}  // namespace
}  // namespace scrivlet
