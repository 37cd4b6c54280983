#include "bench/table_command.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "bench/bench_folders.h"
#include "bench/mode_names.h"
#include "bench/page_cache.h"
#include "bench/table_printer.h"
#include "bench/usage_error.h"

namespace quillon::bench {

namespace {

namespace fs = std::filesystem;

// rev writes a few bytes per system call; on the whole text it would take minutes.
constexpr std::uint64_t kRevSliceBytes = 32 * kMiB;

constexpr LineBreak kVariants[] = {LineBreak::LF, LineBreak::CRLF};

// One command to time: how to start it, and what it leaves behind to remove after each run.
struct Task {
  Measurement Result;
  std::vector<std::string> Argv;
  std::optional<std::string> Stdout;
  fs::path Output;
  bool WarmUp = true;  // run once untimed right before each timed run
};

const char* VariantTag(LineBreak variant) { return variant == LineBreak::CRLF ? "crlf" : "lf"; }

int ParseRepeats(std::string_view text) {
  int repeats = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), repeats);
  if (error != std::errc() || end != text.data() + text.size() || repeats < 1 || repeats > 99)
    throw UsageError("--repeat wants a count from 1 to 99, not \"" + std::string(text) + "\"");
  return repeats;
}

// The input as the runs see it: a link inside the scratch folder, so that the modes'
// outputs (the input path followed by _rev.txt) land there too.
fs::path LinkInto(const fs::path& scratch, const fs::path& cached, LineBreak variant) {
  const fs::path link = scratch / (std::string(VariantTag(variant)) + ".txt");
  std::error_code noHardLink;
  fs::create_hard_link(cached, link, noHardLink);
  if (noHardLink) fs::create_symlink(cached, link);
  return link;
}

Task MakeTask(std::string command, LineBreak variant, std::vector<std::string> argv, std::optional<std::string> stdoutPath,
              fs::path output) {
  Task task;
  task.Result.Command = std::move(command);
  task.Result.Variant = variant;
  task.Argv = std::move(argv);
  task.Stdout = std::move(stdoutPath);
  task.Output = std::move(output);
  return task;
}

std::vector<Task> PlanTasks(const fs::path& scratch, const fs::path& input, LineBreak variant, std::uint64_t bytes) {
  const std::string tag = VariantTag(variant);
  const fs::path out = scratch / (tag + "-out.txt");
  std::vector<Task> tasks;
  tasks.push_back(MakeTask("cp", variant, {"cp", input, out}, std::nullopt, out));
  tasks.push_back(MakeTask("tac", variant, {"tac", input}, out, out));

  fs::path revInput = input;
  double revScale = 1;
  if (bytes > kRevSliceBytes) {
    revInput = scratch / (tag + "-slice.txt");
    CopyPrefix(input, revInput, kRevSliceBytes);
    WarmPageCache(revInput);
    revScale = static_cast<double>(bytes) / static_cast<double>(kRevSliceBytes);
  }
  Task rev = MakeTask("rev", variant, {"rev", revInput}, out, out);
  rev.Result.Scale = revScale;
  rev.WarmUp = false;  // it takes little memory, and a second run would cost as much as all the rest
  tasks.push_back(std::move(rev));

  const std::string self = fs::read_symlink("/proc/self/exe");
  for (const NamedMode& named : kNamedModes) {
    Task mode = MakeTask(std::string(named.Name), variant, {self, "run", std::string(named.Name), input}, std::nullopt,
                         input.string() + "_rev.txt");
    mode.Result.Mode = named.Mode;
    tasks.push_back(std::move(mode));
  }
  return tasks;
}

ChildCost RunChildOf(const Task& task) { return RunChild(task.Argv, task.Stdout, {"LC_ALL=C"}); }

// Times the task once, from a clean start: no output in place and no dirty pages waiting,
// so that no run pays for the writing-back of the one before. An untimed run goes first
// because on a virtual machine memory freed a few seconds earlier may have been handed back
// to the host, and the first run to take it again pays several times over for its pages;
// which command that is depends only on the order of the rows.
void RunOnce(Task& task) {
  fs::remove(task.Output);
  ::sync();
  if (task.WarmUp) {
    RunChildOf(task);
    fs::remove(task.Output);
  }
  task.Result.Runs.push_back(RunChildOf(task));
  task.Result.OutputBytes = fs::file_size(task.Output);
  fs::remove(task.Output);
}

}  // namespace

TableOptions ParseTableOptions(std::span<const std::string_view> arguments) {
  TableOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view name = arguments[i];
    if (name != "--size" && name != "--repeat") throw UsageError("unknown option \"" + std::string(name) + "\"");
    if (i + 1 == arguments.size()) throw UsageError(std::string(name) + " wants a value");
    const std::string_view value = arguments[++i];
    if (name == "--size") {
      options.Bytes = ParseByteCount(value);
    } else {
      options.Repeats = ParseRepeats(value);
    }
  }
  return options;
}

void TableCommand(const TableOptions& options) {
  const fs::path cache = CacheFolder();
  std::vector<fs::path> cached;
  for (const LineBreak variant : kVariants) cached.push_back(CachedText(cache, options.Bytes, variant));

  const ScratchFolder scratch(cache);
  std::vector<Task> tasks;
  for (std::size_t i = 0; i < cached.size(); ++i) {
    const fs::path input = LinkInto(scratch.path(), cached[i], kVariants[i]);
    WarmPageCache(input);
    std::vector<Task> planned = PlanTasks(scratch.path(), input, kVariants[i], options.Bytes);
    std::move(planned.begin(), planned.end(), std::back_inserter(tasks));
  }

  // Round by round rather than command by command, so that a slow spell of the machine
  // spreads over every command instead of falling on one.
  for (int round = 1; round <= options.Repeats; ++round) {
    std::fprintf(stderr, "round %d of %d:", round, options.Repeats);
    for (Task& task : tasks) {
      std::fprintf(stderr, " %s/%s", task.Result.Command.c_str(), VariantTag(task.Result.Variant));
      std::fflush(stderr);
      RunOnce(task);
    }
    std::fprintf(stderr, "\n");
  }

  std::vector<Measurement> rows;
  for (const Task& task : tasks) rows.push_back(task.Result);
  const ChildCost idle = RunChild({"true"}, std::nullopt);
  PrintTable(stdout, {options.Bytes, options.Repeats, kRevSliceBytes, idle.PeakResidentMiB}, rows);
}

}  // namespace quillon::bench
