#include "cli/comment_update_command.h"

#include <algorithm>
#include <iostream>
#include <optional>

#include "base/text.h"
#include "cli/cli_support.h"
#include "cli/module_target.h"
#include "platform/disk_code_module.h"
#include "platform/disk_module_text.h"
#include "platform/disk_vbe.h"
#include "source/source_lines.h"

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

// One module file while its comments are updated: its lines as they were,
// the edits made so far (top down), and where its visible lines stand in
// the file. Comment blocks hold no attribute lines, so an edit moves the
// file lines under it as far as the visible ones.
class FileEdits {
 public:
  // `written`: whether the lines are to be named as the updated file
  // numbers them, else as the file on disk, which stays as it was.
  FileEdits(std::string path, const std::string& bytes, bool written)
      : path_(std::move(path)), written_(written) {
    for (DiskRawLine& line : splitRawLines(bytes))
      original_.push_back(std::move(line.text));
    FileLayout layout = layoutOf(bytes);
    long line = layout.header;
    for (long hidden : layout.hiddenAfter) {
      fileLine_.push_back(++line);
      line += hidden;
    }
  }

  // "path:12": where what is now visible line `line` stands.
  std::string location(long line) const {
    long fileLine = fileLineOf(line - shift_) + (written_ ? shift_ : 0);
    return path_ + ":" + std::to_string(fileLine);
  }
  void add(const CommentUpdate& update) {
    edits_.push_back(
        {fileLineOf(update.start - shift_), update.oldLines, update.newLines});
    shift_ += static_cast<long>(update.newLines.size()) -
              static_cast<long>(update.oldLines.size());
  }
  bool empty() const { return edits_.empty(); }
  void printDiff(std::ostream& out) const;

 private:
  struct Edit {
    long line;  // in the original file
    std::vector<std::string> oldLines;
    std::vector<std::string> newLines;
  };
  long fileLineOf(long originalLine) const {
    if (originalLine >= 1 && originalLine <= static_cast<long>(fileLine_.size()))
      return fileLine_[static_cast<std::size_t>(originalLine - 1)];
    return static_cast<long>(original_.size()) + 1;
  }

  std::string path_;
  bool written_;
  std::vector<std::string> original_;
  std::vector<long> fileLine_;
  std::vector<Edit> edits_;
  long shift_ = 0;
};

// A unified diff with three lines of context; edits whose context touches
// share a hunk.
void FileEdits::printDiff(std::ostream& out) const {
  constexpr long kContext = 3;
  auto oldCount = [](const Edit& e) { return static_cast<long>(e.oldLines.size()); };
  auto newCount = [](const Edit& e) { return static_cast<long>(e.newLines.size()); };
  auto lineCount = static_cast<long>(original_.size());
  out << "--- " << path_ << "\n+++ " << path_ << '\n';
  long shift = 0;
  for (std::size_t first = 0; first < edits_.size();) {
    std::size_t last = first;
    while (last + 1 < edits_.size() &&
           edits_[last + 1].line - (edits_[last].line + oldCount(edits_[last])) <=
               2 * kContext)
      ++last;
    long from = std::max(1L, edits_[first].line - kContext);
    long to = std::min(lineCount,
                       edits_[last].line + oldCount(edits_[last]) - 1 + kContext);
    long grows = 0;
    for (std::size_t e = first; e <= last; ++e)
      grows += newCount(edits_[e]) - oldCount(edits_[e]);
    long count = to - from + 1;
    out << "@@ -" << from << ',' << count << " +" << from + shift << ','
        << count + grows << " @@\n";
    std::size_t e = first;
    long line = from;
    while (line <= to || (e <= last && edits_[e].line == line)) {
      if (e <= last && edits_[e].line == line) {
        for (const std::string& l : edits_[e].oldLines) out << '-' << l << '\n';
        for (const std::string& l : edits_[e].newLines) out << '+' << l << '\n';
        line += oldCount(edits_[e++]);
      } else {
        out << ' ' << original_[static_cast<std::size_t>(line++ - 1)] << '\n';
      }
    }
    shift += grows;
    first = last + 1;
  }
}

}  // namespace

namespace {

std::string whyLeftAlone(const std::string& name) {
  if (name == "@return")
    return "the declaration returns nothing; the \"@return\" text would be lost";
  return "no parameter \"" + name +
         "\" in the declaration; its description would be lost";
}

// What a run prints: per changed block its place, per block left alone
// its reason, and at the end the count; or, for a dry run, the diff.
class Report {
 public:
  Report(const CommentUpdateRequest& request, std::ostream& out,
         std::ostream& err)
      : request_(request), out_(out), err_(err) {}

