// Conditional blocks and list loops of the template engine.
//
//   $IFNOTEMPTY$ $MEMBER-RETURN$         $DOLIST$ $PARAM-LIST$
//   <p>Returns $MEMBER-RETURN$</p>       <dt>$LIST-ITEM-PARAM$</dt>
//   $ELSEIF$                             <dd>$LIST-ITEM-LABEL$</dd>
//   <p>Returns nothing.</p>              $END-DOLIST$
//   $END-IFNOTEMPTY$
#include <algorithm>
#include <exception>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>

#include "base/fold_table.h"
#include "base/text.h"
#include "compiler/macro_engine.h"

namespace scrivlet {

namespace {

bool isBlockMacro(std::string_view name) {
  return name == "DOLIST" || name == "IFNOTEMPTY";
}

bool isModuleContentsList(std::string_view name) {
  return name == "CONT-FORMS-LINK-LIST" || name == "CONT-OBJECTS-LINK-LIST" ||
         name == "CONT-STDMODULES-LINK-LIST";
}

// A link list item after normalising: what it shows of where it leads.
struct LinkItem {
  std::string label;
  std::string location;
  std::string memberName;
  std::string fileName;  // external files only
  long helpID = 0;
  bool external = false;
  std::shared_ptr<Element> element;
  std::string sortKey;
};

}  // namespace

// Reads "$KIND$ $ARGUMENT$ ... CR body $END-KIND$" starting at `opening`.
// Sets `end` past the construct as far as it could be read; false when it
// is malformed, after adding the warning to `steps`.
bool MacroEngine::readBlock(std::string_view text, const Reference& opening,
                            std::string_view kind, std::string_view closing,
                            Block& block, std::size_t& end,
                            std::vector<MacroStep>& steps) {
  auto warn = [&](std::string message) {
    MacroStep warning;
    warning.kind = MacroStep::Kind::warning;
    warning.message = std::move(message);
    warning.line = warningLine(text, opening.start);
    steps.push_back(std::move(warning));
  };
  auto syntax = [&](std::string_view problem) {
    warn("WARNING (config file): Wrong syntax of " + std::string(kind) +
         " macro. " + std::string(problem));
  };
  std::size_t lineEnd = text.find('\r', opening.end);
  if (lineEnd == std::string_view::npos) {
    syntax("Unfinished line.");
    end = text.size();
    return false;
  }
  Reference argument;
  std::string_view line = text.substr(opening.end, lineEnd - opening.end);
  if (!findNextMacro(line, 0, argument, &steps)) argument.name = {};
  if (argument.name.empty() || isBlockMacro(argument.name)) {
    warn("WARNING (config file): Wrong argument \"" +
         std::string(argument.name) + "\" of " + std::string(kind) +
         " macro.");
    end = lineEnd + 1;
    return false;
  }
  block.argument = argument.name;
  block.bodyStart = lineEnd + 1;

  // Nested blocks of the same kind are counted; macros are only found here,
  // so a bad name is reported where the body is read, not twice.
  int depth = 0;
  Reference ref;
  std::size_t pos = block.bodyStart;
  while (findNextMacro(text, pos, ref, nullptr)) {
    pos = ref.end;
    if (ref.name == kind) {
      ++depth;
    } else if (ref.name == closing) {
      if (depth == 0) {
        block.closeStart = ref.start;
        end = ref.end;
        return true;
      }
      --depth;
    } else if (ref.name == "ELSEIF" && depth == 0 && kind == "IFNOTEMPTY") {
      block.elseStart = ref.start;
      block.elseEnd = ref.end;
    }
  }
  std::string missing(1, '$');
  missing += closing;
  missing += " tag missing.";
  syntax(missing);
  end = text.size();
  return false;
}

void MacroEngine::chargeLoopItem(std::size_t bodySize) {
  charge(loopText_, bodySize + limits.loopItemCost, limits.loopText,
         "Macro list loops");
}

// Guards the native stack against blocks nested without end.
class MacroEngine::BlockNesting {
 public:
  explicit BlockNesting(MacroEngine& engine) : engine_(engine) {
    if (engine_.blockDepth_ >= kMaxBlockDepth) {
      engine_.progress_.reportMessage(
          "WARNING (config file): Macro blocks are nested too deeply.");
      throw TemplateLimitReached{};
    }
    ++engine_.blockDepth_;
  }
  ~BlockNesting() { --engine_.blockDepth_; }

