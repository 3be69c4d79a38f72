#include "comments/comment_update.h"

#include <algorithm>

#include "base/text.h"
#include "comments/comment_editor_model.h"
#include "comments/comment_line_edit.h"
#include "source/source_lines.h"

namespace scrivlet {

namespace {

// What the editor's Update makes of the element's parameters and return
// text, lines joined by CR.
ParamDocumentation updatedDocumentation(CommentEditorModel& editor) {
  editor.update();
  ParamDocumentation updated;
  for (const EditorParam& p : editor.params)
    updated.params.push_back({p.name, replaceAll(p.description, "\r\n", "\r")});
  updated.returnText = replaceAll(editor.returnText, "\r\n", "\r");
  return updated;
}

// The editor must open on the comment as it is, to see what Update does,
// and show every line break as it stands. It reads comments verbatim and
// hands out no help numbers anyway; saying so up front spares it a copy
// of the settings for every element.
ProjectSettings unattended(ProjectSettings settings) {
  settings.autoUpdateParams = 0;
  settings.autoInsertEOL = 0;
  settings.indentMode = 0;
  settings.comContextID = false;
  return settings;
}

// The update of one element with settings already made unattended, which
// the editor reads live: a module's elements share one copy.
CommentUpdate updateComment(const std::shared_ptr<Element>& element,
                            ProjectSettings& working, bool write) {
  const ProjectSettings& settings = working;
  CommentUpdate result;
  if (!element || !element->isProcedure()) return result;
  CommentEditorModel editor(working);
  editor.openElement(element);
  long start = 0, end = 0;
  if (!editor.hadComment || !getCommentRange(*element, start, end)) {
    result.outcome = UpdateOutcome::noComment;
    return result;
  }
  CodeModule& module = *element->cmo;
  std::vector<std::string> block;
  for (long n = start; n <= end; ++n) block.push_back(module.Lines(n, 1));
  CommentLineEdit edit =
      editParamDocumentation(block, updatedDocumentation(editor),
                             settings.addParam, settings.addReturn, settings);
  if (!edit.kept.empty()) {
    result.outcome = UpdateOutcome::leftAlone;
    for (const CommentLineEdit::Kept& kept : edit.kept)
      result.kept.emplace_back(kept.name, start + static_cast<long>(kept.line));
    return result;
  }
  if (!edit.changed) {
    result.outcome = UpdateOutcome::upToDate;
    return result;
  }
  // Only the lines that differ are replaced: the others keep their bytes,
  // line ends included.
  std::size_t same = 0, sameAtEnd = 0;
  std::size_t shorter = std::min(block.size(), edit.lines.size());
  while (same < shorter && block[same] == edit.lines[same]) ++same;
  while (sameAtEnd < shorter - same &&
         block[block.size() - 1 - sameAtEnd] ==
             edit.lines[edit.lines.size() - 1 - sameAtEnd])
    ++sameAtEnd;
  result.outcome = UpdateOutcome::updated;
  result.start = start + static_cast<long>(same);
  result.oldLines.assign(block.begin() + static_cast<long>(same),
                         block.end() - static_cast<long>(sameAtEnd));
  result.newLines.assign(edit.lines.begin() + static_cast<long>(same),
                         edit.lines.end() - static_cast<long>(sameAtEnd));
  if (write) applyCommentUpdate(module, result);
  return result;
}

}  // namespace

CommentUpdate updateElementComment(const std::shared_ptr<Element>& element,
                                   const ProjectSettings& settings, bool write) {
  ProjectSettings working = unattended(settings);
  return updateComment(element, working, write);
}

void applyCommentUpdate(CodeModule& module, const CommentUpdate& update) {
  if (update.outcome != UpdateOutcome::updated) return;
  if (!update.oldLines.empty())
    module.DeleteLines(update.start, static_cast<long>(update.oldLines.size()));
  if (!update.newLines.empty())
    module.InsertLines(update.start, join(update.newLines, "\r"));
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

ModuleCommentUpdater::ModuleCommentUpdater(const ProjectSettings& settings)
    : working_(unattended(settings)) {}

void ModuleCommentUpdater::update(CodeModule& module,
                                  CommentUpdateListener& listener) {
  std::vector<std::shared_ptr<Element>> elements = procedureElements(module);
  std::stable_sort(elements.begin(), elements.end(),
                   [](const auto& a, const auto& b) {
                     return a->CodeLocation() < b->CodeLocation();
                   });
  for (const auto& element : elements) {
    try {
      CommentUpdate update = updateComment(element, working_, false);
      if (update.outcome != UpdateOutcome::updated &&
          update.outcome != UpdateOutcome::leftAlone)
        continue;
      listener.beforeEdit(*element, update);
      applyCommentUpdate(module, update);
      listener.afterEdit(*element, update);
    } catch (const std::exception& e) {
      listener.failed(*element, e);
    }
  }
}

}  // namespace scrivlet
