#include "platform/disk_code_module.h"

#include <cstdlib>

#include "base/file_system.h"
#include "base/text.h"
#include "platform/disk_vb_component.h"

namespace scrivlet {

namespace {

[[noreturn]] void outOfRange() { throw HostError(9, "Subscript out of range"); }

[[noreturn]] void notDefined() {
  throw HostError(35, "Sub or Function not defined");
}

bool isDataMember(const DiskMember& member) {
  return member.Type() == vbext_mt_Variable || member.Type() == vbext_mt_Const;
}

// "Attribute Name.VB_... = ..." -> "Name".
std::string attributeTarget(std::string_view line) {
  std::size_t from = line.find_first_not_of(" \t");
  if (from == std::string_view::npos) return {};
  from = line.find_first_of(" \t", from);
  if (from == std::string_view::npos) return {};
  from = line.find_first_not_of(" \t", from);
  std::size_t dot = line.find('.', from);
  if (from == std::string_view::npos || dot == std::string_view::npos) return {};
  return std::string(line.substr(from, dot - from));
}

std::string memberKey(int type, std::string_view name) {
  return std::to_string(type) + ':' + foldCase(name);
}

}  // namespace

DiskCodeModule::DiskCodeModule(DiskVBComponent* parent, std::string bytes,
                               std::string filePath)
    : parent_(parent),
      filePath_(std::move(filePath)),
      savedBytes_(std::move(bytes)),
      text_(savedBytes_) {
  reparse();
}

DiskCodeModule::~DiskCodeModule() = default;

std::unique_ptr<DiskCodeModule> DiskCodeModule::fromText(
    const std::string& name, int componentType, std::string_view bytes) {
  auto module = std::make_unique<DiskCodeModule>(nullptr, std::string(bytes),
                                                 std::string());
  module->ownParent_ =
      std::make_unique<DiskVBComponent>(name, componentType, std::string());
  module->ownParent_->setCodeModuleOwner(module.get());
  module->parent_ = module->ownParent_.get();
  return module;
}

std::string DiskCodeModule::Name() const {
  return parent_ ? parent_->Name() : std::string();
}

VBComponent* DiskCodeModule::Parent() const { return parent_; }

// Lines past the end are not there to join; a start before line 1 is a
// caller's mistake and fails as the environment's call does.
std::string DiskCodeModule::Lines(long start, long count) const {
  if (start < 1) outOfRange();
  long last = std::min(start + count - 1, CountOfLines());
  std::string text;
  for (long n = start; n <= last; ++n) {
    if (n > start) text += "\r\n";
    text += text_.line(n);
  }
  return text;
}

std::string DiskCodeModule::ProcOfLine(long line, int& kind) const {
  if (line < 1 || line > CountOfLines()) outOfRange();
  int index = layout_.procedureAtLine(line);
  if (index < 0) {
    kind = vbext_pk_Proc;
    return {};
  }
  const DiskProcedure& p = layout_.procedures[index];
  kind = p.kind;
  return p.name;
}

const DiskProcedure* DiskCodeModule::findProcedureOrDeclare(
    const std::string& name, int kind, bool& isDeclare) const {
  isDeclare = false;
  int index = layout_.findProcedure(name, kind);
  if (index >= 0) return &layout_.procedures[index];
  int member = layout_.findMember(name);
  if (kind == vbext_pk_Proc && member >= 0 && layout_.members[member].isDeclare)
    isDeclare = true;
  return nullptr;
}

const DiskProcedure* DiskCodeModule::procedureOrDeclare(const std::string& name,
                                                        int kind,
                                                        bool& isDeclare) const {
  const DiskProcedure* p = findProcedureOrDeclare(name, kind, isDeclare);
  if (!p && !isDeclare) notDefined();
  return p;
}

// A Declare lives in the declarations section: it answers as if it were a
// procedure spanning that section, which is how callers recognise it.
long DiskCodeModule::ProcBodyLine(const std::string& name, int kind) const {
  bool isDeclare;
  const DiskProcedure* p = procedureOrDeclare(name, kind, isDeclare);
  return isDeclare ? 1 : p->bodyLine;
}

long DiskCodeModule::procBodyLineIfAny(const std::string& name,
                                       int kind) const {
  bool isDeclare;
  const DiskProcedure* p = findProcedureOrDeclare(name, kind, isDeclare);
  return isDeclare ? 1 : p ? p->bodyLine : 0;
}

long DiskCodeModule::ProcStartLine(const std::string& name, int kind) const {
  bool isDeclare;
  const DiskProcedure* p = procedureOrDeclare(name, kind, isDeclare);
  return isDeclare ? 1 : p->startLine;
}

long DiskCodeModule::ProcCountLines(const std::string& name, int kind) const {
  bool isDeclare;
  const DiskProcedure* p = procedureOrDeclare(name, kind, isDeclare);
  return isDeclare ? layout_.declarationLines : p->countLines;
}

void DiskCodeModule::InsertLines(long line, const std::string& text) {
  if (line < 1 || line > CountOfLines() + 1) outOfRange();
  text_.insertLines(line, splitAnyLineBreak(text));
  edited();
}

void DiskCodeModule::DeleteLines(long start, long count) {
  if (count <= 0) return;
  if (start < 1 || start + count - 1 > CountOfLines()) outOfRange();
  text_.deleteLines(start, count);
  edited();
}

std::vector<std::shared_ptr<Member>> DiskCodeModule::Members() const {
  return {members_.begin(), members_.end()};
}

scrivlet::CodePane* DiskCodeModule::CodePane() {
  if (!pane_) pane_ = std::make_unique<DiskCodePane>(this);
  return pane_.get();
}

bool DiskCodeModule::save(std::string& error) {
  if (!changed_) return true;
  if (filePath_.empty()) {
    error = "Module " + Name() + " has no file to save to";
    return false;
  }
  if (std::string reason = notAModuleReason(); !reason.empty()) {
    error = "\"" + filePath_ + "\" is not written: " + reason;
    return false;
  }
  std::string bytes = text_.toBytes();
  // Edits that cancel out leave the file alone.
  if (bytes != savedBytes_) {
    if (!writeFileAtomically(filePath_, bytes, error)) return false;
    savedBytes_ = std::move(bytes);
  }
  changed_ = false;
  return true;
}

std::string DiskCodeModule::notAModuleReason() const {
  std::string_view read = savedBytes_;
  if (read.find('\0') != std::string_view::npos || startsWith(read, "\xFF\xFE") ||
      startsWith(read, "\xFE\xFF"))
    return "it is a binary or UTF-16 file, not a Visual Basic module";
  if (text_.headerAttribute("VB_Name").empty())
    return "it is not a Visual Basic module (it has no Attribute VB_Name "
           "line)";
  return {};
}

std::string DiskCodeModule::moduleAttribute(std::string_view name) const {
  return text_.headerAttribute(name);
}

void DiskCodeModule::setModuleAttribute(std::string_view name,
                                        const std::string& value) {
  if (text_.headerAttribute(name) == value) return;
  text_.setHeaderAttribute(name, value);
  changed_ = true;
}

void DiskCodeModule::edited() {
  changed_ = true;
  reparse();
}

void DiskCodeModule::reparse() {
  layout_ = text_.parse();
  reattachDetachedAttributes();
  for (const auto& m : members_) m->detach();
  members_.clear();
  members_.reserve(layout_.members.size());
  for (const DiskMemberInfo& info : layout_.members) {
    std::shared_ptr<DiskMember>& known = known_[memberKey(info.type, info.name)];
    std::shared_ptr<DiskMember> member = known;
    if (!member || member->attached()) {
      member = std::make_shared<DiskMember>(this);
      if (!known) known = member;
    }
    member->update(info);
    members_.push_back(std::move(member));
  }
}

// Attribute lines whose line was deleted go under the declaration of the
// member they name, when one is (again) there; the others wait, and are
// not saved while no such member exists.
void DiskCodeModule::reattachDetachedAttributes() {
  std::vector<DiskRawLine>& detached = text_.detachedAttributes();
  std::vector<DiskRawLine> waiting;
  for (DiskRawLine& line : detached) {
    int index = layout_.findMember(attributeTarget(line.text));
    if (index < 0) {
      waiting.push_back(std::move(line));
      continue;
    }
    long carrier = layout_.members[index].carrierLines.front();
    text_.hiddenAfter(carrier).push_back(std::move(line));
  }
  detached = std::move(waiting);
}

bool DiskCodeModule::findMemberAttribute(const DiskMember& member,
                                         std::string_view attribute,
                                         long& carrier, std::size_t& index,
                                         std::string& value) const {
  for (long line : member.carrierLines()) {
    const std::vector<DiskRawLine>& hidden = text_.hiddenAfter(line);
    for (std::size_t i = 0; i < hidden.size(); ++i) {
      if (attributeValue(hidden[i].text, member.Name(), attribute, value)) {
        carrier = line;
        index = i;
        return true;
      }
    }
  }
  return false;
}

// A property's attribute may stand under any of its procedures; a new one
// goes under the first.
void DiskCodeModule::setMemberAttribute(const DiskMember& member,
                                        std::string_view attribute,
                                        const std::string& value) {
  if (!member.attached() || member.carrierLines().empty()) return;
  long carrier = 0;
  std::size_t index = 0;
  std::string old;
  std::string text = "Attribute " + member.Name() + "." +
                     std::string(attribute) + " = " + value;
  if (findMemberAttribute(member, attribute, carrier, index, old)) {
    if (old == value) return;
    std::vector<DiskRawLine>& hidden = text_.hiddenAfter(carrier);
    if (value.empty())
      hidden.erase(hidden.begin() + static_cast<long>(index));
    else
      hidden[index].text = text;
  } else {
    if (value.empty()) return;
    text_.hiddenAfter(member.carrierLines().front())
        .push_back({text, text_.lineEnd()});
  }
  changed_ = true;
}

std::string DiskCodeModule::memberDescription(const DiskMember& member) const {
  long carrier;
  std::size_t index;
  std::string value;
  std::string_view attribute =
      isDataMember(member) ? "VB_VarDescription" : "VB_Description";
  if (!findMemberAttribute(member, attribute, carrier, index, value)) return {};
  return unquoteAttribute(value);
}

void DiskCodeModule::setMemberDescription(const DiskMember& member,
                                          const std::string& text) {
  setMemberAttribute(member,
                     isDataMember(member) ? "VB_VarDescription" : "VB_Description",
                     text.empty() ? std::string() : quoteAttribute(text));
}

long DiskCodeModule::memberHelpContextID(const DiskMember& member) const {
  long carrier;
  std::size_t index;
  std::string value;
  std::string_view attribute = isDataMember(member) ? "VB_VarHelpID" : "VB_HelpID";
  if (!findMemberAttribute(member, attribute, carrier, index, value)) return 0;
  return std::strtol(value.c_str(), nullptr, 10);
}

void DiskCodeModule::setMemberHelpContextID(const DiskMember& member, long id) {
  setMemberAttribute(member, isDataMember(member) ? "VB_VarHelpID" : "VB_HelpID",
                     id == 0 ? std::string() : std::to_string(id));
}

}  // namespace scrivlet
