#include "modes/revert_line.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <utility>

#include "fileio/block_io.h"
#include "fileio/line_breaks.h"
#include "fileio/byte_reverse.h"
#include "modes/byte_runs_reverse.h"
#include "modes/helper_thread.h"
#include "modes/output_writer.h"
#include "modes/progress_meter.h"
#include "modes/cluster_range_reverse.h"
#include "modes/range_reverse.h"
#include "fileio/read_ahead.h"
#include "unicode/cluster_reverse.h"
#include "unicode/utf8_validator.h"

namespace quillon {

namespace {

// How a line's content is reversed: its bytes, or for UTF-8 text its clusters; one run, or
// every run that ends in a block. A run too long to hold is written like a file of its own; its
// bytes were checked as they were first read.
struct ByteRuns {
  // One thread reverses a block's runs faster than the writer writes them: a second one only
  // took the cores the reader and the writer need (1 GiB of LF text: 0.26-0.28 s alone, against
  // 0.31-0.36 s shared between two threads).
  static constexpr bool kShared = false;
  static void Reverse(std::span<char> run) noexcept { ReverseInPlace(run); }
  static void ReverseEnded(char* from, char* to, RunScan& scan) { ReverseEndedByteRuns(from, to, scan); }
  static void WriteLongRun(const FileHandle& input, std::int64_t begin, std::int64_t end, OutputWriter& output) {
    EncodingWatch checked;
    WriteRangeReversed(input, begin, end, output, [](std::int64_t) {}, checked);
  }
};
struct ClusterRuns {
  static constexpr bool kShared = true;
  static void Reverse(std::span<char> run) noexcept { unicode::ReverseClusterOrderInPlace(run); }
  // The clusters of all the runs that end in [from, to) are mirrored in one walk, which no
  // run's edge cuts (breaks are clusters of their own), and then the runs' bytes are reversed
  // as bytes. A walk per run would pay its start for every line.
  static void ReverseEnded(char* from, char* to, RunScan& scan) {
    if (const char* const lastBreak = FindLastBreak(from, to)) {
      char* const start = scan.inRun ? scan.runStart : from;
      unicode::MirrorEachCluster({start, static_cast<std::size_t>(lastBreak - start)});
    }
    ReverseEndedByteRuns(from, to, scan);
  }
  static void WriteLongRun(const FileHandle& input, std::int64_t begin, std::int64_t end, OutputWriter& output) {
    EncodingWatch checked;
    WriteClustersReversed(input, begin, end, output, [](std::int64_t) {}, EngineTuning{}.SplitMinimum, checked);
  }
};

// Runs::ReverseEnded on two threads: a block of at least `splitMinimum` bytes is cut after
// line breaks into pieces that no run crosses and that share nothing, handed out by ShareOut.
template <typename Runs>
void ReverseEndedRunsBeside(HelperThread& helper, std::size_t splitMinimum, char* from, char* to, RunScan& scan) {
  const auto length = static_cast<std::size_t>(to - from);
  const std::size_t wanted = HelperThread::PieceCount(length, splitMinimum);
  std::array<char*, HelperThread::kMostPieces + 1> cuts{from};
  std::size_t cutCount = 1;
  for (std::size_t i = 1; i < wanted; ++i) {
    const char* const lineBreak = FindFirstBreak(std::max(from + length * i / wanted, cuts[cutCount - 1]), to);
    if (lineBreak != nullptr && lineBreak + 1 < to) cuts[cutCount++] = from + (lineBreak - from) + 1;
  }
  if (cutCount == 1) {
    Runs::ReverseEnded(from, to, scan);
    return;
  }
  cuts[cutCount] = to;
  std::array<RunScan, HelperThread::kMostPieces> scans{};
  scans[0] = scan;
  helper.ShareOut(cutCount, [&](std::size_t i) { Runs::ReverseEnded(cuts[i], cuts[i + 1], scans[i]); });
  scan = scans[cutCount - 1];
}

// The end of the run of non-break bytes that goes on at `from`: the position of the next
// break, or the file's end. Reads forward a buffer at a time into `scratch`, each shown to
// `watch`.
std::int64_t FindRunEnd(const FileHandle& input, std::int64_t from, std::int64_t size, std::span<char> scratch,
                        ProgressMeter& meter, EncodingWatch& watch) {
  while (from < size) {
    meter.Report(from);
    const std::span<char> piece = scratch.first(static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(scratch.size()), size - from)));
    ReadExactlyAt(input, from, piece);
    watch.Forward(from, piece);
    if (const char* found = FindFirstBreak(piece.data(), piece.data() + piece.size())) return from + (found - piece.data());
    from += static_cast<std::int64_t>(piece.size());
  }
  return size;
}


// The input as the run reads it: blocks asked for two ahead, each read into an output buffer
// behind a front room where the start of a line still open at the block before can move.
class AheadBlocks {
 public:
  AheadBlocks(const FileHandle& input, std::int64_t size, OutputWriter& output)
      : reads_(input), size_(size), output_(output), frontRoom_(output.BufferSize() / 2) {}

