#include "comments/comment_line_edit.h"

#include <optional>

#include "base/text.h"
#include "comments/comment_parser.h"
#include "comments/word_wrapper.h"

namespace scrivlet {

namespace {

constexpr const char* kParamTag = "@param        ";
constexpr const char* kReturnTag = "@return       ";

// A source line as the parser receives it: trimmed, one apostrophe off.
std::string commentText(const std::string& source) {
  std::string line = trim(source);
  if (startsWith(line, "'")) line.erase(0, 1);
  return line;
}

// A tag line with its continuation lines: block lines [start, end). The
// value's lines as the parser reads them end with the run; a parameter
// whose line holds only its name has one value line fewer.
struct Run {
  std::size_t start = 0;
  std::size_t end = 0;
  std::string name;
  std::vector<std::string> text;
  bool used = false;

  std::size_t blockLineOf(std::size_t textLine) const {
    return end - text.size() + textLine;
  }
  std::string value() const { return join(text, std::string(1, CR)); }
};

// Line breaks, with the blanks around them, count as one blank: wrapping
// changes nothing that a reader of the text sees.
std::string foldedLineBreaks(const std::string& s) {
  std::string folded;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t j = i;
    bool lineBreak = false;
    while (j < s.size() && (s[j] == ' ' || s[j] == CR)) lineBreak |= s[j++] == CR;
    if (lineBreak) {
      folded += ' ';
      i = j;
    } else {
      folded += s[i++];
    }
  }
  return folded;
}

class BlockEditor {
 public:
  BlockEditor(const std::vector<std::string>& block,
              const ProjectSettings& settings)
      : block_(block), settings_(settings), tags_(settings),
        before_(block.size() + 1), dropped_(block.size(), false) {
    const std::string& opener = block.front();
    indent_ = opener.substr(0, opener.size() - leftTrim(opener).size());
    tags_.setComment({});
    readRuns();
  }

  bool editParams(const std::vector<ParamEntry>& updated,
                  std::vector<CommentLineEdit::Kept>& kept);
  bool editReturn(const std::string& updated,
                  std::vector<CommentLineEdit::Kept>& kept);
  std::vector<std::string> result() const;

 private:
  bool isTag(std::size_t line) const {
    return tags_.isTagLine(trimmedView(texts_[line]));
  }
  void readRuns();
  Run* findRun(const std::string& name);
  std::vector<std::string> rendered(const std::string& tag,
                                    const std::vector<std::string>& text,
                                    const Run* old) const;
  std::vector<std::string> wrapped(const std::string& line) const;
  void drop(const Run& run) {
    for (std::size_t n = run.start; n < run.end; ++n) dropped_[n] = true;
  }
  void insert(std::size_t at, const std::vector<std::string>& lines) {
    before_[at].insert(before_[at].end(), lines.begin(), lines.end());
  }
  std::vector<std::string> original(const Run& run) const {
    return {block_.begin() + static_cast<long>(run.start),
            block_.begin() + static_cast<long>(run.end)};
  }

