#include "compiler/inline_html.h"

#include <algorithm>

namespace scrivlet {

namespace {

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isNameByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9');
}

constexpr std::size_t kMaxOpen = 64;

// Tags that hold nothing and are never closed.
bool isVoid(std::string_view name) { return name == "br"; }

// Tags that a second one of their kind closes, as a browser reads them.
bool closesItsKind(std::string_view name) { return name == "p" || name == "li"; }

}  // namespace

InlineHtml::InlineHtml(std::string_view tagList) {
  std::size_t at = 0;
  while (at < tagList.size()) {
    while (at < tagList.size() && !isNameByte(tagList[at])) ++at;
    std::string name;
    while (at < tagList.size() && isNameByte(tagList[at]))
      name += lower(tagList[at++]);
    if (!name.empty() &&
        std::find(tags_.begin(), tags_.end(), name) == tags_.end())
      tags_.push_back(std::move(name));
  }
}

bool InlineHtml::tagAt(std::string_view text, std::size_t at,
                       std::string& name, bool& closing,
                       std::size_t& length) const {
  std::size_t i = at + 1;
  closing = i < text.size() && text[i] == '/';
  if (closing) ++i;
  name.clear();
  while (i < text.size() && isNameByte(text[i])) name += lower(text[i++]);
  if (name.empty() ||
      std::find(tags_.begin(), tags_.end(), name) == tags_.end())
    return false;
  if (!closing && isVoid(name)) {
    if (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && text[i] == '/') ++i;
  }
  if (i >= text.size() || text[i] != '>') return false;
  if (closing && isVoid(name)) return false;
  length = i + 1 - at;
  return true;
}

void InlineHtml::apply(std::string_view text, const ReplaceTable& table,
                       std::vector<std::string>& open,
                       std::string& out) const {
  std::size_t from = 0;
  std::size_t at = text.find('<');
  std::string name;
  while (at != std::string_view::npos) {
    bool closing = false;
    std::size_t length = 0;
    auto innermost = open.rend();
    bool taken = tagAt(text, at, name, closing, length);
    // A text that opens tags without end stays text from some depth on:
    // no page nests markup that deep, and finding a closing tag's match
    // must stay cheap.
    if (taken && !closing && !isVoid(name) && open.size() >= kMaxOpen)
      taken = false;
    if (taken && closing) {
      innermost = std::find(open.rbegin(), open.rend(), name);
      taken = innermost != open.rend();
    }
    if (!taken) {
      at = text.find('<', at + 1);
      continue;
    }
    table.apply(text.substr(from, at - from), out);
    if (closing) {
      // Whatever was opened inside it ends with it.
      const std::size_t keep =
          static_cast<std::size_t>(open.rend() - innermost) - 1;
      while (open.size() > keep) {
        out += "</" + open.back() + ">";
        open.pop_back();
      }
    } else {
      if (closesItsKind(name) && !open.empty() && open.back() == name) {
        out += "</" + name + ">";
        open.pop_back();
      }
      out += "<" + name + ">";
      if (!isVoid(name)) open.push_back(name);
    }
    from = at + length;
    at = text.find('<', from);
  }
  table.apply(text.substr(from), out);
}

void InlineHtml::close(std::vector<std::string>& open, std::string& out) {
  while (!open.empty()) {
    out += "</" + open.back() + ">";
    open.pop_back();
  }
}

}  // namespace scrivlet
