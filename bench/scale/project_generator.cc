#include "bench/scale/project_generator.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace scrivlet {

namespace {

enum class Kind {
  Declare,
  Const,
  ConstPair,  // two constants on one line
  PublicVar,
  PrivateVar,
  VarPair,    // two private variables on one line
  Event,
  Sub,
  Function,
  PropGetLet,
  PropGetSet,
  PropGetLetSet,
  PropGetOnly,
};

enum class ModuleKind { Bas, Cls, Frm, Ctl };

struct MemberSpec {
  Kind kind;
  std::string name;
  std::string second;  // the other name of a pair
  bool isPrivate = false;
};

struct ModuleSpec {
  ModuleKind kind;
  std::string name;
  std::vector<MemberSpec> members;
  long memberCount = 0;
};

// What each kind of module declares, in turn; every module of a kind
// starts the same way, so the same names recur across modules.
const std::vector<Kind>& pattern(ModuleKind kind) {
  static const std::vector<Kind> bas = {
      Kind::Declare, Kind::Const,    Kind::ConstPair, Kind::PublicVar,
      Kind::PrivateVar, Kind::Sub,   Kind::Function, Kind::Function,
      Kind::Sub,     Kind::Sub};
  static const std::vector<Kind> cls = {
      Kind::Event,      Kind::Const,      Kind::PublicVar,     Kind::VarPair,
      Kind::PropGetLet, Kind::PropGetSet, Kind::PropGetLetSet, Kind::PropGetOnly,
      Kind::Sub,        Kind::Function,   Kind::Function};
  static const std::vector<Kind> frm = {
      Kind::PrivateVar, Kind::PublicVar, Kind::Sub, Kind::Function,
      Kind::PropGetLet, Kind::Sub,       Kind::Sub};
  static const std::vector<Kind> ctl = {
      Kind::Event, Kind::PrivateVar, Kind::PropGetLet, Kind::PropGetLetSet,
      Kind::Sub,   Kind::Function,   Kind::Sub,        Kind::PropGetOnly};
  switch (kind) {
    case ModuleKind::Bas: return bas;
    case ModuleKind::Cls: return cls;
    case ModuleKind::Frm: return frm;
    case ModuleKind::Ctl: return ctl;
  }
  return bas;
}

const char* stem(Kind kind) {
  switch (kind) {
    case Kind::Declare: return "GetTickCount";
    case Kind::Const: return "MAX_ITEMS";
    case Kind::ConstPair: return "MIN_SIZE";
    case Kind::PublicVar: return "Value";
    case Kind::PrivateVar: return "mState";
    case Kind::VarPair: return "mLeft";
    case Kind::Event: return "Changed";
    case Kind::Sub: return "Clear";
    case Kind::Function: return "Compute";
    case Kind::PropGetLet: return "Caption";
    case Kind::PropGetSet: return "Font";
    case Kind::PropGetLetSet: return "Item";
    case Kind::PropGetOnly: return "Count";
  }
  return "X";
}

bool isPair(Kind kind) { return kind == Kind::ConstPair || kind == Kind::VarPair; }

bool isProperty(Kind kind) {
  return kind == Kind::PropGetLet || kind == Kind::PropGetSet ||
         kind == Kind::PropGetLetSet || kind == Kind::PropGetOnly;
}

bool isDeclaration(Kind kind) {
  return !isProperty(kind) && kind != Kind::Sub && kind != Kind::Function;
}

// Module sizes in members, taken in turn: small modules and large ones.
const long kSizes[] = {6, 24, 60, 150, 420, 40, 90};

std::vector<ModuleSpec> planModules(long members) {
  std::vector<ModuleSpec> modules;
  long left = members;
  for (std::size_t i = 0; left > 0; ++i) {
    ModuleSpec module;
    module.kind = static_cast<ModuleKind>(i % 4);
    static const char* prefixes[] = {"modBas", "clsItem", "frmView", "ctlBox"};
    char name[32];
    std::snprintf(name, sizeof name, "%s%04zu", prefixes[i % 4], i + 1);
    module.name = name;
    long size = std::min(left, kSizes[i % (sizeof kSizes / sizeof kSizes[0])]);
    const std::vector<Kind>& kinds = pattern(module.kind);
    for (std::size_t k = 0; module.memberCount < size; ++k) {
      MemberSpec m;
      m.kind = kinds[k % kinds.size()];
      std::size_t round = k / kinds.size();
      std::string suffix = round ? std::to_string(round) : std::string();
      m.name = stem(m.kind) + suffix;
      if (isPair(m.kind)) m.second = m.name + "B";
      m.isPrivate = m.kind == Kind::PrivateVar || m.kind == Kind::VarPair ||
                    (module.kind == ModuleKind::Frm && m.kind == Kind::Sub &&
                     k % 3 == 0) ||
                    (m.kind == Kind::Function && round % 4 == 3);
      module.memberCount += isPair(m.kind) ? 2 : 1;
      module.members.push_back(std::move(m));
    }
    left -= module.memberCount;
    modules.push_back(std::move(module));
  }
  return modules;
}

class ModuleWriter {
 public:
  ModuleWriter(const std::vector<ModuleSpec>& modules, std::size_t index)
      : modules_(modules), index_(index), module_(modules[index]) {}

