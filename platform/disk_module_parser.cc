#include "platform/disk_module_parser.h"

#include <algorithm>
#include <cstring>

#include "base/text.h"
#include "base/vbide.h"

namespace scrivlet {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isIdentifierChar(char c) {
  auto u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
         (u >= '0' && u <= '9') || c == '_' || u >= 0x80;
}

// Reads the words of one statement: "Private  WithEvents mForm As Form".
class Cursor {
 public:
  explicit Cursor(std::string_view s) : s_(s) {}

  // The next identifier, without brackets ("[Type]") and without a type
  // character ("Name$" gives "Name"); empty when none follows.
  std::string_view word() {
    skipBlanks();
    std::size_t begin = pos_;
    if (pos_ < s_.size() && s_[pos_] == '[') {
      std::size_t close = s_.find(']', pos_);
      if (close == std::string_view::npos) close = s_.size();
      pos_ = std::min(close + 1, s_.size());
      return s_.substr(begin + 1, close - begin - 1);
    }
    while (pos_ < s_.size() && isIdentifierChar(s_[pos_])) ++pos_;
    std::string_view w = s_.substr(begin, pos_ - begin);
    if (!w.empty() && pos_ < s_.size() && std::strchr("%&!#@$", s_[pos_]) &&
        s_[pos_] != '\0')
      ++pos_;
    return w;
  }

  bool take(char c) {
    skipBlanks();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  std::size_t position() const { return pos_; }
  void setPosition(std::size_t pos) { pos_ = pos; }
  std::string_view rest() const { return s_.substr(pos_); }
  bool atEnd() {
    skipBlanks();
    return pos_ >= s_.size();
  }

 private:
  void skipBlanks() {
    while (pos_ < s_.size() && isBlank(s_[pos_])) ++pos_;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

bool is(std::string_view word, std::string_view keyword) {
  return equalsNoCase(word, keyword);
}

// The statement cut at its comment and split at the colons that separate
// statements: "a = 1: b = \"x:y\" ' note" gives "a = 1", " b = \"x:y\" ".
std::vector<std::string_view> statementParts(std::string_view s) {
  std::vector<std::string_view> parts;
  bool quoted = false;
  std::size_t from = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == '\'') {
      parts.push_back(s.substr(from, i - from));
      return parts;
    } else if (!quoted && c == ':') {
      parts.push_back(s.substr(from, i - from));
      from = i + 1;
    }
  }
  parts.push_back(s.substr(from));
  return parts;
}

// Declarators separated by commas outside parentheses and quotes:
// "a(1, 2) As Long, b" gives "a(1, 2) As Long", " b".
std::vector<std::string_view> declarators(std::string_view list) {
  std::vector<std::string_view> items;
  bool quoted = false;
  int depth = 0;
  std::size_t from = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    char c = list[i];
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '(') ++depth;
    if (c == ')' && depth > 0) --depth;
    if (c == ',' && depth == 0) {
      items.push_back(list.substr(from, i - from));
      from = i + 1;
    }
  }
  items.push_back(list.substr(from));
  return items;
}

bool isDefType(std::string_view w) {
  static const char* const kinds[] = {"Bool", "Byte", "Int", "Lng", "Cur",
                                      "Sng",  "Dbl",  "Dec", "Date", "Str",
                                      "Obj",  "Var"};
  if (w.size() < 6 || !equalsNoCase(w.substr(0, 3), "Def")) return false;
  for (const char* k : kinds)
    if (is(w.substr(3), k)) return true;
  return false;
}

bool isEnd(std::string_view part, std::string_view what1,
           std::string_view what2 = {}, std::string_view what3 = {}) {
  Cursor c(part);
  if (!is(c.word(), "End")) return false;
  std::string_view w = c.word();
  return is(w, what1) || (!what2.empty() && is(w, what2)) ||
         (!what3.empty() && is(w, what3));
}

std::string procedureKey(std::string_view name, int kind) {
  std::string key = foldCase(name);
  key += '\x01';
  key += static_cast<char>('0' + kind);
  return key;
}

}  // namespace

bool isMemberAttributeLine(std::string_view line) {
  Cursor c(line);
  if (!is(c.word(), "Attribute")) return false;
  if (c.word().empty()) return false;
  if (!c.take('.')) return false;
  std::string_view attribute = c.word();
  return attribute.size() > 3 && equalsNoCase(attribute.substr(0, 3), "VB_") &&
         c.take('=');
}

