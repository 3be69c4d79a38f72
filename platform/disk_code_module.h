// A code module over the text of a module file (or text in memory): what
// the environment's code window shows, with the members, procedure ranges
// and attribute-backed descriptions the environment gives.
//
// Line numbers are 1-based visible lines. ProcOfLine, InsertLines and
// DeleteLines with a line outside the module, and Lines with a start before
// line 1, throw HostError 9 "Subscript out of range"; Lines gives only the
// lines that exist ("" past the end). Asking for a procedure that does not
// exist throws HostError 35 "Sub or Function not defined". Lines() joins
// lines with CR LF; InsertLines() takes CR LF, CR or LF as line breaks, and
// a break at the end of its text adds an empty line, as in the environment.
// After every edit the members, locations and ranges describe the new text.
#ifndef SCRIVLET_PLATFORM_DISK_CODE_MODULE_H_
#define SCRIVLET_PLATFORM_DISK_CODE_MODULE_H_

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/vbide.h"
#include "platform/disk_code_pane.h"
#include "platform/disk_member.h"
#include "platform/disk_module_parser.h"
#include "platform/disk_module_text.h"

namespace scrivlet {

class DiskVBComponent;

class DiskCodeModule : public CodeModule {
 public:
  // `bytes` is the whole module file; `filePath` where it is saved (empty
  // for a module with no file behind it).
  DiskCodeModule(DiskVBComponent* parent, std::string bytes,
                 std::string filePath);
  ~DiskCodeModule() override;

  // A module built from text in memory, with a component of its own named
  // `name` and of type `componentType`; it has no file.
  static std::unique_ptr<DiskCodeModule> fromText(const std::string& name,
                                                  int componentType,
                                                  std::string_view bytes);

  std::string Name() const override;
  VBComponent* Parent() const override;
  std::string Lines(long start, long count) const override;
  long CountOfLines() const override { return text_.lineCount(); }
  long CountOfDeclarationLines() const override {
    return layout_.declarationLines;
  }
  std::string ProcOfLine(long line, int& kind) const override;
  long ProcBodyLine(const std::string& name, int kind) const override;
  long procBodyLineIfAny(const std::string& name, int kind) const override;
  long ProcStartLine(const std::string& name, int kind) const override;
  long ProcCountLines(const std::string& name, int kind) const override;
  void InsertLines(long line, const std::string& text) override;
  void DeleteLines(long start, long count = 1) override;
  std::vector<std::shared_ptr<Member>> Members() const override;
  scrivlet::CodePane* CodePane() override;
  // Nothing but the add-in's own calls changes a module of the disk host.
  bool readableFromAnyThread() const override { return true; }
  long fileLine(long visibleLine) const override {
    return text_.fileLineOf(visibleLine);
  }
  const std::vector<long>* continuedLines() const override {
    return &layout_.continuedLines;
  }

  void setParent(DiskVBComponent* parent) { parent_ = parent; }
  const std::string& filePath() const { return filePath_; }
  // True when the text or an attribute changed since it was read or saved.
  bool changed() const { return changed_; }
  // The module file as it would be saved now.
  std::string toBytes() const { return text_.toBytes(); }
  // Writes the module file if it changed (and only then); false with
  // `error` set when writing failed. A file that is no Visual Basic module
  // (see notAModuleReason) is never written.
  bool save(std::string& error);
  // Why the file, as it was read, is not a Visual Basic module that may be
  // written: a project may name any file as a module, and a binary or
  // UTF-16 file would be corrupted by a line-based edit. Empty for a module:
  // text with an "Attribute VB_Name" line in its header.
  std::string notAModuleReason() const;

  // The header's designer line, "Begin VB.Form frmMain"; empty when none.
  std::string designerLine() const { return text_.designerLine(); }
  long visibleLineAt(long fileLine, bool& inHeader) const {
    return text_.visibleLineAt(fileLine, inHeader);
  }
  // The module's own attributes ("VB_Name", "VB_Description", ...).
  std::string moduleAttribute(std::string_view name) const;
  void setModuleAttribute(std::string_view name, const std::string& value);

  // Attribute-backed values of a member; see DiskMember.
  std::string memberDescription(const DiskMember& member) const;
  void setMemberDescription(const DiskMember& member, const std::string& text);
  long memberHelpContextID(const DiskMember& member) const;
  void setMemberHelpContextID(const DiskMember& member, long id);

 private:
  void edited();
  void reparse();
  void reattachDetachedAttributes();
  // The procedure `name` of `kind`; null, with `isDeclare` set for a Declare
  // and not for a name that is neither.
  const DiskProcedure* findProcedureOrDeclare(const std::string& name,
                                              int kind, bool& isDeclare) const;
  // The same, raising error 35 for a name that is neither.
  const DiskProcedure* procedureOrDeclare(const std::string& name, int kind,
                                          bool& isDeclare) const;
  bool findMemberAttribute(const DiskMember& member, std::string_view attribute,
                           long& carrier, std::size_t& index,
                           std::string& value) const;
  void setMemberAttribute(const DiskMember& member, std::string_view attribute,
                          const std::string& value);

  DiskVBComponent* parent_;
  std::unique_ptr<DiskVBComponent> ownParent_;
  std::string filePath_;
  std::string savedBytes_;
  DiskModuleText text_;
  DiskModuleLayout layout_;
  std::vector<std::shared_ptr<DiskMember>> members_;
  // Every member ever listed, by kind and folded name, so that a member
  // object survives its declaration being rewritten.
  std::unordered_map<std::string, std::shared_ptr<DiskMember>> known_;
  std::unique_ptr<DiskCodePane> pane_;
  bool changed_ = false;
};

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_DISK_CODE_MODULE_H_
