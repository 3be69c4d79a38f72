// Writing a user's file so that it is never left half-written: the bytes go
// to a temporary file in the same folder, which is then renamed over the
// original. A rename within one folder replaces the file in one step, so a
// reader (or a crash) sees either the old file or the new one.
#ifndef SCRIVLET_PLATFORM_ATOMIC_FILE_H_
#define SCRIVLET_PLATFORM_ATOMIC_FILE_H_

#include <string>
#include <string_view>

namespace scrivlet {

// Replaces (or creates) `path` with `bytes`. An existing file keeps its
// permission bits; a file without any write permission bit is read-only and
// is not replaced, whoever runs the program. A link is written through to
// its file. The temporary file is hidden (".Calc.bas.scrivlet-XXXXXX"),
// Ctrl+C waits until it is renamed or removed, and leftovers of a save that
// was killed are removed. On failure the original is untouched, `error`
// names the file and the cause, and false is returned.
bool writeFileAtomically(const std::string& path, std::string_view bytes,
                         std::string& error);

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_ATOMIC_FILE_H_
