// How the template loader asks the user about a failed file step. The
// add-in connects this to its file-error prompt; tests answer directly.
#ifndef SCRIVLET_COMPILER_FILE_ERROR_PROMPT_H_
#define SCRIVLET_COMPILER_FILE_ERROR_PROMPT_H_

#include <functional>
#include <string>

namespace scrivlet {

// Action codes of the prompt.
enum FileErrorAction {
  kFileErrorRetry = 0,
  kFileErrorSkip = 1,
  kFileErrorAbandon = 2,  // the prompt also sets abortRequested
  kFileErrorOther = 3,
};

// Arguments: the file's path, the operation word ("reading" or "saving")
// and the file runtime's error number (53 file not found, 52 bad file name,
// 70 permission denied, 76 path not found, 457 key already in a
// collection, ...). Returns an action code.
using FileErrorAsker = std::function<int(
    const std::string& path, const std::string& operation, int errorNumber)>;

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_FILE_ERROR_PROMPT_H_
