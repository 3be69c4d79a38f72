// The template loader and the macro engine: piece 0 is a template file,
// each further piece a macro value "NAME=value" (a "-LIST" name takes items
// separated by byte 1). Every macro the template defined is then expanded,
// as the compiler expands sections.
#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "compiler/macro_engine.h"
#include "fuzz/fuzz_input.h"
#include "source/store.h"

using namespace scrivlet;

namespace {

class QuietSink : public ProgressSink {
 public:
  void showStatus(const std::string&) override {}
  void addMessage(const std::string&) override {}
};

bool isCharacterMacro(const std::string& name) {
  return endsWith(name, "CHR") &&
         name.find_first_not_of("0123456789") == name.size() - 3;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::vector<std::string> parts = fuzz::pieces(data, size);
  store elements;
  QuietSink sink;
  Progress progress(&sink);
  MacroEngine engine(elements, progress);
  engine.askFileError = [](const std::string&, const std::string&, int) {
    return 2;
  };
  // The limits are met the same way at a thousandth of the work, so that
  // each input takes milliseconds rather than seconds.
  engine.limits.loopText >>= 10;
  engine.limits.expandedText >>= 10;
  engine.loadTemplateText(parts[0], "fuzz.scvt", true);

  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::size_t eq = parts[i].find('=');
    if (eq == std::string::npos) continue;
    std::string name = parts[i].substr(0, eq);
    std::string value = parts[i].substr(eq + 1);
    if (endsWith(name, "-LIST"))
      engine.setMacroValue(name, makeList(split(value, "\x01")));
    else
      engine.setMacroValue(name, value);
  }

  int expanded = 0;
  for (const std::string& name : engine.src.names()) {
    if (isCharacterMacro(name)) continue;
    (void)engine.evaluateMacro(name, false);
    if (++expanded == 32) break;
  }
  engine.resetEngineState();
  return 0;
}
