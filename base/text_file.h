// Writing whole text files, and the prompt that asks the user what to do
// when a file operation fails.
//
// Text inside the add-in separates lines with a single CR; on disk every CR
// becomes CR LF and nothing is added after the last line.
#ifndef SCRIVLET_BASE_TEXT_FILE_H_
#define SCRIVLET_BASE_TEXT_FILE_H_

#include <string>
#include <string_view>
#include <vector>

#include "base/file_error_prompt.h"
#include "base/file_system.h"
#include "base/message_box.h"
#include "base/progress.h"

namespace scrivlet {

// What file operations need from their surroundings: the file system, someone
// to ask when a step fails, and the reporting state whose `abortRequested`
// an abandoned prompt sets.
struct FileServices {
  FileSystem& files;
  MessageBox& messages;
  Progress& progress;
};

// Result codes of writeTextFile and appendTextFile.
enum : int { writeDone = 0, writeAbandoned = 1, writeFailed = 2 };

// Creates or overwrites `path` with `text`, CR turned into CR LF. A failure
// is answered with 2 when `silent`; otherwise the user is asked (operation
// "saving"): retry repeats the write, skip gives 0, abandon 1, anything else
// 2, which also counts the file in `Progress::failedWrites` and reports an
// "ERROR: " naming it.
int writeTextFile(FileServices& services, const std::string& path,
                  const std::string& text, bool silent);
// The same, adding to the end of `path` and creating it when missing.
int appendTextFile(FileServices& services, const std::string& path,
                   const std::string& text, bool silent);

// The bytes on disk of `text`: every CR becomes CR LF.
std::string diskText(std::string_view text);
// Replaces `path` by `bytes`, or adds them to its end: 0 or a file error.
int writeBytes(FileSystem& files, const std::string& path,
               const std::string& bytes, bool append);
// Answers a write of `bytes` that failed with `error` as writeTextFile and
// appendTextFile answer their own: the same codes, the same prompt.
int answerFailedWrite(FileServices& services, const std::string& path,
                      const std::string& bytes, bool append, int error,
                      bool silent);

// The system's words for file error `errorNumber`: 61 "No space left on
// device", 70 "Permission denied".
std::string fileErrorReason(int errorNumber);

// The message and buttons of the prompt for file error `errorNumber`.
struct FileErrorPrompt {
  std::string message;
  MessageButtons buttons;
};
FileErrorPrompt fileErrorPrompt(int errorNumber);

// Shows the file-error prompt titled "Error " + operation + " " + path +
// " file" and answers an action code: 0 retry (OK, Retry, Yes), 1 skip
// (Ignore), 2 abandon (Cancel, Abort, No; sets abortRequested), 3 other.
int askFileError(FileServices& services, const std::string& path,
                 const std::string& operation, int errorNumber);

// The lines of a text file as the file runtime reads them: a line ends at
// CR LF, LF or a lone CR, and a line end after the last line does not start
// another. "a\r\nb\n" -> {"a", "b"}; "" -> {}; "a\r\n\r\n" -> {"a", ""}.
std::vector<std::string> fileLines(std::string_view bytes);

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_TEXT_FILE_H_