 private:
  MacroEngine& engine_;
};

void MacroEngine::expandIfNotEmpty(const MacroBlock& block, std::string& out) {
  const std::vector<MacroStep>& chosen =
      isEmptyValue(src.slot(block.argument, block.argumentHandle).value)
          ? block.otherwise
          : block.body;
  BlockNesting nesting(*this);
  if (!block.read) return;  // the nesting limit stops it first
  run(chosen, false, out);
}

// Empty: undefined, a stored text of "" (before expansion), a list without
// items, or an empty object reference.
bool MacroEngine::isEmptyValue(const MacroValue* value) {
  if (!value) return true;
  if (const std::string* text = asText(*value)) return text->empty();
  const MacroList* list = asList(*value);
  return !list || list->empty();
}

void MacroEngine::expandDoList(const MacroBlock& block, std::string& out) {
  const MacroValue* value = src.slot(block.argument, block.argumentHandle).value;
  if (!value) return;
  // Held by its own reference: a nested loop may store a new list under the
  // same name while this one runs.
  const MacroListPtr* held = std::get_if<MacroListPtr>(value);
  if (!held || !*held) return;
  MacroListPtr list = *held;
  const std::string_view name = block.argument;
  BlockNesting nesting(*this);
  if (!block.read) return;  // the nesting limit stops it first
  const std::size_t start = out.size();
  try {
    if (name == "PARAM-LIST" || name == "SET01-LIST" || name == "SET02-LIST" ||
        name == "SET03-LIST" || name == "ITEM-LIST")
      loopOverFields(name, *list, block, out);
    else
      loopOverLinks(name, *list, block, out);
  } catch (const ExpansionError&) {
    out.resize(start);
  }
}

void MacroEngine::setItem(ItemMacro which, MacroValue value) {
  static constexpr std::string_view kNames[itemMacroCount] = {
      "LIST-ITEM",          "LIST-ITEM-NUMBER", "LIST-ITEM-LABEL",
      "LIST-ITEM-FIRST",    "LIST-ITEM-LAST",   "LIST-ITEM-LOCATION",
      "LIST-ITEM-FILE",     "LIST-ITEM-HELPID", "LIST-ITEM-PARAM",
      "LIST-ITEM-CONSTANT", "LIST-ITEM-VALUE",  "LIST-ITEM-TYPE",
      "LIST-ITEM-TYPE-LOCATION", "LIST-ITEM-PAGE", "LIST-ITEM-SUMMARY"};
  src.set(kNames[which], std::move(value), itemHandles_[which]);
}

void MacroEngine::setItemPosition(std::size_t number, std::size_t count) {
  setItem(itemFirst, std::string(number == 1 ? "1" : ""));
  setItem(itemLast, std::string(number == count ? "1" : ""));
  setItem(itemNumber, std::to_string(number));
}

// Parameter, settings and item lists keep their order. Their last field is
// all that follows the separator before it, line breaks included:
//   "x" CR "the x value" CR "more" CR   -> param "x",
//                                          label "the x value" CR "more" CR
// An item of "ITEM-LIST" is name, value and description. Parameters and
// items that name a documented enum or type give its name and module as
// "LIST-ITEM-TYPE" and "LIST-ITEM-TYPE-LOCATION", empty otherwise.
void MacroEngine::loopOverFields(std::string_view listName,
                                 const MacroList& list, const MacroBlock& block,
                                 std::string& out) {
  const bool items = listName == "ITEM-LIST";
  const bool typed = items || listName == "PARAM-LIST";
  const bool withTypes = list.elements.size() == list.size();
  std::size_t fieldCount = listName == "PARAM-LIST" ? 2 : items ? 3 : 4;
  for (std::size_t i = 0; i < list.size(); ++i) {
    std::string_view item = list[i];
    std::string fields[4];
    std::size_t from = 0;
    for (std::size_t f = 0; f + 1 < fieldCount; ++f) {
      std::size_t cr = item.find('\r', from);
      if (cr == std::string_view::npos) {
        fields[f] = std::string(item.substr(from));
        from = item.size();
        break;
      }
      fields[f] = std::string(item.substr(from, cr - from));
      from = cr + 1;
    }
    std::string last(item.substr(std::min(from, item.size())));
    setItemPosition(i + 1, list.size());
    setItem(itemParam, std::move(fields[0]));
    if (fieldCount == 4) {
      setItem(itemConstant, std::move(fields[1]));
      setItem(itemValue, std::move(fields[2]));
    } else if (items) {
      setItem(itemValue, std::move(fields[1]));
    }
    if (typed) {
      const Element* type = withTypes ? list.elements[i].get() : nullptr;
      setItem(itemType, type ? type->name() : std::string());
      setItem(itemTypeLocation, type ? type->moduleName() : std::string());
    }
    setItem(itemLabel, std::move(last));
    chargeLoopItem(block.bodySize);
    run(block.body, false, out);
  }
}

namespace {

// "Class1.Load" CR "" -> Load, location Class1, the element's help number;
// """manual.chm" CR "" -> manual.chm, an external file. The link is made
// canonical, then led through the link table to the page that documents
// it. Resolving the canonical link again finds the same element (or, for a
// link that names nothing, the same warning, which is not repeated), so
// only a link that the table redirects is resolved a second time. `known`
// is the element the list holds for the item, if any: a link written in
// full names it without being looked up. Without `links` an item that
// would need resolving (which may warn) is left, and false returned.
bool normaliseLinkItem(const std::string& entry,
                       const std::shared_ptr<Element>* known,
                       const Element* context, Links* links,
                       const KeyedCollection<std::string>& linkTable,
                       LinkItem& item) {
  item = LinkItem();
  std::size_t cr = entry.find('\r');
  std::string_view linkText = std::string_view(entry).substr(0, cr);
  if (cr != std::string::npos) item.label = entry.substr(cr + 1);
  if (!linkText.empty() && linkText[0] == '"') {
    item.external = true;
    item.fileName = std::string(linkText.substr(1));
    item.location = "External file";
    if (item.label.empty()) item.label = item.fileName;
  } else {
    std::shared_ptr<Element> found;
    std::string canonical;
    std::string_view canonicalLink;
    // A held item with a label of its own and no element (a module that
    // has none) names nothing and is not looked up, so says nothing.
    const bool heldNothing = known && !*known && !item.label.empty();
    if (known && (*known || heldNothing) && Links::isFullLink(linkText)) {
      found = *known;
      canonicalLink = linkText;
    } else {
      if (!links) return false;
      found = links->getWrapperFromLink(context, linkText);
      canonical =
          found ? Links::getLinkFromWrapper(*found) : std::string(linkText);
      canonicalLink = canonical;
    }
    const std::string* mapped = linkTable.find(canonicalLink);
    const bool redirected = mapped && *mapped != canonicalLink;
    if (redirected && !links) return false;
    ParsedLink parsed =
        redirected ? links->parseLink(*mapped) : Links::partsOf(found);
    item.element = std::move(parsed.element);
    item.location = std::move(parsed.location);
    item.memberName = std::move(parsed.memberName);
    if (item.element) item.helpID = item.element->helpID;
    // A page the compile had to name otherwise: templates link to
    // "LIST-ITEM-FILE" when it is set, as they do for an external file.
    if (item.element && !item.element->pageFile.empty())
      item.fileName = item.element->pageFile;
    if (item.label.empty()) {
      if (item.memberName.empty())
        item.label = item.location;
      else if (item.element && item.element->needsModule)
        item.label = item.memberName + " (" + item.location + ")";
      else
        item.label = item.memberName;
    }
  }
  // Sorted by what follows the link in the normalised item: the label,
  // then the help number, as text.
  item.sortKey = item.label;
  item.sortKey += '\r';
  item.sortKey += std::to_string(item.helpID);
  for (char& c : item.sortKey) c = foldByte(c);
  return true;
}

// Lists this long (the index, the contents) have their items that need
// nothing resolved read on two threads.
constexpr std::size_t kItemsForTwoThreads = 4096;

}  // namespace

void MacroEngine::loopOverLinks(std::string_view listName,
                                const MacroList& list, const MacroBlock& block,
                                std::string& out) {
  const Element* context = elements_.compiledWrapper.get();
  std::vector<LinkItem> items(list.size());
  std::vector<char> done(list.size(), 0);
  const bool withElements = list.elements.size() == list.size();
  if (withElements && list.size() >= kItemsForTwoThreads) {
    // Such items touch nothing but the list, the elements and the link
    // table, and say nothing; what is left is read below, in order.
    auto readKnown = [&](std::size_t from, std::size_t to) {
      try {
        for (std::size_t i = from; i < to; ++i)
          done[i] = normaliseLinkItem(list[i], &list.elements[i], nullptr,
                                      nullptr, linkTable, items[i]);
      } catch (const std::exception&) {
      }
    };
    const std::size_t half = list.size() / 2;
    std::thread helper;
    try {
      helper = std::thread(readKnown, half, list.size());
    } catch (const std::system_error&) {
      // No thread to be had: the loop below reads them all.
    }
    readKnown(0, half);
    if (helper.joinable()) helper.join();
  }
  for (std::size_t i = 0; i < list.size(); ++i)
    if (!done[i])
      normaliseLinkItem(list[i], withElements ? &list.elements[i] : nullptr,
                        context, &links_, linkTable, items[i]);
  const bool modules = isModuleContentsList(listName);
  // Each item is stored once: its texts move into the macros.
  auto storeItem = [&](LinkItem& item, std::size_t number, std::size_t count) {
    setItemPosition(number, count);
    setItem(itemText,
            item.external ? item.fileName : std::move(item.memberName));
    setItem(itemFile, std::move(item.fileName));
    setItem(itemLocation, std::move(item.location));
    setItem(itemLabel, std::move(item.label));
    setItem(itemHelpID, std::to_string(item.helpID));
    // An external file is the user's to provide; an element's page may be
    // left out by the settings (a standard module's, by default).
    const bool page = item.external ||
                      (item.element && (!hasPage || hasPage(*item.element)));
    setItem(itemPage, std::string(page ? "1" : ""));
    if (summaryOf)
      setItem(itemSummary, item.element ? summaryOf(*item.element) : "");
    if (modules) setModuleLists(item.element.get());
  };
  // A loop with nothing in it leaves only its last item behind (templates
  // count lists so): the item sorted last is stored and every item charged
  // for, unless the charge would run out on the way, where the loop below
  // stops at the very item.
  const std::size_t cost = block.bodySize + limits.loopItemCost;
  if (block.body.empty() && !items.empty() &&
      loopText_ + items.size() * cost <= limits.loopText) {
    LinkItem* last = &items.front();
    for (LinkItem& item : items)
      if (!(item.sortKey < last->sortKey)) last = &item;
    storeItem(*last, items.size(), items.size());
    loopText_ += items.size() * cost;
    return;
  }

  std::vector<LinkItem*> sorted;
  sorted.reserve(items.size());
  for (LinkItem& item : items) sorted.push_back(&item);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const LinkItem* a, const LinkItem* b) {
                     return a->sortKey < b->sortKey;
                   });

  for (std::size_t i = 0; i < sorted.size(); ++i) {
    storeItem(*sorted[i], i + 1, sorted.size());
    chargeLoopItem(block.bodySize);
    run(block.body, false, out);
  }
}

// A module's own member lists, for a loop nested in a contents loop.
void MacroEngine::setModuleLists(const Element* module) {
  struct {
    const char* name;
    const ModuleListBuilder& build;
  } lists[] = {{"PROPS-LINK-LIST", getPropsList},
               {"METHODS-LINK-LIST", getMethodsList},
               {"EVENTS-LINK-LIST", getEventsList},
               {"ENUMS-LINK-LIST", getEnumsList},
               {"TYPES-LINK-LIST", getTypesList}};
  for (const auto& list : lists) {
    if (!list.build) continue;
    setMacroValue(list.name,
                  module ? MacroValue(list.build(*module)) : makeList({}));
  }
}

}  // namespace scrivlet
