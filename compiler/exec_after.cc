#include "compiler/exec_after.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "base/command_line.h"
#include "base/progress.h"
#include "base/text.h"

namespace scrivlet {

namespace {

const char kBatchError[] = "ERROR: Cannot create and execute batch file.";
// Attempts to delete the temporary files after the first, over both files.
constexpr int kDeleteRetries = 10;

// Text split at every CR LF, CR or LF.
std::vector<std::string> lines(std::string_view text) {
  return split(replaceAll(replaceAll(text, "\r\n", "\r"), "\n", "\r"), "\r");
}

// `text` in single quotes, where the shell takes every character as it is.
std::string singleQuoted(std::string_view text) {
  return "'" + replaceAll(text, "'", "'\\''") + "'";
}

// A command as the shell should echo it: in double quotes, so that an
// operator in it ("cd x && y", "a; b", "a | b") is printed, not run, while
// the "${SCRIV_...}" references of the project's values still show their
// values. Every other "$", and every backquote, backslash and double quote,
// is escaped.
std::string echoWord(std::string_view command) {
  std::string out = "\"";
  for (std::size_t i = 0; i < command.size(); ++i) {
    char c = command[i];
    if (c == '\\' || c == '"' || c == '`' ||
        (c == '$' && !startsWith(command.substr(i), "${SCRIV_")))
      out += '\\';
    out += c;
  }
  return out + '"';
}

// The commands of a section as the batch holds them: trimmed, not empty.
std::vector<std::string> commandLines(std::string_view commands) {
  std::vector<std::string> out;
  for (const std::string& line : lines(commands))
    if (std::string command = trim(line); !command.empty())
      out.push_back(std::move(command));
  return out;
}

// An "ERROR: " line for each command whose exit status in `statuses` (one
// line each, in order) is not 0.
void reportFailedCommands(std::string_view commands, std::string_view statuses,
                          Progress& progress) {
  std::vector<std::string> commandList = commandLines(commands);
  std::vector<std::string> statusList = lines(statuses);
  for (std::size_t i = 0; i < commandList.size() && i < statusList.size(); ++i) {
    const std::string status = trim(statusList[i]);
    if (status.empty() || status == "0") continue;
    progress.reportMessage(
        status == "127"
            ? "ERROR: The after-compile command was not found: " +
                  commandList[i]
            : "ERROR: The after-compile command failed with exit status " +
                  status + ": " + commandList[i]);
  }
}

// The log as one message: lines separated by a single CR, as everywhere
// inside the system, whether the commands wrote CR LF or LF; without the
// line end after the last line, which would only add an empty line.
std::string logMessage(std::string_view log) {
  std::string text = join(lines(log), "\r");
  if (endsWith(text, "\r")) text.pop_back();
  return text;
}

void deleteTemporaryFiles(const std::string& batchFile,
                          const std::string& logFile, Progress& progress,
                          const ExecAfterServices& services) {
  int retries = 0;
  for (const std::string* file : {&batchFile, &logFile}) {
    while (!services.removeFile(*file)) {
      if (retries == kDeleteRetries) {
        progress.reportMessage("WARNING: Cannot delete temporary batch (" +
                               batchFile + ") or log (" + logFile +
                               ") files.");
        return;
      }
      ++retries;
      services.pause();
    }
  }
}

bool readWholeFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return !in.bad();
}

bool deleteFile(const std::string& path) {
  std::error_code error;
  std::filesystem::remove(path, error);
  return !error;
}

void pauseBeforeRetry() {
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

std::string commandInterpreter() {
  const char* comspec = std::getenv("comspec");
  return comspec && *comspec ? comspec : "/bin/sh";
}

}  // namespace

ExecAfterServices::ExecAfterServices()
    : readFile(readWholeFile),
      removeFile(deleteFile),
      pause(pauseBeforeRetry) {}

std::string execAfterFile(const std::string& outputFolder,
                          const std::string& extension) {
  std::string folder = outputFolder;
  if (!folder.empty() && !endsWith(folder, "/")) folder += '/';
  return folder + "execAfter." + extension;
}

std::string execAfterBatchText(std::string_view commands,
                               const std::string& logFile, int codePage) {
  const std::string toLog = ">> \"" + logFile + "\"";
  std::string batch = "@CHCP " + std::to_string(codePage) + " > :NUL\r";
  for (const std::string& line : lines(commands)) {
    std::string command = trim(line);
    if (command.empty()) continue;
    batch += "@echo " + command + " " + toLog + "\r";
    batch += "@" + command + toLog + "\r";
  }
  return batch;
}

std::string shellScriptFromBatch(std::string_view batchText,
                                 const std::string& logFile,
                                 const ShellScriptOptions& options) {
  const std::string batchRedirection = ">> \"" + logFile + "\"";
  const std::string shellRedirection = " >> " + singleQuoted(logFile);
  std::vector<std::string> batchLines = lines(batchText);
  // The text ends with a line end, which leaves an empty last piece.
  if (!batchLines.empty() && batchLines.back().empty()) batchLines.pop_back();
  std::string script;
  for (std::size_t i = 0; i < batchLines.size(); ++i) {
    std::string_view line = batchLines[i];
    if (i == 0 && startsWith(line, "@CHCP ")) continue;
    if (startsWith(line, "@")) line.remove_prefix(1);
    if (endsWith(line, batchRedirection)) {
      line.remove_suffix(batchRedirection.size());
      const bool echo = endsWith(line, " ");
      if (echo && !options.echoCommands) continue;
      if (echo && startsWith(line, "echo "))
        script += "echo " + echoWord(rightTrim(line.substr(5)));
      else
        script.append(rightTrim(line));
      script += shellRedirection;
      if (!echo && !options.statusFile.empty())
        script += "; echo $? >> " + singleQuoted(options.statusFile);
    } else {
      script.append(line);
    }
    script += '\n';
  }
  return script;
}

void runExecAfter(
    std::string_view commands, const std::string& outputFolder,
    Progress& progress, const ExecAfterServices& services,
    const std::vector<std::pair<std::string, std::string>>& environment) {
  const std::string batchFile = execAfterFile(outputFolder, "bat");
  const std::string logFile = execAfterFile(outputFolder, "log");
  const std::string statusFile = execAfterFile(outputFolder, "status");
  const std::string batch =
      execAfterBatchText(commands, logFile, services.codePage);
  if (!services.writeTextFile ||
      services.writeTextFile(batchFile, batch) != 0) {
    progress.reportMessage(kBatchError);
    return;
  }
  // The commands append to the log: one left behind by an earlier run would
  // be reported as the output of this one.
  services.removeFile(logFile);
  services.removeFile(statusFile);

  const std::string interpreter = services.interpreter.empty()
                                      ? commandInterpreter()
                                      : services.interpreter;
  // A failed start has been reported; the missing log then says the rest.
  if (services.run)
    services.run(interpreter,
                 quoteArgument(interpreter) + " -c " +
                     quoteArgument(shellScriptFromBatch(
                         batch, logFile, {statusFile, services.echoCommands})),
                 progress, environment);
  std::string log;
  std::string statuses;
  bool haveStatuses = services.readFile(statusFile, statuses);
  services.removeFile(statusFile);
  if (!services.readFile(logFile, log) && !haveStatuses) {
    progress.reportMessage(kBatchError);
    return;
  }
  // Quiet commands leave no log when their echo is left out.
  if (!log.empty()) progress.reportMessage(logMessage(log));
  reportFailedCommands(commands, statuses, progress);
  deleteTemporaryFiles(batchFile, logFile, progress, services);
}

}  // namespace scrivlet
