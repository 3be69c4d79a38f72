#include "compiler/compile_driver.h"

#include <algorithm>
#include <exception>
#include <unordered_set>

#include "base/addin_folder.h"
#include "base/text.h"
#include "comments/comment_generator.h"
#include "compiler/member_pages.h"
#include "compiler/output_encoding.h"
#include "compiler/output_name.h"
#include "source/project_loader.h"

namespace scrivlet {

namespace {

std::string doubledDollars(std::string_view text) {
  return replaceAll(text, "$", "$$");
}

std::string withoutOneTrailingSeparator(std::string folder) {
  if (!folder.empty() && folder.back() == '/') folder.pop_back();
  return folder;
}

bool templateMentions(const MacroStore& src, std::string_view name) {
  for (const std::string& each : src.names())
    if (const MacroValue* value = src.find(each))
      if (const std::string* text = asText(*value))
        if (text->find(name) != std::string::npos) return true;
  return false;
}

// "$OUTPUT-ENCODING$ UTF-8", in any case.
bool asksForUtf8(const MacroStore& src) {
  const MacroValue* value = src.find("OUTPUT-ENCODING");
  const std::string* text = value ? asText(*value) : nullptr;
  return text && foldCase(trim(*text)) == "utf-8";
}

bool isMember(const Element& element) {
  return element.kind() != ElementKind::Smodule;
}

// The page groups of the single file: forms, other objects, standard
// modules.
enum ModuleGroup { formGroup, objectGroup, stdModuleGroup };

bool inGroup(const Element& element, ModuleGroup group) {
  if (element.kind() != ElementKind::Smodule) return false;
  int type = componentType(element);
  switch (group) {
    case formGroup: return isFormType(type);
    case stdModuleGroup: return type == vbext_ct_StdModule;
    default: return !isFormType(type) && type != vbext_ct_StdModule;
  }
}

}  // namespace

std::vector<OrderedPage> singleFileOrder(const ElementCollection& pageIndex,
                                         const MacroList& indexList) {
  // Sorted by index label, equal labels in loading order.
  std::vector<std::pair<std::string, std::shared_ptr<Element>>> sorted;
  for (std::size_t i = 0; i < pageIndex.size() && i < indexList.size(); ++i) {
    const std::string& item = indexList[i];
    sorted.emplace_back(foldCase(item.substr(item.find('\r') + 1)),
                        pageIndex[i]);
  }
  std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
    return a.first < b.first;
  });
  std::unordered_set<const Element*> remaining;
  for (const auto& entry : sorted) remaining.insert(entry.second.get());

  std::vector<OrderedPage> order;
  auto take = [&](const std::shared_ptr<Element>& element, bool checkFirst) {
    remaining.erase(element.get());
    order.push_back({element, checkFirst});
  };
  const std::vector<ElementKind> objectMembers = {
      ElementKind::Smethod,  ElementKind::SpropGet, ElementKind::SpropLet,
      ElementKind::SpropSet, ElementKind::Sevent,   ElementKind::Sconstant,
      ElementKind::Svariable, ElementKind::Senum,   ElementKind::Stype};
  // A standard module's properties are not gathered under it; they come
  // with the remaining pages at the end.
  const std::vector<ElementKind> moduleMembers = {
      ElementKind::Smethod,  ElementKind::Sevent, ElementKind::Sconstant,
      ElementKind::Svariable, ElementKind::Senum, ElementKind::Stype};
  for (ModuleGroup group : {formGroup, objectGroup, stdModuleGroup}) {
    for (const auto& [label, module] : sorted) {
      if (!inGroup(*module, group)) continue;
      take(module, true);
      for (ElementKind kind :
           group == stdModuleGroup ? moduleMembers : objectMembers)
        for (const auto& [memberLabel, member] : sorted)
          if (member->kind() == kind && member->cmo == module->cmo &&
              remaining.count(member.get()))
            take(member, false);
    }
  }
  for (const auto& [label, element] : sorted)
    if (remaining.count(element.get())) take(element, true);
  return order;
}

CompileDriver::CompileDriver(store& elements, MacroEngine& engine,
                             const ProjectSettings& settings,
                             FileServices& files, std::string addinFolder)
    : elements_(elements),
      engine_(engine),
      settings_(settings),
      files_(files),
      progress_(files.progress),
      addinFolder_(withoutTrailingSeparator(std::move(addinFolder))),
      preparation_(elements, engine, settings),
      parser_(settings),
      summaryParser_(settings),
      pageContext_{elements_, engine_, settings_, parser_, preparation_} {}

