#include "bench/table_printer.h"

#include <stdexcept>
#include <string>

#include "bench/byte_count.h"
#include "bench/targets.h"

namespace quillon::bench {

namespace {

const char* VariantName(LineBreak variant) { return variant == LineBreak::CRLF ? "CR LF" : "LF"; }

double CpSeconds(const std::vector<Measurement>& rows, LineBreak variant) {
  for (const Measurement& row : rows)
    if (row.Command == "cp" && row.Variant == variant) return MedianCost(row).WallSeconds;
  throw std::logic_error(std::string("no cp row for the ") + VariantName(variant) + " text");
}

const char* Verdict(bool met) { return met ? "pass" : "MISS"; }

}  // namespace

void PrintTable(std::FILE* out, const TableHeading& heading, const std::vector<Measurement>& rows) {
  std::fprintf(out,
               "\n%s of text, lines of 1 to 120 bytes; page cache warm; LC_ALL=C\n"
               "median of %d timed runs, each right after an untimed one (rev: none)\n",
               DescribeByteCount(heading.Bytes).c_str(), heading.Repeats);
  std::fprintf(out, "%-6s %-14s %9s %7s %8s %9s  %-14s %s\n", "file", "command", "seconds", "x cp", "cpu s", "peak MiB",
               "time target", "memory target");
  int missed = 0;
  bool anyScaled = false;
  for (const Measurement& row : rows) {
    const ChildCost cost = MedianCost(row);
    const double ratio = cost.WallSeconds / CpSeconds(rows, row.Variant);
    const bool scaled = row.Scale != 1;
    anyScaled = anyScaled || scaled;
    std::string targets;
    if (row.Mode) {
      const double timeTarget = TimeTargetFor(*row.Mode);
      const double memoryTarget = MemoryTargetMiB(row.OutputBytes);
      const bool timeMet = ratio <= timeTarget;
      const bool memoryMet = cost.PeakResidentMiB <= memoryTarget;
      missed += !timeMet + !memoryMet;
      char text[64];
      std::snprintf(text, sizeof text, "<= %.1fx %-5s %-13s %s", timeTarget, Verdict(timeMet),
                    ("<= " + std::to_string(static_cast<long>(memoryTarget)) + " MiB").c_str(), Verdict(memoryMet));
      targets = text;
    }
    std::fprintf(out, "%-6s %-14s %9.3f %7.2f %8.3f %9.1f%s%s\n", VariantName(row.Variant), (row.Command + (scaled ? "*" : "")).c_str(),
                 cost.WallSeconds, ratio, cost.CpuSeconds, cost.PeakResidentMiB, targets.empty() ? "" : "  ", targets.c_str());
  }
  if (anyScaled)
    std::fprintf(out, "* ran on the first %s of the file; seconds scaled up by %.0f\n", DescribeByteCount(heading.SliceBytes).c_str(),
                 static_cast<double>(heading.Bytes) / static_cast<double>(heading.SliceBytes));
  std::fprintf(out,
               "peak MiB: a child started with posix_spawn inherits its parent's peak (%.1f MiB for one that does nothing),\n"
               "so a figure near that says only \"at most\".\n",
               heading.InheritedPeakMiB);
  std::fprintf(out, "memory target: the echo (the output's size) plus %.0f MiB. %s\n", kMemoryAllowanceMiB,
               missed == 0 ? "All targets met." : (std::to_string(missed) + " target(s) missed.").c_str());
}

}  // namespace quillon::bench