int DiskModuleLayout::findProcedure(std::string_view name, int kind) const {
  auto it = procedureIndex.find(procedureKey(name, kind));
  return it == procedureIndex.end() ? -1 : it->second;
}

int DiskModuleLayout::findMember(std::string_view name) const {
  auto it = memberIndex.find(foldCase(name));
  return it == memberIndex.end() ? -1 : it->second;
}

int DiskModuleLayout::procedureAtLine(long line) const {
  if (procedures.empty() || line < procedures.front().startLine) return -1;
  auto it = std::upper_bound(
      procedures.begin(), procedures.end(), line,
      [](long l, const DiskProcedure& p) { return l < p.startLine; });
  return static_cast<int>(it - procedures.begin()) - 1;
}

void DiskModuleParser::feed(std::string_view line) {
  ++line_;
  endedMember_ = false;
  if (!inStatement_) {
    statement_.clear();
    statementFirst_ = line_;
    statementLogical_ = line_ - continuedLines_;
  }
  // A line ending in " _" goes on in the next one; the space is kept and
  // the underscore dropped, as the statement is read as one.
  if (endsWith(line, " _")) {
    layout_.continuedLines.push_back(line_);
    statement_.append(line.substr(0, line.size() - 1));
    ++continuedLines_;
    inStatement_ = true;
    return;
  }
  statement_.append(line);
  inStatement_ = false;
  processStatement();
}

void DiskModuleParser::processStatement() {
  for (std::string_view part : statementParts(statement_)) {
    Cursor c(part);
    if (is(c.word(), "Rem")) break;
    processPart(part);
  }
}

void DiskModuleParser::processPart(std::string_view part) {
  switch (state_) {
    case State::Procedure:
      if (isEnd(part, "Sub", "Function", "Property"))
        endProcedure(line_);
      else
        startProcedure(part);  // an End line was missing
      return;
    case State::Enum:
    case State::Type:
      if (isEnd(part, state_ == State::Enum ? "Enum" : "Type")) {
        state_ = State::Module;
        declaration();
      } else {
        startProcedure(part);
      }
      return;
    case State::Module:
      break;
  }

  Cursor c(part);
  if (c.atEnd() || c.rest().front() == '#') return;  // directives
  if (startProcedure(part)) return;

  std::string_view w = c.word();
  int scope = 0;
  bool variableScope = true;
  if (is(w, "Public") || is(w, "Global")) {
    scope = vbext_Public;
  } else if (is(w, "Private") || is(w, "Dim")) {
    scope = vbext_Private;
  } else if (is(w, "Friend")) {
    scope = vbext_Friend;
    variableScope = false;
  }
  std::size_t afterScope = c.position();
  if (scope != 0) w = c.word();

  if (is(w, "Declare")) {
    std::string_view what = c.word();  // Sub or Function
    if (is(what, "PtrSafe")) c.word();   // as later dialects write it
    addMember(std::string(c.word()), vbext_mt_Method,
              scope ? scope : vbext_Public, true);
    declaration();
  } else if (is(w, "Event")) {
    addMember(std::string(c.word()), vbext_mt_Event,
              scope ? scope : vbext_Public);
    declaration();
  } else if (is(w, "Const")) {
    addDeclarators(c.rest(), vbext_mt_Const, scope ? scope : vbext_Private);
    declaration();
  } else if (is(w, "Enum") || is(w, "Type")) {
    state_ = is(w, "Enum") ? State::Enum : State::Type;
    declaration();
  } else if (scope == 0 &&
             (is(w, "Implements") || is(w, "Option") || isDefType(w))) {
    declaration();
  } else if (scope != 0 && variableScope) {
    c.setPosition(afterScope);
    addDeclarators(c.rest(), vbext_mt_Variable, scope);
    declaration();
  }
}

