// How a step that reads or writes a file asks the user what to do when it
// fails. The add-in connects this to its file-error prompt (askFileError in
// base/text_file.h); tests answer directly.
#ifndef SCRIVLET_BASE_FILE_ERROR_PROMPT_H_
#define SCRIVLET_BASE_FILE_ERROR_PROMPT_H_

#include <functional>
#include <string>

namespace scrivlet {

// Action codes of the prompt.
enum FileErrorAction : int {
  fileErrorRetry = 0,
  fileErrorSkip = 1,
  fileErrorAbandon = 2,  // the prompt also sets abortRequested
  fileErrorOther = 3,
};

// Arguments: the file's path, the operation word ("reading" or "saving")
// and the file runtime's error number (53 file not found, 52 bad file name,
// 70 permission denied, 76 path not found, 457 key already in a
// collection, ...). Returns an action code.
using FileErrorAsker = std::function<int(
    const std::string& path, const std::string& operation, int errorNumber)>;

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_FILE_ERROR_PROMPT_H_
