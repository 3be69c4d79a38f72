#include "compiler/macro_engine.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>
#include <unordered_set>
#include <stdexcept>
#include <utility>

#include "base/fold_table.h"
#include "base/text.h"
#include "compiler/macro_name.h"
#include "compiler/message_place.h"

namespace scrivlet {

namespace {

std::string dollarName(std::string_view name) {
  std::string out;
  out.reserve(name.size() + 2);
  out += '$';
  out += name;
  out += '$';
  return out;
}

// False when the sum does not fit, as the environment's Long overflows.
bool addCounter(std::int32_t& counter, std::int32_t delta) {
  std::int32_t result;
  if (__builtin_add_overflow(counter, delta, &result)) return false;
  counter = result;
  return true;
}

}  // namespace

MacroEngine::MacroEngine(store& elements, Progress& progress)
    : elements_(elements), progress_(progress), links_(elements, progress) {}

void MacroEngine::resetEngineState() {
  idCounter = 1;
  generalCounter = 1;
  replaceOn = false;
  linkTable.clear();
}

bool MacroEngine::isReadOnlyMacro(std::string_view name) {
  static const std::unordered_set<std::string_view> kReadOnly = {
      "SCRIV-PATH", "OUTPUT-PATH", "PROJECT-NAME", "TITLE-PAGE-TEXT",
      "NEXT-ID", "COUNTER", "RESET-COUNTER", "INC-COUNTER", "DEC-COUNTER",
      "SEE-LINK-LIST", "EXAMPLE-LINK-LIST", "APPLIES-LINK-LIST",
      "PROPS-LINK-LIST", "METHODS-LINK-LIST", "EVENTS-LINK-LIST",
      "INDEX-LINK-LIST", "CONT-FORMS-LINK-LIST", "CONT-OBJECTS-LINK-LIST",
      "CONT-STDMODULES-LINK-LIST", "CONT-METHODS-LINK-LIST",
      "CONT-FUNCTIONS-LINK-LIST", "CONT-PROPS-LINK-LIST",
      "CONT-EVENTS-LINK-LIST", "CONT-VARS-LINK-LIST",
      "CONT-CONSTANTS-LINK-LIST", "GROUP-PROJECTS-LIST", "PARAM-LIST",
      "SET01-LIST", "SET02-LIST", "SET03-LIST", "LIST-ITEM",
      "LIST-ITEM-NUMBER", "LIST-ITEM-LABEL", "LIST-ITEM-FIRST",
      "LIST-ITEM-LAST", "LIST-ITEM-LOCATION", "LIST-ITEM-FILE",
      "LIST-ITEM-HELPID", "LIST-ITEM-PARAM", "LIST-ITEM-CONSTANT",
      "LIST-ITEM-VALUE", "LIST-ITEM-SUMMARY", "MEMBER-NAME", "MEMBER-MODULE",
      "MEMBER-DESCRIPTION",
      "MEMBER-REMARKS", "MEMBER-RETURN", "MEMBER-NEEDS-MODULE",
      "MEMBER-AUTHOR", "MEMBER-REVISION", "MEMBER-VERSION", "MEMBER-USER1",
      "MEMBER-USER2", "MEMBER-USER3", "MEMBER-USER4", "MEMBER-USER5",
      "MEMBER-PUBLIC", "MEMBER-PRIVATE", "MEMBER-FRIEND",
      "MEMBER-DECLARATION", "MEMBER-SOURCECODE", "MEMBER-MODULE-FILE",
      "ENUMS-LINK-LIST",
      "TYPES-LINK-LIST", "CONT-ENUMS-LINK-LIST", "CONT-TYPES-LINK-LIST",
      "ITEM-LIST", "LIST-ITEM-TYPE", "LIST-ITEM-TYPE-LOCATION", "MEMBER-TYPE",
      "MEMBER-TYPE-LOCATION"};
  return kReadOnly.count(name) != 0;
}

// The values that hold comment text, where a template's inline markup is
// let through.
bool MacroEngine::isCommentText(std::string_view name) {
  return name == "MEMBER-DESCRIPTION" || name == "MEMBER-REMARKS" ||
         name == "MEMBER-RETURN" || name == "LIST-ITEM-LABEL" ||
         name == "LIST-ITEM-SUMMARY";
}

std::string MacroEngine::replaceStrings(std::string_view text,
                                        const std::vector<std::string>& table) {
  std::string out;
  ReplaceTable(table).apply(text, out);
  return out;
}

void MacroEngine::setMacroValue(std::string_view name, MacroValue value) {
  src.set(name, std::move(value));
}

void MacroEngine::setMacroValue(std::string_view name, MacroValue value,
                                MacroStore::Handle& handle) {
  src.set(name, std::move(value), handle);
}

std::string MacroEngine::getMacroBody(std::string_view name) const {
  const MacroValue* value = src.find(name);
  if (!value) return dollarName(name);
  if (const std::string* text = asText(*value)) return *text;
  if (asList(*value)) return std::string(name);
  return dollarName(name);
}

std::string MacroEngine::evaluateMacro(std::string_view name, bool isNested) {
  MacroStore::Slot slot = src.slot(name);
  if (!slot.value) return dollarName(name);
  const bool outermost = evaluating_.empty();
  if (outermost) {
    loopText_ = 0;
    expandedText_ = 0;
  }
  std::string result;
  try {
    expandValue(name, slot, isReadOnlyMacro(name), result);
  } catch (const ExpansionError&) {
    return dollarName(name);
  } catch (const TemplateLimitReached&) {
    if (!outermost) throw;
    return dollarName(name);
  }
  if (!isNested && result.find("$$") != std::string::npos)
    result = replaceAll(result, "$$", "$");
  return result;
}

std::string MacroEngine::evaluateForShell(std::string_view name,
                                          ShellEnvironment& environment) {
  shellEnvironment_ = &environment;
  std::string text;
  try {
    text = evaluateMacro(name, false);
  } catch (...) {
    shellEnvironment_ = nullptr;
    throw;
  }
  shellEnvironment_ = nullptr;
  return text;
}

namespace {

// "OUTPUT-PATH" -> "SCRIV_OUTPUT_PATH", "SCRIV-PATH" -> "SCRIV_PATH"; a
// name already taken by another value gets "_2", "_3" (a list item's
// macro holds a new value for every item).
std::string shellVariable(std::string_view name, const std::string& value,
                          ShellEnvironment& environment) {
  std::string base = startsWith(foldCase(name), "scriv-") ? "" : "SCRIV_";
  for (char c : name) {
    bool word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                (c >= '0' && c <= '9');
    base += word ? static_cast<char>(std::toupper(static_cast<unsigned char>(c)))
                 : '_';
  }
  std::string variable = base;
  for (int n = 2;; ++n) {
    auto known = std::find_if(
        environment.begin(), environment.end(),
        [&](const auto& entry) { return entry.first == variable; });
    if (known == environment.end()) break;
    if (known->second == value) return variable;
    variable = base + "_" + std::to_string(n);
  }
  environment.emplace_back(variable, value);
  return variable;
}

}  // namespace

void MacroEngine::exportToShell(std::string_view name,
                                const MacroStore::Slot& slot, bool readOnly,
                                std::string& out) {
  ShellEnvironment* environment = std::exchange(shellEnvironment_, nullptr);
  std::string value;
  try {
    expandValue(name, slot, readOnly, value);
  } catch (...) {
    shellEnvironment_ = environment;
    throw;
  }
  shellEnvironment_ = environment;
  // The value as the outermost evaluation would give it; the reference's
  // own "$" is doubled, to come out single there.
  value = replaceAll(value, "$$", "$");
  out += "$${" + shellVariable(name, value, *environment) + "}";
}

// The template line of position `at` of `text`, a view into the text being
// read: the line its stored text starts on, plus the line ends before `at`.
// -1 in the project's text; 0 when the line is not known.
long MacroEngine::warningLine(std::string_view text, std::size_t at) const {
  if (parsingLine_ <= 0) return parsingLine_;
  const char* root = parsingRoot_.data();
  if (text.data() < root || text.data() + at > root + parsingRoot_.size())
    return 0;
  const std::size_t offset = static_cast<std::size_t>(text.data() - root) + at;
  return parsingLine_ +
         static_cast<long>(std::count(root, root + offset, '\r'));
}

MessagePlace MacroEngine::placeOfWarning(const MacroStep& step) const {
  if (step.line > 0) return {shownPath(templateFile_), step.line};
  if (step.line < 0 && elements_.compiledWrapper)
    return placeOf(*elements_.compiledWrapper);
  return {};
}

// The outermost evaluation in progress whose macro is evaluated again
// further in (or is `next`, about to be): where a loop of references
// begins. The size of the stack when no name repeats.
std::size_t MacroEngine::firstRepeatingFrame(std::string_view next) const {
  std::vector<std::string> folded;
  folded.reserve(evaluating_.size() + 1);
  for (std::string_view name : evaluating_) folded.push_back(foldCase(name));
  folded.push_back(foldCase(next));
  for (std::size_t i = 0; i + 1 < folded.size(); ++i)
    for (std::size_t j = i + 1; j < folded.size(); ++j)
      if (folded[i] == folded[j]) return i;
  return evaluating_.size();
}

void MacroEngine::reportTooDeep(std::string_view name) {
  progress_.reportMessage("WARNING (config file): Macro " + std::string(name) +
                          " refers to itself or is nested too deeply.");
}

// The expansion of a stored value. Nesting deeper than kMaxDepth is taken
// for a macro that refers to itself, directly or through others: the
// evaluation where that loop begins ends with "$name$" (one warning), and
// the macros around it carry on.
void MacroEngine::expandValue(std::string_view name,
                              const MacroStore::Slot& slot, bool readOnly,
                              std::string& out) {
  if (shellEnvironment_ && !slot.fromTemplate) {
    exportToShell(name, slot, readOnly, out);
    return;
  }
  const MacroValue& value = *slot.value;
  if (asList(value)) {
    out += name;
    return;
  }
  const std::string* stored = asText(value);
  if (!stored) throw ExpansionError("empty object reference");

  // Comment texts may carry simple markup that the template lets through;
  // what a value opens it also closes.
  std::vector<std::string> openTags;
  std::vector<std::string>* const outerTags = openTags_;
  openTags_ = readOnly && replaceOn && !inlineHtml.empty() &&
                      isCommentText(name)
                  ? &openTags
                  : nullptr;
  struct Restore {
    std::vector<std::string>*& tags;
    std::vector<std::string>* outer;
    ~Restore() { tags = outer; }
  } restore{openTags_, outerTags};

  // Most values the compiler sets hold no macro at all.
  if (stored->find('$') == std::string::npos) {
    if (openTags_) {
      inlineHtml.apply(*stored, replaceTable, openTags, out);
      InlineHtml::close(openTags, out);
    } else if (readOnly && replaceOn) {
      replaceTable.apply(*stored, out);
    } else {
      out += *stored;
    }
    return;
  }

  std::size_t frame = evaluating_.size();
  if (frame >= static_cast<std::size_t>(kMaxDepth)) {
    std::size_t loopStart = firstRepeatingFrame(name);
    if (loopStart < frame) throw DepthExceeded{loopStart};
    reportTooDeep(name);
    out += dollarName(name);
    return;
  }
  // Held here, the steps and the text they view outlive the stored value:
  // expanding may store new values, a loop's item values among them, and
  // replace the very text being expanded.
  std::shared_ptr<const ParsedText> parsed = parsedText(slot);
  evaluating_.push_back(name);
  const std::size_t start = out.size();
  try {
    run(parsed->steps, readOnly, out);
  } catch (const DepthExceeded& e) {
    evaluating_.pop_back();
    if (e.frame != frame) throw;
    reportTooDeep(name);
    out.resize(start);
    out += dollarName(name);
    return;
  } catch (...) {
    evaluating_.pop_back();
    throw;
  }
  evaluating_.pop_back();
  if (openTags_) InlineHtml::close(openTags, out);
  charge(expandedText_, out.size() - start + limits.expansionCost,
         limits.expandedText, "Macros");
}

std::shared_ptr<const ParsedText> MacroEngine::parsedText(
    const MacroStore::Slot& slot) {
  if (*slot.parsed) return *slot.parsed;
  auto parsed = std::make_shared<ParsedText>();
  parsed->text = *asText(*slot.value);
  const bool outer = std::exchange(parsingProjectText_, !slot.fromTemplate);
  const std::string_view outerRoot =
      std::exchange(parsingRoot_, std::string_view(parsed->text));
  const long outerLine =
      std::exchange(parsingLine_, slot.fromTemplate ? slot.line : -1);
  auto restore = [&] {
    parsingProjectText_ = outer;
    parsingRoot_ = outerRoot;
    parsingLine_ = outerLine;
  };
  try {
    parseText(parsed->text, parsed->steps, 0);
  } catch (...) {
    restore();
    throw;
  }
  restore();
  *slot.parsed = parsed;
  return parsed;
}

void MacroEngine::charge(std::size_t& spent, std::size_t amount,
                         std::size_t limit, const char* what) {
  spent += amount;
  if (spent <= limit) return;
  progress_.reportMessage(std::string("WARNING (config file): ") + what +
                          " expand too much text.");
  throw TemplateLimitReached{};
}

void MacroEngine::evaluateNested(const MacroStep& step, std::string& out) {
  std::string_view name = step.text;
  MacroStore::Slot slot = src.slot(name, step.handle);
  if (!slot.value) {
    out += dollarName(name);
    return;
  }
  const std::size_t start = out.size();
  try {
    expandValue(name, slot, step.readOnly, out);
  } catch (const ExpansionError&) {
    out.resize(start);
    out += dollarName(name);
  }
}

// "$$" is a literal dollar and never opens a reference. A name that a space,
// a tab or a line end cuts short becomes a warning in `warnings`, if given.
bool MacroEngine::findNextMacro(std::string_view text, std::size_t from,
                                Reference& ref,
                                std::vector<MacroStep>* warnings) {
  std::size_t at = from;
  for (;;) {
    at = text.find('$', at);
    if (at == std::string_view::npos) return false;
    if (at + 1 < text.size() && text[at + 1] == '$') {
      at += 2;
      continue;
    }
    MacroName read = readMacroName(text, at);
    // In the project's own text (comments, code) such a "$" is written, not
    // a reference gone wrong: Left$(s, 3), Chr$(13), $50.
    if (!read.closed && parsingProjectText_) {
      ++at;
      continue;
    }
    if (!read.closed && warnings) {
      MacroStep warning;
      warning.kind = MacroStep::Kind::warning;
      warning.message = wrongMacroNameMessage(read.quoted);
      warning.line = warningLine(text, at);
      warnings->push_back(std::move(warning));
    }
    ref.start = at;
    ref.end = read.end;
    ref.name = read.name;
    return true;
  }
}

void MacroEngine::parseText(std::string_view text,
                            std::vector<MacroStep>& steps, int depth) {
  std::size_t pos = 0;
  for (;;) {
    Reference ref;
    // A name cut short at once ("$ ") leaves the rest of the text as it is.
    bool found = findNextMacro(text, pos, ref, &steps) && !ref.name.empty();
    std::size_t literalEnd = found ? ref.start : text.size();
    if (literalEnd > pos) {
      MacroStep literal;
      literal.text = text.substr(pos, literalEnd - pos);
      steps.push_back(std::move(literal));
    }
    if (!found) break;
    std::size_t end = ref.end;
    parseReference(ref, text, end, steps, depth);
    pos = end;
  }
}

// One reference; a block moves `end` past its closing tag.
void MacroEngine::parseReference(const Reference& ref, std::string_view text,
                                 std::size_t& end,
                                 std::vector<MacroStep>& steps, int depth) {
  using Kind = MacroStep::Kind;
  static const std::pair<std::string_view, Kind> kEngineMacros[] = {
      {"NEXT-ID", Kind::nextId},           {"COUNTER", Kind::counter},
      {"RESET-COUNTER", Kind::resetCounter}, {"INC-COUNTER", Kind::incCounter},
      {"DEC-COUNTER", Kind::decCounter},   {"REPLACE-ON", Kind::replaceOn},
      {"REPLACE-OFF", Kind::replaceOff}};
  MacroStep step;
  step.kind = Kind::macro;
  step.text = ref.name;
  step.readOnly = isReadOnlyMacro(ref.name);
  for (const auto& [name, kind] : kEngineMacros)
    if (ref.name == name) step.kind = kind;

  const bool loop = ref.name == "DOLIST";
  if (loop || ref.name == "IFNOTEMPTY") {
    Block read;
    if (!readBlock(text, ref, loop ? "DOLIST" : "IFNOTEMPTY",
                   loop ? "END-DOLIST" : "END-IFNOTEMPTY", read, end, steps))
      return;
    auto block = std::make_shared<MacroBlock>();
    block->argument = read.argument;
    std::size_t bodyEnd = read.elseStart == std::string_view::npos
                              ? read.closeStart
                              : read.elseStart;
    std::string_view body = text.substr(read.bodyStart, bodyEnd - read.bodyStart);
    block->bodySize = body.size();
    // Deeper than an expansion may nest blocks, the body is never expanded.
    block->read = depth < kMaxBlockDepth;
    if (block->read) {
      parseText(body, block->body, depth + 1);
      if (read.elseStart != std::string_view::npos)
        parseText(text.substr(read.elseEnd, read.closeStart - read.elseEnd),
                  block->otherwise, depth + 1);
    }
    step.kind = loop ? Kind::doList : Kind::ifNotEmpty;
    step.block = std::move(block);
  }
  steps.push_back(std::move(step));
}

void MacroEngine::run(const std::vector<MacroStep>& steps,
                      bool replaceAllowed, std::string& out) {
  using Kind = MacroStep::Kind;
  for (const MacroStep& step : steps) {
    switch (step.kind) {
      case Kind::literal:
        // The switch is read as each literal is reached: text before
        // $REPLACE-ON$ stays as written.
        if (replaceAllowed && replaceOn && openTags_)
          inlineHtml.apply(step.text, replaceTable, *openTags_, out);
        else if (replaceAllowed && replaceOn)
          replaceTable.apply(step.text, out);
        else
          out += step.text;
        break;
      case Kind::warning:
        progress_.reportMessage(step.message, placeOfWarning(step));
        break;
      case Kind::macro:
        evaluateNested(step, out);
        break;
      case Kind::nextId:
        out += std::to_string(idCounter);
        if (!addCounter(idCounter, 1)) throw ExpansionError("counter overflow");
        break;
      case Kind::counter:
        out += std::to_string(generalCounter);
        break;
      case Kind::resetCounter:
        generalCounter = 1;
        break;
      case Kind::incCounter:
      case Kind::decCounter:
        if (!addCounter(generalCounter, step.kind == Kind::incCounter ? 1 : -1))
          throw ExpansionError("counter overflow");
        break;
      case Kind::replaceOn:
      case Kind::replaceOff:
        replaceOn = step.kind == Kind::replaceOn;
        break;
      case Kind::ifNotEmpty:
        expandIfNotEmpty(*step.block, out);
        break;
      case Kind::doList:
        expandDoList(*step.block, out);
        break;
    }
  }
}

// A text that is not stored (a replacement table's token) is read for the
// one expansion.
std::string MacroEngine::expandText(std::string_view text,
                                    bool replaceAllowed) {
  std::vector<MacroStep> steps;
  parseText(text, steps, 0);
  std::string out;
  run(steps, replaceAllowed, out);
  return out;
}

}  // namespace scrivlet
