// scrivlet copy-code FILE START[:COL] [END[:COL]]: selected lines as a
// code-example block for a documentation comment.
#include <iostream>
#include <utility>

#include "base/text.h"
#include "cli/command.h"
#include "cli/module_target.h"
#include "comments/code_example.h"
#include "platform/disk_code_module.h"

namespace scrivlet {
namespace {

struct Position {
  long line = 0;
  long column = 0;  // 0: not given
};

bool parsePosition(const std::string& text, Position& at) {
  std::size_t colon = text.find(':');
  std::string line = text.substr(0, colon);
  std::string column = colon == std::string::npos ? "" : text.substr(colon + 1);
  auto number = [](const std::string& s, long& value) {
    if (s.empty() || s.size() > 9 ||
        s.find_first_not_of("0123456789") != std::string::npos)
      return false;
    value = std::stol(s);
    return value > 0;
  };
  if (!number(line, at.line)) return false;
  return colon == std::string::npos || number(column, at.column);
}

struct Options {
  std::string file;
  std::string start;
  std::string end;
};

int run(const Options& options) {
  Position start, end;
  if (!parsePosition(options.start, start) ||
      (!options.end.empty() && !parsePosition(options.end, end))) {
    std::cerr << "scrivlet copy-code: positions are LINE or LINE:COLUMN, "
                 "counted from 1\n";
    return 2;
  }
  ModuleTarget target;
  std::string error;
  if (!openModuleTarget(options.file, "", target, error)) {
    std::cerr << "scrivlet copy-code: " << error << '\n';
    return 1;
  }
  for (Position* at : {&start, &end}) {
    if (at->line == 0) continue;
    at->line = visibleLineOfFile(*target.module, at->line, error);
    if (at->line == 0) {
      std::cerr << "scrivlet copy-code: " << options.file << ": " << error << '\n';
      return 2;
    }
  }
  // A range without columns takes whole lines at both ends, whichever end
  // is given first.
  if (end.line != 0 && end.line < start.line) std::swap(start, end);
  if (start.column == 0) start.column = 1;
  if (end.line == 0) {
    end = start;  // an empty selection: the whole line
  } else if (end.column == 0) {
    end.column = static_cast<long>(target.module->Lines(end.line, 1).size()) + 1;
  }
  // Lines end as in a module file, so the block reads right on a terminal
  // and pastes into one.
  std::cout << replaceAll(copySelectionAsCode(*target.module, start.line,
                                              start.column, end.line,
                                              end.column),
                          "\r", "\r\n")
            << "\r\n";
  return 0;
}

std::function<int()> setup(CLI::App& app) {
  auto options = std::make_shared<Options>();
  app.add_option("FILE", options->file, "a module file")->required();
  app.add_option("START", options->start,
                 "first line, with the column to start at (LINE[:COL])")
      ->required();
  app.add_option("END", options->end,
                 "last line, with the column just after the last character "
                 "taken (LINE[:COL]); without it, the whole START line");
  app.footer(
      "Prints the selection as a code-example block (\"'$CODE$\", each line "
      "after an apostrophe with \"$EOL$\" on all but the last, "
      "\"'$END-CODE$\"), each line ended by CR LF as in a module file. "
      "Lines are counted as an editor shows the file; a line given without "
      "a column is taken whole.");
  return [options] { return run(*options); };
}

}  // namespace

Command copyCodeCommand() {
  return {"copy-code", "Print selected lines as a code example",
                     setup};
}
}  // namespace scrivlet
