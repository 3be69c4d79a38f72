#include "compiler/macro_engine.h"

#include <array>
#include <functional>
#include <limits>
#include <unordered_set>
#include <stdexcept>
#include <utility>

#include "source/fold_table.h"
#include "compiler/macro_name.h"
#include "source/text.h"

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

// A string short enough to keep its characters in the object itself.
bool holdsItsCharacters(const std::string& text) {
  std::less<const void*> before;
  const void* data = text.data();
  return !before(data, &text) && before(data, &text + 1);
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
      "LIST-ITEM-VALUE", "MEMBER-NAME", "MEMBER-MODULE", "MEMBER-DESCRIPTION",
      "MEMBER-REMARKS", "MEMBER-RETURN", "MEMBER-NEEDS-MODULE",
      "MEMBER-AUTHOR", "MEMBER-REVISION", "MEMBER-VERSION", "MEMBER-USER1",
      "MEMBER-USER2", "MEMBER-USER3", "MEMBER-USER4", "MEMBER-USER5",
      "MEMBER-PUBLIC", "MEMBER-PRIVATE", "MEMBER-FRIEND",
      "MEMBER-DECLARATION", "MEMBER-SOURCECODE"};
  return kReadOnly.count(name) != 0;
}

// Where `find` (already folded) occurs in `text` at or after `from`,
// without regard to case; npos when it does not.
static std::size_t findFolded(std::string_view text, std::string_view find,
                              std::size_t from) {
  if (find.size() > text.size()) return std::string_view::npos;
  for (std::size_t at = from; at + find.size() <= text.size(); ++at) {
    if (foldByte(text[at]) != find[0]) continue;
    std::size_t i = 1;
    while (i < find.size() && foldByte(text[at + i]) == find[i]) ++i;
    if (i == find.size()) return at;
  }
  return std::string_view::npos;
}

// True when no byte of `text` has another case, so that a plain search
// finds it as well: "&", "<", "\"" of a replacement table.
static bool isCaseless(std::string_view text) {
  static const std::array<bool, 256> caseless = [] {
    std::array<bool, 256> table;
    table.fill(true);
    for (int i = 0; i < 256; ++i) {
      char folded = foldByte(static_cast<char>(i));
      if (folded == static_cast<char>(i)) continue;
      table[static_cast<std::size_t>(i)] = false;
      table[static_cast<unsigned char>(folded)] = false;
    }
    return table;
  }();
  for (char c : text)
    if (!caseless[static_cast<unsigned char>(c)]) return false;
  return true;
}

std::string MacroEngine::replaceStrings(std::string_view text,
                                        const std::vector<std::string>& table) {
  std::string current(text);
  std::string folded;
  for (std::size_t i = 0; i + 1 < table.size(); i += 2) {
    const std::string& replacement = table[i + 1];
    if (table[i].empty()) continue;
    folded = table[i];
    for (char& c : folded) c = foldByte(c);
    const bool plain = isCaseless(folded);
    auto next = [&](std::size_t from) {
      return plain ? current.find(folded, from)
                   : findFolded(current, folded, from);
    };
    std::size_t at = next(0);
    if (at == std::string::npos) continue;
    std::string out;
    out.reserve(current.size());
    std::size_t from = 0;
    while (at != std::string::npos) {
      out.append(current, from, at - from);
      out += replacement;
      from = at + folded.size();
      at = next(from);
    }
    out.append(current, from, std::string::npos);
    current = std::move(out);
  }
  return current;
}

void MacroEngine::setMacroValue(std::string_view name, MacroValue value) {
  src.set(name, std::move(value));
}

std::string MacroEngine::getMacroBody(std::string_view name) const {
  const MacroValue* value = src.find(name);
  if (!value) return dollarName(name);
  if (const std::string* text = asText(*value)) return *text;
  if (asList(*value)) return std::string(name);
  return dollarName(name);
}

