#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "fileio/block_io.h"
#include "tests/support/mode_runner.h"
#include "tests/support/temp_folder.h"

namespace quillon::testing {
namespace {

// A 5 GiB input that exists only as a sparse file: its reads are answered with generated
// lines, and the output's writes are checked against the expected bytes at their offsets
// instead of being stored. So a run crosses 2^31 and 2^32 in every position it keeps
// without writing gigabytes.
constexpr std::int64_t kSize = std::int64_t{5} << 30;
constexpr std::int64_t kLineLength = 2560;  // 2559 bytes and LF; 2^31 and 2^32 fall inside lines
constexpr std::int64_t kLineCount = kSize / kLineLength;
constexpr std::int64_t kDistinctLines = 27;  // the content repeats after this many lines
constexpr std::int64_t kInputPeriod = kLineLength * kDistinctLines;

char InputByte(std::int64_t offset) {
  const std::int64_t line = offset / kLineLength;
  const std::int64_t column = offset % kLineLength;
  if (column == kLineLength - 1) return '\n';
  return static_cast<char>('!' + (line % kDistinctLines * 7 + column) % 90);
}

// An output that repeats `period` bytes after its first `lead`, described by its byte at each offset.
struct ExpectedOutput {
  std::int64_t size = 0;
  std::int64_t lead = 0;
  std::int64_t period = 0;
  std::function<char(std::int64_t)> byteAt;
};

ExpectedOutput ExpectedFor(RevertMode mode) {
  switch (mode) {
    case RevertMode::SimpleRevert:
      return {kSize, 0, kInputPeriod, [](std::int64_t at) { return InputByte(kSize - 1 - at); }};
    case RevertMode::RevertLine:
      return {kSize, 0, kInputPeriod, [](std::int64_t at) {
                const std::int64_t column = at % kLineLength;
                if (column == kLineLength - 1) return '\n';
                return InputByte(at - column + (kLineLength - 2 - column));
              }};
    case RevertMode::LineKeep:
      // The empty line after the last LF comes first; every line then gets CR LF.
      return {2 + kLineCount * (kLineLength + 1), 2, (kLineLength + 1) * kDistinctLines, [](std::int64_t at) {
                if (at < 2) return at == 0 ? '\r' : '\n';
                const std::int64_t line = kLineCount - 1 - (at - 2) / (kLineLength + 1);
                const std::int64_t column = (at - 2) % (kLineLength + 1);
                if (column == kLineLength - 1) return '\r';
                if (column == kLineLength) return '\n';
                return InputByte(line * kLineLength + column);
              }};
  }
  return {};
}

// What the writes have shown so far; the writer calls in from a thread of its own, one write at a time.
struct WriteCheck {
  std::string lead;
  std::string cycle;  // one period of the expected output after its lead
  std::int64_t nextOffset = 0;
  std::int64_t firstWrong = -1;
};
WriteCheck check;
std::string inputCycle;

std::int64_t GeneratedRead(NativeHandle /*fd*/, void* buffer, std::size_t count, std::int64_t offset) {
  auto* out = static_cast<char*>(buffer);
  const std::int64_t end = std::min<std::int64_t>(kSize, offset + static_cast<std::int64_t>(count));
  for (std::int64_t at = offset; at < end;) {
    const auto phase = static_cast<std::size_t>(at % kInputPeriod);
    const std::int64_t length = std::min<std::int64_t>(end - at, kInputPeriod - static_cast<std::int64_t>(phase));
    std::memcpy(out + (at - offset), inputCycle.data() + phase, static_cast<std::size_t>(length));
    at += length;
  }
  return std::max<std::int64_t>(end - offset, 0);
}

bool Matches(const char* bytes, std::int64_t offset, std::int64_t count) {
  const auto lead = static_cast<std::int64_t>(check.lead.size());
  const auto period = static_cast<std::int64_t>(check.cycle.size());
  for (std::int64_t at = offset; at < offset + count;) {
    const char* got = bytes + (at - offset);
    if (at < lead) {
      if (*got != check.lead[static_cast<std::size_t>(at)]) return false;
      ++at;
      continue;
    }
    const auto phase = static_cast<std::size_t>((at - lead) % period);
    const std::int64_t length = std::min<std::int64_t>(offset + count - at, period - static_cast<std::int64_t>(phase));
    if (std::memcmp(got, check.cycle.data() + phase, static_cast<std::size_t>(length)) != 0) return false;
    at += length;
  }
  return true;
}

std::int64_t CheckedWrite(NativeHandle /*fd*/, const void* buffer, std::size_t count, std::int64_t offset) {
  if (offset != check.nextOffset || !Matches(static_cast<const char*>(buffer), offset, static_cast<std::int64_t>(count))) {
    check.firstWrong = offset;
    errno = EIO;
    return -1;
  }
  check.nextOffset += static_cast<std::int64_t>(count);
  return static_cast<std::int64_t>(count);
}

// Counts the echo's bytes rather than keeping them.
class EchoCount : public RunObserver {
 public:
  void SetProgressValue(float percent) override { lastProgress = percent; }
  void OutputWritten(std::span<const char> bytes) override { echoed += static_cast<std::int64_t>(bytes.size()); }
  void ResultStartsOver() override { echoed = 0; }
  std::int64_t echoed = 0;
  float lastProgress = -1;
};

class SimulatedFiveGiB : public ::testing::TestWithParam<RevertMode> {};

TEST_P(SimulatedFiveGiB, WritesEveryByteInPlacePastTwoAndFourGiB) {
  const ExpectedOutput expected = ExpectedFor(GetParam());
  inputCycle.clear();
  for (std::int64_t at = 0; at < kInputPeriod; ++at) inputCycle += InputByte(at);
  check = {};
  for (std::int64_t at = 0; at < expected.lead; ++at) check.lead += expected.byteAt(at);
  for (std::int64_t at = expected.lead; at < expected.lead + expected.period; ++at) check.cycle += expected.byteAt(at);

  const TempFolder folder;
  const std::string input = folder.Write("huge.txt", "");
  ASSERT_EQ(::truncate(input.c_str(), kSize), 0) << "a sparse 5 GiB file";
  EchoCount observer;
  const PositionedCalls system = ReplacePositionedCalls({GeneratedRead, CheckedWrite});
  std::string error;
  try {
    RunMode(GetParam(), ModeContext{input, input + "_rev.txt", observer, {}, {}});
  } catch (const std::exception& failure) {
    error = failure.what();
  }
  ReplacePositionedCalls(system);

  EXPECT_EQ(error, "");
  EXPECT_EQ(check.firstWrong, -1);
  EXPECT_EQ(check.nextOffset, expected.size);
  EXPECT_EQ(observer.echoed, expected.size);
  EXPECT_GT(observer.lastProgress, 99.0F);
}

INSTANTIATE_TEST_SUITE_P(Modes, SimulatedFiveGiB, ::testing::ValuesIn(kAllModes));

}  // namespace
}  // namespace quillon::testing
