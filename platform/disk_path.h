// Files named by a project: paths written the Windows way, relative to the
// project file's folder, by a program that did not care about case.
#ifndef SCRIVLET_PLATFORM_DISK_PATH_H_
#define SCRIVLET_PLATFORM_DISK_PATH_H_

#include <string>
#include <string_view>

namespace scrivlet {

// The file that `written` names, seen from `folder`: backslashes become
// "/", and when the exact path does not exist each component is matched
// without regard to case ("Component\Connect.Dsr" finds
// "component/Connect.dsr"). A path that cannot be found comes back joined
// as written, for the message that says so.
std::string resolveWrittenPath(const std::string& folder,
                               std::string_view written);

// The last component of a path written either way: "res\Calc.res" ->
// "Calc.res".
std::string writtenFileName(std::string_view written);

// Reads a whole file; false with `error` naming the file and the cause.
bool readFileBytes(const std::string& path, std::string& bytes,
                   std::string& error);

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_DISK_PATH_H_