  std::string write() {
    header();
    if (index_ % 3 != 2) moduleComment();
    line("Option Explicit");
    line("");
    for (std::size_t k = 0; k < module_.members.size(); ++k)
      if (isDeclaration(module_.members[k].kind)) declaration(k);
    for (std::size_t k = 0; k < module_.members.size(); ++k)
      if (!isDeclaration(module_.members[k].kind)) procedure(k);
    return std::move(out_);
  }

  long lines() const { return lines_; }

 private:
  void line(const std::string& text) {
    out_ += text;
    out_ += "\r\n";
    ++lines_;
  }

  void header() {
    const std::string& name = module_.name;
    switch (module_.kind) {
      case ModuleKind::Bas:
        break;
      case ModuleKind::Cls:
        line("VERSION 1.0 CLASS");
        line("BEGIN");
        line("  MultiUse = -1  'True");
        line("  Persistable = 0  'NotPersistable");
        line("END");
        break;
      case ModuleKind::Frm:
        line("VERSION 5.00");
        line("Begin VB.Form " + name + " ");
        line("   Caption         =   \"View\"");
        line("   ClientHeight    =   3615");
        line("   Begin VB.Frame fraMain ");
        line("      Caption         =   \"Main\"");
        line("      Begin VB.CommandButton cmdOK ");
        line("         Caption         =   \"OK\"");
        line("      End");
        line("   End");
        line("End");
        break;
      case ModuleKind::Ctl:
        line("VERSION 5.00");
        line("Begin VB.UserControl " + name + " ");
        line("   ClientHeight    =   3600");
        line("   BeginProperty Font ");
        line("      Name            =   \"MS Sans Serif\"");
        line("      Size            =   8.25");
        line("   EndProperty");
        line("End");
        break;
    }
    line("Attribute VB_Name = \"" + name + "\"");
    if (module_.kind != ModuleKind::Bas) {
      line("Attribute VB_GlobalNameSpace = False");
      line("Attribute VB_Creatable = True");
      line("Attribute VB_PredeclaredId = False");
      line("Attribute VB_Exposed = True");
    }
    if (index_ % 5 == 1)
      line("Attribute VB_Description = \"Module \"\"" + name + "\"\".\"");
  }

  void moduleComment() {
    line("'** " + module_.name);
    line("' The " + module_.name + " module: part of a generated project.");
    line("'   Indented second line, kept as written.");
    line("' @author       Generator");
    line("' @version      1.0");
    line("' @see          " + otherModule().name);
    line("");
  }

  const ModuleSpec& otherModule() const {
    return modules_[index_ == 0 ? modules_.size() - 1 : index_ - 1];
  }

