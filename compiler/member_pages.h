// One page of documentation per element: the element publishes its facts as
// macros ("MEMBER-NAME", "PARAM-LIST", ...) and expands the body section of
// its kind. Also the element's source text, and whether its name needs the
// module's name beside it to be told apart.
#ifndef SCRIVLET_COMPILER_MEMBER_PAGES_H_
#define SCRIVLET_COMPILER_MEMBER_PAGES_H_

#include <array>
#include <string>
#include <unordered_map>

#include "base/project_settings.h"
#include "comments/comment_parser.h"
#include "compiler/macro_engine.h"
#include "compiler/preparation.h"
#include "source/elements.h"
#include "source/store.h"

namespace scrivlet {

// The macros every page sets, and where each is in the store: a page sets
// some thirty of them, and finding each by its name again for every page
// of a large project cost more than storing the values.
enum PageMacro {
  pageApplies, pageProps, pageMethods, pageEvents, pageSee, pageParams,
  pageSet01, pageSet02, pageSet03, pageExamples, pageDescription,
  pageRemarks, pageReturn, pageName, pageModule, pageFile, pageAuthor,
  pageRevision, pageVersion, pageUser1, pageUser2, pageUser3, pageUser4,
  pageUser5, pagePrivate, pagePublic, pageFriend, pageDeclaration,
  pageSourceCode, pageNeedsModule, pageModuleFile, pageEnums, pageTypes,
  pageItems, pageType, pageTypeLocation, pageModulePage, pageMacroCount
};
using PageMacroHandles = std::array<MacroStore::Handle, pageMacroCount>;

// What compiling a page reads and writes; one per project compile, the
// parser shared by every page.
struct PageContext {
  store& elements;
  MacroEngine& engine;
  const ProjectSettings& settings;
  CommentParser& parser;
  Preparation& preparation;
  PageMacroHandles handles = {};
  // "MEMBER-" + each user tag name in capitals, for the name it was made
  // from.
  struct UserMacro {
    std::string tagName;
    std::string name;
    MacroStore::Handle handle;
  };
  std::array<UserMacro, 5> userMacros = {};
  // The template's MEMBER-EXT, and the module pages that the compile gave
  // another file name than the module's name + MEMBER-EXT: a member's page
  // links to its module's page through "MEMBER-MODULE-FILE".
  std::string memberExt = {};
  std::unordered_map<const CodeModule*, std::string> modulePageFiles = {};
};

// The expanded body section of `element`. A failure while its comment
// values are stored propagates; later steps (scope, declaration, source,
// the description written back) are skipped when they fail.
std::string compile(Element& element, PageContext& context);

// The body section an element's page expands: "scriv-method-body",
// "scriv-function-body" (a method of a standard module), ...
std::string bodySection(const Element& element);

// The procedure's source from its declaration line to its last line, lines
// joined by CR. A property gives its own procedure, then its others in the
// same module (Get, Set, Let), each after a blank line. A member of the
// declarations section, an event or a property without procedures gives its
// statement. "" for a module, or when the source cannot be read.
std::string getSourceCode(const Element& element,
                          const Preparation& preparation);

// Sets `needsModule` on every element that another element of the same
// kind and name would be confused with, unless the two share their
// documentation.
void markNeedsModuleName(const store& elements, const Preparation& preparation);

// Whether the compile writes a page for `element`: a module's page only
// when the settings document its kind (standard modules, forms, other
// objects); a member of the page index always has one.
bool pageWritten(const Element& element, const ProjectSettings& settings);
// Whether a module of component kind `type` gets a page: standard modules
// with comStdModule, forms with comForm, all others with comObject.
bool modulePageWritten(int type, const ProjectSettings& settings);

// The first sentence of a description, for a one-line summary: up to the
// first ".", "!" or "?" that a blank or the end follows, or to the first
// line break ("$EOL$", an empty comment line) or code example; comment
// line ends become blanks.
//   "Adds two\rnumbers. Fast." -> "Adds two numbers."
std::string firstSentence(std::string_view description);

// Lines `from` to `to` joined by CR; empty lines at the start are dropped.
std::string lineRangeText(const CodeModule& module, long from, long to);

// The description as the environment stores it: one trailing CR dropped,
// the other CRs made spaces, "$EOL$" made a line break (CR LF).
//   "Adds two\rnumbers.$EOL$Fast.\r" -> "Adds two numbers.\r\nFast."
std::string descriptionForHost(const std::string& description);

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_MEMBER_PAGES_H_
