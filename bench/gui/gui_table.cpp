#include "bench/gui/gui_table.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_folders.h"
#include "bench/byte_count.h"
#include "bench/child_process.h"
#include "bench/gui/probe_report.h"
#include "bench/mode_names.h"
#include "bench/page_cache.h"
#include "bench/usage_error.h"
#include "modes/output_path.h"

namespace fs = std::filesystem;

namespace quillon::bench {

namespace {

constexpr double kTimesCp = 2;
constexpr double kPaintMs = 50;
constexpr double kGapMs = 100;
constexpr double kMemoryAllowance = 128;
constexpr std::uint64_t kPlainTextBytes = 100 * kMiB;

struct WindowRow {
  std::uint64_t Bytes = 0;
  std::string_view Mode;
  double CpSeconds = 0;
  double EchoMiB = 0;
  ChildCost Cost;
  ProbeReport Report;
};

std::vector<std::uint64_t> ParseSizes(std::string_view list) {
  std::vector<std::uint64_t> sizes;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    sizes.push_back(ParseByteCount(list.substr(0, comma)));
    list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
  }
  if (sizes.empty()) throw UsageError("--sizes needs at least one size");
  return sizes;
}

const char* Mark(bool met) { return met ? "pass" : "MISS"; }

double MiB(std::uint64_t bytes) { return static_cast<double>(bytes) / static_cast<double>(kMiB); }

// cp of `input` beside it, timed after an untimed run so that both find the same caches.
double CpSeconds(const fs::path& scratch, const fs::path& input) {
  const fs::path copy = scratch / "cp-copy.txt";
  RunChild({"cp", input.string(), copy.string()}, std::nullopt);
  fs::remove(copy);
  const ChildCost cost = RunChild({"cp", input.string(), copy.string()}, std::nullopt);
  fs::remove(copy);
  return cost.WallSeconds;
}

void PrintRow(const WindowRow& row) {
  const double click = Figure(row.Report, "click_to_idle_s");
  const double timesCp = click / row.CpSeconds;
  const double firstPaint = Figure(row.Report, "first_paint_ms");
  const double ctrlEnd = Figure(row.Report, "ctrl_end_ms");
  const bool reachedEnd = Figure(row.Report, "ctrl_end_reached") != 0;
  const double gap = Figure(row.Report, "longest_gap_ms");
  const double peak = row.Cost.PeakResidentMiB;
  std::printf("%-9s %-13s %8.3f %6.2f %-4s %9.1f %-4s %9.1f %-4s %9.1f %-4s %9.0f %-4s (echo %.0f MiB)%s\n",
              DescribeByteCount(row.Bytes).c_str(), std::string(row.Mode).c_str(), click, timesCp, Mark(timesCp <= kTimesCp),
              firstPaint, Mark(firstPaint < kPaintMs), ctrlEnd, Mark(reachedEnd && ctrlEnd < kPaintMs), gap,
              Mark(gap <= kGapMs), peak, Mark(peak <= row.EchoMiB + kMemoryAllowance), row.EchoMiB,
              reachedEnd ? "" : " Ctrl+End left the caret short of the end");
}

}  // namespace

GuiTableOptions ParseGuiTableOptions(std::span<const std::string_view> arguments) {
  GuiTableOptions options{{kMiB, 100 * kMiB, kGiB}};
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] != "--sizes" || i + 1 == arguments.size()) throw UsageError("expected --sizes LIST");
    options.Sizes = ParseSizes(arguments[++i]);
  }
  return options;
}