  [[nodiscard]] std::size_t FrontRoom() const noexcept { return frontRoom_; }

  // Reads from `position` on from now; what was asked for before is dropped.
  void RestartAt(std::int64_t position) {
    for (const std::span<char> dropped : reads_.Discard()) output_.Drop(BufferOf(dropped));
    requested_ = position;
    AskForNext();
    AskForNext();
  }

  // The next block in order, inside its buffer after the front room.
  std::span<char> Next() {
    const std::span<char> block = reads_.Next();
    AskForNext();
    return block;
  }

  [[nodiscard]] std::span<char> BufferOf(std::span<char> block) const noexcept {
    return {block.data() - frontRoom_, output_.BufferSize()};
  }

 private:
  void AskForNext() {
    if (requested_ >= size_) return;
    const auto length = std::min<std::int64_t>(static_cast<std::int64_t>(output_.BufferSize() - frontRoom_), size_ - requested_);
    reads_.Request(output_.Take().subspan(frontRoom_, static_cast<std::size_t>(length)), requested_);
    requested_ += length;
  }

  ReadAhead reads_;
  std::int64_t size_;
  OutputWriter& output_;
  std::size_t frontRoom_;
  std::int64_t requested_ = 0;
};

// With breaks kept in place, reversing each line's content is reversing every run of bytes
// that holds no CR or LF. The input is read ahead, on a thread of its own, straight into output
// buffers, where each run is reversed as soon as its end is known; the start of a run still
// open at a block's end moves into the front room of the next block's buffer. A run longer
// than that room is written from its end backwards, like a file of its own. A byte-order
// mark is written first and the lines begin after it.
template <typename Runs>
void RevertLines(const ModeContext& context, RunFiles& files, std::int64_t start, EncodingWatch& watch) {
  const std::int64_t size = files.InputSize();
  OutputWriter output(files, context, context.Tuning.WorkingBlockSize());
  ProgressMeter meter(context.Observer, size, context.Tuning.ProgressStep);
  HandCopies(output, std::span(unicode::kByteOrderMark).first(static_cast<std::size_t>(start)));
  AheadBlocks blocks(files.Input(), size, output);
  blocks.RestartAt(start);
  std::optional<HelperThread> helper;
  if constexpr (Runs::kShared) helper.emplace();

  std::span<char> held;             // the buffer of the block before, not yet handed over
  std::span<const char> settled;    // its bytes that are final
  std::span<const char> carried;    // its run still open at its end
  std::int64_t read = start;
  while (read < size) {
    meter.Report(read);
    const std::span<char> block = blocks.Next();
    watch.Forward(read, block);
    const std::span<char> buffer = blocks.BufferOf(block);
    char* const begin = block.data() - carried.size();
    if (!carried.empty()) std::memcpy(begin, carried.data(), carried.size());
    if (!held.empty()) output.Hand(std::exchange(held, {}), settled);
    RunScan scan{!carried.empty(), begin};
    if (helper)
      ReverseEndedRunsBeside<Runs>(*helper, context.Tuning.SplitMinimum, block.data(), block.data() + block.size(), scan);
    else
      Runs::ReverseEnded(block.data(), block.data() + block.size(), scan);
    read += static_cast<std::int64_t>(block.size());
    char* const end = block.data() + block.size();

    if (read == size) {
      if (scan.inRun) Runs::Reverse({scan.runStart, static_cast<std::size_t>(end - scan.runStart)});
      output.Hand(buffer, {begin, end});
      break;
    }
    char* const openRun = scan.inRun ? scan.runStart : end;
    if (static_cast<std::size_t>(end - openRun) > blocks.FrontRoom()) {
      const std::int64_t runBegin = read - (end - openRun);
      output.Hand(buffer, {begin, openRun});
      blocks.RestartAt(size);
      const std::span<char> scratch = output.Take();
      const std::int64_t runEnd = FindRunEnd(files.Input(), read, size, scratch, meter, watch);
      output.Drop(scratch);
      Runs::WriteLongRun(files.Input(), runBegin, runEnd, output);
      read = runEnd;
      carried = {};
      blocks.RestartAt(read);
      continue;
    }
    held = buffer;
    settled = {begin, openRun};
    carried = {openRun, end};
  }
  if (!held.empty()) output.Hand(held, settled);
  blocks.RestartAt(size);
  watch.Finished();
  output.Finish();
}

}  // namespace

void RevertLine(const ModeContext& context, RunFiles& files, const InputText& text, EncodingWatch& watch) {
  if (text.ClusterWise)
    RevertLines<ClusterRuns>(context, files, text.ByteOrderMarkLength, watch);
  else
    RevertLines<ByteRuns>(context, files, 0, watch);
}

}  // namespace quillon
