#include "desktop/ide_code_module.h"

#include <algorithm>

#include "base/text.h"

namespace scrivlet {

namespace {

// A member as the add-in sees it: the disk host's member, whose module is
// the desktop one (its `Parent` leads back to the window, not to the file).
class IdeMember : public Member {
 public:
  IdeMember(std::shared_ptr<Member> disk, const IdeCodeModule& module)
      : disk_(std::move(disk)), module_(module) {}
  std::string Name() const override { return disk_->Name(); }
  int Type() const override { return disk_->Type(); }
  int Scope() const override { return disk_->Scope(); }
  long CodeLocation() const override {
    module_.pull();
    return disk_->CodeLocation();
  }
  std::string Description() const override {
    module_.pull();
    return disk_->Description();
  }
  void setDescription(const std::string& text) override {
    module_.pull();
    disk_->setDescription(text);
  }
  long HelpContextID() const override {
    module_.pull();
    return disk_->HelpContextID();
  }
  void setHelpContextID(long id) override {
    module_.pull();
    disk_->setHelpContextID(id);
  }
  scrivlet::CodeModule* Parent() const override {
    return const_cast<IdeCodeModule*>(&module_);
  }

 private:
  std::shared_ptr<Member> disk_;
  const IdeCodeModule& module_;
};

}  // namespace

void IdeCodePane::GetSelection(long& startLine, long& startColumn,
                               long& endLine, long& endColumn) const {
  if (CodeView* view = module_.view()) {
    view->getSelection(startLine, startColumn, endLine, endColumn);
    return;
  }
  startLine = selection_[0];
  startColumn = selection_[1];
  endLine = selection_[2];
  endColumn = selection_[3];
}

void IdeCodePane::SetSelection(long startLine, long startColumn, long endLine,
                               long endColumn) {
  selection_[0] = std::max(1L, startLine);
  selection_[1] = std::max(1L, startColumn);
  selection_[2] = std::max(1L, endLine);
  selection_[3] = std::max(1L, endColumn);
  if (CodeView* view = module_.view())
    view->setSelection(startLine, startColumn, endLine, endColumn);
}

long IdeCodePane::TopLine() const {
  if (CodeView* view = module_.view()) return view->topLine();
  return topLine_;
}

void IdeCodePane::setTopLine(long line) {
  topLine_ = std::max(1L, line);
  if (CodeView* view = module_.view()) view->setTopLine(topLine_);
}

scrivlet::CodeModule* IdeCodePane::CodeModule() const { return &module_; }

scrivlet::Window* IdeCodePane::Window() const {
  CodeView* view = module_.view();
  return view ? view->window() : nullptr;
}

IdeCodeModule::IdeCodeModule(DiskCodeModule& disk, VBComponent& parent,
                             int codePage)
    : disk_(disk), parent_(parent), codePage_(codePage) {}

IdeCodeModule::~IdeCodeModule() = default;

std::string IdeCodeModule::Lines(long start, long count) const {
  pull();
  return disk_.Lines(start, count);
}

long IdeCodeModule::CountOfLines() const {
  pull();
  return disk_.CountOfLines();
}

long IdeCodeModule::CountOfDeclarationLines() const {
  pull();
  return disk_.CountOfDeclarationLines();
}

std::string IdeCodeModule::ProcOfLine(long line, int& kind) const {
  pull();
  return disk_.ProcOfLine(line, kind);
}

long IdeCodeModule::ProcBodyLine(const std::string& name, int kind) const {
  pull();
  return disk_.ProcBodyLine(name, kind);
}

long IdeCodeModule::procBodyLineIfAny(const std::string& name, int kind) const {
  pull();
  return disk_.procBodyLineIfAny(name, kind);
}

long IdeCodeModule::ProcStartLine(const std::string& name, int kind) const {
  pull();
  return disk_.ProcStartLine(name, kind);
}

long IdeCodeModule::ProcCountLines(const std::string& name, int kind) const {
  pull();
  return disk_.ProcCountLines(name, kind);
}

void IdeCodeModule::InsertLines(long line, const std::string& text) {
  pull();
  long before = disk_.CountOfLines();
  disk_.InsertLines(line, text);
  long added = disk_.CountOfLines() - before;
  if (view_ && added > 0) {
    std::vector<std::string> lines;
    for (long i = 0; i < added; ++i) lines.push_back(disk_.Lines(line + i, 1));
    view_->linesInserted(line, lines);
  }
}

void IdeCodeModule::DeleteLines(long start, long count) {
  pull();
  disk_.DeleteLines(start, count);
  if (view_ && count > 0) view_->linesDeleted(start, count);
}

std::vector<std::shared_ptr<Member>> IdeCodeModule::Members() const {
  pull();
  std::vector<std::shared_ptr<Member>> result;
  for (const std::shared_ptr<Member>& member : disk_.Members()) {
    std::shared_ptr<Member>& wrapper = members_[member.get()];
    if (!wrapper) wrapper = std::make_shared<IdeMember>(member, *this);
    result.push_back(wrapper);
  }
  return result;
}

const std::vector<long>* IdeCodeModule::continuedLines() const {
  pull();
  return disk_.continuedLines();
}

long IdeCodeModule::fileLine(long visibleLine) const {
  pull();
  return disk_.fileLine(visibleLine);
}

// Replaces only the lines between the unchanged beginning and end, so that
// the members above and below a typed change keep their places.
void IdeCodeModule::pull() const {
  if (!view_ || !view_->userEdited()) return;
  std::vector<std::string> typed = view_->takeLines();
  // An empty editor still has one (empty) line; the module has none.
  if (typed.size() == 1 && typed[0].empty() && disk_.CountOfLines() == 0)
    typed.clear();
  long have = disk_.CountOfLines();
  long want = static_cast<long>(typed.size());
  long same = 0;
  while (same < have && same < want && disk_.Lines(same + 1, 1) == typed[same])
    ++same;
  long sameEnd = 0;
  while (sameEnd < have - same && sameEnd < want - same &&
         disk_.Lines(have - sameEnd, 1) == typed[want - 1 - sameEnd])
    ++sameEnd;
  if (have - same - sameEnd > 0) disk_.DeleteLines(same + 1, have - same - sameEnd);
  if (want - same - sameEnd > 0) {
    std::vector<std::string> middle(typed.begin() + same,
                                    typed.end() - sameEnd);
    disk_.InsertLines(same + 1, join(middle, std::string(1, CR)));
  }
}

bool IdeCodeModule::changed() const {
  return disk_.changed() || (view_ && view_->userEdited());
}

bool IdeCodeModule::save(std::string& error) {
  pull();
  return disk_.save(error);
}

std::vector<std::string> IdeCodeModule::allLines() const {
  pull();
  std::vector<std::string> lines;
  long count = disk_.CountOfLines();
  lines.reserve(static_cast<std::size_t>(count));
  for (long i = 1; i <= count; ++i) lines.push_back(disk_.Lines(i, 1));
  return lines;
}

}  // namespace scrivlet
