// Times the scrivlet program on generated projects of 1,000, 10,000 and
// 100,000 members and on the real projects of the corpora folder, each
// beside its I/O floor: the plainest program that reads the same input
// files and writes the same output (as many bytes for a listing; files of
// the same names and sizes for a compile). Every run is a child process,
// so its peak memory is its own.
//
//   scale_bench [--sizes 1000,10000,100000] [--scrivlet PATH]
//               [--template FILE] [--corpora DIR] [--timeout SECONDS]
//               [--work DIR] [--keep]
//
// The projects and the output are written under DIR ($TMPDIR or /tmp unless
// given): a folder on a RAM file system takes the disk out of the figures.
// A run of the program that takes longer than the timeout (300 s unless
// given) is stopped and reported as such, so that a step that grows with
// the square of the project does not hold up the figures of the others.
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/scale/project_generator.h"

namespace fs = std::filesystem;

namespace scrivlet {
namespace {

// Where the projects and their output go: $TMPDIR, else /tmp.
std::string defaultWork() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : "/tmp";
}

struct Options {
  std::vector<long> sizes = {1000, 10000, 100000};
  std::string scrivlet = SCALE_SCRIVLET_BINARY;
  std::string templateFile = SCALE_TEMPLATE;
  std::string corpora = SCALE_CORPORA_DIR;
  std::string work = defaultWork();
  bool keep = false;
  unsigned timeout = 300;
};

unsigned runTimeout = 300;

struct Run {
  double seconds = 0;
  long peakKiB = 0;
  int status = -1;
  bool timedOut = false;
};

// Runs `child` in a forked process (its standard output to `stdoutPath`
// unless empty) and measures the wall time and the child's peak memory.
// What earlier runs wrote is flushed to the disk first, untimed: otherwise
// a run pays for the write-back of the one before it.
template <typename F>
Run inChild(const std::string& stdoutPath, F&& child) {
  std::fflush(nullptr);
  sync();
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    if (!stdoutPath.empty()) {
      int fd = open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd < 0 || dup2(fd, 1) < 0) _exit(126);
      close(fd);
    }
    _exit(child());
  }
  Run run;
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) < 0) return run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() -
                                              start).count();
  run.peakKiB = usage.ru_maxrss;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
  run.timedOut = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
  return run;
}

Run runProgram(const std::vector<std::string>& args, const std::string& stdoutPath,
               bool quietErrors = false) {
  return inChild(stdoutPath, [&] {
    if (quietErrors) {
      int fd = open("/dev/null", O_WRONLY);
      dup2(fd, 2);
    }
    // The alarm outlives exec: the program is ended when time is up.
    alarm(runTimeout);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    return 127;
  });
}

// The best of `times` runs: the machine is shared, and the least disturbed
// run is the one that tells the program's own cost.
void keepBest(Run& kept, const Run& r, bool first) {
  if (first || (r.status == 0 && r.seconds < kept.seconds)) kept = r;
}

template <typename F>
Run best(int times, F&& once) {
  Run result;
  for (int i = 0; i < times; ++i) {
    Run r = once();
    keepBest(result, r, i == 0);
    if (r.timedOut) break;
  }
  return result;
}

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The floor of a listing: read every input, write as many bytes.
int listingFloor(const std::vector<std::string>& inputs, std::size_t outputBytes) {
  std::size_t total = 0;
  for (const std::string& path : inputs) total += readAll(path).size();
  std::string out(outputBytes, 'x');
  if (total == 0 && !inputs.empty()) out.clear();
  return std::fwrite(out.data(), 1, out.size(), stdout) == out.size() ? 0 : 1;
}

struct OutputFile {
  std::string relative;
  std::uintmax_t size;
};

std::vector<OutputFile> listOutput(const fs::path& folder) {
  std::vector<OutputFile> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec);
       it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (ec) break;
    if (it->is_regular_file())
      files.push_back({fs::relative(it->path(), folder).string(), it->file_size()});
  }
  return files;
}

