#include "comments/comment_generator.h"

#include <algorithm>

#include "comments/comment_parser.h"
#include "source/proc_definition.h"
#include "source/source_lines.h"
#include "source/text.h"

namespace scrivlet {

namespace {

constexpr const char* kParamTag = "@param        ";
constexpr const char* kReturnTag = "@return       ";
constexpr const char* kParamArraySentence =
    "ParamArray, comma-delimited list of Variant values";

ProcDefinition parsedDeclaration(const Element& element) {
  ProcDefinition definition;
  definition.pLine = statementText(*element.cmo, element.CodeLocation());
  definition.parse();
  return definition;
}

// "start Optional. Long. Default value is 1." The Optional/Required
// sentence belongs to methods and events only.
std::string paramLine(const argument& arg, bool withRequired) {
  std::string line = kParamTag + arg.aName + " ";
  if (withRequired) line += arg.aOptional ? "Optional. " : "Required. ";
  if (arg.pArray) {
    line += kParamArraySentence;
  } else {
    line += arg.aType;
    if (isObjectTypeName(arg.aType)) line += " object";
  }
  line += ".";
  if (!arg.aDefault.empty()) line += " Default value is " + arg.aDefault + ".";
  return line;
}

std::string userTag(const std::string& name) {
  std::string tag = "@" + name;
  if (tag.size() <= 13) return tag + std::string(14 - tag.size(), ' ');
  return tag + " ";
}

void appendTagLineSuffix(std::vector<std::string>& lines,
                         const ProjectSettings& settings) {
  if (settings.addAuthor) lines.push_back("@author       ");
  if (settings.addRevision) lines.push_back("@revision     ");
  if (settings.addVersion) lines.push_back("@version      ");
  if (settings.addIncludeSource) lines.push_back("@includesource yes");
  for (std::size_t n = 0; n < 5; ++n)
    if (settings.addUser[n])
      lines.push_back(userTag(settings.userName[n]) + settings.userDefault[n]);
}

std::string descriptionOf(const Element& element,
                          const ProjectSettings& settings) {
  if (!settings.addDescription) return "";
  try {
    if (element.member) return element.member->Description();
    VBComponent* component = element.cmo->Parent();
    return component ? component->Description() : "";
  } catch (const std::exception&) {
    return "";
  }
}

std::vector<std::string> procedureSkeleton(const Element& element,
                                           const ProjectSettings& settings) {
  ProcDefinition definition = parsedDeclaration(element);
  std::vector<std::string> lines{descriptionOf(element, settings)};
  bool withRequired = element.kind() == ElementKind::Smethod ||
                      element.kind() == ElementKind::Sevent;
  if (settings.addParam)
    for (const argument& arg : definition.args)
      lines.push_back(paramLine(arg, withRequired));
  if (settings.addReturn && !definition.returns.empty())
    lines.push_back(kReturnTag + definition.returns + ".");
  if (settings.addSee) lines.push_back("@see          ");
  if (settings.addRem) lines.push_back("@rem          ");
  if (settings.addSame) lines.push_back("@same         ");
  appendTagLineSuffix(lines, settings);
  return lines;
}

// "name\rdescription\r" -> {name, description}.
ParamEntry splitParamEntry(const std::string& entry) {
  std::size_t cr = entry.find(CR);
  if (cr == std::string::npos) return {entry, ""};
  std::string description = entry.substr(cr + 1);
  if (!description.empty() && description.back() == CR) description.pop_back();
  return {entry.substr(0, cr), description};
}

std::string firstPart(const std::string& entry) {
  return entry.substr(0, entry.find(CR));
}

}  // namespace

bool isObjectTypeName(const std::string& type) {
  static const char* const kValueTypes[] = {
      "Boolean", "Byte",   "Currency", "Date",    "Double", "Integer",
      "Long",    "Single", "String",   "Variant", "Error"};
  return std::none_of(std::begin(kValueTypes), std::end(kValueTypes),
                      [&](const char* name) { return type == name; });
}

std::vector<std::string> generateComment(const Element& element,
                                         const ProjectSettings& settings) {
  switch (element.kind()) {
    case ElementKind::Smodule:
    case ElementKind::Senum:
    case ElementKind::Stype:
      return {descriptionOf(element, settings), "@see"};
    case ElementKind::Svariable:
    case ElementKind::Sconstant:
      return {"", "@see"};
    default:
      return procedureSkeleton(element, settings);
  }
}

void insertCommentBlock(CodeModule& module, long line,
                        const std::vector<std::string>& lines) {
  std::string declaration =
      line <= module.CountOfLines() ? module.Lines(line, 1) : std::string();
  std::string indent(declaration.size() - leftTrim(declaration).size(), ' ');
  std::string block = indent + "'**";
  for (const std::string& text : lines) block += CR + indent + "'" + text;
  module.InsertLines(line, block);
  if (CodePane* pane = module.CodePane()) {
    long column = static_cast<long>(indent.size()) + 2;
    pane->setTopLine(line);
    pane->SetSelection(line + 1, column, line + 1, column);
  }
}

void addComment(const Element& element, const ProjectSettings& settings) {
  insertCommentBlock(*element.cmo, element.CodeLocation(),
                     generateComment(element, settings));
}

bool insertCommentAtCaret(CodePane& pane, const ProjectSettings& settings) {
  long startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
  pane.GetSelection(startLine, startColumn, endLine, endColumn);
  if (startLine != endLine || startColumn != endColumn) return false;
  std::shared_ptr<Element> element =
      elementAtLine(*pane.CodeModule(), startLine);
  addComment(*element, settings);
  return true;
}

std::vector<std::string> generateCommentForLastArgument(
    const Element& element, const ProjectSettings& settings) {
  ProcDefinition definition = parsedDeclaration(element);
  std::vector<std::string> result{std::to_string(definition.args.size())};
  if (settings.addParam && !definition.args.empty())
    result.push_back(paramLine(definition.args.back(), false));
  return result;
}

std::string getExistingCommentForLastArgument(const Element& element,
                                              const ProjectSettings& settings) {
  CommentParser parser(settings);
  parser.setComment(element.comment);
  std::vector<std::string> params = parser.getParamList();
  return params.empty() ? std::string() : kParamTag + params.back();
}

ParamDocumentation updateParamsFromDeclaration(
    const ParamDocumentation& current, const std::vector<std::string>& skeleton,
    const ProjectSettings& settings) {
  // The skeleton is read verbatim, whatever indent mode the user works in.
  ProjectSettings verbatim = settings;
  verbatim.indentMode = 0;
  CommentParser parser(verbatim);
  parser.setComment(skeleton);

  ParamDocumentation updated;
  std::string generatedReturn = parser.getReturn();
  if (!generatedReturn.empty())
    updated.returnText = mergeGeneratedText(
        current.returnText, generatedReturn, GeneratedTextKind::returnValue);

  for (const std::string& entry : parser.getParamList()) {
    ParamEntry generated = splitParamEntry(entry);
    auto existing = std::find_if(
        current.params.begin(), current.params.end(),
        [&](const ParamEntry& p) { return p.name == generated.name; });
    std::string description =
        existing == current.params.end() ? "" : existing->description;
    updated.params.push_back(
        {generated.name,
         mergeGeneratedText(description, generated.description,
                            GeneratedTextKind::parameter)});
  }

  std::size_t kept = 0;
  for (const std::vector<std::string>& group : current.settingGroups) {
    if (group.empty()) continue;
    std::string name = firstPart(group.front());
    bool stillAParameter = std::any_of(
        updated.params.begin(), updated.params.end(),
        [&](const ParamEntry& p) { return p.name == name; });
    if (stillAParameter) updated.settingGroups[kept++] = group;
  }
  return updated;
}

std::string mergeGeneratedText(const std::string& existing,
                               const std::string& generated,
                               GeneratedTextKind kind) {
  std::string s = existing;
  bool optional = false;
  if (kind == GeneratedTextKind::parameter) {
    if (startsWith(existing, "Required. ")) {
      s = existing.substr(10);
    } else if (startsWith(existing, "Optional. ")) {
      s = existing.substr(10);
      optional = true;
    } else {
      return generated + existing;
    }
  }
  std::size_t b = s.find('.');
  if (b == std::string::npos || !isTypeSentence(trim(s.substr(0, b))))
    return generated + existing;
  if (optional) {
    std::size_t further = s.find('.', b + 1);
    if (further != std::string::npos &&
        s.compare(b + 1, 18, " Default value is ") == 0)
      b = further;
  }
  return generated + s.substr(b + 1);
}

bool isTypeSentence(const std::string& text) {
  if (text == kParamArraySentence) return true;
  std::string t = text;
  if (endsWith(t, " object")) t.resize(t.size() - 7);
  if (t.empty() || t.size() >= 256) return false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    auto c = static_cast<unsigned char>(t[i]);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    bool letter = c >= 'a' && c <= 'z';
    if (i == 0 ? !letter : !(letter || (c >= '0' && c <= '9') || c == '_'))
      return false;
  }
  return true;
}

}  // namespace scrivlet
