// Projects written to a temporary folder and opened through the disk host,
// for tests that compile documentation from real module text.
#ifndef SCRIVLET_COMPILER_DISK_PROJECT_TEST_UTIL_H_
#define SCRIVLET_COMPILER_DISK_PROJECT_TEST_UTIL_H_

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "base/file_system.h"
#include "base/message_box_test_util.h"
#include "base/progress.h"
#include "base/project_settings.h"
#include "base/scratch_folder_test_util.h"
#include "base/text_file.h"
#include "compiler/compile_driver.h"
#include "compiler/macro_engine.h"
#include "platform/disk_vbe.h"
#include "platform/process.h"
#include "source/crlf_test_util.h"

namespace scrivlet {

inline std::string classFile(const std::string& name, const std::string& body) {
  return crlf({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END",
               "Attribute VB_Name = \"" + name + "\""}) +
         body;
}

inline std::string moduleFile(const std::string& name,
                              const std::string& body) {
  return crlf({"Attribute VB_Name = \"" + name + "\""}) + body;
}

inline std::string formFile(const std::string& name, const std::string& body) {
  return crlf({"VERSION 5.00", "Begin VB.Form " + name,
               "   Caption         =   \"" + name + "\"", "End",
               "Attribute VB_Name = \"" + name + "\""}) +
         body;
}

inline std::unique_ptr<DiskVBE> openProject(const std::string& path) {
  std::string error;
  return openProjectOrGroup(path, error);
}

// Collects what a compile reports; may ask to stop after a number of abort
// checks.
class RecordingProgressSink : public ProgressSink {
 public:
  std::string messages;
  std::string statuses;
  Progress* progress = nullptr;
  int abortAfterChecks = -1;
  // The status at which the user presses Cancel.
  std::string abortAtStatus;

  void showStatus(const std::string& text) override {
    statuses += text + "\n";
    if (progress && !abortAtStatus.empty() && text == abortAtStatus)
      progress->abortRequested = true;
  }
  void addMessage(const std::string& text) override {
    messages += text + "\n";
  }
  // The message's own text, without the place a console puts first.
  void addPlacedMessage(const std::string&, const MessagePlace&,
                        const std::string& text) override {
    messages += text + "\n";
  }
  void processEvents() override {
    if (abortAfterChecks < 0 || !progress) return;
    if (abortAfterChecks == 0) progress->abortRequested = true;
    --abortAfterChecks;
  }
};

// One project compile with everything it needs: the project opened from
// disk with every module selected and the default settings otherwise, a
// template loaded from text, output into `outputFolder`.
struct Compilation {
  RecordingProgressSink sink;
  Progress progress{&sink};
  DiskFileSystem files;
  CancellingBox box;
  FileServices services{files, box, progress};
  std::unique_ptr<DiskVBE> vbe;
  ProjectSettings settings;
  store elements;
  MacroEngine engine{elements, progress};
  std::unique_ptr<CompileDriver> driver;

  Compilation(const std::string& projectFile, const std::string& templateText,
              const std::string& outputFolder) {
    sink.progress = &progress;
    vbe = openProject(projectFile);
    if (!vbe) throw std::runtime_error("cannot open " + projectFile);
    selectAllModules(settings, vbe->ActiveVBProject());
    settings.outputPath = outputFolder;
    engine.loadTemplateText(templateText, "test.scvt", true);
    driver = std::make_unique<CompileDriver>(elements, engine, settings,
                                             services, "/addin");
    driver->execAfter.run = runAndWait;
  }
  // The link the table leads `link` to.
  // The link whose page documents `link`; the table leaves out the links
  // that document themselves.
  std::string target(const std::string& link) const {
    const std::string* found = engine.linkTable.find(link);
    return found ? *found : link;
  }
  std::string pageKeys() const {
    std::string keys;
    for (const auto& entry : driver->pageIndex()) keys += entry.key + " ";
    return keys;
  }
  const Element& element(const std::string& link) const {
    return **elements.all.find(link);
  }
  std::string list(const std::string& name) const {
    const MacroValue* value = engine.src.find(name);
    const MacroList* items = value ? asList(*value) : nullptr;
    std::string out;
    if (items)
      for (const std::string& item : *items) out += item + "|";
    return out;
  }
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_DISK_PROJECT_TEST_UTIL_H_
