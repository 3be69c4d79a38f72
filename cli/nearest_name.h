// Suggestions for a mistyped command or option: "elemnts" -> "elements".
#ifndef SCRIVLET_CLI_NEAREST_NAME_H_
#define SCRIVLET_CLI_NEAREST_NAME_H_

#include <string>
#include <string_view>
#include <vector>

namespace scrivlet {

// The name of `names` closest to `given` by edit distance (insertions,
// deletions, substitutions and swaps of two neighbours), when it is close
// enough to be what was meant: at most a third of its length, and at least
// one edit allowed. Empty when none is.
//   ("elemnts", {"compile", "elements"}) -> "elements"
//   ("--quite", {"--quiet", "--output"})  -> "--quiet"
//   ("zzz", {"compile"})                  -> ""
std::string nearestName(std::string_view given,
                        const std::vector<std::string>& names);

}  // namespace scrivlet

#endif  // SCRIVLET_CLI_NEAREST_NAME_H_
