// The after-compile commands: the expanded "scriv-exec-after" section is
// written as a batch file into the output folder, run through the command
// interpreter, and what the commands printed is reported as one message.
//
// The batch file keeps its batch text on disk, for the record and for users
// who run it by hand. Here the interpreter is a POSIX shell: it gets the
// same lines without the code-page line, the leading '@' and the CR, so
// that each echo line and each command appends to the log as the batch
// would.
#ifndef SCRIVLET_COMPILER_EXEC_AFTER_H_
#define SCRIVLET_COMPILER_EXEC_AFTER_H_

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scrivlet {

class Progress;

// What the runner uses of the world; tests replace parts of it. Everything
// but the writer starts as the real thing.
struct ExecAfterServices {
  ExecAfterServices();

  // Creates or replaces a text file, every CR becoming CR LF: 0 written,
  // 1 abandoned by the user, 2 failed. The add-in's file writer, which
  // prompts on file errors, is connected here; without one nothing runs.
  std::function<int(const std::string& path, const std::string& text)>
      writeTextFile;
  // Reads a whole file as bytes; false when it cannot be read.
  std::function<bool(const std::string& path, std::string& text)> readFile;
  // True when the file is gone, also when it was never there.
  std::function<bool(const std::string& path)> removeFile;
  // Between two attempts to delete a temporary file: 100 ms.
  std::function<void()> pause;
  // Starts a program with variables added to its environment and waits for
  // its end: the front end connects the platform's runAndWait. Without one
  // nothing is started and the missing log is reported.
  std::function<bool(
      const std::string& application, const std::string& commandLine,
      Progress& progress,
      const std::vector<std::pair<std::string, std::string>>& environment)>
      run;
  // Empty: the variable "comspec" when set and not empty, else "/bin/sh".
  std::string interpreter;
  // The ANSI code page the batch file is written in.
  int codePage = 1252;
  // Whether the log shows each command before its output.
  bool echoCommands = true;
};

// The batch or log file in `outputFolder`: "execAfter." + `extension`,
// inside the folder whether or not it ends in '/'.
//   ("/doc/", "bat") -> "/doc/execAfter.bat"
//   ("/doc", "log")  -> "/doc/execAfter.log"
//   ("", "log")      -> "execAfter.log" (the current folder)
std::string execAfterFile(const std::string& outputFolder,
                          const std::string& extension);

// The batch text, lines ended by CR: the code-page line, then for every
// command, trimmed and not empty, a line that echoes it into the log and a
// line that runs it with its output appended to the log. Commands are
// separated by CR; a CR LF or a lone LF also ends a command, so that a
// stray LF cannot split one command into two batch lines.
std::string execAfterBatchText(std::string_view commands,
                               const std::string& logFile, int codePage);

// How the shell runs the batch's lines beyond what the batch says.
struct ShellScriptOptions {
  // Not empty: after each command its exit status is appended to this file,
  // one line each, so that a failed command is known by its own status.
  std::string statusFile;
  // False: the lines that echo each command into the log are left out, so
  // that the log holds only what the commands printed.
  bool echoCommands = true;
};

// The shell script of a batch text: every line but a leading "@CHCP " line,
// without its CR and its first '@', each ended by LF. The redirection to the
// log becomes ` >> 'log'`: the shell would expand a "$" of the path inside
// double quotes, and would read a command's last digit before ">>" as a
// file descriptor ("sleep 3>> log"). A command's line is told from its echo
// line by the blank before ">>", which only the echo line has.
std::string shellScriptFromBatch(std::string_view batchText,
                                 const std::string& logFile,
                                 const ShellScriptOptions& options = {});

// Runs `commands` (the expanded "scriv-exec-after" section) as described
// above and reports through `progress`: the log as one message, then an
// "ERROR: " line for every command that failed or was not found, and any
// failure of the runner with its "ERROR: " or "WARNING: " message. Blocks until the
// interpreter has ended. The commands run in the program's current folder,
// with `environment` added to the program's own: the values that the
// commands' "${SCRIV_...}" references name.
void runExecAfter(
    std::string_view commands, const std::string& outputFolder,
    Progress& progress, const ExecAfterServices& services = {},
    const std::vector<std::pair<std::string, std::string>>& environment = {});

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_EXEC_AFTER_H_
