// The template engine: the macro store `src` that a template fills, and the
// expansion of macro text into output text.
//
//   $NAME$                  the expansion of NAME's value ($NAME$ itself
//                           when NAME is not defined)
//   $$                      a literal "$" (collapsed by the outermost
//                           evaluation only)
//   $NEXT-ID$ $COUNTER$ ... counters and the replacement switch
//   $IFNOTEMPTY$ $X$ ... $ELSEIF$ ... $END-IFNOTEMPTY$
//   $DOLIST$ $X-LIST$ ... $END-DOLIST$
//
// Expansion is one pass: every inserted value was expanded when it was
// evaluated and is never scanned again, so the cost follows the size of the
// text and the number of list items.
#ifndef SCRIVLET_COMPILER_MACRO_ENGINE_H_
#define SCRIVLET_COMPILER_MACRO_ENGINE_H_

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_error_prompt.h"
#include "base/keyed_collection.h"
#include "base/progress.h"
#include "compiler/inline_html.h"
#include "compiler/links.h"
#include "compiler/macro_steps.h"
#include "compiler/macro_store.h"
#include "compiler/macro_value.h"
#include "compiler/replace_table.h"
#include "source/store.h"

namespace scrivlet {

// Builds a module's member lists for a loop over a contents list of
// modules ("PROPS-LINK-LIST", "METHODS-LINK-LIST", "EVENTS-LINK-LIST").
// A module's member list, shared by every page and loop that shows it.
using ModuleListBuilder = std::function<MacroListPtr(const Element& module)>;

// Names and values of environment variables, in the order they were made.
using ShellEnvironment = std::vector<std::pair<std::string, std::string>>;

class MacroEngine {
 public:
  MacroEngine(store& elements, Progress& progress);

  // Replaces `src` by the definitions of the template file `file`, then
  // adds the 256 character macros and builds the replace table.
  // 0 loaded; 2 the file failed to open (silent or not) or the user
  // abandoned loading; 3 another error while `silent`, when nothing is
  // shown (a read failure, a name defined twice).
  int loadSrc(const std::string& file, bool silent);
  // The same from the file's text; `file` only names it in messages.
  int loadTemplateText(std::string_view content, const std::string& file,
                       bool silent);

  // The stored text of `name`, unexpanded; `name` for a list; "$name$"
  // when undefined.
  std::string getMacroBody(std::string_view name) const;
  // "$60CHR$ &lt; $62CHR$ &gt;" -> {"<", "&lt;", ">", "&gt;"}.
  std::vector<std::string> parseReplaceMacro(std::string_view value);

  // The expansion of macro `name`. The outermost call (`isNested` false)
  // turns every "$$" of the result into "$". Any error while evaluating
  // gives "$name$".
  std::string evaluateMacro(std::string_view name, bool isNested);
  // The expansion of `name` for the command interpreter. Values from the
  // project must never be read as commands, whatever the template's quoting
  // (a project named Calc`id` in "$PROJECT-NAME$"): every macro the compile
  // set (paths, names, list items) gives a reference to an environment
  // variable, "${SCRIV_PROJECT_NAME}", whose value goes into `environment`;
  // only the template's own text is expanded in place.
  std::string evaluateForShell(std::string_view name,
                               ShellEnvironment& environment);
  void setMacroValue(std::string_view name, MacroValue value);
  // The same, for a name set again and again: `handle` finds its entry
  // without a lookup after the first time.
  void setMacroValue(std::string_view name, MacroValue value,
                     MacroStore::Handle& handle);
  // The names whose text the replace table may change (case-sensitive).
  static bool isReadOnlyMacro(std::string_view name);
  static bool isCommentText(std::string_view name);
  // Each pair (find, replacement) in turn, every occurrence, without regard
  // to case; a last find without replacement is ignored.
  static std::string replaceStrings(std::string_view text,
                                    const std::vector<std::string>& table);

  // Counters back to 1, replacement off, link table empty: the state at the
  // start of a project's compile.
  void resetEngineState();