  // A link from member k to something else: members of this module, of
  // another module, modules, property sides, external files, dead links.
  std::string link(std::size_t k, int which) const {
    const ModuleSpec& other = otherModule();
    const MemberSpec& near = module_.members[(k + 1) % module_.members.size()];
    const MemberSpec& far = other.members[k % other.members.size()];
    switch ((k + static_cast<std::size_t>(which)) % 9) {
      case 0: return "." + near.name;
      case 1: return other.name + "." + far.name;
      case 2: return other.name;
      case 3: return isProperty(far.kind) ? other.name + "." + far.name + "'get"
                                          : other.name + "." + far.name;
      case 4: return other.name + ".";
      case 5: return "\"readme.txt";
      case 6: return "Nowhere.Thing" + std::to_string(k);
      case 7: return module_.name + "." + near.name;
      default: return isProperty(near.kind) ? "." + near.name + "'GET"
                                            : "CLASS." + near.name;
    }
  }

  // The comment above member k; `side` tells a property's procedures
  // apart. Some members get none, or a block that is not a comment.
  void comment(std::size_t k, const std::string& name, int side,
               bool takesParams, bool returns) {
    std::size_t variant = (k * 3 + static_cast<std::size_t>(side)) % 8;
    switch (variant) {
      case 2:
        return;  // uncommented
      case 5:
        // A blank line inside the run: no comment at all.
        line("'** " + name);
        line("' Looks like a comment.");
        line("");
        line("' But is not one.");
        return;
      case 7:
        // A tab before the apostrophe: not a comment line.
        line("'**");
        line("\t' Tabbed line.");
        return;
      default:
        break;
    }
    line(variant == 1 ? "  '** indented opener" : "'**");
    line("' " + name + " does its part for " + module_.name +
         " (\xE4\xF6\xFC \xDF).");
    if (variant == 0 || variant == 6) line("'  A second description line.");
    if (takesParams) {
      line("' @param        first The first value.");
      line("'               It goes on here.");
      line("' @param        second The second value.");
    }
    if (returns) line("' @return       The result, " + name + ".");
    line("' @see          " + link(k, side));
    if (variant == 0 || variant == 4) line("' @see          " + link(k, side + 3));
    if (variant == 0) {
      line("' @example      " + link(k, side + 1) + " A use of it.");
      line("' @set          first vbLeft 0 Left justified.");
      line("' @set          first vbRight 1 \"Right, justified\"");
      line("' @set          second vbTop 0 At the top.");
      line("' @rem          Remarks on " + name + ":");
      line("'                 indented continuation.");
      line("' @author       A. Writer");
      line("' @revision     3");
      line("' @version      2.1");
      line("' @includesource yes");
      line("' @user1        First user tag.");
      line("' @user3        Third user tag.");
    }
    if (variant == 3 || variant == 4) {
      // "@same" chains: each member shares the one before it.
      std::size_t before = k == 0 ? module_.members.size() - 1 : k - 1;
      line("' @same         ." + module_.members[before].name);
    }
    if (variant == 6) line("' @remark       A user tag that reads as @rem.");
    if (variant == 3) line("");  // blank lines before the declaration are allowed
  }

  void attribute(const std::string& name, std::size_t k, bool data) {
    if (k % 4 != 1) return;
    line("Attribute " + name + (data ? ".VB_VarDescription" : ".VB_Description") +
         " = \"Described \"\"" + name + "\"\".\"");
  }

