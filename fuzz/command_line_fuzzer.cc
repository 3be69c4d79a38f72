// Tessick's command-line reader: any text split as Windows hands it over,
// the options read from it, and the join of arbitrary arguments split back.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "masker/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::string_view text = scrivlet::fuzz::asText(data, size);
  std::vector<std::string> arguments = tessick::splitArguments(text);
  if (arguments.size() > 5) std::abort();  // only the first five count
  std::optional<tessick::Options> options = tessick::readOptions(arguments);
  if (options && !options->folder.empty() && options->folder.back() != '/')
    std::abort();

  // Arguments as a shell gives them (NUL-separated pieces), joined and
  // split again: the first five come back when none holds a double quote.
  std::vector<std::string> given = scrivlet::fuzz::pieces(data, size);
  std::string joined = tessick::joinArguments(given);
  (void)tessick::readOptions(tessick::splitArguments(joined));
  return 0;
}
