// The module-file reader: any bytes as a module file, then every query the
// loader makes (the Enum and Type blocks too), and an insert/delete round
// trip that must give back the text it started from.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/vbide.h"
#include "fuzz/fuzz_input.h"
#include "platform/disk_code_module.h"
#include "source/declared_blocks.h"

using namespace scrivlet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::string_view bytes = fuzz::asText(data, size);
  static const int kTypes[] = {vbext_ct_StdModule, vbext_ct_ClassModule,
                               vbext_ct_VBForm, vbext_ct_UserControl};
  int type = kTypes[size % 4];
  auto module = DiskCodeModule::fromText("Fuzz", type, bytes);

  long count = module->CountOfLines();
  long declarations = module->CountOfDeclarationLines();
  if (declarations < 0 || declarations > count) std::abort();
  std::string all = module->Lines(1, count);

  for (const auto& member : module->Members()) {
    (void)member->Name();
    (void)member->Type();
    (void)member->Scope();
    (void)member->CodeLocation();
    (void)member->Description();
  }
  for (long line = 1; line <= count; ++line) {
    int kind = 0;
    std::string proc = module->ProcOfLine(line, kind);
    if (proc.empty()) continue;
    try {
      long body = module->ProcBodyLine(proc, kind);
      long start = module->ProcStartLine(proc, kind);
      long lines = module->ProcCountLines(proc, kind);
      if (body < start || start < 1 || lines < 1 || start + lines - 1 > count)
        std::abort();
    } catch (const HostError&) {
      // A name the environment would not find again ("Sub or Function not
      // defined") is an answer, not a fault.
    }
  }

  // Enum and Type blocks lie in the declarations section, in order, and
  // their items inside them.
  long after = 0;
  for (const DeclaredBlock& block : findDeclaredBlocks(*module)) {
    if (block.line < after || block.endLine < block.line ||
        block.endLine > declarations || block.logicalLine > block.line)
      std::abort();
    for (const BlockItem& item : block.items)
      if (item.line < block.line || item.line > block.endLine) std::abort();
    after = block.endLine;
  }

  // Insert then delete a line anywhere: the module reads as before.
  if (count > 0) {
    long at = static_cast<long>(size % static_cast<std::size_t>(count)) + 1;
    module->InsertLines(at, "' inserted");
    module->DeleteLines(at, 1);
    if (module->Lines(1, module->CountOfLines()) != all) std::abort();
  }
  (void)module->toBytes();
  return 0;
}
