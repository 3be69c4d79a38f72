// The project and group file reader: the bytes of a .vbp (or a .vbg, when
// they start so) parsed in memory with their values read and set again, then
// opened from disk with every module they name, as the command line does.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/disk_project_file.h"
#include "platform/disk_vb_project.h"
#include "platform/disk_vbe.h"

using namespace scrivlet;
namespace fs = std::filesystem;

namespace {

// One folder for the whole run, holding a module that project files may
// name ("Module=M; m.bas") beside the project file itself.
const fs::path& workFolder() {
  static const fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "scrivlet-fuzz-XXXXXX");
    fs::path made = ::mkdtemp(pattern.data());
    std::ofstream(made / "m.bas", std::ios::binary)
        << "Attribute VB_Name = \"M\"\r\nPublic Sub A()\r\nEnd Sub\r\n";
    fs::create_directory(made / "sub");
    return made;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::string_view bytes = fuzz::asText(data, size);

  DiskProjectFile file(bytes);
  if (file.toBytes() != bytes) std::abort();  // read and written unchanged
  for (const DiskProjectFile::Entry& entry : file.entries()) {
    std::string value;
    if (!file.value(entry.key, value)) std::abort();
    (void)unquoteProjectValue(value);
  }
  file.setValue("HelpFile", quoteProjectValue(bytes.substr(0, 64)));
  std::string afterSet;
  if (!file.value("HelpFile", afterSet)) std::abort();
  DiskProjectFile reread(file.toBytes());
  std::string reread_value;
  if (!reread.value("HelpFile", reread_value) || reread_value != afterSet)
    std::abort();

  bool group = bytes.substr(0, 7) == "VBGROUP";
  fs::path path = workFolder() / (group ? "fuzz.vbg" : "fuzz.vbp");
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string error;
  std::unique_ptr<DiskVBE> vbe = openProjectOrGroup(path.string(), error);
  if (!vbe && error.empty()) std::abort();  // a refusal always says why
  if (vbe) {
    for (VBProject* project : vbe->VBProjects()) {
      // Names become file names and reach the after-compile commands: only
      // identifiers get through.
      if (!isValidModuleName(project->Name())) std::abort();
      for (VBComponent* component : project->VBComponents()) {
        (void)component->Name();
        if (CodeModule* code = component->CodeModule())
          (void)code->Members();
      }
    }
  }
  return 0;
}
