// Test text as module and project files hold it.
#ifndef SCRIVLET_SOURCE_CRLF_TEST_UTIL_H_
#define SCRIVLET_SOURCE_CRLF_TEST_UTIL_H_

#include <initializer_list>
#include <string>

namespace scrivlet {

// Lines joined with CR LF, the last one ended too.
inline std::string crlf(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) (text += line) += "\r\n";
  return text;
}

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_CRLF_TEST_UTIL_H_