std::string CompileDriver::outputFile(const std::string& folder,
                                      const std::string& name) {
  std::string base = withoutOneTrailingSeparator(folder);
  return base.empty() && folder.empty() ? name : base + "/" + name;
}

// Names come from project, module and member names and the template's
// extensions; one that would not stay a single file in the output folder
// (a bracketed member name "[../x]", say) is refused, and nothing is
// written under it.
std::string CompileDriver::file(const std::string& stem, const std::string& ext,
                                OutputNames::Use use) {
  std::string name = stem + ext;
  if (!isSafeOutputName(name)) {
    progress_.reportMessage("WARNING: \"" + name +
                            "\" is not written: that file name would leave "
                            "the output folder.");
    return "";
  }
  OutputNames& names = outputNames ? *outputNames : ownNames_;
  name = names.claim(outputFolder_, stem, ext, progress_, use);
  return outputFile(outputFolder_, name);
}

void CompileDriver::reserveLaterProjectFiles() {
  if (laterProjects_.empty()) return;
  OutputNames& names = outputNames ? *outputNames : ownNames_;
  const std::string exts[] = {ext("PROJECT-EXT"), ext("CONTENTS-EXT"),
                              ext("INDEX-EXT")};
  const std::string memberExt = ext("MEMBER-EXT");
  for (const std::string& project : laterProjects_) {
    for (const std::string& fileExt : exts)
      names.reserve(outputFolder_, project, fileExt, project);
    names.reserve(outputFolder_, project + "+title", memberExt, project);
  }
}

void CompileDriver::put(const std::string& path, std::string text,
                        bool append) {
  if (path.empty()) return;
  if (utf8Output_) text = toUtf8(text, settings_.codePage);
  output_->write(path, std::move(text), append);
}

std::string CompileDriver::ext(const char* name) {
  return engine_.evaluateMacro(name, false);
}

// Nothing after an abort is written or run: the model and the template are
// dropped at once.
bool CompileDriver::aborted() {
  if (!progress_.abortCheck()) return false;
  elements_.clearElements();
  elements_.compiledWrapper = nullptr;
  engine_.src.clear();
  return true;
}

bool CompileDriver::compile(VBE& vbe) {
  VBProject* project = vbe.ActiveVBProject();
  if (!project) return true;
  std::string projectName = project->Name();
  progress_.lastReportedMessage.clear();
  progress_.reportMessage("Project: " + projectName);
  progress_.ShowProgress("Analysing the project...", "");
  if (!prepare(vbe)) return false;
  setPathMacros(vbe);
  if (!writeOutput(projectName)) return false;
  runAfterCompile(vbe);
  return true;
}

bool CompileDriver::writeOutput(const std::string& projectName) {
  // Closed on every way out, an exception's too: what is queued then is
  // dropped rather than written after the compile has failed.
  struct Close {
    std::optional<OutputQueue>& output;
    ~Close() { output.reset(); }
  } close{output_};
  output_.emplace(files_);
  utf8Output_ = asksForUtf8(engine_.src);
  engine_.setMacroValue("OUTPUT-CHARSET",
                        charsetName(utf8Output_ ? 65001 : settings_.codePage));
  bool done = ext("SPLIT") == "0" ? compileSingle(projectName)
                                  : compileSplit(projectName);
  output_->finish();
  filesWritten_ += output_->filesWritten();
  return done && !aborted();
}

bool CompileDriver::prepare(VBE&) {
  engine_.resetEngineState();
  engine_.getPropsList = [this](const Element& m) {
    return preparation_.getPropsList(m);
  };
  engine_.getMethodsList = [this](const Element& m) {
    return preparation_.getMethodsList(m);
  };
  engine_.getEventsList = [this](const Element& m) {
    return preparation_.getEventsList(m);
  };
  engine_.getEnumsList = [this](const Element& m) {
    return preparation_.getEnumsList(m);
  };
  engine_.getTypesList = [this](const Element& m) {
    return preparation_.getTypesList(m);
  };
  engine_.hasPage = [this](const Element& e) {
    return pageWritten(e, settings_);
  };
  // Summaries cost a reading of every listed comment: only a template that
  // shows them pays for it.
  engine_.summaryOf = nullptr;
  if (templateMentions(engine_.src, "LIST-ITEM-SUMMARY"))
    engine_.summaryOf = [this](const Element& e) { return summaryOf(e); };
  ProjectLoader loader(elements_, settings_, progress_, [this](Element& e) {
    return generateComment(e, settings_);
  });
  // Enums and types join the pages, lists and links only where the
  // template has pages for them: a template without those sections writes
  // what it wrote before they were documented.
  loader.documentEnums = engine_.src.contains("scriv-enum-body");
  loader.documentTypes = engine_.src.contains("scriv-type-body");
  loader.loadProject();

  if (aborted()) return false;
  preparation_.makeSamePropsFirst();
  if (aborted()) return false;
  preparation_.resolveSameLinks();
  if (aborted()) return false;
  preparation_.makeSameProps();
  if (aborted()) return false;
  preparation_.resolveLinkTable();
  preparation_.syncComments();

  markNeedsModuleName(elements_, preparation_);
  pageIndex_ = preparation_.makeIndex();
  engine_.setMacroValue("INDEX-LINK-LIST",
                        makeList(preparation_.makeIndexList(pageIndex_)));
  preparation_.makeContents(pageIndex_);
  return true;
}

