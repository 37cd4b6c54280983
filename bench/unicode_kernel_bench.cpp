// The Unicode kernels on lines of about 60 bytes in four kinds of text, each line a run of
// its own, and on whole blocks of the benchmark's texts, as the modes hand them over;
// utf8proc's segmentation alone for comparison.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <utf8proc.h>

#include "bench/text_maker.h"
#include "unicode/cluster_reverse.h"
#include "unicode/grapheme_breaks.h"
#include "unicode/utf8_validator.h"

namespace {

constexpr std::size_t kTextBytes = std::size_t{1} << 20;

enum class Script { Ascii, European, Cjk, Emoji };

std::vector<std::string_view> SampleLines(Script script) {
  switch (script) {
    case Script::Ascii:
      return {"The quick brown fox jumps over the lazy dog, then rests a bit.",
              "Pack my box with five dozen liquor jugs before the ship sails."};
    case Script::European:
      return {"Gr\u00F6\u00DFere \u00C4pfel schmecken s\u00FC\u00DFer, w\u00E4hrend B\u00E4ume bl\u00FChen.",
              "\u00C7a va tr\u00E8s bien, m\u00EAme si l'\u00E9t\u00E9 arrive d\u00E9j\u00E0 \u00E0 No\u00EBl."};
    case Script::Cjk:
      return {"\u6F22\u5B57\u304B\u306A\u4EA4\u3058\u308A\u6587\u306F\u65E5\u672C\u8A9E\u306E\u8868\u8A18\u3067\u6700\u3082\u4E00",
              "\uC548\uB155\uD558\uC138\uC694 \uD55C\uAD6D\uC5B4 \uBB38\uC7A5\uC785\uB2C8\uB2E4 \u4E2D\u6587\u4E5F\u4F7F\u7528\u6C49"};
    case Script::Emoji:
      return {"ok \U0001F44D\U0001F3FD \U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7 \u2764\uFE0F "
              "\U0001F468\u200D\U0001F469\u200D\U0001F467 \U0001F600!",
              "\U0001F389 party \U0001F973\U0001F382 \U0001F469\U0001F3FB\u200D\U0001F4BB work \U0001F525\U0001F525"};
  }
  return {};
}

// About 1 MiB of lines, and where each begins and ends.
struct Text {
  std::string bytes;
  std::vector<std::string_view> lines;
};

const Text& TextOf(Script script) {
  static Text texts[4];
  Text& text = texts[static_cast<int>(script)];
  if (text.bytes.empty()) {
    const std::vector<std::string_view> samples = SampleLines(script);
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; text.bytes.size() < kTextBytes; ++i) {
      starts.push_back(text.bytes.size());
      text.bytes += samples[i % samples.size()];
    }
    starts.push_back(text.bytes.size());
    for (std::size_t i = 0; i + 1 < starts.size(); ++i)
      text.lines.push_back(std::string_view(text.bytes).substr(starts[i], starts[i + 1] - starts[i]));
  }
  return text;
}

void CountBytes(benchmark::State& state, const Text& text) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.bytes.size()));
  state.counters["bytes_per_line"] = static_cast<double>(text.bytes.size()) / static_cast<double>(text.lines.size());
}

