#include "compiler/template_description.h"

#include "base/text.h"
#include "compiler/macro_engine.h"
#include "source/store.h"

namespace scrivlet {

std::string pathMacroValue(std::string_view folder) {
  if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
    folder.remove_suffix(1);
  return replaceAll(folder, "$", "$$");
}

std::string readTemplateDescription(const std::string& path,
                                    const std::string& addinFolder,
                                    const std::string& outputPath,
                                    Progress& progress) {
  store elements;
  MacroEngine engine(elements, progress);
  if (engine.loadSrc(path, true) != 0)
    return "Cannot read description from " + path + " file.";
  engine.setMacroValue("SCRIV-PATH", pathMacroValue(addinFolder));
  engine.setMacroValue("OUTPUT-PATH", pathMacroValue(outputPath));
  return replaceAll(engine.evaluateMacro("scriv-description", false), "\r",
                    " ");
}

}  // namespace scrivlet
