// Reading a template file into the macro store.
//
//   $MEMBER-EXT$ .htm                one-line definition: ".htm"
//   $scriv-method-body$              section: every line up to the line
//   <h1>$MEMBER-NAME$</h1>           "$end-scriv-method-body$", verbatim,
//   $end-scriv-method-body$          joined by CR
//
// Any line outside a definition that does not start with "$" (after its
// leading spaces) is free text and ignored.
#include "base/file_system.h"
#include "base/text.h"
#include "base/text_file.h"
#include "compiler/macro_engine.h"
#include "compiler/macro_name.h"
#include "compiler/message_place.h"

namespace scrivlet {

namespace {

constexpr int kDuplicateKey = 457;

}  // namespace

int MacroEngine::loadSrc(const std::string& file, bool silent) {
  src.clear();
  replaceTable.clear();
  std::string content;
  for (;;) {
    bool opened = false;
    int error = readRegularFile(file, content, &opened);
    if (error == 0) break;
    error = fileErrorFromErrno(error, file);
    if (silent) return opened ? 3 : 2;
    int action = askFileError ? askFileError(file, "reading", error)
                              : fileErrorAbandon;
    if (action == fileErrorRetry) continue;
    if (action == fileErrorAbandon) progress_.abortRequested = true;
    return 2;
  }
  return loadTemplateText(content, file, silent);
}

int MacroEngine::loadTemplateText(std::string_view content,
                                  const std::string& file, bool silent) {
  src.clear();
  replaceTable.clear();
  inlineHtml = InlineHtml();
  templateFile_ = file;
  int result = readTemplateLines(fileLines(content), file, silent);
  if (result != 0) return result;
  addCharacterMacros(file, silent, result);
  if (result != 0) return result;
  const MacroValue* table = src.find("REPLACE-TABLE");
  if (table && asText(*table)) replaceTable = parseReplaceMacro(*asText(*table));
  const MacroValue* tags = src.find("INLINE-HTML");
  if (tags && asText(*tags)) inlineHtml = InlineHtml(*asText(*tags));
  return 0;
}

int MacroEngine::readTemplateLines(const std::vector<std::string>& lines,
                                   const std::string& file, bool silent) {
  std::size_t i = 0;
  while (i < lines.size()) {
    std::string header = leftTrim(lines[i++]);
    if (header.empty() || header[0] != '$') continue;
    std::size_t headerLine = i;
    MacroName read = readMacroName(header, 0);
    const MessagePlace place{shownPath(file), static_cast<long>(headerLine)};
    if (!read.closed)
      progress_.reportMessage(wrongMacroNameMessage(read.quoted), place);
    std::string name = trim(read.name);

    std::string value;
    if (startsWith(name, "scriv-")) {
      std::string terminator = "$end-" + name + "$";
      std::vector<std::string> body;
      bool terminated = false;
      while (i < lines.size()) {
        const std::string& line = lines[i++];
        if (trim(line) == terminator) {
          terminated = true;
          break;
        }
        body.push_back(line);
      }
      if (!terminated) {
        progress_.reportMessage(
            "ERROR (config file): Error in configuration file " + file +
            " on line " + std::to_string(headerLine) + ". Terminating tag " +
            terminator + " missing.",
            place);
        break;
      }
      value = join(body, "\r");
    } else {
      // The value starts after the name and its two delimiters, even when
      // the name was cut short: "$MY MACRO$ x" gives MY = "MACRO$ x".
      std::size_t start = std::min(read.name.size() + 2, header.size());
      value = leftTrim(std::string_view(header).substr(start));
    }
    if (endsWith(name, "$")) name.pop_back();
    if (endsWith(value, "\r")) value.pop_back();
    // A section's text starts on the line after its header.
    const long firstLine =
        static_cast<long>(headerLine) + (startsWith(name, "scriv-") ? 1 : 0);
    int result =
        addDefinition(name, std::move(value), file, silent, firstLine);
    if (result != 0) return result;
  }
  return 0;
}

// A name defined twice is a read error of the file; retrying cannot read
// the duplicate again, so both retry and skip keep the first definition.
int MacroEngine::addDefinition(std::string_view name, std::string value,
                               const std::string& file, bool silent,
                               long line) {
  if (src.add(name, std::move(value), line)) return 0;
  if (silent) return 3;
  int action = askFileError ? askFileError(file, "reading", kDuplicateKey)
                            : fileErrorSkip;
  if (action == fileErrorRetry || action == fileErrorSkip) return 0;
  if (action == fileErrorAbandon) progress_.abortRequested = true;
  return 2;
}

void MacroEngine::addCharacterMacros(const std::string& file, bool silent,
                                     int& result) {
  for (int code = 0; code < 256 && result == 0; ++code)
    result = addDefinition(std::to_string(code) + "CHR",
                           std::string(1, static_cast<char>(code)), file,
                           silent);
}

std::vector<std::string> MacroEngine::parseReplaceMacro(
    std::string_view value) {
  std::vector<std::string> tokens = split(value, " ");
  bool saved = replaceOn;
  replaceOn = false;
  for (std::string& token : tokens) {
    try {
      token = expandText(token, false);
    } catch (const ExpansionError&) {
      // A counter that overflows leaves the token as written.
    } catch (const TemplateLimitReached&) {
      // So do blocks nested too deeply.
    }
  }
  replaceOn = saved;
  return tokens;
}

}  // namespace scrivlet
