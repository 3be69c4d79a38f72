#include "compiler/template_description.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

#include "base/scratch_folder_test_util.h"
#include "compiler/recording_sink.h"

namespace scrivlet {
namespace {

class TemplateDescription : public ::testing::Test {
 protected:
  TemplateDescription() {
    write("chm.scvt",
          "$scriv-description$\r\n"
          "HTML Help for $$5,\r\n"
          "written to $OUTPUT-PATH$ with $SCRIV-PATH$\\chm.css.\r\n"
          "$end-scriv-description$\r\n");
    write("Broken.SCVT", "$scriv-description$\r\nno end\r\n");
    write("notes.txt", "$scriv-description$\r\nnot a template\r\n");
  }
  void write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
  }
  std::string path(const std::string& name) const {
    return (dir / name).string();
  }

  // Runs the program; gives its standard output and sets `status`.
  std::string run(const std::string& arguments, int& status) {
    std::string command =
        std::string(SCRIVLET_BINARY) + " " + arguments + " 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
      out.append(buffer, n);
    int raw = ::pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
  }

  ScratchFolder scratch{"scrivlet-description"};
  const std::filesystem::path& dir = scratch.folder();
};

TEST_F(TemplateDescription, ShowsTheSectionOnOneLine) {
  RecordingSink sink;
  Progress progress(&sink);
  EXPECT_EQ(readTemplateDescription(path("chm.scvt"), "C:\\Add$In",
                                    "C:\\Out\\", progress),
            "HTML Help for $5, written to C:\\Out with C:\\Add$In\\chm.css.");
  EXPECT_EQ(readTemplateDescription(path("missing.scvt"), "", "", progress),
            "Cannot read description from " + path("missing.scvt") + " file.");
  // The section that never ends is not defined.
  EXPECT_EQ(readTemplateDescription(path("Broken.SCVT"), "", "", progress),
            "$scriv-description$");
  EXPECT_EQ(sink.text(), "ERROR (config file): Error in configuration file " +
                             path("Broken.SCVT") +
                             " on line 1. Terminating tag "
                             "$end-scriv-description$ missing.\n");
}

TEST_F(TemplateDescription, CommandPrintsOneTemplateOrAFolder) {
  int status = -1;
  EXPECT_EQ(run("template '" + path("chm.scvt") + "' --output /out/", status),
            "HTML Help for $5, written to /out with " +
                std::filesystem::path(SCRIVLET_BINARY).parent_path().string() +
                "\\chm.css.\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(run("template --list '" + dir.string() + "'", status),
            "Broken.SCVT: $scriv-description$\n"
            "chm.scvt: HTML Help for $5, written to  with " +
                std::filesystem::path(SCRIVLET_BINARY).parent_path().string() +
                "\\chm.css.\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(run("template '" + path("missing.scvt") + "'", status), "");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(run("template --list '" + path("chm.scvt") + "'", status), "");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(run("template", status), "");
  EXPECT_EQ(status, 2);
}

}  // namespace
}  // namespace scrivlet
