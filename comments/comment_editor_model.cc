#include "comments/comment_editor_model.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "base/text.h"
#include "comments/comment_generator.h"
#include "comments/comment_parser.h"
#include "comments/word_wrapper.h"
#include "source/declared_blocks.h"
#include "source/project_loader.h"
#include "source/source_code_parser.h"
#include "source/source_lines.h"
#include "source/store.h"

namespace scrivlet {

namespace {

constexpr const char* kCRLF = "\r\n";

bool isBlank(const std::string& text) { return trim(text).empty(); }

std::string lineAt(const CodeModule& module, long line) {
  return module.Lines(line, 1);
}

// "@note" padded into the 14-character tag column, or followed by one blank
// when it is too long for it.
std::string userTag(const std::string& name) {
  std::string tag = "@" + name;
  if (tag.size() <= 13) return tag + std::string(14 - tag.size(), ' ');
  return tag + " ";
}

std::string withoutFinalCR(std::string text) {
  if (!text.empty() && text.back() == CR) text.pop_back();
  return text;
}

// Cuts the text before the next CR off `rest`; the whole of it when there
// is no CR.
std::string takePart(std::string& rest) {
  std::size_t cr = rest.find(CR);
  std::string part = rest.substr(0, cr);
  rest = cr == std::string::npos ? std::string() : rest.substr(cr + 1);
  return part;
}

// "param\rconstant\rvalue\rdescription..." -> its four parts; the
// description keeps any further line breaks.
EditorSetting settingFromEntry(std::string entry) {
  EditorSetting setting;
  setting.parameter = takePart(entry);
  setting.constant = takePart(entry);
  setting.value = takePart(entry);
  setting.description = entry;
  return setting;
}

std::string entryFromSetting(const EditorSetting& s) {
  return s.parameter + CR + s.constant + CR + s.value + CR + s.description;
}

int procKindOf(const Element& element) {
  switch (element.kind()) {
    case ElementKind::SpropGet:
      return vbext_pk_Get;
    case ElementKind::SpropLet:
      return vbext_pk_Let;
    case ElementKind::SpropSet:
      return vbext_pk_Set;
    default:
      return vbext_pk_Proc;
  }
}

// Lines `from`..`to` joined by CR; empty lines before the first text are
// left out.
std::string lineRangeText(const CodeModule& module, long from, long to) {
  std::string text;
  for (long n = from; n <= to; ++n) {
    if (!text.empty()) text += CR;
    text += lineAt(module, n);
  }
  return text;
}

// The element's own source for reading the types it uses: a procedure from
// its declaration to its End line, a declaration-section member its
// statement. Other procedures of the same property are not read; their
// types belong to their own comments.
std::string elementSourceText(const Element& element) {
  const CodeModule& module = *element.cmo;
  long declaration = element.CodeLocation();
  try {
    switch (element.kind()) {
      case ElementKind::Smodule:
        return "";
      case ElementKind::Svariable:
      case ElementKind::Sconstant:
        return statementText(module, declaration);
      case ElementKind::Senum:
      case ElementKind::Stype:
        if (const DeclaredBlock* block = declaredBlockOf(element))
          return lineRangeText(module, declaration, block->endLine);
        return statementText(module, declaration);
      default:
        break;
    }
    std::string name = element.member->Name();
    int kind = procKindOf(element);
    long start = module.ProcStartLine(name, kind);
    long count = module.ProcCountLines(name, kind);
    bool declared = element.kind() == ElementKind::Smethod && start == 1 &&
                    count > 0 && count == module.CountOfDeclarationLines();
    if (declared) return statementText(module, declaration);
    std::string text = lineRangeText(module, declaration, start + count - 1);
    return text.empty() ? statementText(module, declaration) : text;
  } catch (const std::exception&) {
    return statementText(module, declaration);
  }
}

std::string parentFolder(const std::string& path) {
  std::filesystem::path p = std::filesystem::path(path).lexically_normal();
  return p.parent_path().string();
}

std::string normalFolder(const std::string& folder) {
  std::string f = std::filesystem::path(folder).lexically_normal().string();
  while (f.size() > 1 && f.back() == '/') f.pop_back();
  return f;
}

}  // namespace

std::string toDisplayText(const std::string& value, int autoInsertEOL) {
  if (autoInsertEOL != 1) return replaceAll(value, "\r", kCRLF);
  // Comment lines never hold a line feed, so it can stand for the breaks
  // while the plain joins are turned into blanks.
  std::string text = replaceAll(value, "$EOL$\r", "\n");
  text = replaceAll(text, "$EOL$", "\n");
  text = replaceAll(text, "\r", " ");
  return replaceAll(text, "\n", kCRLF);
}

std::vector<std::string> toCommentLines(const std::string& text,
                                        int autoInsertEOL) {
  if (text.empty()) return {};
  std::string t = autoInsertEOL == 1 ? replaceAll(text, kCRLF, "$EOL$\r\n")
                                     : text;
  return split(t, kCRLF);
}

std::string CollectionToCommentString(const std::vector<std::string>& lines) {
  std::string text = "'**";
  for (const std::string& line : lines) text += kCRLF + ("'" + line);
  return text;
}

bool getCommentRange(const Element& element, long& start, long& end) {
  const CodeModule& module = *element.cmo;
  long bottom = element.CodeLocation() - 1;
  while (bottom >= 1 && isBlank(lineAt(module, bottom))) --bottom;
  for (long n = bottom; n >= 1; --n) {
    std::string line = trim(lineAt(module, n));
    if (!startsWith(line, "'")) return false;
    if (startsWith(line, "'**")) {
      start = n;
      end = bottom;
      return true;
    }
  }
  return false;
}

bool getModuleCommentRange(const CodeModule& module, long& start, long& end) {
  long count = module.CountOfLines();
  long first = 1;
  while (first <= count && isBlank(lineAt(module, first))) ++first;
  if (first > count || !startsWith(trim(lineAt(module, first)), "'**"))
    return false;
  long last = first;
  while (last < count && startsWith(trim(lineAt(module, last + 1)), "'"))
    ++last;
  start = first;
  end = last;
  return true;
}

CommentEditorModel::CommentEditorModel(ProjectSettings& settings)
    : settings_(settings) {}

void CommentEditorModel::openAtLine(CodeModule& module, long line) {
  openElement(elementAtLine(module, line));
}

bool CommentEditorModel::openAtCaret(CodePane& pane) {
  long startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
  pane.GetSelection(startLine, startColumn, endLine, endColumn);
  CodeModule* module = pane.CodeModule();
  if (!module || startLine != endLine || startColumn != endColumn) {
    openElement(nullptr);
    return false;
  }
  openAtLine(*module, startLine);
  return true;
}

std::string CommentEditorModel::caption() const {
  return (element_ ? element_->name() : std::string()) +
         " - Scrivlet Comment Editor";
}

bool CommentEditorModel::parametersEnabled() const {
  return element_ && element_->isProcedure();
}

void CommentEditorModel::openElement(std::shared_ptr<Element> element) {
  element_ = std::move(element);
  clearFields();
  if (!element_) return;
  skeleton = generateComment(*element_, settings_);

  std::vector<std::string> lines;
  if (element_->kind() == ElementKind::Smodule) {
    lines = getModuleComment(*element_->cmo);
    hadComment = !lines.empty();
    element_->hadComment = hadComment;
  } else {
    // Reading must not hand out help numbers into the code.
    std::optional<ProjectSettings> reading;
    if (settings_.comContextID) {
      reading = settings_;
      reading->comContextID = false;
    }
    store elements;
    Progress progress;
    ProjectLoader loader(elements, reading ? *reading : settings_, progress,
                         nullptr);
    element_->hadComment = false;
    lines = loader.getComment(*element_);
    hadComment = element_->hadComment;
  }
  if (hadComment) {
    for (std::string& line : lines) {
      line = trim(line);
      if (startsWith(line, "'")) line.erase(0, 1);
    }
  }
  fillFromComment(hadComment ? lines : skeleton);
  if (settings_.autoUpdateParams == 1) update();
}

void CommentEditorModel::clearFields() {
  description.clear();
  remarks.clear();
  returnText.clear();
  author.clear();
  version.clear();
  revision.clear();
  user = {};
  same.clear();
  includeSource.clear();
  seeAlso = LinkListModel();
  examples = LinkListModel();
  params.clear();
  settingsGroups = {};
  hadComment = false;
  skeleton.clear();
  workingLines.clear();
  selectedParam_ = -1;
}

std::string CommentEditorModel::display(const std::string& value) const {
  return toDisplayText(value, displayMode());
}

void CommentEditorModel::fillFromComment(const std::vector<std::string>& lines) {
  // Comment lines are shown as they stand, whatever the indent mode.
  std::optional<ProjectSettings> verbatim;
  if (settings_.indentMode != 0) {
    verbatim = settings_;
    verbatim->indentMode = 0;
  }
  CommentParser parser(verbatim ? *verbatim : settings_);
  parser.setComment(lines);

  description = display(withoutFinalCR(parser.getDescription()));
  remarks = display(parser.getRemarks());
  returnText = display(parser.getReturn());
  author = display(parser.getAuthor());
  version = display(parser.getVersion());
  revision = display(parser.getRevision());
  for (int n = 0; n < 5; ++n)
    user[static_cast<std::size_t>(n)] = display(parser.getUser(n + 1));
  same = display(parser.getSame());
  includeSource = parser.getIncludeSource().empty() ? "" : "yes";

  auto fillLinks = [](LinkListModel& list, std::vector<std::string> entries) {
    list = LinkListModel();
    for (std::string& entry : entries) {
      std::string link = takePart(entry);
      list.entries.push_back(LinkListModel::entryFor(link, entry));
    }
  };
  fillLinks(seeAlso, parser.getSeeList());
  fillLinks(examples, parser.getExampleList());

  params.clear();
  for (const std::string& raw : parser.getParamList()) {
    std::string rest = withoutFinalCR(raw);
    std::string name = takePart(rest);
    params.push_back({name, display(rest)});
  }
  auto groups = parser.getSettingsList();
  for (std::size_t g = 0; g < 3; ++g) {
    settingsGroups[g].clear();
    for (const std::string& raw : groups[g]) {
      EditorSetting setting = settingFromEntry(withoutFinalCR(raw));
      setting.description = display(setting.description);
      settingsGroups[g].push_back(setting);
    }
  }
  selectParameter(params.empty() ? -1 : 0);
}

void CommentEditorModel::selectParameter(int index) {
  selectedParam_ =
      index >= 0 && index < static_cast<int>(params.size()) ? index : -1;
}

const std::string& CommentEditorModel::parameterDescription() const {
  static const std::string none;
  if (selectedParam_ < 0) return none;
  return params[static_cast<std::size_t>(selectedParam_)].description;
}

void CommentEditorModel::setParameterDescription(const std::string& text) {
  if (selectedParam_ >= 0)
    params[static_cast<std::size_t>(selectedParam_)].description = text;
}

void CommentEditorModel::update() {
  if (!element_ || !parametersEnabled()) return;
  ParamDocumentation current;
  for (const EditorParam& p : params)
    current.params.push_back({p.name, withTypeSentenceMarked(p.description)});
  current.returnText = returnText;
  for (std::size_t g = 0; g < 3; ++g)
    for (const EditorSetting& s : settingsGroups[g])
      current.settingGroups[g].push_back(entryFromSetting(s));

  ParamDocumentation updated = updateParamsFromDeclaration(
      current, generateComment(*element_, settings_), settings_);

  params.clear();
  for (const ParamEntry& p : updated.params)
    params.push_back({p.name, p.description});
  returnText = updated.returnText;
  for (std::size_t g = 0; g < 3; ++g) {
    settingsGroups[g].clear();
    for (const std::string& entry : updated.settingGroups[g])
      settingsGroups[g].push_back(settingFromEntry(entry));
  }
  selectParameter(params.empty() ? -1 : 0);
}

int CommentEditorModel::groupOfSelected() const {
  if (selectedParam_ < 0) return -1;
  const std::string& name =
      params[static_cast<std::size_t>(selectedParam_)].name;
  for (std::size_t g = 0; g < 3; ++g)
    if (!settingsGroups[g].empty() && settingsGroups[g].front().parameter == name)
      return static_cast<int>(g);
  return -1;
}

bool CommentEditorModel::gridEnabled() const {
  if (selectedParam_ < 0 || !parametersEnabled()) return false;
  if (groupOfSelected() >= 0) return true;
  return std::any_of(settingsGroups.begin(), settingsGroups.end(),
                     [](const SettingsGroup& g) { return g.empty(); });
}

std::vector<EditorSetting> CommentEditorModel::gridRows() const {
  int g = groupOfSelected();
  if (g < 0) return {};
  return settingsGroups[static_cast<std::size_t>(g)];
}

void CommentEditorModel::writeGridBack(std::vector<EditorSetting> rows) {
  if (!gridEnabled()) return;
  int g = groupOfSelected();
  if (g < 0) {
    for (std::size_t i = 0; i < 3 && g < 0; ++i)
      if (settingsGroups[i].empty()) g = static_cast<int>(i);
  }
  const std::string& name =
      params[static_cast<std::size_t>(selectedParam_)].name;
  for (EditorSetting& row : rows) row.parameter = name;
  settingsGroups[static_cast<std::size_t>(g)] = std::move(rows);
}

void CommentEditorModel::addGridRow() {
  std::vector<EditorSetting> rows = gridRows();
  rows.emplace_back();
  writeGridBack(std::move(rows));
}

void CommentEditorModel::removeGridRow(int row) {
  std::vector<EditorSetting> rows = gridRows();
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  rows.erase(rows.begin() + row);
  writeGridBack(std::move(rows));
}

void CommentEditorModel::setGridCell(int row, int column,
                                     const std::string& text) {
  std::vector<EditorSetting> rows = gridRows();
  if (row < 0 || row >= static_cast<int>(rows.size())) return;
  EditorSetting& cell = rows[static_cast<std::size_t>(row)];
  if (column == 0) cell.constant = text;
  else if (column == 1) cell.value = text;
  else if (column == 2) cell.description = text;
  else return;
  writeGridBack(std::move(rows));
}

int CommentEditorModel::gridRowAfterMove(int row, int step) const {
  int last = static_cast<int>(gridRows().size()) - 1;
  return std::clamp(row + step, 0, std::max(last, 0));
}

std::vector<std::string> CommentEditorModel::interestingReferenceCandidates(
    const VBE& ide) const {
  if (!element_) return {};
  return interestingReferences(*element_, ide, elementSourceText(*element_));
}

void CommentEditorModel::addInterestingReferences(
    const std::vector<std::string>& chosen) {
  for (const std::string& entry : chosen) {
    std::string link = entry.substr(0, entry.find(' '));
    std::string label = endsWith(entry, "[used]") ? "" : entry;
    bool listed = std::any_of(
        seeAlso.entries.begin(), seeAlso.entries.end(),
        [&](const std::string& e) { return startsWith(e, link); });
    if (!listed) seeAlso.entries.push_back(LinkListModel::entryFor(link, label));
  }
}

std::string CommentEditorModel::proposedExampleFileName() const {
  if (!element_) return "";
  return element_->moduleName() + "_" + element_->name() + "_example.txt";
}

bool CommentEditorModel::createExampleFile(const std::string& path,
                                           FileServices& services) {
  if (!element_ || path.empty()) return false;
  if (writeTextFile(services, path, "Example for " + element_->name() + ".",
                    false) != writeDone)
    return false;
  // A bare file name is looked for in the output folder, so it may stand
  // alone only for a file that lies right there.
  bool inOutputFolder = !settings_.outputPath.empty() &&
                        parentFolder(path) == normalFolder(settings_.outputPath);
  std::string name = std::filesystem::path(path).filename().string();
  examples.linkBox = "\"" + (inOutputFolder ? name : path);
  examples.add();
  return true;
}

std::string CommentEditorModel::exampleFilePath() const {
  std::string file = examples.linkBox.empty() ? "" : examples.linkBox.substr(1);
  if (file.find('/') != std::string::npos || settings_.outputPath.empty())
    return file;
  const std::string& folder = settings_.outputPath;
  return folder + (endsWith(folder, "/") ? "" : "/") + file;
}

bool CommentEditorModel::editExample(
    const std::function<bool(const std::string&)>& open,
    MessageBox& messages) const {
  std::string file = exampleFilePath();
  if (open && open(file)) return true;
  messages.show("Error while opening example.",
                "Cannot show the \"" + file + "\" file", MessageButtons::OK,
                MessageIcon::Exclamation);
  return false;
}

const std::vector<std::string>& CommentEditorModel::composeComment() {
  int mode = displayMode();
  std::vector<std::string> lines;
  auto add = [&](const std::string& text) {
    for (std::string& line : toCommentLines(text, mode))
      lines.push_back(std::move(line));
  };
  auto addTag = [&](const char* tag, const std::string& value) {
    if (!isBlank(value)) add(tag + value);
  };
  auto addLinks = [&](const char* tag, const LinkListModel& list) {
    for (const std::string& entry : list.entries) {
      std::string link, label;
      LinkListModel::splitEntry(entry, link, label);
      add(tag + link + " " + label);
    }
  };

  add(description);
  addTag("@rem          ", remarks);
  for (const EditorParam& p : params)
    add("@param        " + p.name + " " + p.description);
  for (const SettingsGroup& group : settingsGroups)
    for (const EditorSetting& s : group)
      add("@set          " + s.parameter + " " + s.constant + " " + s.value +
          " " + s.description);
  addTag("@return       ", returnText);
  addTag("@author       ", author);
  addTag("@version      ", version);
  addTag("@revision     ", revision);
  if (!isBlank(includeSource)) add("@includesource yes");
  for (std::size_t n = 0; n < 5; ++n)
    if (!isBlank(user[n])) add(userTag(settings_.userName[n]) + user[n]);
  addLinks("@see          ", seeAlso);
  addLinks("@example      ", examples);
  addTag("@same         ", same);

  workingLines = WordWrapper::makeWordWrapping(lines, settings_);
  return workingLines;
}

std::string CommentEditorModel::sourceCodeView() {
  return CollectionToCommentString(composeComment());
}

bool CommentEditorModel::apply(const std::function<void()>& saveSettings) {
  if (!element_) return false;
  try {
    replaceBlock();
  } catch (const std::exception&) {
    return false;
  }
  hadComment = true;
  element_->hadComment = true;
  if (saveSettings) saveSettings();
  return true;
}

void CommentEditorModel::replaceBlock() {
  CodeModule& module = *element_->cmo;
  if (hadComment) {
    long start = 0, end = 0;
    bool found = element_->kind() == ElementKind::Smodule
                     ? getModuleCommentRange(module, start, end)
                     : getCommentRange(*element_, start, end);
    // A block may be its opener alone (everything was emptied): it goes too,
    // or every Apply would leave one more "'**" behind.
    if (found && start <= end) module.DeleteLines(start, end - start + 1);
  }
  composeComment();
  insertCommentBlock(module, element_->CodeLocation(), workingLines);
}

}  // namespace scrivlet
