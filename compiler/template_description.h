// What a template says of itself, as the main dialog shows it beside the
// template list.
#ifndef SCRIVLET_COMPILER_TEMPLATE_DESCRIPTION_H_
#define SCRIVLET_COMPILER_TEMPLATE_DESCRIPTION_H_

#include <string>
#include <string_view>

#include "base/progress.h"

namespace scrivlet {

// The expansion of the template's "scriv-description" section on one line
// (every CR a space), with SCRIV-PATH set to `addinFolder` and OUTPUT-PATH
// to `outputPath`. A template that cannot be loaded gives
// "Cannot read description from <path> file.". Template warnings go to
// `progress`.
std::string readTemplateDescription(const std::string& path,
                                    const std::string& addinFolder,
                                    const std::string& outputPath,
                                    Progress& progress);

// A folder as a path macro holds it: one trailing separator removed and
// every "$" doubled, so that the outermost expansion gives the folder back.
//   "C:\Docs$\" -> "C:\Docs$$"     "/out/" -> "/out"
std::string pathMacroValue(std::string_view folder);

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_TEMPLATE_DESCRIPTION_H_
