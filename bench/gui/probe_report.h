#pragma once

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

namespace quillon::bench {

// What a child measured, as "name value" lines on its standard output.
using ProbeReport = std::map<std::string, double>;

void WriteProbeReport(std::FILE* out, const ProbeReport& report);

// Reads a report a child wrote. Throws std::runtime_error when the file cannot be read.
ProbeReport ReadProbeReport(const std::filesystem::path& path);

// The figure called `name`. Throws std::runtime_error when the child did not report it.
double Figure(const ProbeReport& report, const std::string& name);

}  // namespace quillon::bench
