#include "base/text_file.h"

#include <cerrno>
#include <cstring>

#include "base/text.h"

namespace scrivlet {

namespace {

// The write is one step for the file system (it replaces or appends in one
// go), so "retry" repeats it and "skip" leaves the file as it is.
template <typename Write>
int answerWrite(FileServices& services, const std::string& path, bool silent,
                Write write, int error) {
  for (;;) {
    if (error == 0) return writeDone;
    if (silent) return writeFailed;
    switch (askFileError(services, path, "saving", error)) {
      case fileErrorRetry:
        error = write();
        continue;
      case fileErrorSkip:
        return writeDone;
      case fileErrorAbandon:
        return writeAbandoned;
      default:
        // Nobody answered (the command line in a script): the file is lost
        // output, which the run must not end without saying.
        ++services.progress.failedWrites;
        services.progress.reportMessage("ERROR: Cannot write " + path + ": " +
                                        fileErrorReason(error));
        return writeFailed;
    }
  }
}

}  // namespace

std::string diskText(std::string_view text) {
  return replaceAll(text, "\r", "\r\n");
}

int writeBytes(FileSystem& files, const std::string& path,
               const std::string& bytes, bool append) {
  return append ? files.appendFile(path, bytes) : files.writeFile(path, bytes);
}

int answerFailedWrite(FileServices& services, const std::string& path,
                      const std::string& bytes, bool append, int error,
                      bool silent) {
  return answerWrite(
      services, path, silent,
      [&] { return writeBytes(services.files, path, bytes, append); }, error);
}

namespace {

int writeText(FileServices& services, const std::string& path,
              const std::string& text, bool append, bool silent) {
  const std::string bytes = diskText(text);
  return answerFailedWrite(services, path, bytes, append,
                           writeBytes(services.files, path, bytes, append),
                           silent);
}

}  // namespace

int writeTextFile(FileServices& services, const std::string& path,
                  const std::string& text, bool silent) {
  return writeText(services, path, text, false, silent);
}

int appendTextFile(FileServices& services, const std::string& path,
                   const std::string& text, bool silent) {
  return writeText(services, path, text, true, silent);
}

std::string fileErrorReason(int errorNumber) {
  int system = 0;
  switch (errorNumber) {
    case fileError::badFileName:
    case fileError::badFileNameOrNumber: system = EINVAL; break;
    case fileError::fileNotFound:
    case fileError::pathNotFound: system = ENOENT; break;
    case fileError::fileAlreadyOpen: system = EBUSY; break;
    case fileError::deviceIOError: system = EIO; break;
    case fileError::fileAlreadyExists: system = EEXIST; break;
    case fileError::diskFull: system = ENOSPC; break;
    case fileError::tooManyFiles: system = EMFILE; break;
    case fileError::deviceUnavailable: system = ENODEV; break;
    case fileError::permissionDenied: system = EACCES; break;
    default: return "file error " + std::to_string(errorNumber);
  }
  return std::strerror(system);
}

FileErrorPrompt fileErrorPrompt(int errorNumber) {
  const MessageButtons retry = MessageButtons::RetryCancel;
  switch (errorNumber) {
    case fileError::badFileName:
    case fileError::badFileNameOrNumber:
      return {"That filename is illegal.", retry};
    case fileError::badFileMode:
      return {"Can't open your file for that type of access.", retry};
    case fileError::fileAlreadyOpen:
      return {"This file is already open.", retry};
    case fileError::deviceIOError:
      return {"Internal disk error.", retry};
    case fileError::diskFull:
      return {"Disk is full. Continue?", MessageButtons::YesNoCancel};
    case fileError::inputPastEndOfFile:
      return {
          "This file has a nonstandard end-of-file marker, or an attempt "
          "was made to read beyond the end-of-file marker.",
          retry};
    case fileError::deviceUnavailable:
      return {"That device appears unavailable.", retry};
    case fileError::permissionDenied:
      return {"Permission denied. The file may be read only.", retry};
    case fileError::diskNotReady:
      return {"Insert a disk in the drive and close the door.", retry};
    case fileError::pathNotFound:
      return {"That path doesn't exist.", retry};
    default:
      return {"Unrecognized file error.", retry};
  }
}

int askFileError(FileServices& services, const std::string& path,
                 const std::string& operation, int errorNumber) {
  FileErrorPrompt prompt = fileErrorPrompt(errorNumber);
  MessageAnswer answer = services.messages.show(
      "Error " + operation + " " + path + " file", prompt.message,
      prompt.buttons, MessageIcon::Exclamation);
  switch (answer) {
    case MessageAnswer::OK:
    case MessageAnswer::Retry:
    case MessageAnswer::Yes:
      return fileErrorRetry;
    case MessageAnswer::Ignore:
      return fileErrorSkip;
    case MessageAnswer::Cancel:
    case MessageAnswer::Abort:
    case MessageAnswer::No:
      services.progress.abortRequested = true;
      return fileErrorAbandon;
    default:
      return fileErrorOther;
  }
}

std::vector<std::string> fileLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == CR && start < bytes.size() && bytes[start] == LF) ++start;
  }
  return lines;
}

}  // namespace scrivlet