  MacroStore src;
  ReplaceTable replaceTable;
  // The tags of comment texts that stay markup ("INLINE-HTML"); empty
  // when the template names none.
  InlineHtml inlineHtml;
  // Canonical link -> canonical link of the element whose page documents
  // it; a link missing here documents itself.
  KeyedCollection<std::string> linkTable;
  std::int32_t idCounter = 1;
  std::int32_t generalCounter = 1;
  bool replaceOn = false;

  // Asked about file errors and names defined twice while not silent.
  FileErrorAsker askFileError;
  // Module member lists for loops over "CONT-FORMS-LINK-LIST",
  // "CONT-OBJECTS-LINK-LIST" and "CONT-STDMODULES-LINK-LIST"; unset
  // builders leave those macros alone.
  ModuleListBuilder getPropsList;
  ModuleListBuilder getMethodsList;
  ModuleListBuilder getEventsList;
  // The same for "ENUMS-LINK-LIST" and "TYPES-LINK-LIST".
  ModuleListBuilder getEnumsList;
  ModuleListBuilder getTypesList;
  // Whether the page of an element is written, for "LIST-ITEM-PAGE";
  // unset, every element has one.
  std::function<bool(const Element&)> hasPage;
  // The first sentence of an element's description, for
  // "LIST-ITEM-SUMMARY"; unset, loops leave that macro alone.
  std::function<std::string(const Element&)> summaryOf;

  // Macros nested deeper than this (a macro whose value refers to itself)
  // end the evaluation of the repeating macro with "$name$".
  static constexpr int kMaxDepth = 64;

  // The work one outermost evaluation may do before it stops with a
  // warning and gives "$name$". List loops nested in one another multiply:
  // twenty loops over two items expand their bodies a million times, four
  // over a hundred items a hundred million times; so do macros whose values
  // name the next macro twice, forty deep. Loop bodies count by their size
  // plus `loopItemCost` each (an item costs about as much as reading a
  // kilobyte), macro expansions by the size of their result plus
  // `expansionCost`. The limits are far beyond a real template: an index
  // of 100,000 items of 500 bytes counts 150 MB of loop text.
  struct Limits {
    std::size_t loopText = std::size_t{256} << 20;
    std::size_t loopItemCost = 1024;
    std::size_t expandedText = std::size_t{4} << 30;
    std::size_t expansionCost = 64;
  };
  Limits limits;

  Links& links() { return links_; }

 private:
  // A macro reference found in a text: "$NAME$" from `start` to `end`.
  // The name views the text, which outlives the evaluation reading it.
  struct Reference {
    std::size_t start = 0;
    std::size_t end = 0;
    std::string_view name;
  };
  // A block read from its opening reference to its closing tag.
  struct Block {
    std::string_view argument;  // a view of the text read
    std::size_t bodyStart = 0;
    std::size_t elseStart = std::string_view::npos;
    std::size_t elseEnd = 0;
    std::size_t closeStart = 0;
  };
  // Raised when macros nest deeper than kMaxDepth; `frame` is the position
  // in `evaluating_` of the evaluation that ends with "$name$".
  struct DepthExceeded {
    std::size_t frame;
  };
  // Raised when blocks nest too deeply or list loops expand too much text:
  // the whole outermost evaluation gives "$name$" after one warning, since
  // carrying on around the failed block would meet the limit again and
  // again.
  struct TemplateLimitReached {};
  class BlockNesting;
  // A failed step inside an evaluation (a counter overflow): the evaluation
  // gives "$name$", an enclosing list loop gives nothing.
  class ExpansionError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
  };
  static constexpr int kMaxBlockDepth = 64;