void GuiTableCommand(const GuiTableOptions& options) {
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  const fs::path cache = CacheFolder();
  const ScratchFolder scratch(cache);
  const fs::path reportPath = scratch.path() / "report.txt";

  std::vector<WindowRow> rows;
  for (const std::uint64_t bytes : options.Sizes) {
    const fs::path input = scratch.path() / ("input-" + std::to_string(bytes) + ".txt");
    fs::create_symlink(CachedText(cache, bytes, LineBreak::LF), input);
    WarmPageCache(input.string());
    const double cpSeconds = CpSeconds(scratch.path(), input);
    for (const NamedMode& mode : kNamedModes) {
      std::fprintf(stderr, "window: %s %.*s\n", DescribeByteCount(bytes).c_str(), static_cast<int>(mode.Name.size()),
                   mode.Name.data());
      WindowRow row{bytes, mode.Name, cpSeconds, 0, {}, {}};
      row.Cost = RunChild({self, "window", std::string(mode.Name), input.string()}, reportPath.string());
      row.Report = ReadProbeReport(reportPath);
      const fs::path output = OutputPathFor(input.string());
      row.EchoMiB = MiB(fs::file_size(output));
      fs::remove(output);
      rows.push_back(std::move(row));
    }
  }

  std::fprintf(stderr, "QPlainTextEdit: %s\n", DescribeByteCount(kPlainTextBytes).c_str());
  const fs::path plainInput = CachedText(cache, kPlainTextBytes, LineBreak::LF);
  const ChildCost plainCost = RunChild({self, "plain-text", plainInput.string()}, reportPath.string());
  const double plainSeconds = Figure(ReadProbeReport(reportPath), "set_plain_text_s");

  std::vector<std::pair<std::uint64_t, ProbeReport>> utf8Rows;
  for (const std::uint64_t bytes : options.Sizes) {
    std::fprintf(stderr, "result view: one UTF-8 line of %s\n", DescribeByteCount(bytes).c_str());
    RunChild({self, "utf8-view", std::to_string(bytes)}, reportPath.string());
    utf8Rows.emplace_back(bytes, ReadProbeReport(reportPath));
  }

  std::printf("The window on the offscreen platform, LF texts, one run each beside cp of the same file.\n");
  std::printf("Targets: click to idle <= %.0fx cp; first paint and Ctrl+End < %.0f ms; repaint gap <= %.0f ms; "
              "peak <= echo + %.0f MiB.\nPaint, Ctrl+End and gap in ms; the gap counts the click and the idle as paints.\n\n",
              kTimesCp, kPaintMs, kGapMs, kMemoryAllowance);
  std::printf("%-9s %-13s %8s %6s %-4s %9s %-4s %9s %-4s %9s %-4s %9s %-4s\n", "size", "mode", "click s", "x cp", "",
              "1st paint", "", "Ctrl+End", "", "max gap", "", "peak MiB", "");
  for (const WindowRow& row : rows) PrintRow(row);
  std::printf("\ncp: ");
  for (const WindowRow& row : rows)
    if (row.Mode == kNamedModes[0].Name) std::printf("%s %.3f s  ", DescribeByteCount(row.Bytes).c_str(), row.CpSeconds);
  std::printf("\nQPlainTextEdit::setPlainText of %s (as QString, one byte a character): %.2f s, peak %.0f MiB\n",
              DescribeByteCount(kPlainTextBytes).c_str(), plainSeconds, plainCost.PeakResidentMiB);

  std::printf("\nThe result view alone on one UTF-8 line (CJK, emoji, flags, accents, ASCII); paint, Ctrl+End and a\n"
              "sideways jump < %.0f ms; indexing in MB/s for UTF-8 and for bytes; paint per line of a page of such text.\n\n",
              kPaintMs);
  std::printf("%-9s %9s %9s %9s %-4s %9s %-4s %9s %-4s %11s %11s\n", "size", "index", "bytes", "1st paint", "", "Ctrl+End", "",
              "sideways", "", "us/line 1st", "us/line");
  for (const auto& [bytes, report] : utf8Rows) {
    const double firstPaint = Figure(report, "first_paint_ms");
    const double ctrlEnd = Figure(report, "ctrl_end_ms");
    const double sideways = Figure(report, "sideways_ms");
    std::printf("%-9s %9.0f %9.0f %9.1f %-4s %9.1f %-4s %9.1f %-4s %11.0f %11.0f\n", DescribeByteCount(bytes).c_str(),
                Figure(report, "index_mb_s"), Figure(report, "bytes_index_mb_s"), firstPaint, Mark(firstPaint < kPaintMs), ctrlEnd,
                Mark(ctrlEnd < kPaintMs), sideways, Mark(sideways < kPaintMs), Figure(report, "paint_us_per_line_cold"),
                Figure(report, "paint_us_per_line_warm"));
  }
}

}  // namespace quillon::bench
