// A code module of the desktop host: the disk host's module, shown in a
// code window the user may be typing in. Every call first takes in what
// the user typed, so the add-in always reads the text on the screen, and
// every change the add-in makes shows in the window at once.
//
// Unlike the disk host's modules these may be read on the user-interface
// thread only: the user edits them there.
#ifndef SCRIVLET_DESKTOP_IDE_CODE_MODULE_H_
#define SCRIVLET_DESKTOP_IDE_CODE_MODULE_H_

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/vbide.h"
#include "desktop/code_view.h"
#include "platform/disk_code_module.h"

namespace scrivlet {

class IdeCodeModule;

// The code pane of a module: the window's caret when it is open, else the
// position it had (or is given) while closed.
class IdeCodePane : public CodePane {
 public:
  explicit IdeCodePane(IdeCodeModule& module) : module_(module) {}
  void GetSelection(long& startLine, long& startColumn, long& endLine,
                    long& endColumn) const override;
  void SetSelection(long startLine, long startColumn, long endLine,
                    long endColumn) override;
  long TopLine() const override;
  void setTopLine(long line) override;
  scrivlet::CodeModule* CodeModule() const override;
  scrivlet::Window* Window() const override;

 private:
  IdeCodeModule& module_;
  long selection_[4] = {1, 1, 1, 1};
  long topLine_ = 1;
};

class IdeCodeModule : public CodeModule {
 public:
  IdeCodeModule(DiskCodeModule& disk, VBComponent& parent, int codePage);
  ~IdeCodeModule() override;

  std::string Name() const override { return disk_.Name(); }
  VBComponent* Parent() const override { return &parent_; }
  std::string Lines(long start, long count) const override;
  long CountOfLines() const override;
  long CountOfDeclarationLines() const override;
  std::string ProcOfLine(long line, int& kind) const override;
  long ProcBodyLine(const std::string& name, int kind) const override;
  long procBodyLineIfAny(const std::string& name, int kind) const override;
  long ProcStartLine(const std::string& name, int kind) const override;
  long ProcCountLines(const std::string& name, int kind) const override;
  void InsertLines(long line, const std::string& text) override;
  void DeleteLines(long start, long count = 1) override;
  std::vector<std::shared_ptr<Member>> Members() const override;
  scrivlet::CodePane* CodePane() override { return &pane_; }
  const std::vector<long>* continuedLines() const override;
  long fileLine(long visibleLine) const override;

  // The window showing the module, none while it is closed.
  void setView(CodeView* view) { view_ = view; }
  CodeView* view() const { return view_; }
  // Takes in what the user typed since the last call.
  void pull() const;
  // Changed since it was read or last saved, typing included.
  bool changed() const;
  // Writes the module file if it changed; false with `error` when that failed.
  bool save(std::string& error);
  DiskCodeModule& disk() const { return disk_; }
  int codePage() const { return codePage_; }
  // The visible lines, for a window that opens.
  std::vector<std::string> allLines() const;

 private:
  DiskCodeModule& disk_;
  VBComponent& parent_;
  int codePage_;
  CodeView* view_ = nullptr;
  IdeCodePane pane_{*this};
  // The add-in compares members by object: the same disk member keeps the
  // same wrapper.
  mutable std::unordered_map<const Member*, std::shared_ptr<Member>> members_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_DESKTOP_IDE_CODE_MODULE_H_
