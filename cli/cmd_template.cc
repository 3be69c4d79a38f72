// scrivlet template: what a template file, or every template of a folder,
// says of itself.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "base/progress.h"
#include "base/text.h"
#include "cli/command.h"
#include "compiler/template_description.h"

namespace scrivlet {
namespace {

// Template warnings, on the error stream as they come.
class StderrSink : public ProgressSink {
 public:
  void showStatus(const std::string&) override {}
  void addMessage(const std::string& text) override {
    std::cerr << text << "\n";
  }
};

// The shipped templates look for their files beside the program.
std::string programFolder() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

bool isTemplateFile(const std::filesystem::directory_entry& entry) {
  std::error_code ec;
  return entry.is_regular_file(ec) &&
         equalsNoCase(entry.path().extension().string(), ".scvt");
}

// Whether the file holds a section ("$scriv-...$" opening a line), as
// every template does; a project file or a page does not.
bool holdsASection(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line))
    if (startsWith(leftTrim(line), "$scriv-")) return true;
  return false;
}

bool describe(const std::string& path, const std::string& output,
              std::string& description) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    description = "Cannot read description from " + path + " file.";
    return false;
  }
  if (!holdsASection(path)) {
    description = path + " is not a template: it holds no section.";
    return false;
  }
  StderrSink sink;
  Progress progress(&sink);
  description =
      readTemplateDescription(path, programFolder(), output, progress);
  return !startsWith(description, "Cannot read description from ");
}

int describeFile(const std::string& path, const std::string& output) {
  std::string description;
  if (!describe(path, output, description)) {
    std::cerr << "scrivlet template: " << description << "\n";
    return 1;
  }
  std::cout << description << "\n";
  return 0;
}

int listFolder(const std::string& folder, const std::string& output) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    std::cerr << "scrivlet template: " << folder << " is not a folder.\n";
    return 1;
  }
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    if (isTemplateFile(entry)) files.push_back(entry.path());
  if (ec) {
    std::cerr << "scrivlet template: cannot read the folder " << folder
              << ": " << ec.message() << "\n";
    return 1;
  }
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return foldCase(a.filename().string()) < foldCase(b.filename().string());
  });
  int status = 0;
  for (const auto& file : files) {
    std::string description;
    if (!describe(file.string(), output, description)) status = 1;
    std::cout << file.filename().string() << ": " << description << "\n";
  }
  return status;
}

struct Options {
  std::string path;
  std::string output;
  bool list = false;
};

}  // namespace

Command templateCommand() {
  return {"template",
     "Print the description of a template (*.scvt), or with --list of every "
     "template in a folder",
     [](CLI::App& app) -> std::function<int()> {
       auto options = std::make_shared<Options>();
       app.add_option("path", options->path,
                      "Template file, or with --list the folder of templates")
           ->required();
       app.add_flag("--list", options->list,
                    "List every *.scvt file of the folder with its "
                    "description, one per line as \"file: description\"");
       app.add_option("--output", options->output,
                      "Output folder the description may mention "
                      "($OUTPUT-PATH$); empty by default");
       app.footer(
           "Exit status: 0 done; 1 a template or the folder could not be "
           "read; 2 wrong usage. Template warnings go to the error stream.\n");
       return [options] {
         return options->list ? listFolder(options->path, options->output)
                              : describeFile(options->path, options->output);
       };
     }};
}
}  // namespace scrivlet