// The floor of a compile: read every input, write files of the same names
// and sizes.
int compileFloor(const std::vector<std::string>& inputs,
                 const std::vector<OutputFile>& outputs, const fs::path& folder) {
  std::size_t total = 0;
  for (const std::string& path : inputs) total += readAll(path).size();
  std::string block;
  fs::path madeFolder;
  for (const OutputFile& file : outputs) {
    fs::path path = folder / file.relative;
    // Each folder is made once: most files share one.
    if (path.parent_path() != madeFolder) {
      std::error_code ec;
      fs::create_directories(path.parent_path(), ec);
      madeFolder = path.parent_path();
    }
    block.assign(static_cast<std::size_t>(file.size), total ? 'x' : 'y');
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
    if (!out) return 1;
  }
  return 0;
}

std::vector<std::string> splitText(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (;;) {
    std::size_t at = text.find(sep, from);
    parts.push_back(text.substr(from, at - from));
    if (at == std::string::npos) return parts;
    from = at + 1;
  }
}

// The files a project file names, for the floor's reading: the project
// file, its settings file and the module files that exist.
std::vector<std::string> projectInputs(const std::string& vbp) {
  std::vector<std::string> inputs = {vbp};
  fs::path folder = fs::path(vbp).parent_path();
  fs::path settings = fs::path(vbp).replace_extension(".scriv");
  if (fs::exists(settings)) inputs.push_back(settings.string());
  for (std::string line : splitText(readAll(vbp), '\n')) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq);
    static const char* keys[] = {"Module", "Class", "Form", "UserControl",
                                 "PropertyPage", "UserDocument", "Designer"};
    if (std::find_if(std::begin(keys), std::end(keys),
                     [&](const char* k) { return key == k; }) == std::end(keys))
      continue;
    std::string value = line.substr(eq + 1);
    std::size_t semi = value.find(';');
    if (semi != std::string::npos) value = value.substr(semi + 1);
    value.erase(0, value.find_first_not_of(' '));
    std::replace(value.begin(), value.end(), '\\', '/');
    fs::path path = folder / value;
    if (fs::exists(path)) inputs.push_back(path.string());
  }
  return inputs;
}

long countElements(const std::string& listing) {
  long n = 0;
  for (const std::string& line : splitText(readAll(listing), '\n'))
    if (!line.empty() && line[0] != '#') ++n;
  return n;
}

// A program without the subcommand answers "compile --help" with its main
// help, and success: only the subcommand's own usage line tells.
bool hasCompile(const Options& options, const fs::path& work) {
  std::string help = (work / "compile-help.txt").string();
  Run r = runProgram({options.scrivlet, "compile", "--help"}, help, true);
  return r.status == 0 &&
         readAll(help).find("Usage: scrivlet compile") != std::string::npos;
}

void printHeader() {
  std::printf("%-10s %-28s %9s %9s %9s %9s %7s %10s %9s %12s\n", "run", "project",
              "members", "elements", "wall s", "floor s", "x floor", "us/member",
              "peak MiB", "elements/s");
}

void printRow(const char* what, const std::string& project, long members,
              long elements, const Run& run, const Run& floor) {
  std::string memberText = members ? std::to_string(members) : "-";
  char perMember[32] = "-";
  if (members)
    std::snprintf(perMember, sizeof perMember, "%.2f",
                  run.seconds * 1e6 / static_cast<double>(members));
  std::printf("%-10s %-28s %9s %9ld %9.3f %9.3f %7.2f %10s %9.1f %12.0f%s\n",
              what, project.substr(0, 28).c_str(), memberText.c_str(), elements,
              run.seconds, floor.seconds,
              floor.seconds > 0 ? run.seconds / floor.seconds : 0,
              perMember, static_cast<double>(run.peakKiB) / 1024.0,
              run.seconds > 0 ? static_cast<double>(elements) / run.seconds : 0,
              run.timedOut      ? "  (stopped: timeout)"
              : run.status == 0 ? ""
                                : "  (failed)");
  std::fflush(stdout);
}