  // Reading a text into steps (see macro_steps.h); `depth` counts the
  // blocks around it.
  void parseText(std::string_view text, std::vector<MacroStep>& steps,
                 int depth);
  bool findNextMacro(std::string_view text, std::size_t from, Reference& ref,
                     std::vector<MacroStep>* warnings);
  void parseReference(const Reference& ref, std::string_view text,
                      std::size_t& end, std::vector<MacroStep>& steps,
                      int depth);
  bool readBlock(std::string_view text, const Reference& opening,
                 std::string_view kind, std::string_view closing, Block& block,
                 std::size_t& end, std::vector<MacroStep>& steps);
  // The steps of a stored text, read on first use.
  std::shared_ptr<const ParsedText> parsedText(const MacroStore::Slot& slot);

  // Expansion. Each step appends its text to `out`; a step that fails
  // takes back what it appended before it gives its own result.
  void run(const std::vector<MacroStep>& steps, bool replaceAllowed,
           std::string& out);
  std::string expandText(std::string_view text, bool replaceAllowed);
  void evaluateNested(const MacroStep& step, std::string& out);
  void expandValue(std::string_view name, const MacroStore::Slot& slot,
                   bool readOnly, std::string& out);
  void exportToShell(std::string_view name, const MacroStore::Slot& slot,
                     bool readOnly, std::string& out);
  // Set while evaluateForShell runs.
  ShellEnvironment* shellEnvironment_ = nullptr;
  // Set while a value the compile stored (not the template's text) is read.
  bool parsingProjectText_ = false;
  // The text being read into steps and the template line it starts on, so
  // that a warning found in it can name its line.
  std::string_view parsingRoot_;
  long parsingLine_ = 0;
  // The place a warning step names when it is reported.
  long warningLine(std::string_view text, std::size_t at) const;
  MessagePlace placeOfWarning(const MacroStep& step) const;
  // The template file loaded last, as messages name it.
  std::string templateFile_;
  std::size_t firstRepeatingFrame(std::string_view next) const;
  void reportTooDeep(std::string_view name);

  // Conditional blocks and list loops.
  void expandIfNotEmpty(const MacroBlock& block, std::string& out);
  void expandDoList(const MacroBlock& block, std::string& out);
  static bool isEmptyValue(const MacroValue* value);
  void loopOverLinks(std::string_view listName, const MacroList& list,
                     const MacroBlock& block, std::string& out);
  void loopOverFields(std::string_view listName, const MacroList& list,
                      const MacroBlock& block, std::string& out);
  void setItemPosition(std::size_t number, std::size_t count);
  // The macros a loop stores for each item, through handles of their own.
  enum ItemMacro {
    itemText, itemNumber, itemLabel, itemFirst, itemLast, itemLocation,
    itemFile, itemHelpID, itemParam, itemConstant, itemValue, itemType,
    itemTypeLocation, itemPage, itemSummary, itemMacroCount
  };
  void setItem(ItemMacro which, MacroValue value);
  std::array<MacroStore::Handle, itemMacroCount> itemHandles_;
  void setModuleLists(const Element* module);

  // Template reading.
  int readTemplateLines(const std::vector<std::string>& lines,
                        const std::string& file, bool silent);
  int addDefinition(std::string_view name, std::string value,
                    const std::string& file, bool silent, long line = 0);
  void addCharacterMacros(const std::string& file, bool silent, int& result);

  store& elements_;
  Progress& progress_;
  Links links_;
  // The names being evaluated, outermost first; each view lives as long as
  // the evaluation it names.
  std::vector<std::string_view> evaluating_;
  int blockDepth_ = 0;
  // The tags the comment text being expanded has left open; null outside
  // comment texts or without inline markup.
  std::vector<std::string>* openTags_ = nullptr;
  // The work of the outermost evaluation in progress, against `limits`.
  std::size_t loopText_ = 0;
  std::size_t expandedText_ = 0;
  void chargeLoopItem(std::size_t bodySize);
  // Adds `amount` to `spent`; past `limit`, warns that `what` expand too
  // much text and ends the outermost evaluation.
  void charge(std::size_t& spent, std::size_t amount, std::size_t limit,
              const char* what);
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_MACRO_ENGINE_H_