  void declaration(std::size_t k) {
    const MemberSpec& m = module_.members[k];
    switch (m.kind) {
      case Kind::Declare:
        comment(k, m.name, 0, true, true);
        if (k % 2) {
          line("Public Declare Function " + m.name + " Lib \"kernel32\" _");
          line("    (ByVal first As Long, ByVal second As Long) As Long");
        } else {
          line("Private Declare Function " + m.name +
               " Lib \"kernel32\" Alias \"GetTickCount\" () As Long");
        }
        attribute(m.name, k, false);
        break;
      case Kind::Const:
        comment(k, m.name, 0, false, true);
        line((k % 2 ? "Public Const " : "Const ") + m.name +
             " As Long = 100 ' the most");
        break;
      case Kind::ConstPair:
        comment(k, m.name, 0, false, true);
        line("Public Const " + m.name + " = 1, " + m.second +
             " As String = \"a, b\"");
        break;
      case Kind::PublicVar:
        comment(k, m.name, 0, false, true);
        if (k % 3 == 0) {
          line("Public " + m.name + " As _");
          line("    String");
        } else {
          line("Public " + m.name + "(1 To 10, 2) As Long");
        }
        attribute(m.name, k, true);
        break;
      case Kind::PrivateVar:
        comment(k, m.name, 0, false, true);
        line((k % 2 ? "Private " : "Dim ") + m.name + " As New Collection");
        break;
      case Kind::VarPair:
        comment(k, m.name, 0, false, true);
        line("Private " + m.name + " As Long, " + m.second + "$");
        break;
      case Kind::Event:
        comment(k, m.name, 0, true, false);
        line("Public Event " + m.name + "(ByVal first As Long, second As String)");
        break;
      default:
        break;
    }
  }

  void procedure(std::size_t k) {
    const MemberSpec& m = module_.members[k];
    std::string scope = m.isPrivate ? "Private " : (k % 5 == 4 ? "" : "Public ");
    switch (m.kind) {
      case Kind::Sub:
        comment(k, m.name, 0, k % 2 == 0, false);
        if (k % 2 == 0) {
          line(scope + "Sub " + m.name + "(ByVal first As Long, _");
          line("        Optional second As String = \"x, y\")");
        } else {
          line(scope + "Sub " + m.name + "()");
        }
        attribute(m.name, k, false);
        line("    Dim i As Long");
        line("    For i = 1 To 10: Debug.Print i: Next");
        line("End Sub");
        line("");
        break;
      case Kind::Function:
        comment(k, m.name, 0, true, true);
        line(scope + "Function " + m.name + "(ByVal first As Long, _");
        line("        ByRef second As String, _");
        line("        ParamArray rest() As Variant) As Long");
        attribute(m.name, k, false);
        line("    " + m.name + " = first * 2");
        line("End Function");
        line("");
        break;
      case Kind::PropGetLet:
      case Kind::PropGetSet:
      case Kind::PropGetLetSet:
      case Kind::PropGetOnly:
        property(k, scope);
        break;
      default:
        break;
    }
  }

  void property(std::size_t k, const std::string& scope) {
    const MemberSpec& m = module_.members[k];
    bool let = m.kind == Kind::PropGetLet || m.kind == Kind::PropGetLetSet;
    bool set = m.kind == Kind::PropGetSet || m.kind == Kind::PropGetLetSet;
    // Let before Get in some modules: the member is found at its first
    // procedure.
    bool getFirst = k % 2 == 0;
    if (getFirst) propertyGet(k, scope);
    if (let) {
      comment(k, m.name, 1, true, false);
      line(scope + "Property Let " + m.name + "(ByVal RHS As String)");
      line("    m" + m.name + " = RHS");
      line("End Property");
      line("");
    }
    if (set) {
      comment(k, m.name, 2, true, false);
      line(scope + "Property Set " + m.name + "( _");
      line("    ByVal RHS As StdFont)");
      line("    Set m" + m.name + " = RHS");
      line("End Property");
      line("");
    }
    if (!getFirst) propertyGet(k, scope);
  }

  void propertyGet(std::size_t k, const std::string& scope) {
    const MemberSpec& m = module_.members[k];
    comment(k, m.name, 3, false, true);
    line(scope + "Property Get " + m.name + "() As " +
         (m.kind == Kind::PropGetSet ? "StdFont" : "String"));
    attribute(m.name, k, false);
    line("    " + m.name + " = m" + m.name);
    line("End Property");
    line("");
  }

