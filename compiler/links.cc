#include "compiler/links.h"

namespace scrivlet {

namespace {

const char* kindSuffix(ElementKind kind) {
  switch (kind) {
    case ElementKind::SpropGet: return "'get";
    case ElementKind::SpropLet: return "'let";
    case ElementKind::SpropSet: return "'set";
    default: return "";
  }
}

}  // namespace

std::string Links::getLinkFromWrapper(const Element& element) {
  if (element.kind() == ElementKind::Smodule) return element.moduleName();
  return element.moduleName() + "." + element.name() +
         kindSuffix(element.kind());
}

// Every warning names the link and the context element; a module element
// stands as its own member.
void Links::warn(const Element& context, const std::string& link,
                 const std::string& what) {
  progress_.reportMessage("Warning: The link '" + link + "' in '" +
                          context.name() + "' member of '" +
                          context.moduleName() + "' module " + what);
}

std::shared_ptr<Element> Links::getWrapperFromLink(const Element* context,
                                                   std::string_view linkText) {
  std::string link(linkText);
  if (!link.empty() && link[0] == '"') return nullptr;

  std::size_t dot = link.find('.');
  std::size_t apostrophe = link.find('\'');
  bool hasDot = dot != std::string::npos;
  if (!hasDot && apostrophe != std::string::npos) {
    if (context) warn(*context, link, "has wrong syntax.");
    return nullptr;
  }
  std::string modulePart = hasDot ? link.substr(0, dot) : link;
  std::string suffix =
      apostrophe == std::string::npos ? "" : link.substr(apostrophe);
  std::string memberPart;
  if (hasDot) {
    std::size_t from = dot + 1;
    std::size_t to = apostrophe == std::string::npos ? link.size() : apostrophe;
    // An apostrophe in the module part leaves no member part.
    if (to > from) memberPart = link.substr(from, to - from);
  }

  // The context fills what the link leaves out; without one, such a link
  // cannot be resolved and nothing is reported.
  if (modulePart.empty() || (memberPart.empty() && hasDot)) {
    if (!context) return nullptr;
    if (modulePart.empty()) modulePart = context->moduleName();
    if (memberPart.empty() && hasDot) memberPart = context->name();
  }

  if (!suffix.empty() && suffix != "'set" && suffix != "'let" &&
      suffix != "'get") {
    if (context)
      warn(*context, link,
           "contains wrong property type specifier \"" + suffix + "\".");
    return nullptr;
  }

  std::string key = modulePart;
  if (!memberPart.empty()) key += "." + memberPart + suffix;
  if (const auto* found = elements_.all.find(key)) return *found;
  if (suffix.empty()) {
    for (const char* kind : {"'set", "'let", "'get"})
      if (const auto* found = elements_.all.find(key + kind)) return *found;
  }
  if (context)
    progress_.reportMessage("Warning: The dead link '" + link +
                            "' was found in '" + context->name() +
                            "' member of '" + context->moduleName() +
                            "' module.");
  return nullptr;
}

std::string Links::canonizeLink(const Element* context, std::string_view link) {
  std::shared_ptr<Element> element = getWrapperFromLink(context, link);
  return element ? getLinkFromWrapper(*element) : std::string(link);
}

ParsedLink Links::parseLink(std::string_view link) {
  ParsedLink parsed;
  if (!link.empty() && link[0] == '"') {
    parsed.location = std::string(link.substr(1));
    return parsed;
  }
  parsed.element = getWrapperFromLink(elements_.compiledWrapper.get(), link);
  if (!parsed.element) return parsed;
  std::string canonical = getLinkFromWrapper(*parsed.element);
  parsed.suffix = kindSuffix(parsed.element->kind());
  std::size_t dot = canonical.find('.');
  parsed.location = canonical.substr(0, dot);
  if (dot != std::string::npos)
    parsed.memberName = canonical.substr(
        dot + 1, canonical.size() - dot - 1 - parsed.suffix.size());
  return parsed;
}

}  // namespace scrivlet
