#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stop_token>

#include "fileio/block_io.h"
#include "modes/input_text.h"
#include "modes/mode_context.h"

namespace quillon {

// Reads [from, to) a chunk at a time, each chunk given to `take`, which returns false to end
// the reading early; returns whether it read to `to`. Stops early once `otherFailed` is set by
// the other half too, and throws RunCancelled when `stop` asks it to.
template <typename Take>
bool ReadChunks(const FileHandle& input, std::int64_t from, std::int64_t to, const std::stop_token& stop,
                const std::atomic<bool>& otherFailed, const std::function<void(std::int64_t done)>& beforeRead, Take take) {
  const std::size_t chunk = static_cast<std::size_t>(std::min(kExaminationReadSize, std::max<std::int64_t>(to - from, 1)));
  const auto read = std::make_unique_for_overwrite<char[]>(chunk);
  for (std::int64_t at = from; at < to;) {
    if (stop.stop_requested()) throw RunCancelled();
    if (otherFailed.load(std::memory_order_relaxed)) return false;
    beforeRead(at);
    const std::span<char> piece{read.get(), static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(chunk), to - at))};
    ReadExactlyAt(input, at, piece);
    if (!take(std::span<const char>(piece))) return false;
    at += static_cast<std::int64_t>(piece.size());
  }
  return true;
}

}  // namespace quillon