  // Call after the update's edit has been made.
  void element(const FileEdits& file, const Element& element,
               const CommentUpdate& update) {
    std::string link = element.canonicalLink();
    if (update.outcome == UpdateOutcome::updated) {
      ++updated_;
      if (request_.dryRun) return;
      out_ << file.location(element.CodeLocation()) << ": " << link
           << (request_.check ? ": out of date\n" : "\n");
    } else if (update.outcome == UpdateOutcome::leftAlone) {
      ++leftAlone_;
      for (const auto& [name, line] : update.kept)
        notes() << file.location(line) << ": " << link
                << ": left unchanged: " << whyLeftAlone(name) << '\n';
    }
  }
  void summary() {
    notes() << updated_ << (updated_ == 1 ? " comment " : " comments ")
            << (request_.check ? "out of date" : request_.dryRun ? "to update"
                                                                  : "updated");
    if (leftAlone_ > 0) notes() << ", " << leftAlone_ << " left unchanged";
    // The lines above named blocks that were to be written: a file that
    // could not be must not pass for updated.
    if (unwritten_ > 0)
      notes() << "; but " << unwritten_
              << (unwritten_ == 1 ? " file was" : " files were")
              << " not written, and the comments in "
              << (unwritten_ == 1 ? "it are" : "them are") << " unchanged";
    notes() << '\n';
  }
  void unwritten(int files) { unwritten_ += files; }
  bool outOfDate() const { return updated_ + leftAlone_ > 0; }

 private:
  // A dry run's standard output is the diff alone, so that it can be
  // applied as a patch.
  std::ostream& notes() { return request_.dryRun ? err_ : out_; }

  const CommentUpdateRequest& request_;
  std::ostream& out_;
  std::ostream& err_;
  int updated_ = 0;
  int unwritten_ = 0;
  int leftAlone_ = 0;
};

bool saveAll(ModuleTarget& target, std::ostream& err) {
  std::vector<std::string> errors = target.save();
  for (const std::string& e : errors) err << "scrivlet: " << e << '\n';
  return errors.empty();
}

bool writes(const CommentUpdateRequest& request) {
  return !request.dryRun && !request.check;
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
  FileEdits edits(module.filePath(), module.toBytes(), writes(request));
  CommentUpdate update = updateElementComment(element, target.settings, false);
  Report report(request, out, err);
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
      out << edits.location(element->CodeLocation()) << ": "
          << element->canonicalLink() << ": up to date\n";
      return 0;
    case UpdateOutcome::leftAlone:
      report.element(edits, *element, update);
      return 1;
    case UpdateOutcome::updated:
      break;
  }
  edits.add(update);
  applyCommentUpdate(module, update);
  if (writes(request) && !saveAll(target, err)) return 1;
  report.element(edits, *element, update);
  if (request.dryRun) edits.printDiff(out);
  return request.check ? 1 : 0;
}

// Collects the module's edits and reports each changed block; the file's
// layout is read only when the first edit comes, as most modules need none.
class ModuleReport : public CommentUpdateListener {
 public:
  ModuleReport(DiskCodeModule& module, const CommentUpdateRequest& request,
               Report& report, std::ostream& err)
      : module_(module), request_(request), report_(report), err_(err) {}

  void beforeEdit(const Element&, const CommentUpdate& update) override {
    if (!edits)
      edits.emplace(module_.filePath(), module_.toBytes(), writes(request_));
    if (update.outcome == UpdateOutcome::updated) edits->add(update);
  }
  void afterEdit(const Element& element, const CommentUpdate& update) override {
    report_.element(*edits, element, update);
  }
  void failed(const Element& element, const std::exception& e) override {
    err_ << "scrivlet: " << element.canonicalLink() << ": " << e.what()
         << '\n';
    result = 1;
  }

  std::optional<FileEdits> edits;
  int result = 0;

 private:
  DiskCodeModule& module_;
  const CommentUpdateRequest& request_;
  Report& report_;
  std::ostream& err_;
};

int updateModule(DiskCodeModule& module, ModuleCommentUpdater& updater,
                 const CommentUpdateRequest& request, Report& report,
                 std::ostream& out, std::ostream& err) {
  ModuleReport moduleReport(module, request, report, err);
  updater.update(module, moduleReport);
  if (request.dryRun && moduleReport.edits && !moduleReport.edits->empty())
    moduleReport.edits->printDiff(out);
  return moduleReport.result;
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
  Report report(request, out, err);
  for (const auto& project : vbe->projects()) {
    vbe->setActiveVBProject(project.get());
    ProjectSettings settings;
    loadSettingsForActiveProject(*vbe, settings);
    ModuleCommentUpdater updater(settings);
    for (const auto& component : project->components())
      if (DiskCodeModule* module = component->diskCodeModule())
        result |= updateModule(*module, updater, request, report, out, err);
  }
  if (writes(request)) {
    const std::vector<std::string> failed = vbe->saveChanged();
    for (const std::string& e : failed) err << "scrivlet: " << e << '\n';
    if (!failed.empty()) result = 1;
    report.unwritten(static_cast<int>(failed.size()));
  }
  report.summary();
  if (request.check && report.outOfDate()) result = 1;
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
