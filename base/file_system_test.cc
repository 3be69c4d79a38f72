#include "base/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/scratch_folder_test_util.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(AtomicFile, ReplacesKeepingPermissionsAndLeavesNothingBehind) {
  ScratchFolder scratch;
  const fs::path& dir = scratch.folder();
  fs::path file = dir / "a.bas";
  std::string error;

  ASSERT_TRUE(writeFileAtomically(file.string(), "one\r\n", error)) << error;
  EXPECT_EQ(slurp(file), "one\r\n");
  ::chmod(file.c_str(), 0640);
  std::string bytes("two\0\xE9\r\n", 7);
  ASSERT_TRUE(writeFileAtomically(file.string(), bytes, error)) << error;
  EXPECT_EQ(slurp(file), bytes);
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  // A folder that does not exist, and a folder in the way of the file.
  fs::path missing = dir / "no" / "b.bas";
  EXPECT_FALSE(writeFileAtomically(missing.string(), "x", error));
  EXPECT_EQ(error, "Cannot write \"" + missing.string() +
                       "\": cannot create a temporary file: No such file or directory");
  fs::create_directory(dir / "sub");
  EXPECT_FALSE(writeFileAtomically((dir / "sub").string(), "x", error));

  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++entries;
  EXPECT_EQ(entries, 2);  // a.bas and sub
}

}  // namespace
}  // namespace scrivlet
