// The entry libFuzzer calls, built once per target with QUILLON_FUZZ_TARGET naming it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static constexpr const quillon::fuzzing::FuzzTarget& target = quillon::fuzzing::TargetNamed(QUILLON_FUZZ_TARGET);
  const std::string fault = target.Check({data, size});
  if (fault.empty()) return 0;
  // An abort makes libFuzzer keep the input as a crash.
  std::fprintf(stderr, "\nfuzz_%s: %s\n", QUILLON_FUZZ_TARGET, fault.c_str());
  std::abort();
}
