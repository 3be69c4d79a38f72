// The settings-file loader: any bytes as a project's settings file, read
// over a file system in memory, silently and with a user who gives up at
// every prompt; what was read is saved and read again, and must read the
// same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "addin/settings_file.h"
#include "base/message_box_test_util.h"
#include "base/scripted_files_test_util.h"
#include "fuzz/fuzz_input.h"
#include "source/fake_host_test_util.h"

using namespace scrivlet;

namespace {

// Files in memory, in the folders the settings name.
class MemoryFileSystem : public ScriptedFileSystem {
 public:
  bool folderExists(const std::string& path) const override {
    return path == "/work" || path == "/work/Templates" || path == "/addin" ||
           path == "/addin/Templates";
  }
};

class Project : public FakeProject {
 public:
  std::string FileName() const override { return "/work/Calc.vbp"; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  Project project;
  project.addModule(vbext_ct_StdModule, "modMath", {});
  project.addModule(vbext_ct_ClassModule, "Calculator", {});
  FakeVBE vbe(&project);
  MemoryFileSystem files;
  files.files["/work/Calc.scriv"] = std::string(fuzz::asText(data, size));
  files.files["/addin/Templates/html.scvt"] = "";
  CancellingBox box;
  Progress progress;
  FileServices services{files, box, progress};
  SettingsFile settingsFile(vbe, services, "/addin");

  ProjectSettings loud;
  (void)settingsFile.loadProjectSettings(loud, false);

  ProjectSettings settings;
  if (settingsFile.readSettingsOrDefaults(settings) != settingsLoaded)
    return 0;
  std::string first = settingsText(settings);
  if (settingsFile.saveProjectSettings(settings) != 0) std::abort();
  ProjectSettings again;
  if (settingsFile.readSettingsOrDefaults(again) != settingsLoaded)
    std::abort();
  if (settingsText(again) != first) {
    std::fprintf(stderr, "read:\n%s\nread again:\n%s\n", first.c_str(),
                 settingsText(again).c_str());
    std::abort();
  }
  return 0;
}
