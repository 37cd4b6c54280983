// The loops the modes spend their time in, on one 1 MiB block of benchmark text held in
// memory: no files, no system calls.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

#include "bench/text_maker.h"
#include "fileio/byte_reverse.h"
#include "modes/byte_runs_reverse.h"
#include "modes/lines_backward.h"
#include "resultview/result_index.h"
#include "unicode/utf16_text.h"

namespace {

using quillon::bench::LineBreak;

constexpr std::size_t kBlock = std::size_t{1} << 20;

const std::string& Block(LineBreak lineBreak) {
  static const std::string lf = quillon::bench::MakeText(kBlock, LineBreak::LF);
  static const std::string crlf = quillon::bench::MakeText(kBlock, LineBreak::CRLF);
  return lineBreak == LineBreak::CRLF ? crlf : lf;
}

// The line steps take a block in turn from eight of them: the same block again and again lets
// the branch predictor learn its lines, which hid what their lengths cost on new text.
constexpr std::size_t kLineBlocks = 8;

const std::string& LineBlocks(LineBreak lineBreak) {
  static const std::string lf = quillon::bench::MakeText(kLineBlocks * kBlock, LineBreak::LF);
  static const std::string crlf = quillon::bench::MakeText(kLineBlocks * kBlock, LineBreak::CRLF);
  return lineBreak == LineBreak::CRLF ? crlf : lf;
}

void CountBytes(benchmark::State& state) { state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBlock)); }

// The floor every mode stands on: touching each byte once.
void BM_Memcpy(benchmark::State& state) {
  const std::string& in = Block(LineBreak::LF);
  std::string out(kBlock, '\0');
  for (auto _ : state) {
    std::memcpy(out.data(), in.data(), kBlock);
    benchmark::DoNotOptimize(out.data());
  }
  CountBytes(state);
}
BENCHMARK(BM_Memcpy);

// Simple Revert's kernel, against the standard algorithm.
void BM_ReverseInPlace(benchmark::State& state) {
  std::string bytes = Block(LineBreak::LF);
  for (auto _ : state) {
    quillon::ReverseInPlace(bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
  CountBytes(state);
}
BENCHMARK(BM_ReverseInPlace);

void BM_StdReverse(benchmark::State& state) {
  std::string bytes = Block(LineBreak::LF);
  for (auto _ : state) {
    std::reverse(bytes.begin(), bytes.end());
    benchmark::DoNotOptimize(bytes.data());
  }
  CountBytes(state);
}
BENCHMARK(BM_StdReverse);

// Revert Line's step: reverse every line's content in place, a block at a time.
void BM_ReverseEachLine(benchmark::State& state) {
  std::string bytes = LineBlocks(static_cast<LineBreak>(state.range(0)));
  std::size_t next = 0;
  for (auto _ : state) {
    char* const block = bytes.data() + next++ % kLineBlocks * kBlock;
    quillon::RunScan scan;
    quillon::ReverseEndedByteRuns(block, block + kBlock, scan);
    benchmark::DoNotOptimize(block);
  }
  CountBytes(state);
}
BENCHMARK(BM_ReverseEachLine)->Arg(static_cast<int>(LineBreak::LF))->Arg(static_cast<int>(LineBreak::CRLF));

// Line keep's kernel: the lines of a block, last first, each copied out followed by CR LF.
void BM_CopyLinesBackward(benchmark::State& state) {
  const std::string& text = LineBlocks(static_cast<LineBreak>(state.range(0)));
  std::string out(kBlock * 2, '\0');
  std::size_t next = 0;
  for (auto _ : state) {
    const std::span<const char> block(text.data() + next++ % kLineBlocks * kBlock, kBlock);
    const quillon::LinesCopied copied = quillon::CopyLinesBackward(block, block.data() + block.size(), out);
    benchmark::DoNotOptimize(copied);
    benchmark::DoNotOptimize(out.data());
  }
  CountBytes(state);
}
BENCHMARK(BM_CopyLinesBackward)->Arg(static_cast<int>(LineBreak::LF))->Arg(static_cast<int>(LineBreak::CRLF));

// What the window adds to the writer's thread: the result's line index takes in each block
// as it is written.
void BM_ResultIndexAppend(benchmark::State& state) {
  const std::string& text = LineBlocks(static_cast<LineBreak>(state.range(0)));
  quillon::ResultIndex index;
  std::size_t next = 0;
  for (auto _ : state) {
    if (next % kLineBlocks == 0) index.Clear();
    index.Append(std::span(text).subspan(next++ % kLineBlocks * kBlock, kBlock));
  }
  benchmark::DoNotOptimize(index.Indexed());
  CountBytes(state);
}
BENCHMARK(BM_ResultIndexAppend)->Arg(static_cast<int>(LineBreak::LF))->Arg(static_cast<int>(LineBreak::CRLF));

// UTF-16 text is worked on as UTF-8: a block of the benchmark's texts (words of random
// letters, so that no branch predictor learns the text) turned into UTF-8 and back. Bytes
// counted are the UTF-8 ones.
using quillon::bench::Script;
using quillon::unicode::Utf16Order;

const std::string& Utf8Block(Script script) {
  static std::string blocks[4];
  std::string& block = blocks[static_cast<int>(script)];
  if (block.empty()) block = quillon::bench::MakeText(kBlock, LineBreak::LF, script);
  return block;
}

void BM_Utf16ToUtf8(benchmark::State& state) {
  const std::string& text = Utf8Block(static_cast<Script>(state.range(0)));
  std::string utf16(quillon::unicode::Utf8ToUtf16::MaxOutput(text.size()), '\0');
  quillon::unicode::Utf8ToUtf16 widen(Utf16Order::LittleEndian);
  utf16.resize(widen.Feed(text, utf16.data()));
  std::string out(quillon::unicode::Utf16ToUtf8::MaxOutput(utf16.size()), '\0');
  for (auto _ : state) {
    quillon::unicode::Utf16ToUtf8 narrow(Utf16Order::LittleEndian);
    benchmark::DoNotOptimize(narrow.Feed(utf16, out.data()));
    benchmark::ClobberMemory();
  }
  CountBytes(state);
}
BENCHMARK(BM_Utf16ToUtf8)->DenseRange(static_cast<int>(Script::Ascii), static_cast<int>(Script::Emoji));

void BM_Utf8ToUtf16(benchmark::State& state) {
  const std::string& text = Utf8Block(static_cast<Script>(state.range(0)));
  std::string out(quillon::unicode::Utf8ToUtf16::MaxOutput(text.size()), '\0');
  for (auto _ : state) {
    quillon::unicode::Utf8ToUtf16 widen(Utf16Order::LittleEndian);
    benchmark::DoNotOptimize(widen.Feed(text, out.data()));
    benchmark::ClobberMemory();
  }
  CountBytes(state);
}
BENCHMARK(BM_Utf8ToUtf16)->DenseRange(static_cast<int>(Script::Ascii), static_cast<int>(Script::Emoji));

}  // namespace
