#include "bench/gui/probe_report.h"

#include <fstream>
#include <stdexcept>

namespace quillon::bench {

void WriteProbeReport(std::FILE* out, const ProbeReport& report) {
  for (const auto& [name, value] : report) std::fprintf(out, "%s %.6f\n", name.c_str(), value);
  std::fflush(out);
}

ProbeReport ReadProbeReport(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read the report " + path.string());
  ProbeReport report;
  std::string name;
  double value = 0;
  while (in >> name >> value) report[name] = value;
  return report;
}

double Figure(const ProbeReport& report, const std::string& name) {
  const auto found = report.find(name);
  if (found == report.end()) throw std::runtime_error("the child did not report \"" + name + "\"");
  return found->second;
}

}  // namespace quillon::bench
