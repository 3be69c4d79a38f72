// libscrivlet.so as a host sees it: one exported function, a connection
// that comes and goes without a trace, and a library that really unloads.
#include <dlfcn.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "addin/fake_ide_test_util.h"
#include "addin/windows/qt_addin_windows.h"
#include "base/addin_connection.h"

namespace scrivlet {
namespace {

std::string commandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  pclose(pipe);
  return output;
}

// The defined dynamic symbols that are code ("T", "W", "i"), one a line.
std::string exportedFunctions(const std::string& library) {
  std::string result;
  std::string listing = commandOutput("nm -D --defined-only " + library);
  std::size_t at = 0;
  while (at < listing.size()) {
    std::size_t end = listing.find('\n', at);
    std::string line = listing.substr(at, end - at);
    at = end == std::string::npos ? listing.size() : end + 1;
    std::size_t space = line.find(' ');
    if (space == std::string::npos || space + 2 >= line.size()) continue;
    char type = line[space + 1];
    if (type == 'T' || type == 'W' || type == 'i')
      result += line.substr(space + 3) + "\n";
  }
  return result;
}

// A project of its own in a scratch folder, and the user's configuration
// there too, so that the add-in's preference and settings stay inside.
struct ScratchIde {
  ScratchIde() {
    folder = std::filesystem::temp_directory_path() /
             ("scrivlet-library-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    if (const char* config = std::getenv("XDG_CONFIG_HOME")) oldConfig = config;
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    FakeProject& project = ide.addProject((folder / "Calc.vbp").string());
    project.addModule(vbext_ct_StdModule, "modMath", {"Option Explicit"});
  }
  ~ScratchIde() {
    if (oldConfig)
      setenv("XDG_CONFIG_HOME", oldConfig->c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::filesystem::path folder;
  std::optional<std::string> oldConfig;
  FakeIde ide;
};

TEST(AddinLibrary, ExportsOneFunction) {
  EXPECT_EQ(exportedFunctions(SCRIVLET_ADDIN_LIBRARY), "scrivlet_addin_create\n");
}

TEST(AddinLibrary, ConnectsAHundredTimesAndUnloadsCleanly) {
  ScratchIde scratch;
  FakeIde& ide = scratch.ide;
  const std::string before = ide.bars.serialize();
  for (int load = 0; load < 2; ++load) {
    void* library = dlopen(SCRIVLET_ADDIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto create = reinterpret_cast<scrivlet_addin_create_function>(
        dlsym(library, scrivletAddinCreateSymbol));
    ASSERT_NE(create, nullptr);
    for (int round = 0; round < 100; ++round) {
      ide.clipboard.setText("user text");
      std::unique_ptr<AddinConnection> addin(create());
      ASSERT_NE(addin, nullptr);
      addin->OnConnection(ide, ext_cm_Startup);
      ASSERT_EQ(ide.bars.bars[3]->controls.captions(),
                "Add Scrivlet Comment|Comment Editor|Copy Selection as Code");
      ASSERT_TRUE(ide.bars.bars[3]->controls.controls[0]->face.has_value());
      ASSERT_EQ(ide.clipboard.textHeld, "user text");
      addin->OnDisconnection(ext_dm_UserClosed);
      ASSERT_EQ(ide.bars.serialize(), before);
      ASSERT_EQ(ide.events.handlersSet(), 0);
      ASSERT_FALSE(ide.mainWindow.SystemColorsChanged);
    }
    EXPECT_EQ(dlclose(library), 0);
    // Gone for real: asking for it without loading finds nothing.
    EXPECT_EQ(dlopen(SCRIVLET_ADDIN_LIBRARY, RTLD_NOW | RTLD_NOLOAD), nullptr);
  }
}

TEST(AddinFaces, WhiteTakesTheButtonColour) {
  QtAddinWindows windows;
  for (int image = 100; image <= 103; ++image) {
    Picture face = windows.faceImage(image, 0x123456);
    EXPECT_EQ(face.width, 16);
    EXPECT_EQ(face.height, 16);
    EXPECT_EQ(face.pixels.size(), 256u);
  }
  // The main face is a drawing on white: its corner takes the colour.
  EXPECT_EQ(windows.faceImage(101, 0x123456).pixels[0], 0xFF123456u);
  EXPECT_EQ(windows.faceImage(101, 0xFFFFFF).pixels[0], 0xFFFFFFFFu);
  EXPECT_THROW(windows.faceImage(99, 0), HostError);
}

}  // namespace
}  // namespace scrivlet
