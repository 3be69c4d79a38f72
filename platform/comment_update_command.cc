#include "platform/comment_update_command.h"

#include <algorithm>
#include <iostream>

#include "comments/comment_editor_model.h"
#include "platform/cli_support.h"
#include "platform/disk_code_module.h"
#include "platform/disk_module_text.h"
#include "platform/disk_vbe.h"
#include "platform/module_target.h"
#include "source/source_lines.h"
#include "source/text.h"

namespace scrivlet {

namespace {

// How the file's lines fall apart: the header, then each visible line
// followed by the attribute lines under it.
struct FileLayout {
  long header = 0;
  std::vector<long> hiddenAfter;  // per visible line
};

FileLayout layoutOf(std::string_view bytes) {
  DiskModuleText text(bytes);
  FileLayout layout;
  long hidden = 0;
  for (long n = 1; n <= text.lineCount(); ++n) {
    auto count = static_cast<long>(text.hiddenAfter(n).size());
    layout.hiddenAfter.push_back(count);
    hidden += count;
  }
  layout.header = static_cast<long>(splitRawLines(bytes).size()) -
                  text.lineCount() - hidden;
  return layout;
}

std::vector<std::string> blockAsWritten(const CodeModule& module, long line,
                                        const std::vector<std::string>& lines) {
  std::string declaration = module.Lines(line, 1);
  std::string indent(declaration.size() - leftTrim(declaration).size(), ' ');
  std::vector<std::string> block{indent + "'**"};
  for (const std::string& text : lines) block.push_back(indent + "'" + text);
  return block;
}

std::string location(const DiskCodeModule& module, const Element& element) {
  long line = fileLineOfVisibleLine(module.toBytes(), element.CodeLocation());
  return module.filePath() + ":" + std::to_string(line);
}

void report(std::ostream& out, const DiskCodeModule& module,
            const Element& element, const CommentUpdate& update,
            bool dryRun) {
  out << location(module, element) << ": " << element.canonicalLink()
      << ": parameters updated\n";
  if (dryRun)
    for (const std::string& line : update.block) out << line << '\n';
}

bool saveAll(ModuleTarget& target, std::ostream& err) {
  std::vector<std::string> errors = target.save();
  for (const std::string& e : errors) err << "scrivlet: " << e << '\n';
  return errors.empty();
}

int updateOne(const CommentUpdateRequest& request, std::ostream& out,
              std::ostream& err) {
  std::string file;
  long fileLine = 0;
  if (!splitFileLine(request.target, file, fileLine)) {
    err << "scrivlet: expected FILE:LINE, got \"" << request.target << "\"\n";
    return 2;
  }
  ModuleTarget target;
  std::string error;
  if (!openModuleTarget(file, request.project, target, error)) {
    err << "scrivlet: " << error << '\n';
    return 1;
  }
  DiskCodeModule& module = *target.module;
  long line = visibleLineOfFile(module, fileLine, error);
  if (line == 0) {
    err << "scrivlet: " << file << ": " << error << '\n';
    return 2;
  }
  std::shared_ptr<Element> element = elementAtLine(module, line);
  CommentUpdate update =
      updateElementComment(element, target.settings, !request.dryRun);
  switch (update.outcome) {
    case UpdateOutcome::notAProcedure:
      err << "scrivlet: " << request.target << ": " << element->canonicalLink()
          << " has no parameters to update\n";
      return 1;
    case UpdateOutcome::noComment:
      err << "scrivlet: " << request.target << ": " << element->canonicalLink()
          << " has no documentation comment\n";
      return 1;
    case UpdateOutcome::upToDate:
      out << location(module, *element) << ": " << element->canonicalLink()
          << ": up to date\n";
      return 0;
    case UpdateOutcome::updated:
      break;
  }
  if (!request.dryRun && !saveAll(target, err)) return 1;
  report(out, module, *element, update, request.dryRun);
  return 0;
}

int updateProject(const CommentUpdateRequest& request, std::ostream& out,
                  std::ostream& err) {
  std::string error;
  std::unique_ptr<DiskVBE> vbe = openProjectOrGroup(request.target, error);
  if (!vbe) {
    err << "scrivlet: " << error << '\n';
    return 1;
  }
  for (const std::string& message : vbe->loadMessages)
    err << "scrivlet: " << message << '\n';
  int result = 0;
  for (const auto& project : vbe->projects()) {
    vbe->setActiveVBProject(project.get());
    ProjectSettings settings;
    loadSettingsForActiveProject(*vbe, settings);
    for (const auto& component : project->components()) {
      DiskCodeModule* module = component->diskCodeModule();
      if (!module) continue;
      // From the top down, so that a block that grows or shrinks moves only
      // lines that are still to come and every reported line stays true.
      std::vector<std::shared_ptr<Element>> elements =
          procedureElements(*module);
      std::stable_sort(elements.begin(), elements.end(),
                       [](const auto& a, const auto& b) {
                         return a->CodeLocation() < b->CodeLocation();
                       });
      for (const auto& element : elements) {
        CommentUpdate update;
        try {
          update = updateElementComment(element, settings, !request.dryRun);
        } catch (const std::exception& e) {
          err << "scrivlet: " << element->canonicalLink() << ": " << e.what()
              << '\n';
          result = 1;
          continue;
        }
        if (update.outcome == UpdateOutcome::updated)
          report(out, *module, *element, update, request.dryRun);
      }
    }
  }
  if (!request.dryRun) {
    for (const std::string& e : vbe->saveChanged()) {
      err << "scrivlet: " << e << '\n';
      result = 1;
    }
  }
  return result;
}

}  // namespace

long fileLineOfVisibleLine(std::string_view bytes, long visibleLine) {
  FileLayout layout = layoutOf(bytes);
  if (visibleLine < 1 ||
      visibleLine > static_cast<long>(layout.hiddenAfter.size()))
    return -1;
  long line = layout.header + visibleLine;
  for (long n = 1; n < visibleLine; ++n)
    line += layout.hiddenAfter[static_cast<std::size_t>(n - 1)];
  return line;
}

CommentUpdate updateElementComment(const std::shared_ptr<Element>& element,
                                   const ProjectSettings& settings, bool write) {
  CommentUpdate result;
  if (!element || !element->isProcedure()) return result;
  // The editor must open on the comment as it is, to see what Update does.
  ProjectSettings working = settings;
  working.autoUpdateParams = 0;
  CommentEditorModel editor(working);
  editor.openElement(element);
  if (!editor.hadComment) {
    result.outcome = UpdateOutcome::noComment;
    return result;
  }
  std::vector<std::string> before = editor.composeComment();
  std::vector<EditorParam> params = editor.params;
  std::array<SettingsGroup, 3> groups = editor.settingsGroups;
  std::string returnText = editor.returnText;
  editor.update();
  if (!settings.addParam) {
    editor.params = params;
    editor.settingsGroups = groups;
  }
  if (!settings.addReturn) editor.returnText = returnText;
  const std::vector<std::string>& after = editor.composeComment();
  if (after == before) {
    result.outcome = UpdateOutcome::upToDate;
    return result;
  }
  result.outcome = UpdateOutcome::updated;
  CodeModule& module = *element->cmo;
  result.block =
      blockAsWritten(module, element->CodeLocation(), editor.workingLines);
  if (!write) return result;
  long start = 0, end = 0;
  if (!getCommentRange(*element, start, end)) {
    result.outcome = UpdateOutcome::noComment;
    return result;
  }
  // The new block takes the old one's place: blank lines between the block
  // and the declaration stay where they were, so that nothing but the
  // comment itself changes.
  module.DeleteLines(start, end - start + 1);
  module.InsertLines(start, join(result.block, "\r"));
  return result;
}

std::vector<std::shared_ptr<Element>> procedureElements(CodeModule& module) {
  static constexpr ElementKind kPropertyKinds[] = {
      ElementKind::SpropLet, ElementKind::SpropSet, ElementKind::SpropGet};
  static constexpr int kProcKinds[] = {vbext_pk_Let, vbext_pk_Set,
                                       vbext_pk_Get};
  std::vector<std::shared_ptr<Element>> elements;
  for (const std::shared_ptr<Member>& member : module.Members()) {
    if (member->Type() == vbext_mt_Property) {
      for (std::size_t i = 0; i < 3; ++i) {
        try {
          module.ProcBodyLine(member->Name(), kProcKinds[i]);
        } catch (const std::exception&) {
          continue;
        }
        std::shared_ptr<Element> element = makeElement(kPropertyKinds[i]);
        element->member = member;
        element->cmo = &module;
        elements.push_back(element);
      }
    } else if (member->Type() == vbext_mt_Method ||
               member->Type() == vbext_mt_Event) {
      std::shared_ptr<Element> element = elementForMember(module, member);
      if (element) elements.push_back(element);
    }
  }
  return elements;
}

int runCommentUpdate(const CommentUpdateRequest& request, std::ostream& out,
                     std::ostream& err) {
  try {
    return request.all ? updateProject(request, out, err)
                       : updateOne(request, out, err);
  } catch (const std::exception& e) {
    err << "scrivlet: " << e.what() << '\n';
    return 1;
  }
}

}  // namespace scrivlet