std::string MacroEngine::evaluateMacro(std::string_view name, bool isNested) {
  const MacroValue* value = src.find(name);
  if (!value) return dollarName(name);
  const bool outermost = evaluating_.empty();
  if (outermost) {
    loopText_ = 0;
    expandedText_ = 0;
  }
  std::string result;
  try {
    result = expandValue(name, *value);
  } catch (const ExpansionError&) {
    return dollarName(name);
  } catch (const TemplateLimitReached&) {
    if (!outermost) throw;
    return dollarName(name);
  }
  if (!isNested) result = replaceAll(result, "$$", "$");
  return result;
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
std::string MacroEngine::expandValue(std::string_view name,
                                     const MacroValue& value) {
  if (asList(value)) return std::string(name);
  const std::string* stored = asText(value);
  if (!stored) throw ExpansionError("empty object reference");

  // Most values the compiler sets hold no macro at all.
  if (stored->find('$') == std::string::npos)
    return isReadOnlyMacro(name) && replaceOn
               ? replaceStrings(*stored, replaceTable)
               : *stored;

  std::size_t frame = evaluating_.size();
  if (frame >= static_cast<std::size_t>(kMaxDepth)) {
    std::size_t loopStart = firstRepeatingFrame(name);
    if (loopStart < frame) throw DepthExceeded{loopStart};
    reportTooDeep(name);
    return dollarName(name);
  }
  // The stored text is read in place: expanding it may store new values, a
  // loop's item values among them, and replace the very text being read,
  // which the pin then keeps alive. A short text lives inside the string
  // object itself, which storing over it would change: that one is copied.
  MacroStore::Pin pin(src);
  std::string_view text = *stored;
  std::string shortText;
  if (holdsItsCharacters(*stored)) {
    shortText = *stored;
    text = shortText;
  }
  evaluating_.push_back(name);
  std::string result;
  try {
    result = expandText(text, isReadOnlyMacro(name));
  } catch (const DepthExceeded& e) {
    evaluating_.pop_back();
    if (e.frame != frame) throw;
    reportTooDeep(name);
    return dollarName(name);
  } catch (...) {
    evaluating_.pop_back();
    throw;
  }
  evaluating_.pop_back();
  charge(expandedText_, result.size() + limits.expansionCost,
         limits.expandedText, "Macros");
  return result;
}

void MacroEngine::charge(std::size_t& spent, std::size_t amount,
                         std::size_t limit, const char* what) {
  spent += amount;
  if (spent <= limit) return;
  progress_.reportMessage(std::string("WARNING (config file): ") + what +
                          " expand too much text.");
  throw TemplateLimitReached{};
}

std::string MacroEngine::evaluateNested(std::string_view name) {
  const MacroValue* value = src.find(name);
  if (!value) return dollarName(name);
  try {
    return expandValue(name, *value);
  } catch (const ExpansionError&) {
    return dollarName(name);
  }
}

// "$$" is a literal dollar and never opens a reference. A name that a space,
// a tab or a line end cuts short is reported here.
bool MacroEngine::findNextMacro(std::string_view text, std::size_t from,
                                Reference& ref, bool reportWarnings) {
  std::size_t at = from;
  for (;;) {
    at = text.find('$', at);
    if (at == std::string_view::npos) return false;
    if (at + 1 < text.size() && text[at + 1] == '$') {
      at += 2;
      continue;
    }
    MacroName read = readMacroName(text, at);
    if (!read.closed && reportWarnings)
      progress_.reportMessage(wrongMacroNameMessage(read.quoted));
    ref.start = at;
    ref.end = read.end;
    ref.name = read.name;
    return true;
  }
}

std::string MacroEngine::expandText(std::string_view text,
                                    bool replaceAllowed) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  for (;;) {
    Reference ref;
    bool found = findNextMacro(text, pos, ref, true) && !ref.name.empty();
    std::size_t literalEnd = found ? ref.start : text.size();
    std::string_view literal = text.substr(pos, literalEnd - pos);
    // The switch is read as each reference is reached: text before
    // $REPLACE-ON$ stays as written.
    if (replaceAllowed && replaceOn)
      out += replaceStrings(literal, replaceTable);
    else
      out += literal;
    if (!found) break;
    std::size_t end = ref.end;
    out += evaluateReference(ref, text, end);
    pos = end;
  }
  return out;
}

// The value of one reference; a block may move `end` past its closing tag.
std::string MacroEngine::evaluateReference(const Reference& ref,
                                           std::string_view text,
                                           std::size_t& end) {
  // Views compare their sizes first: most names differ from these at once.
  const std::string_view name = ref.name;
  if (name == "NEXT-ID") {
    std::string value = std::to_string(idCounter);
    if (!addCounter(idCounter, 1)) throw ExpansionError("counter overflow");
    return value;
  }
  if (name == "COUNTER") return std::to_string(generalCounter);
  if (name == "RESET-COUNTER") {
    generalCounter = 1;
    return "";
  }
  if (name == "INC-COUNTER" || name == "DEC-COUNTER") {
    if (!addCounter(generalCounter, name == "INC-COUNTER" ? 1 : -1))
      throw ExpansionError("counter overflow");
    return "";
  }
  if (name == "REPLACE-ON" || name == "REPLACE-OFF") {
    replaceOn = name == "REPLACE-ON";
    return "";
  }
  if (name == "DOLIST") return expandDoList(text, ref, end);
  if (name == "IFNOTEMPTY") return expandIfNotEmpty(text, ref, end);
  return evaluateNested(name);
}

}  // namespace scrivlet
