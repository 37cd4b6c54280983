#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <stop_token>
#include <thread>

namespace quillon {

// Whether each half of a piece of work done in two halves at once found its half valid.
struct HalvesValid {
  bool first = false;
  bool second = false;
};

// Runs `second(stop)` on a thread of its own while `first()` runs on this one. Each returns
// whether its half is valid, and may end early once `failed` is set, which is set as soon as
// either half is not valid or fails. A stop of `runStop` reaches the second half too. A
// failure of the first half is thrown at once; one of the second once the first has ended
// valid, as an invalid first half decides the outcome by itself.
template <typename First, typename Second>
HalvesValid InTwoHalves(const std::stop_token& runStop, std::atomic<bool>& failed, First&& first, Second&& second) {
  HalvesValid valid;
  std::exception_ptr secondFailure;
  {
    std::jthread secondHalf([&](const std::stop_token& stop) {
      try {
        valid.second = second(stop);
      } catch (...) {
        secondFailure = std::current_exception();
      }
      if (secondFailure || !valid.second) failed = true;
    });
    const std::stop_callback relayStop(runStop, [&secondHalf] { secondHalf.request_stop(); });
    try {
      valid.first = first();
    } catch (...) {
      secondHalf.request_stop();
      throw;
    }
    if (!valid.first) failed = true;
    secondHalf.join();  // not the destructor, which would ask the half to stop
  }
  if (secondFailure && valid.first) std::rethrow_exception(secondFailure);
  return valid;
}

// Progress of the first half of [0, size), cut at `split`, shown as if it were of the whole:
// the first half's reader reports for both.
inline std::function<void(std::int64_t done)> FirstHalfForTheWhole(const std::function<void(std::int64_t done)>& beforeRead,
                                                                   std::int64_t split, std::int64_t size) {
  const double scale = static_cast<double>(size) / static_cast<double>(split);
  return [&beforeRead, scale, size](std::int64_t done) {
    beforeRead(std::min(size, static_cast<std::int64_t>(static_cast<double>(done) * scale)));
  };
}

}  // namespace quillon
