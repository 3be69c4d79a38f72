#include "comments/comment_generator.h"

#include <algorithm>
#include <optional>

#include "base/text.h"
#include "comments/comment_parser.h"
#include "source/proc_definition.h"
#include "source/source_lines.h"

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

bool isSameParameterName(std::string_view a, std::string_view b) {
  auto bare = [](std::string_view name) {
    return endsWith(name, "()") ? name.substr(0, name.size() - 2) : name;
  };
  return equalsNoCase(bare(a), bare(b));
}

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

// The existing entry for a parameter: the one spelled as the declaration
// spells it, else the first that names the same parameter.
std::vector<ParamEntry>::const_iterator findParamEntry(
    const std::vector<ParamEntry>& entries, const std::string& name) {
  auto exact = std::find_if(entries.begin(), entries.end(),
                            [&](const ParamEntry& p) { return p.name == name; });
  if (exact != entries.end()) return exact;
  return std::find_if(entries.begin(), entries.end(), [&](const ParamEntry& p) {
    return isSameParameterName(p.name, name);
  });
}

ParamDocumentation updateParamsFromDeclaration(
    const ParamDocumentation& current, const std::vector<std::string>& skeleton,
    const ProjectSettings& settings) {
  // The skeleton is read verbatim, whatever indent mode the user works in.
  std::optional<ProjectSettings> verbatim;
  if (settings.indentMode != 0) {
    verbatim = settings;
    verbatim->indentMode = 0;
  }
  CommentParser parser(verbatim ? *verbatim : settings);
  parser.setComment(skeleton);

  ParamDocumentation updated;
  std::string generatedReturn = parser.getReturn();
  if (!generatedReturn.empty())
    updated.returnText = mergeGeneratedText(
        current.returnText, generatedReturn, GeneratedTextKind::returnValue);

  for (const std::string& entry : parser.getParamList()) {
    ParamEntry generated = splitParamEntry(entry);
    auto existing = findParamEntry(current.params, generated.name);
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
    auto param = findParamEntry(updated.params, name);
    if (param == updated.params.end()) continue;
    // The rows follow the parameter's spelling, so that they stay its rows.
    std::vector<std::string>& rows = updated.settingGroups[kept++];
    for (const std::string& row : group)
      rows.push_back(param->name + row.substr(std::min(row.find(CR), row.size())));
  }
  return updated;
}

namespace {

// The text with each line break, and the blanks around it, read as one
// blank, so that sentences match however the text was wrapped; `at[i]` is
// where character i stands in the original ("a \r b" reads "a b"). The
// editor's text boxes break lines with CR LF.
struct FoldedText {
  std::string text;
  std::vector<std::size_t> at;
};

FoldedText foldLineBreaks(const std::string& s) {
  FoldedText folded;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t j = i;
    bool lineBreak = false;
    while (j < s.size() && (s[j] == ' ' || s[j] == CR || s[j] == '\n'))
      lineBreak |= s[j++] != ' ';
    if (lineBreak) {
      folded.text += ' ';
      folded.at.push_back(i);
      i = j;
    } else {
      folded.text += s[i];
      folded.at.push_back(i++);
    }
  }
  folded.at.push_back(s.size());
  return folded;
}

// "Optional. Double. Default value is 1.5." -> "1.5".
std::string defaultValueOf(const std::string& generated) {
  static const std::string kSentence = " Default value is ";
  std::size_t at = generated.find(kSentence);
  if (at == std::string::npos) return "";
  std::string value = generated.substr(at + kSentence.size());
  if (endsWith(value, ".")) value.pop_back();
  return value;
}

// The period that ends a default value sentence whose value starts at
// `from`: after the value the declaration gives, else the first period
// that ends a sentence (a decimal point or a period inside a string does
// not); npos when there is none.
std::size_t defaultSentenceEnd(const std::string& s, std::size_t from,
                               const std::string& value) {
  std::size_t end = from + value.size();
  if (!value.empty() && s.compare(from, value.size(), value) == 0 &&
      end < s.size() && s[end] == '.')
    return end;
  for (std::size_t p = s.find('.', from); p != std::string::npos;
       p = s.find('.', p + 1))
    if (p + 1 == s.size() || s[p + 1] == ' ') return p;
  return std::string::npos;
}

