// The declaration parser: any statement through every way the loader reads
// one, and any text as an argument or a variable declarator.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input.h"
#include "source/argument.h"
#include "source/proc_definition.h"

using namespace scrivlet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::string text(fuzz::asText(data, size));

  ProcDefinition proc;
  proc.pLine = text;
  proc.parse();
  std::size_t end = proc.endOfArgs();
  if (end != 0 && end > proc.pLine.size()) std::abort();
  (void)proc.parseArgs();

  ProcDefinition get;
  get.pLine = text;
  get.parsePropGetReturn();
  ProcDefinition variable;
  variable.pLine = text;
  variable.parseVariableReturn();
  ProcDefinition constant;
  constant.pLine = text;
  constant.parseConstantReturn();

  for (std::size_t start = 0; start < text.size() && start < 64; ++start) {
    std::size_t close = ProcDefinition::findTerminatingParenth(text, start);
    if (close != 0 && close > text.size()) std::abort();
  }

  argument a;
  a.parse(text);
  argument v;
  v.parseVariable(text);
  return 0;
}
