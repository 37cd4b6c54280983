#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "bench/measurement.h"

namespace quillon::bench {

struct TableHeading {
  std::uint64_t Bytes = 0;
  int Repeats = 0;
  std::uint64_t SliceBytes = 0;     // what the scaled rows ran on
  double InheritedPeakMiB = 0;       // the peak of a child that does nothing
};

// Prints the measurements with their ratio to cp on the same variant and, for the modes, the
// targets met or missed. Every variant must have a row named "cp".
void PrintTable(std::FILE* out, const TableHeading& heading, const std::vector<Measurement>& rows);

}  // namespace quillon::bench