  const std::vector<std::string>& block_;
  const ProjectSettings& settings_;
  CommentParser tags_;
  std::string indent_;
  std::vector<std::string> texts_;
  std::vector<Run> params_;
  Run return_;
  bool hasReturn_ = false;
  std::size_t firstTag_ = 0;
  // Where lines after the parameter lines go: a new "@return" line.
  std::size_t afterParams_ = 0;
  std::vector<std::vector<std::string>> before_;
  std::vector<bool> dropped_;
};

void BlockEditor::readRuns() {
  texts_.resize(block_.size());
  for (std::size_t n = 1; n < block_.size(); ++n) texts_[n] = commentText(block_[n]);
  firstTag_ = block_.size();
  // Values are read as they stand, whatever the indent mode.
  std::optional<ProjectSettings> verbatim;
  if (settings_.indentMode != 0) {
    verbatim = settings_;
    verbatim->indentMode = 0;
  }
  CommentParser value(verbatim ? *verbatim : settings_);
  for (std::size_t n = 1; n < block_.size(); ++n) {
    if (!isTag(n)) continue;
    if (firstTag_ == block_.size()) firstTag_ = n;
    std::string tag = trim(texts_[n]);
    bool param = startsWith(tag, "@param");
    if (!param && (hasReturn_ || !startsWith(tag, "@return"))) continue;
    Run run;
    run.start = n;
    run.end = n + 1;
    while (run.end < block_.size() && !isTag(run.end)) ++run.end;
    value.setComment({texts_.begin() + static_cast<long>(run.start),
                      texts_.begin() + static_cast<long>(run.end)});
    std::string text;
    if (param) {
      text = value.getParamList().front();
      run.name = text.substr(0, text.find(CR));
      text = text.substr(run.name.size() + 1);
      if (!text.empty()) text.pop_back();
    } else {
      text = value.getReturn();
    }
    run.text = split(text, std::string(1, CR));
    if (param) {
      params_.push_back(std::move(run));
    } else {
      return_ = std::move(run);
      hasReturn_ = true;
    }
  }
  afterParams_ = params_.empty() ? firstTag_ : params_.back().end;
}

// As the Update finds a parameter's entry: spelled alike first, else the
// first that names the same parameter.
Run* BlockEditor::findRun(const std::string& name) {
  for (Run& run : params_)
    if (run.name == name) return &run;
  for (Run& run : params_)
    if (isSameParameterName(run.name, name)) return &run;
  return nullptr;
}

std::vector<std::string> BlockEditor::wrapped(const std::string& line) const {
  if (settings_.wordWrapLength <= 0) return {line};
  std::vector<std::string> pieces =
      WordWrapper::getWrappedLine(line, settings_.wordWrapLength);
  // A piece that opened with a tag would be read back as that tag.
  for (std::size_t n = 1; n < pieces.size(); ++n)
    if (tags_.isTagLine(trimmedView(pieces[n]))) return {line};
  return pieces;
}

// The run in the skeleton's form. The old run's last lines stay as they
// are as long as the new text ends with them: the Update renews the
// sentences at the start of a text, never the user's lines under them.
std::vector<std::string> BlockEditor::rendered(
    const std::string& tag, const std::vector<std::string>& text,
    const Run* old) const {
  std::size_t same = 0;
  while (old && same + 1 < text.size() && same < old->text.size()) {
    std::size_t oldLine = old->text.size() - 1 - same;
    if (old->blockLineOf(oldLine) <= old->start ||
        old->text[oldLine] != text[text.size() - 1 - same])
      break;
    ++same;
  }
  std::vector<std::string> lines;
  for (std::size_t n = 0; n + same < text.size(); ++n) {
    std::string line = n == 0 ? tag + text[0] : text[n];
    for (std::string& piece : wrapped(rightTrim(line)))
      lines.push_back(indent_ + "'" + piece);
  }
  for (std::size_t n = old ? old->end - same : 0; old && n < old->end; ++n)
    lines.push_back(block_[n]);
  return lines;
}

bool BlockEditor::editParams(const std::vector<ParamEntry>& updated,
                             std::vector<CommentLineEdit::Kept>& kept) {
  std::vector<std::vector<std::string>> runs;
  bool inPlace = updated.size() == params_.size();
  for (std::size_t k = 0; k < updated.size(); ++k) {
    const ParamEntry& param = updated[k];
    Run* old = findRun(param.name);
    if (old) old->used = true;
    inPlace = inPlace && old == &params_[k];
    bool same = old && old->name == param.name &&
                foldedLineBreaks(old->value()) ==
                    foldedLineBreaks(param.description);
    runs.push_back(
        same ? original(*old)
             : rendered(kParamTag + param.name + " ",
                        split(param.description, std::string(1, CR)), old));
  }
  bool keeps = true;
  for (const Run& run : params_) {
    if (run.used || trim(userTextOf(run.value())).empty()) continue;
    kept.push_back({run.name, run.start});
    keeps = false;
  }
  if (!keeps) return false;

  for (const Run& run : params_) drop(run);
  if (inPlace) {
    for (std::size_t k = 0; k < runs.size(); ++k) insert(params_[k].start, runs[k]);
    return true;
  }
  afterParams_ = params_.empty() ? firstTag_ : params_.front().start;
  for (const std::vector<std::string>& run : runs) insert(afterParams_, run);
  return true;
}

bool BlockEditor::editReturn(const std::string& updated,
                             std::vector<CommentLineEdit::Kept>& kept) {
  if (updated.empty()) {
    if (!hasReturn_) return true;
    if (!trim(userTextOf(return_.value(), GeneratedTextKind::returnValue))
             .empty()) {
      kept.push_back({"@return", return_.start});
      return false;
    }
    drop(return_);
    return true;
  }
  if (hasReturn_ &&
      foldedLineBreaks(return_.value()) == foldedLineBreaks(updated))
    return true;
  std::vector<std::string> lines =
      rendered(kReturnTag, split(updated, std::string(1, CR)),
               hasReturn_ ? &return_ : nullptr);
  if (hasReturn_) drop(return_);
  insert(hasReturn_ ? return_.start : afterParams_, lines);
  return true;
}

std::vector<std::string> BlockEditor::result() const {
  std::vector<std::string> lines;
  for (std::size_t n = 0; n <= block_.size(); ++n) {
    lines.insert(lines.end(), before_[n].begin(), before_[n].end());
    if (n < block_.size() && !dropped_[n]) lines.push_back(block_[n]);
  }
  return lines;
}

}  // namespace

CommentLineEdit editParamDocumentation(const std::vector<std::string>& block,
                                       const ParamDocumentation& updated,
                                       bool editParams, bool editReturn,
                                       const ProjectSettings& settings) {
  CommentLineEdit edit;
  edit.lines = block;
  if (block.empty()) return edit;
  BlockEditor editor(block, settings);
  bool keeps = !editParams || editor.editParams(updated.params, edit.kept);
  keeps = (!editReturn || editor.editReturn(updated.returnText, edit.kept)) &&
          keeps;
  if (!keeps) return edit;
  edit.lines = editor.result();
  edit.changed = edit.lines != block;
  return edit;
}

}  // namespace scrivlet
