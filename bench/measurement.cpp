#include "bench/measurement.h"

#include <algorithm>
#include <stdexcept>

namespace quillon::bench {

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

template <typename Field>
double MedianOf(const std::vector<ChildCost>& runs, Field field) {
  std::vector<double> values;
  for (const ChildCost& run : runs) values.push_back(run.*field);
  return Median(std::move(values));
}

}  // namespace

ChildCost MedianCost(const Measurement& measurement) {
  if (measurement.Runs.empty()) throw std::logic_error("no runs of " + measurement.Command + " to take the median of");
  return {MedianOf(measurement.Runs, &ChildCost::WallSeconds) * measurement.Scale,
          MedianOf(measurement.Runs, &ChildCost::CpuSeconds) * measurement.Scale,
          MedianOf(measurement.Runs, &ChildCost::PeakResidentMiB)};
}

}  // namespace quillon::bench
