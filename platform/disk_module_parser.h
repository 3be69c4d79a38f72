// Reads the visible lines of a code module, one physical line at a time, and
// works out what the environment's code window knows about them: the
// members in declaration order, the procedures with their line ranges, and
// the length of the declarations section.
//
// The reader only classifies module-level statements; it does not check
// syntax. Examples of what it takes from a statement:
//   "Private mName As String, mAge%"      -> variables mName, mAge (Private)
//   "Public Property Get Name() As String" -> property Name, procedure kind 3
//   "Declare Function GetTickCount Lib \"kernel32\" () As Long"
//                                          -> method GetTickCount (Public)
//   "Private Enum Color" ... "End Enum"   -> a declaration, no member
// One pass over the lines, so a module of any size is read in linear time.
#ifndef SCRIVLET_PLATFORM_DISK_MODULE_PARSER_H_
#define SCRIVLET_PLATFORM_DISK_MODULE_PARSER_H_

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace scrivlet {

struct DiskProcedure {
  std::string name;
  int kind = 0;         // ProcKind
  long bodyLine = 0;    // first physical line of the Sub/Function/Property
  long endLine = 0;     // last physical line of its End statement
  long startLine = 0;   // first line of its range (comments above included)
  long countLines = 0;  // length of its range
};

struct DiskMemberInfo {
  std::string name;
  int type = 0;           // MemberType
  int scope = 0;          // MemberScope
  long codeLocation = 0;  // logical line of the declaration
  bool isDeclare = false;
  // The physical lines under which the member's attribute lines stand: the
  // last line of its declaration; for a property, one per procedure.
  std::vector<long> carrierLines;
};

struct DiskModuleLayout {
  long lineCount = 0;
  long declarationLines = 0;
  std::vector<DiskProcedure> procedures;
  std::vector<DiskMemberInfo> members;
  // Physical lines that end in " _", ascending.
  std::vector<long> continuedLines;

  // Index into `procedures` of the procedure `name` (any case) of `kind`,
  // -1 when there is none.
  int findProcedure(std::string_view name, int kind) const;
  // Index into `members` of the member `name` (any case), -1 when absent.
  int findMember(std::string_view name) const;
  // Index into `procedures` of the procedure whose range holds `line`, -1
  // in the declarations section.
  int procedureAtLine(long line) const;

  std::unordered_map<std::string, int> procedureIndex;  // folded name + kind
  std::unordered_map<std::string, int> memberIndex;     // folded name
};

class DiskModuleParser {
 public:
  // Feeds the next physical line (without its line end).
  void feed(std::string_view line);
  // True when the line just fed completed a module-level statement that
  // declares a member: attribute lines directly below it belong to it.
  bool endedMemberDeclaration() const { return endedMember_; }
  // Closes what is still open and returns the layout of all lines fed.
  DiskModuleLayout finish();

 private:
  enum class State { Module, Procedure, Enum, Type };

  void processStatement();
  void processPart(std::string_view part);
  bool startProcedure(std::string_view part);
  void endProcedure(long endLine);
  void declaration();
  void addMember(std::string name, int type, int scope, bool isDeclare = false);
  void addDeclarators(std::string_view list, int type, int scope);

  DiskModuleLayout layout_;
  State state_ = State::Module;
  long line_ = 0;
  long continuedLines_ = 0;
  bool inStatement_ = false;
  bool endedMember_ = false;
  bool sawProcedure_ = false;
  std::string statement_;
  long statementFirst_ = 0;
  long statementLogical_ = 0;
};

// True for "Attribute Name.VB_... = ...": the attribute line of a member.
bool isMemberAttributeLine(std::string_view line);

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_DISK_MODULE_PARSER_H_