  const std::vector<ModuleSpec>& modules_;
  std::size_t index_;
  const ModuleSpec& module_;
  std::string out_;
  long lines_ = 0;
};

// Enum and Type blocks, in a module of their own at the end of the project:
// every element before it keeps the help number it had before blocks were
// documented. Values with and without their own, hexadecimal, negative and
// continued ones, "#If" branches, documentation above and at the line end,
// a private enum, fixed-length strings and arrays, a field of a documented
// enum type.
const char kBlocksModule[] = "modTypes";

std::string blocksModule() {
  static const char* const kLines[] = {
      "Attribute VB_Name = \"modTypes\"",
      "Option Explicit",
      "",
      "'**",
      "' Modes of a generated file.",
      "'@see          modBas0001",
      "Public Enum FileMode",
      "    '**",
      "    ' Read only.",
      "    fmRead = 1",
      "    fmWrite = &H10 ' Write only.",
      "    fmBoth = fmRead Or _",
      "        fmWrite ' Both ways.",
      "    fmNone = -1",
      "#If Win64 Then",
      "    fmWide = 8",
      "#Else",
      "    fmWide = 4",
      "#End If",
      "End Enum",
      "",
      "Private Enum Hidden",
      "    hOne",
      "End Enum",
      "",
      "'**",
      "' A record of a generated file.",
      "Public Type FileRecord",
      "    Name As String * 20 ' Fixed length.",
      "    Mode As FileMode",
      "    Blocks(1 To 8) As Long",
      "    Tags() As String",
      "End Type",
  };
  std::string text;
  for (const char* line : kLines) text += std::string(line) + "\r\n";
  return text;
}

const char* extension(ModuleKind kind) {
  switch (kind) {
    case ModuleKind::Bas: return ".bas";
    case ModuleKind::Cls: return ".cls";
    case ModuleKind::Frm: return ".frm";
    case ModuleKind::Ctl: return ".ctl";
  }
  return ".bas";
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string projectFile(const std::vector<ModuleSpec>& modules) {
  std::string text = "Type=Exe\r\n";
  for (const ModuleSpec& m : modules) {
    std::string file = m.name + extension(m.kind);
    switch (m.kind) {
      case ModuleKind::Bas: text += "Module=" + m.name + "; " + file; break;
      case ModuleKind::Cls: text += "Class=" + m.name + "; " + file; break;
      case ModuleKind::Frm: text += "Form=" + file; break;
      case ModuleKind::Ctl: text += "UserControl=" + file; break;
    }
    text += "\r\n";
  }
  text += "Module=" + std::string(kBlocksModule) + "; " + kBlocksModule +
          ".bas\r\n";
  text += "Name=\"P\"\r\nHelpFile=\"\"\r\nHelpContextID=\"0\"\r\n"
          "Description=\"A generated project\"\r\n";
  return text;
}

// Every kind and scope documented; the other settings keep their defaults.
std::string settingsFile(const std::vector<ModuleSpec>& modules) {
  std::string text =
      "#Scrivlet Project Settings#\r\n"
      "comPrivate = 1\r\ncomFriend = 1\r\ncomStdModule = 1\r\n"
      "comVariable = 1\r\ncomConstant = 1\r\n";
  for (const ModuleSpec& m : modules) text += "comModules = " + m.name + "\r\n";
  text += "comModules = " + std::string(kBlocksModule) + "\r\n";
  return text;
}

}  // namespace

GeneratedProject generateProject(const std::string& folder, long members) {
  std::vector<ModuleSpec> modules = planModules(members);
  GeneratedProject project;
  for (std::size_t i = 0; i < modules.size(); ++i) {
    ModuleWriter writer(modules, i);
    std::string path = folder + "/" + modules[i].name + extension(modules[i].kind);
    writeFile(path, writer.write());
    project.files.push_back(path);
    project.members += modules[i].memberCount;
    project.lines += writer.lines();
  }
  const std::string blocks = std::string(kBlocksModule) + ".bas";
  const std::string blocksText = blocksModule();
  writeFile(folder + "/" + blocks, blocksText);
  project.files.push_back(folder + "/" + blocks);
  project.lines += static_cast<long>(
      std::count(blocksText.begin(), blocksText.end(), '\n'));
  project.vbpPath = folder + "/P.vbp";
  writeFile(project.vbpPath, projectFile(modules));
  writeFile(folder + "/P.scriv", settingsFile(modules));
  return project;
}

}  // namespace scrivlet