struct Measured {
  long members = 0;
  Run run;
  Run floor;
};

// Lists the elements of `vbp` and the floor beside it.
Measured timeElements(const Options& options, const std::string& vbp,
                      const fs::path& work, const std::string& label,
                      long members, int repeats) {
  std::string listing = (work / "elements.txt").string();
  Measured m;
  m.members = members;
  m.run = best(repeats, [&] {
    return runProgram({options.scrivlet, "elements", vbp}, listing, true);
  });
  long elements = countElements(listing);
  std::size_t bytes = readAll(listing).size();
  std::vector<std::string> inputs = projectInputs(vbp);
  std::string floorOut = (work / "floor.txt").string();
  m.floor = best(3, [&] {
    return inChild(floorOut, [&] { return listingFloor(inputs, bytes); });
  });
  printRow("elements", label, members, elements, m.run, m.floor);
  return m;
}

Measured timeCompile(const Options& options, const std::string& vbp,
                     const fs::path& work, const std::string& label, long members,
                     long elements, int repeats) {
  // Every run writes into a folder of its own, and the folders are removed
  // at the end of the benchmark: a file system slows down creating files
  // for a while after it has deleted many, which would weigh on whichever
  // run came after a removal. The program's runs and the floor's take
  // turns, so that both meet the disk in the same moods: a virtual disk
  // may slow down for minutes once much has been written to it.
  Measured m;
  m.members = members;
  std::vector<std::string> inputs = projectInputs(vbp);
  inputs.push_back(options.templateFile);
  std::vector<OutputFile> outputs;
  for (int run = 1; run <= repeats; ++run) {
    fs::path out = work / ("compiled-" + std::to_string(run));
    std::error_code ec;
    fs::create_directories(out, ec);
    Run r = runProgram({options.scrivlet, "compile", vbp, "--template",
                        options.templateFile, "--output", out.string(), "--quiet"},
                       "/dev/null", true);
    keepBest(m.run, r, run == 1);
    // Part of the output is no measure for the floor.
    if (r.timedOut) break;
    if (run == 1) outputs = listOutput(out);
    fs::path floorOut = work / ("floor-" + std::to_string(run));
    Run f = inChild("", [&] { return compileFloor(inputs, outputs, floorOut); });
    keepBest(m.floor, f, run == 1);
  }

  printRow("compile", label, members, elements, m.run, m.floor);
  std::printf("%-10s %-28s %9s %zu files\n", "", "", "", outputs.size());
  return m;
}

void printTargets(const char* what, const std::vector<Measured>& rows) {
  const Measured* at10k = nullptr;
  const Measured* at100k = nullptr;
  for (const Measured& m : rows) {
    if (m.members >= 9000 && m.members <= 11000) at10k = &m;
    if (m.members >= 90000 && m.members <= 110000) at100k = &m;
  }
  if (!at100k) return;
  if (at100k->run.timedOut) {
    std::printf("%s at %ld members: did not finish within %u s\n", what,
                at100k->members, runTimeout);
    return;
  }
  std::printf("%s at %ld members: %.2f times the I/O floor (target 3), "
              "peak %.0f MiB (target < 1024)",
              what, at100k->members, at100k->run.seconds / at100k->floor.seconds,
              static_cast<double>(at100k->run.peakKiB) / 1024.0);
  if (at10k) {
    double per100k = at100k->run.seconds / static_cast<double>(at100k->members);
    double per10k = at10k->run.seconds / static_cast<double>(at10k->members);
    std::printf(", time per member %.2f times that at %ld (target 1.3)",
                per100k / per10k, at10k->members);
  }
  std::printf("\n");
}

