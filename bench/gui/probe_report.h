#pragma once

#include <cstdio>
#include <map>
#include <string>

namespace quillon::bench {

// What a child measured, as "name value" lines on its standard output.
using ProbeReport = std::map<std::string, double>;

void WriteProbeReport(std::FILE* out, const ProbeReport& report);

}  // namespace quillon::bench
