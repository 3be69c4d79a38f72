// Expands sections whose loops run over 100,000 list items (and twice as
// many, to show that the cost grows in proportion) and prints the times.
//
//   macro_engine_bench [items]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "base/progress.h"
#include "compiler/fake_elements.h"
#include "compiler/macro_engine.h"

namespace scrivlet {
namespace {

const char* kTemplate =
    "$REPLACE-TABLE$ $60CHR$ &lt; $62CHR$ &gt; $38CHR$ &amp;\r\n"
    "$EOL$ <br>\r\n"
    "$scriv-links$\r\n"
    "<ul>$REPLACE-ON$\r\n"
    "$DOLIST$ $SEE-LINK-LIST$\r\n"
    "$IFNOTEMPTY$ $LIST-ITEM-FIRST$\r\n"
    "<li class=\"first\">$ELSEIF$<li>$END-IFNOTEMPTY$"
    "<a href=\"$LIST-ITEM-LOCATION$-$LIST-ITEM$.htm\" id=\"$NEXT-ID$\">"
    "$LIST-ITEM-LABEL$</a> ($LIST-ITEM-HELPID$, $$1)</li>\r\n"
    "$END-DOLIST$\r\n"
    "</ul>\r\n"
    "$end-scriv-links$\r\n"
    "$scriv-params$\r\n"
    "<dl>$REPLACE-ON$\r\n"
    "$DOLIST$ $PARAM-LIST$\r\n"
    "<dt>$LIST-ITEM-NUMBER$. $LIST-ITEM-PARAM$</dt><dd>$LIST-ITEM-LABEL$</dd>\r\n"
    "$END-DOLIST$\r\n"
    "</dl>\r\n"
    "$end-scriv-params$\r\n";

struct Timing {
  double seconds;     // processor time of this process
  double wallSeconds;
  std::size_t bytes;
};

// Processor time is the figure to read: the wall clock also counts whatever
// else the machine runs.
template <typename F>
Timing timed(F&& run) {
  std::clock_t cpuStart = std::clock();
  auto start = std::chrono::steady_clock::now();
  std::string out = run();
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  return {cpu, took.count(), out.size()};
}

// One section over `items` link items that resolve to elements of 100
// modules, written in an order the loop must sort, and one over as many
// parameters.
void runOnce(std::size_t items) {
  store elements;
  Progress progress;
  MacroEngine engine(elements, progress);
  if (engine.loadTemplateText(kTemplate, "bench.scvt", true) != 0) {
    std::fprintf(stderr, "the benchmark template did not load\n");
    std::exit(1);
  }
  FakeElementStore project(elements);
  MacroList links, params;
  links.reserve(items);
  params.reserve(items);
  std::size_t perModule = items / 100 + 1;
  std::shared_ptr<Element> module;
  for (std::size_t i = 0; i < items; ++i) {
    if (i % perModule == 0)
      module = project.addModule("Module" + std::to_string(i / perModule));
    std::string name = "Member" + std::to_string((i * 7919) % items);
    auto member = project.addMember(module, ElementKind::Smethod, name,
                                    static_cast<long>(i));
    if (!elements.compiledWrapper) elements.compiledWrapper = member;
    links.push_back(Links::getLinkFromWrapper(*member) + "\r");
    params.push_back("p" + std::to_string(i) + "\rvalue < " +
                     std::to_string(i) + "$EOL$second line\r");
  }
  engine.setMacroValue("SEE-LINK-LIST", makeList(std::move(links)));
  engine.setMacroValue("PARAM-LIST", makeList(std::move(params)));

  Timing linkLoop =
      timed([&] { return engine.evaluateMacro("scriv-links", false); });
  Timing paramLoop =
      timed([&] { return engine.evaluateMacro("scriv-params", false); });
  std::printf("%7zu link items:      %6.3f s cpu %6.3f s wall  (%zu bytes)\n",
              items, linkLoop.seconds, linkLoop.wallSeconds, linkLoop.bytes);
  std::printf("%7zu parameter items: %6.3f s cpu %6.3f s wall  (%zu bytes)\n",
              items, paramLoop.seconds, paramLoop.wallSeconds, paramLoop.bytes);
}

}  // namespace
}  // namespace scrivlet

int main(int argc, char** argv) {
  std::size_t items = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  scrivlet::runOnce(items);
  scrivlet::runOnce(items * 2);
  return 0;
}
