// Links between documented elements, as written in "@see", "@example" and
// "@same" tags, and the canonical link under which every element is stored.
//
//   Module            the module itself
//   Module.Member     a member; a property without a kind falls back to its
//                     Set, then Let, then Get procedure
//   Module.Member'get the Get (also 'let, 'set; lower case only)
//   .Member           a member of the context element's module
//   Module.           the member named as the context element, in Module
//   "file.htm         an external file (never resolves to an element)
//
// The context element is the one whose comment holds the link.
#ifndef SCRIVLET_COMPILER_LINKS_H_
#define SCRIVLET_COMPILER_LINKS_H_

#include <memory>
#include <string>
#include <string_view>

#include "base/progress.h"
#include "source/elements.h"
#include "source/store.h"

namespace scrivlet {

// What `parseLink` finds in a link.
struct ParsedLink {
  std::string memberName;  // empty for a module and for an external file
  std::string location;    // the module, or the file of an external link
  std::string suffix;      // "'get", "'let", "'set" or ""
  std::shared_ptr<Element> element;
};

class Links {
 public:
  Links(store& elements, Progress& progress)
      : elements_(elements), progress_(progress) {}

  // Form1, Form1.cmdOK_Click, Class1.Value'let.
  static std::string getLinkFromWrapper(const Element& element);

  // The element `link` names, or null. Reports a wrong syntax, a wrong
  // property kind or a dead link, naming the link and the context.
  std::shared_ptr<Element> getWrapperFromLink(const Element* context,
                                              std::string_view link);
  // Whether `link` is written in full, with a right kind suffix if any:
  // resolving it looks up the link itself, whatever the context.
  static bool isFullLink(std::string_view link);
  // The canonical link of the element `link` names; `link` itself when it
  // names nothing.
  std::string canonizeLink(const Element* context, std::string_view link);
  // Resolves `link` in the context of the element being compiled.
  ParsedLink parseLink(std::string_view link);
  // What `parseLink` gives for a link that resolved to `element` (all
  // empty for none).
  static ParsedLink partsOf(const std::shared_ptr<Element>& element);

 private:
  // "Module.Member'kind" cut at the first dot and the first apostrophe.
  struct Parts {
    std::string_view module;
    std::string_view member;
    std::string_view suffix;  // from the apostrophe on
    bool hasDot = false;
    bool wrongSyntax() const;
    bool rightSuffix() const;
    bool writtenInFull() const;
  };
  static Parts split(std::string_view link);
  void warn(const Element& context, const std::string& link,
            const std::string& middle);

  store& elements_;
  Progress& progress_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_LINKS_H_