Options parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto next = [&] { return i + 1 < argc ? std::string(argv[++i]) : std::string(); };
    if (a == "--sizes") {
      options.sizes.clear();
      for (const std::string& s : splitText(next(), ','))
        options.sizes.push_back(std::atol(s.c_str()));
    } else if (a == "--scrivlet") {
      options.scrivlet = next();
    } else if (a == "--template") {
      options.templateFile = next();
    } else if (a == "--corpora") {
      options.corpora = next();
    } else if (a == "--timeout") {
      options.timeout = static_cast<unsigned>(std::atol(next().c_str()));
    } else if (a == "--work") {
      options.work = next();
    } else if (a == "--keep") {
      options.keep = true;
    } else {
      std::fprintf(stderr, "usage: scale_bench [--sizes N,N,...] [--scrivlet PATH] "
                           "[--template FILE] [--corpora DIR] [--timeout SECONDS] "
                           "[--work DIR] [--keep]\n");
      std::exit(2);
    }
  }
  return options;
}

int benchMain(int argc, char** argv) {
  Options options = parse(argc, argv);
  runTimeout = options.timeout;
  // A folder of its own under the work folder, named from `prefix`.
  auto makeWork = [&](const char* prefix) {
    std::string pattern = options.work + "/" + prefix + "-XXXXXX";
    if (!mkdtemp(pattern.data())) {
      std::fprintf(stderr, "scale_bench: cannot create a folder in %s: %s\n",
                   options.work.c_str(), std::strerror(errno));
      std::exit(1);
    }
    return fs::path(pattern);
  };
  std::string probe = makeWork("scrivlet-probe").string();
  bool compile = hasCompile(options, probe);
  std::error_code probeError;
  fs::remove_all(probe, probeError);
  std::printf("scrivlet: %s\ncompile: %s\n\n", options.scrivlet.c_str(),
              compile ? "yes" : "not available (elements only)");
  printHeader();
  std::vector<Measured> listed;
  std::vector<Measured> compiled;
  // Removed once everything is measured (see timeCompile).
  std::vector<fs::path> removeAtEnd;
  for (long size : options.sizes) {
    fs::path work = makeWork("scrivlet-scale");
    fs::create_directories(work / "project");
    GeneratedProject project = generateProject((work / "project").string(), size);
    std::string label = "generated " + std::to_string(project.lines) + " lines";
    int repeats = size >= 50000 ? 2 : 3;
    listed.push_back(timeElements(options, project.vbpPath, work, label,
                                  project.members, repeats));
    if (compile) {
      long elements = countElements((work / "elements.txt").string());
      compiled.push_back(timeCompile(options, project.vbpPath, work, label,
                                     project.members, elements, repeats));
    }
    if (options.keep)
      std::printf("kept %s\n", work.c_str());
    else
      removeAtEnd.push_back(work);
  }

  std::error_code ec;
  if (fs::is_directory(options.corpora, ec)) {
    std::vector<std::string> projects;
    for (auto it = fs::recursive_directory_iterator(options.corpora, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
      if (ec) break;
      if (it->is_regular_file() && it->path().extension() == ".vbp")
        projects.push_back(it->path().string());
    }
    std::sort(projects.begin(), projects.end());
    for (const std::string& vbp : projects) {
      fs::path work = makeWork("scrivlet-corpus");
      std::string label = fs::path(vbp).filename().string();
      timeElements(options, vbp, work, label, 0, 3);
      if (compile) {
        long elements = countElements((work / "elements.txt").string());
        timeCompile(options, vbp, work, label, 0, elements, 3);
      }
      removeAtEnd.push_back(work);
    }
  } else {
    std::printf("(no corpora at %s)\n", options.corpora.c_str());
  }
  // Linux carries a process's peak across exec, so each child's figure
  // starts from this program's own peak when it forked.
  rusage self{};
  getrusage(RUSAGE_SELF, &self);
  std::printf("\npeak memory figures include this program's own %.1f MiB\n",
              static_cast<double>(self.ru_maxrss) / 1024.0);
  printTargets("elements", listed);
  printTargets("compile", compiled);
  for (const fs::path& work : removeAtEnd) fs::remove_all(work, ec);
  return 0;
}

}  // namespace
}  // namespace scrivlet

int main(int argc, char** argv) { return scrivlet::benchMain(argc, argv); }