// "MSComctlLib.Node object": names joined by periods.
bool isQualifiedTypeSentence(const std::string& text) {
  std::string t = text;
  if (endsWith(t, " object")) t.resize(t.size() - 7);
  std::vector<std::string> names = split(t, ".");
  return names.size() > 1 &&
         std::all_of(names.begin(), names.end(), [](const std::string& name) {
           return !endsWith(name, " object") && isTypeSentence(name);
         });
}

// The end of `generated` when `existing` opens with it. The merge must
// know its own work again, also where the type is no type sentence
// ("Byte()", an array): otherwise every run would add it once more.
std::size_t generatedTextEnd(const FoldedText& existing,
                             const std::string& generated) {
  std::string text = foldLineBreaks(generated).text;
  const std::string& s = existing.text;
  if (text.empty() || !startsWith(s, text) ||
      (s.size() > text.size() && s[text.size()] != ' '))
    return std::string::npos;
  return existing.at[text.size()];
}

// Where the generated sentences that open `existing` end (just after their
// last period); npos when it does not open with them.
std::size_t generatedSentencesEnd(const std::string& existing,
                                  const std::string& generated,
                                  GeneratedTextKind kind) {
  FoldedText folded = foldLineBreaks(existing);
  const std::string& s = folded.text;
  std::size_t from = 0;
  bool optional = false;
  if (kind == GeneratedTextKind::parameter) {
    if (startsWith(s, "Optional. ")) optional = true;
    else if (!startsWith(s, "Required. ")) return generatedTextEnd(folded, generated);
    from = 10;
  }
  std::size_t b = s.find('.', from);
  if (b == std::string::npos || !isTypeSentence(trim(s.substr(from, b - from))))
    return generatedTextEnd(folded, generated);
  // A type of another library: "MSComctlLib.Node object."
  for (std::size_t next = s.find('.', b + 1);
       next != std::string::npos &&
       isQualifiedTypeSentence(trim(s.substr(from, next - from)));
       next = s.find('.', next + 1))
    b = next;
  static const std::string kDefault = " Default value is ";
  if (optional && s.compare(b + 1, kDefault.size(), kDefault) == 0) {
    std::size_t end =
        defaultSentenceEnd(s, b + 1 + kDefault.size(), defaultValueOf(generated));
    if (end != std::string::npos) b = end;
  }
  std::size_t own = generatedTextEnd(folded, generated);
  return own == std::string::npos ? folded.at[b + 1]
                                  : std::max(own, folded.at[b + 1]);
}

bool isSeparator(char c) {
  return c == ' ' || c == CR || c == '\n' || c == '\t';
}

}  // namespace

std::string mergeGeneratedText(const std::string& existing,
                               const std::string& generated,
                               GeneratedTextKind kind) {
  std::size_t end = generatedSentencesEnd(existing, generated, kind);
  std::string rest = end == std::string::npos ? existing : existing.substr(end);
  // "Required. Long.The index." would read as one garbled sentence.
  if (generated.empty() || rest.empty() || isSeparator(rest.front()))
    return generated + rest;
  return generated + " " + rest;
}

std::string userTextOf(const std::string& text, GeneratedTextKind kind) {
  std::string marked =
      kind == GeneratedTextKind::parameter ? withTypeSentenceMarked(text) : text;
  std::size_t end = generatedSentencesEnd(marked, "", kind);
  if (end == std::string::npos) return text;
  return marked.substr(end);
}

std::string withTypeSentenceMarked(const std::string& description) {
  if (startsWith(description, "Required. ") ||
      startsWith(description, "Optional. "))
    return description;
  std::size_t period = description.find('.');
  if (period == std::string::npos) return description;
  std::string sentence = trim(description.substr(0, period));
  bool generated = isTypeSentence(sentence) &&
                   (endsWith(sentence, " object") ||
                    !isObjectTypeName(sentence) ||
                    sentence.find(',') != std::string::npos);
  return generated ? "Optional. " + description : description;
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
