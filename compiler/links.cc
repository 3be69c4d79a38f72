#include "compiler/links.h"

#include "compiler/message_place.h"

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
                              context.moduleName() + "' module " + what,
                          placeOf(context));
}

Links::Parts Links::split(std::string_view link) {
  Parts parts;
  std::size_t dot = link.find('.');
  std::size_t apostrophe = link.find('\'');
  parts.hasDot = dot != std::string_view::npos;
  parts.module = parts.hasDot ? link.substr(0, dot) : link;
  if (apostrophe != std::string_view::npos)
    parts.suffix = link.substr(apostrophe);
  if (parts.hasDot) {
    std::size_t from = dot + 1;
    std::size_t to = apostrophe == std::string_view::npos ? link.size() : apostrophe;
    // An apostrophe in the module part leaves no member part.
    if (to > from) parts.member = link.substr(from, to - from);
  }
  return parts;
}

// A kind suffix needs a member to belong to.
bool Links::Parts::wrongSyntax() const { return !hasDot && !suffix.empty(); }

bool Links::Parts::rightSuffix() const {
  return suffix.empty() || suffix == "'set" || suffix == "'let" ||
         suffix == "'get";
}

// Neither the module nor, after a dot, the member left for the context to
// fill in.
bool Links::Parts::writtenInFull() const {
  return !module.empty() && (!member.empty() || !hasDot);
}

bool Links::isFullLink(std::string_view link) {
  if (!link.empty() && link[0] == '"') return false;
  Parts parts = split(link);
  return !parts.wrongSyntax() && parts.rightSuffix() && parts.writtenInFull();
}

std::shared_ptr<Element> Links::getWrapperFromLink(const Element* context,
                                                   std::string_view link) {
  if (!link.empty() && link[0] == '"') return nullptr;

  const Parts parts = split(link);
  if (parts.wrongSyntax()) {
    if (context) warn(*context, std::string(link), "has wrong syntax.");
    return nullptr;
  }
  if (!parts.rightSuffix()) {
    if (context)
      warn(*context, std::string(link),
           "contains wrong property type specifier \"" +
               std::string(parts.suffix) + "\".");
    return nullptr;
  }

  // Written in full, the link is its own key. The context fills what it
  // leaves out; without one, such a link names nothing and says nothing.
  std::string built;
  std::string_view key = link;
  if (!parts.writtenInFull()) {
    if (!context) return nullptr;
    built = parts.module.empty() ? context->moduleName()
                                 : std::string(parts.module);
    if (parts.hasDot) {
      built += '.';
      built += parts.member.empty() ? context->name()
                                    : std::string(parts.member);
      built += parts.suffix;
    }
    key = built;
  }
  if (const auto* found = elements_.all.find(key)) return *found;
  if (parts.suffix.empty()) {
    std::string withKind(key);
    for (const char* kind : {"'set", "'let", "'get"}) {
      withKind.resize(key.size());
      withKind += kind;
      if (const auto* found = elements_.all.find(withKind)) return *found;
    }
  }
  if (context)
    progress_.reportMessage("Warning: The dead link '" + std::string(link) +
                                "' was found in '" + context->name() +
                                "' member of '" + context->moduleName() +
                                "' module.",
                            placeOf(*context));
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
  return partsOf(getWrapperFromLink(elements_.compiledWrapper.get(), link));
}

ParsedLink Links::partsOf(const std::shared_ptr<Element>& element) {
  ParsedLink parsed;
  parsed.element = element;
  if (!element) return parsed;
  // The parts of its canonical link: module, member, kind suffix.
  parsed.location = element->moduleName();
  if (element->kind() != ElementKind::Smodule) {
    parsed.memberName = element->name();
    parsed.suffix = kindSuffix(element->kind());
  }
  return parsed;
}

}  // namespace scrivlet