void BM_ReverseClusterOrder(benchmark::State& state, Script script) {
  const Text& text = TextOf(script);
  std::string out(text.bytes.size(), '\0');
  for (auto _ : state) {
    char* to = out.data();
    for (const std::string_view line : text.lines) {
      quillon::unicode::ReverseClusterOrder(line, std::span<char>(to, line.size()));
      to += line.size();
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  CountBytes(state, text);
}

// Mirroring a mirrored line would see malformed text, so each line is copied in first, as
// the engine reads a block before it works on it.
void BM_CopyAndMirrorEachCluster(benchmark::State& state, Script script) {
  const Text& text = TextOf(script);
  std::string work(text.bytes.size(), '\0');
  for (auto _ : state) {
    char* to = work.data();
    for (const std::string_view line : text.lines) {
      std::memcpy(to, line.data(), line.size());
      quillon::unicode::MirrorEachCluster(std::span<char>(to, line.size()));
      to += line.size();
    }
    benchmark::DoNotOptimize(work.data());
    benchmark::ClobberMemory();
  }
  CountBytes(state, text);
}

// Alternates between the text and its reversal, which hold the same clusters.
void BM_ReverseClusterOrderInPlace(benchmark::State& state, Script script) {
  const Text& text = TextOf(script);
  std::string work = text.bytes;
  for (auto _ : state) {
    for (const std::string_view line : text.lines) {
      const std::size_t offset = static_cast<std::size_t>(line.data() - text.bytes.data());
      quillon::unicode::ReverseClusterOrderInPlace(std::span<char>(work.data() + offset, line.size()));
    }
    benchmark::DoNotOptimize(work.data());
    benchmark::ClobberMemory();
  }
  CountBytes(state, text);
}

// The walk as the modes run it: over whole 1 MiB blocks of the benchmark's own texts, in which
// the same words and emoji come back again and again, each block copied in first.
void BM_MirrorEachClusterOfBlocks(benchmark::State& state, quillon::bench::Script script) {
  constexpr std::size_t kBlock = std::size_t{1} << 20;
  const std::string text = quillon::bench::MakeText(16 * kBlock, quillon::bench::LineBreak::LF, script);
  std::string work(kBlock, '\0');
  for (auto _ : state) {
    for (std::size_t at = 0; at < text.size(); at += kBlock) {
      std::memcpy(work.data(), text.data() + at, kBlock);
      quillon::unicode::MirrorEachCluster(work);
      benchmark::DoNotOptimize(work.data());
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_Validate(benchmark::State& state, Script script) {
  const Text& text = TextOf(script);
  for (auto _ : state) benchmark::DoNotOptimize(quillon::unicode::IsValidUtf8(text.bytes));
  CountBytes(state, text);
}

// Boundaries only, no copying: what the segmenter costs without the ASCII shortcuts.
void BM_SegmentOnly(benchmark::State& state, Script script) {
  const Text& text = TextOf(script);
  for (auto _ : state) {
    std::size_t clusters = 0;
    for (const std::string_view line : text.lines) {
      quillon::unicode::GraphemeCursor cursor(line, 0);
      while (cursor.Next() < line.size()) ++clusters;
    }
    benchmark::DoNotOptimize(clusters);
  }
  CountBytes(state, text);
}

void BM_Utf8procSegmentOnly(benchmark::State& state, Script script) {
  const Text& text = TextOf(script);
  for (auto _ : state) {
    std::size_t clusters = 0;
    for (const std::string_view line : text.lines) {
      const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(line.data());
      const auto size = static_cast<utf8proc_ssize_t>(line.size());
      utf8proc_int32_t state32 = 0;
      utf8proc_int32_t previous = -1;
      for (utf8proc_ssize_t at = 0; at < size;) {
        utf8proc_int32_t codePoint;
        at += utf8proc_iterate(bytes + at, size - at, &codePoint);
        if (previous < 0 || utf8proc_grapheme_break_stateful(previous, codePoint, &state32)) ++clusters;
        previous = codePoint;
      }
    }
    benchmark::DoNotOptimize(clusters);
  }
  CountBytes(state, text);
}

#define QUILLON_FOR_EACH_SCRIPT(function)                            \
  BENCHMARK_CAPTURE(function, ascii, Script::Ascii);                 \
  BENCHMARK_CAPTURE(function, european, Script::European);           \
  BENCHMARK_CAPTURE(function, cjk, Script::Cjk);                     \
  BENCHMARK_CAPTURE(function, emoji, Script::Emoji)

QUILLON_FOR_EACH_SCRIPT(BM_ReverseClusterOrder);
QUILLON_FOR_EACH_SCRIPT(BM_ReverseClusterOrderInPlace);
QUILLON_FOR_EACH_SCRIPT(BM_CopyAndMirrorEachCluster);
QUILLON_FOR_EACH_SCRIPT(BM_SegmentOnly);
QUILLON_FOR_EACH_SCRIPT(BM_Utf8procSegmentOnly);
QUILLON_FOR_EACH_SCRIPT(BM_Validate);
BENCHMARK_CAPTURE(BM_MirrorEachClusterOfBlocks, european, quillon::bench::Script::European);
BENCHMARK_CAPTURE(BM_MirrorEachClusterOfBlocks, cjk, quillon::bench::Script::Cjk);
BENCHMARK_CAPTURE(BM_MirrorEachClusterOfBlocks, emoji, quillon::bench::Script::Emoji);

}  // namespace