// Elements that share a comment share its summary, which is read once.
std::string CompileDriver::summaryOf(const Element& element) {
  const void* key = preparation_.commentKey(element);
  auto found = summaries_.find(key);
  if (found != summaries_.end()) return found->second;
  std::string summary;
  try {
    summaryParser_.readComment(element.comment);
    summary = firstSentence(summaryParser_.getDescription());
  } catch (const std::exception&) {
  }
  return summaries_.emplace(key, std::move(summary)).first->second;
}

void CompileDriver::setPathMacros(VBE& vbe) {
  outputFolder_ = settings_.outputPath;
  engine_.setMacroValue("SCRIV-PATH", doubledDollars(addinFolder_));
  engine_.setMacroValue(
      "TEMPLATE-PATH",
      doubledDollars(withoutOneTrailingSeparator(settings_.templateFolder)));
  engine_.setMacroValue(
      "OUTPUT-PATH",
      doubledDollars(withoutOneTrailingSeparator(settings_.outputPath)));
  engine_.setMacroValue("TITLE-PAGE-TEXT", settings_.titlePageText);
  engine_.setMacroValue("HELP-COMPILER", doubledDollars(helpCompiler));

  MacroList projects;
  laterProjects_.clear();
  if (progress_.compileGroup) {
    try {
      bool later = false;
      for (VBProject* project : vbe.VBProjects()) {
        projects.push_back('"' + project->Name() + '\r');
        if (later && !project->VBComponents().empty())
          laterProjects_.push_back(project->Name());
        later = later || project == vbe.ActiveVBProject();
      }
    } catch (const std::exception&) {
    }
  }
  engine_.setMacroValue("GROUP-PROJECTS-LIST", makeList(std::move(projects)));
}

// Writes the expansion of `section`; false when the compile must stop.
bool CompileDriver::writeSection(const std::string& status,
                                 const std::string& path,
                                 const std::string& section, bool append) {
  progress_.ShowProgress(status, "");
  put(path, engine_.evaluateMacro(section, false), append);
  return !aborted();
}

bool CompileDriver::moduleEnabled(const Element& module) const {
  return modulePageWritten(componentType(module), settings_);
}

std::string CompileDriver::compilePage(const std::shared_ptr<Element>& element) {
  elements_.compiledWrapper = element;
  return scrivlet::compile(*element, pageContext_);
}

void CompileDriver::writePage(const std::shared_ptr<Element>& element,
                              const std::string& path, bool append) {
  std::string text;
  try {
    if (isMember(*element)) {
      progress_.ShowProgress(element->moduleName(), element->name());
    } else {
      progress_.ShowProgress(element->moduleName(), "");
      if (!moduleEnabled(*element)) return;
    }
    text = compilePage(element);
  } catch (const std::exception&) {
    // A page whose comment cannot be read is left out; the others go on.
    return;
  }
  put(path, std::move(text), append);
}

std::vector<std::pair<std::shared_ptr<Element>, std::string>>
CompileDriver::namePages() {
  const std::string memberExt = ext("MEMBER-EXT");
  pageContext_.memberExt = memberExt;
  std::vector<std::pair<std::shared_ptr<Element>, std::string>> pages;
  pages.reserve(pageIndex_.size());
  for (const auto& entry : pageIndex_) {
    const std::shared_ptr<Element>& element = entry.item;
    const bool member = isMember(*element);
    // A module without a page takes no name from the pages after it.
    if (!member && !moduleEnabled(*element)) {
      pages.emplace_back(element, "");
      continue;
    }
    std::string stem = member ? element->moduleName() + "-" + element->name()
                              : element->moduleName();
    std::string path = file(stem, memberExt);
    std::string_view given = path;
    given.remove_prefix(std::min(given.size(), path.rfind('/') + 1));
    if (!path.empty() && given.size() != stem.size() + memberExt.size()) {
      element->pageFile = std::string(given);
      if (!member) pageContext_.modulePageFiles[element->cmo] = element->pageFile;
    }
    pages.emplace_back(element, std::move(path));
  }
  return pages;
}