bool DiskModuleParser::startProcedure(std::string_view part) {
  Cursor c(part);
  std::string_view w = c.word();
  int scope = vbext_Public;
  if (is(w, "Public")) {
    w = c.word();
  } else if (is(w, "Private")) {
    scope = vbext_Private;
    w = c.word();
  } else if (is(w, "Friend")) {
    scope = vbext_Friend;
    w = c.word();
  }
  if (is(w, "Static")) w = c.word();

  int kind = vbext_pk_Proc;
  if (is(w, "Property")) {
    std::string_view k = c.word();
    if (is(k, "Get")) kind = vbext_pk_Get;
    else if (is(k, "Let")) kind = vbext_pk_Let;
    else if (is(k, "Set")) kind = vbext_pk_Set;
    else return false;
  } else if (!is(w, "Sub") && !is(w, "Function")) {
    return false;
  }
  std::string name(c.word());
  if (name.empty()) return false;

  // Procedures are told apart by their lines: a second one opened on the
  // line of the last ("Sub A(): End Sub: Sub B()") stays part of that one.
  if (!layout_.procedures.empty() &&
      layout_.procedures.back().bodyLine == statementFirst_) {
    state_ = State::Procedure;
    return true;
  }
  if (state_ == State::Procedure) endProcedure(statementFirst_ - 1);
  state_ = State::Procedure;
  sawProcedure_ = true;

  DiskProcedure procedure;
  procedure.name = name;
  procedure.kind = kind;
  procedure.bodyLine = statementFirst_;
  layout_.procedureIndex.emplace(procedureKey(name, kind),
                                 static_cast<int>(layout_.procedures.size()));
  layout_.procedures.push_back(std::move(procedure));

  // A property is one member, found at its first procedure.
  addMember(std::move(name),
            kind == vbext_pk_Proc ? vbext_mt_Method : vbext_mt_Property, scope);
  return true;
}

void DiskModuleParser::endProcedure(long endLine) {
  layout_.procedures.back().endLine = endLine;
  state_ = State::Module;
}

// Declarations after the first procedure cannot occur in a module the
// environment saved; they do not move the end of the declarations section.
void DiskModuleParser::declaration() {
  if (!sawProcedure_) layout_.declarationLines = line_;
}

// A name declared again, as in both branches of "#If Win32 Then ... #Else
// ... #End If", stays one member, at its first declaration; the later ones
// only add lines where its attribute lines may stand.
void DiskModuleParser::addMember(std::string name, int type, int scope,
                                 bool isDeclare) {
  if (name.empty()) return;
  endedMember_ = true;
  int existing = layout_.findMember(name);
  if (existing >= 0) {
    layout_.members[existing].carrierLines.push_back(line_);
    return;
  }
  DiskMemberInfo member;
  member.name = std::move(name);
  member.type = type;
  member.scope = scope;
  member.codeLocation = statementLogical_;
  member.isDeclare = isDeclare;
  member.carrierLines.push_back(line_);
  layout_.memberIndex.emplace(foldCase(member.name),
                              static_cast<int>(layout_.members.size()));
  layout_.members.push_back(std::move(member));
}

void DiskModuleParser::addDeclarators(std::string_view list, int type,
                                      int scope) {
  for (std::string_view item : declarators(list)) {
    Cursor d(item);
    std::string_view name = d.word();
    if (is(name, "WithEvents")) name = d.word();
    addMember(std::string(name), type, scope);
  }
}

DiskModuleLayout DiskModuleParser::finish() {
  if (inStatement_) {
    inStatement_ = false;
    processStatement();
  }
  layout_.lineCount = line_;
  if (state_ == State::Procedure) endProcedure(line_);
  std::vector<DiskProcedure>& procedures = layout_.procedures;
  if (procedures.empty()) {
    // Without procedures the whole module is its declarations section.
    layout_.declarationLines = line_;
  }
  // A statement sharing a line with the one that opens a procedure ("Dim
  // a: Sub B()", "End Sub: Sub B()") leaves that line to the procedure, so
  // that every procedure starts at or above its first line.
  if (!procedures.empty())
    layout_.declarationLines =
        std::min(layout_.declarationLines, procedures.front().bodyLine - 1);
  for (std::size_t i = 1; i < procedures.size(); ++i)
    procedures[i - 1].endLine =
        std::min(procedures[i - 1].endLine, procedures[i].bodyLine - 1);
  for (std::size_t i = 0; i < procedures.size(); ++i) {
    DiskProcedure& p = procedures[i];
    p.startLine =
        i == 0 ? layout_.declarationLines + 1 : procedures[i - 1].endLine + 1;
    long last = i + 1 == procedures.size() ? line_ : p.endLine;
    p.countLines = last - p.startLine + 1;
  }
  return std::move(layout_);
}

}  // namespace scrivlet
