#include "bench/gui/probe_report.h"

namespace quillon::bench {

void WriteProbeReport(std::FILE* out, const ProbeReport& report) {
  for (const auto& [name, value] : report) std::fprintf(out, "%s %.6f\n", name.c_str(), value);
  std::fflush(out);
}

}  // namespace quillon::bench
