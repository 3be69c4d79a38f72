// Loading a generated project with every tricky case gives, element for
// element, what it gave before loading was made fast: the listing below is
// compared whole with the one checked in beside this file. After a change
// that is meant to alter results, rewrite it with
//   SCRIVLET_UPDATE_GOLDEN=1 build/scrivlet_tests --gtest_filter='GeneratedProject.*'
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bench/scale/project_generator.h"
#include "comments/comment_generator.h"
#include "platform/cli_support.h"
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
      << '\n';
  return out.str();
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(GeneratedProject, LoadingListsWhatItListedBefore) {
  char pattern[] = "/tmp/scrivlet-generated-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  fs::path folder = pattern;
  GeneratedProject project = generateProject(folder.string(), 320);
  std::string actual = listing(project.vbpPath);
  fs::remove_all(folder);

  fs::path golden =
      fs::path(SCRIVLET_SOURCE_DIR) / "bench/scale/generated_listing.txt";
  if (std::getenv("SCRIVLET_UPDATE_GOLDEN")) {
    std::ofstream(golden, std::ios::binary) << actual;
    GTEST_SKIP() << "rewrote " << golden;
  }
  EXPECT_EQ(actual, readFile(golden));
}

// The same size gives the same files: the listing above depends on it.
TEST(GeneratedProject, SameSizeSameBytes) {
  char first[] = "/tmp/scrivlet-generated-XXXXXX";
  char second[] = "/tmp/scrivlet-generated-XXXXXX";
  ASSERT_NE(mkdtemp(first), nullptr);
  ASSERT_NE(mkdtemp(second), nullptr);
  GeneratedProject a = generateProject(first, 900);
  GeneratedProject b = generateProject(second, 900);
  EXPECT_GE(a.members, 900);
  EXPECT_LE(a.members, 902);
  ASSERT_EQ(a.files.size(), b.files.size());
  for (std::size_t i = 0; i < a.files.size(); ++i) {
    std::string bytes = readFile(a.files[i]);
    EXPECT_EQ(bytes, readFile(b.files[i]));
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << a.files[i];
  }
  fs::remove_all(first);
  fs::remove_all(second);
}

}  // namespace
}  // namespace scrivlet
