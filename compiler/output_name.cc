#include "compiler/output_name.h"

namespace scrivlet {

bool isSafeOutputName(std::string_view name) {
  if (name.empty()) return false;
  bool onlyDotsAndSpaces = true;
  for (char c : name) {
    auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || c == ':' || u < 32 || u == 127) return false;
    if (c != '.' && c != ' ') onlyDotsAndSpaces = false;
  }
  return !onlyDotsAndSpaces;
}

}  // namespace scrivlet