bool CompileDriver::compileSplit(const std::string& projectName) {
  if (progress_.compileGroup) {
    if (!writeSection("group's project file...",
                      file("Group+", ext("PROJECT-EXT"), OutputNames::Use::shared),
                      "scriv-group-project-body", false))
      return false;
    if (!writeSection("group's contents...",
                      file("Group+", ext("CONTENTS-EXT"), OutputNames::Use::shared),
                      "scriv-group-contents-body", false))
      return false;
  }
  engine_.setMacroValue("PROJECT-NAME", projectName);
  const auto own = OutputNames::Use::projectFile;
  const std::string projectFile = file(projectName, ext("PROJECT-EXT"), own);
  const std::string contentsFile =
      file(projectName, ext("CONTENTS-EXT"), own);
  const std::string indexFile = file(projectName, ext("INDEX-EXT"), own);
  const std::string titleFile =
      file(projectName + "+title", ext("MEMBER-EXT"), own);
  reserveLaterProjectFiles();
  // Also a copy of the page index: an abort clears the collections while
  // the loop below walks them.
  const auto pages = namePages();
  if (!writeSection("project file...", projectFile, "scriv-project-body",
                    false) ||
      !writeSection("contents...", contentsFile, "scriv-contents-body",
                    false) ||
      !writeSection("index...", indexFile, "scriv-index-body", false) ||
      !writeSection("title page...", titleFile, "scriv-title-body", false))
    return false;

  for (const auto& [element, path] : pages) {
    if (aborted()) return false;
    writePage(element, path, false);
  }
  return true;
}

bool CompileDriver::compileSingle(const std::string& projectName) {
  pageContext_.memberExt = ext("MEMBER-EXT");
  if (progress_.compileGroup) {
    std::string groupFile = file("Group+", ext("PROJECT-EXT"), OutputNames::Use::shared);
    if (!writeSection("group's project file...", groupFile,
                      "scriv-group-project-body", false) ||
        !writeSection("group's contents...", groupFile,
                      "scriv-group-contents-body", true))
      return false;
  }
  engine_.setMacroValue("PROJECT-NAME", projectName);
  std::string path =
      file(projectName,
           ext(progress_.compileGroup ? "PROJECT-EXT" : "MEMBER-EXT"),
           OutputNames::Use::projectFile);
  if (!writeSection("project file...", path, "scriv-project-body", false) ||
      !writeSection("title page...", path, "scriv-title-body", true))
    return false;
  progress_.ShowProgress("contents...", "");
  preparation_.makeContents(pageIndex_);
  put(path, engine_.evaluateMacro("scriv-contents-body", false), true);
  if (aborted()) return false;

  MacroList indexList = preparation_.makeIndexList(pageIndex_);
  for (const OrderedPage& page : singleFileOrder(pageIndex_, indexList)) {
    if (page.checkFirst && aborted()) return false;
    writePage(page.element, path, true);
  }

  engine_.setMacroValue("INDEX-LINK-LIST", makeList(std::move(indexList)));
  return writeSection("index...", path, "scriv-index-body", true);
}

void CompileDriver::runAfterCompile(VBE& vbe) {
  progress_.ShowProgress("external programs...", "");
  // A template without the section has nothing to run: its name, which is
  // what an undefined macro expands to, must not reach the shell.
  if (!engine_.src.contains("scriv-exec-after")) {
    setHelpFile(vbe);
    return;
  }
  ShellEnvironment environment;
  const std::string commands =
      engine_.evaluateForShell("scriv-exec-after", environment);
  // Blank lines run nothing, so there is nothing to trust.
  const bool blank =
      commands.find_first_not_of(" \r\n") == std::string::npos;
  if (blank || !mayRunCommands || mayRunCommands()) {
    ExecAfterServices services = execAfter;
    if (!services.writeTextFile)
      services.writeTextFile = [this](const std::string& path,
                                      const std::string& text) {
        return writeTextFile(files_, path, text, false);
      };
    runExecAfter(commands, settings_.outputPath, progress_, services,
                 environment);
  }
  setHelpFile(vbe);
}

void CompileDriver::setHelpFile(VBE& vbe) {
  // Without the section the project keeps its help file.
  if (!settings_.comContextID || !engine_.src.contains("scriv-help-file"))
    return;
  try {
    if (VBProject* project = vbe.ActiveVBProject())
      project->setHelpFile(engine_.evaluateMacro("scriv-help-file", false));
  } catch (const std::exception&) {
  }
}

}  // namespace scrivlet
