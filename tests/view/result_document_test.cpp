#include "resultview/result_document.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "fileio/block_io.h"
#include "resultview/file_block_cache.h"
#include "resultview/line_cells.h"
#include "tests/support/reference_modes.h"
#include "tests/support/temp_folder.h"
#include "tests/view/reference_cells.h"
#include "tests/view/reference_lines.h"

namespace quillon {
namespace {

using testing::ReferenceLine;
using testing::SplitLines;
using testing::TempFolder;

std::string NumberedLines(int count) {
  std::string text;
  for (int line = 0; line < count; ++line) text += "line " + std::to_string(line) + (line % 3 == 0 ? "\r\n" : "\n");
  return text;
}

std::string LineText(const ResultLines& lines, std::uint64_t line) {
  std::string bytes(lines.Length(line), '?');
  bytes.resize(lines.Read(lines.Start(line), bytes));
  return bytes;
}

// A run's output as the window receives it: written to a file, then reported.
class ResultDocumentTest : public ::testing::Test {
 protected:
  void StartRun(bool utf8 = false) {
    document_.Reset();
    document_.SetUtf8Text(utf8);
    // Each run writes a file of its own, as the program's runs do: on Windows a removed file
    // keeps its name until the view lets go of it.
    path_ = folder_.File("result-" + std::to_string(++runs_) + ".txt");
    output_ = OpenNewForWrite(path_);
    ASSERT_TRUE(output_.valid()) << output_.error();
    document_.OutputOpened(DuplicateHandle(output_));
    written_ = 0;
  }
  void Write(std::string_view bytes) {
    WriteAt(output_, static_cast<std::int64_t>(written_), {bytes.data(), bytes.size()});
    written_ += bytes.size();
    document_.OutputWritten({bytes.data(), bytes.size()});
  }
  // Writes `text` on a thread of its own in random pieces of 1 to `largestPiece` bytes, as the
  // run's writer does, and sets `done` after the last one.
  std::thread WriteOnAnotherThread(const std::string& text, unsigned seed, std::size_t largestPiece, std::atomic<bool>& done) {
    return std::thread([this, &text, seed, largestPiece, &done] {
      std::mt19937 random(seed);
      std::uniform_int_distribution<std::size_t> piece(1, largestPiece);
      for (std::size_t at = 0; at < text.size();) {
        const std::size_t size = std::min(text.size() - at, piece(random));
        Write(std::string_view(text).substr(at, size));
        at += size;
      }
      done = true;
    });
  }

  TempFolder folder_;
  std::string path_;
  int runs_ = 0;
  ResultDocument document_{128};
  FileHandle output_;
  std::uint64_t written_ = 0;
};

TEST_F(ResultDocumentTest, ReadsWhatTheRunWritesWhileItWritesFromAnotherThread) {
  const std::string text = NumberedLines(20000);
  const std::vector<ReferenceLine> reference = SplitLines(text);
  StartRun();
  std::atomic<bool> done = false;
  std::thread writer = WriteOnAnotherThread(text, 3, 5000, done);
  std::uint64_t lastCount = 1;
  for (bool finished = false; !finished;) {
    finished = done;
    const ResultLines lines = document_.Lines();
    ASSERT_GE(lines.Count(), lastCount);
    lastCount = lines.Count();
    // Every line but the last, which may still grow, is complete.
    if (lines.Count() >= 2) {
      const std::uint64_t line = lines.Count() - 2;
      ASSERT_EQ(LineText(lines, line), text.substr(reference[line].start, reference[line].end - reference[line].start));
    }
  }
  writer.join();
  const ResultLines lines = document_.Lines();
  ASSERT_EQ(lines.Count(), reference.size());
  for (const std::uint64_t line : {0u, 1u, 2u, 3u, 9999u, 19999u, 20000u})
    EXPECT_EQ(LineText(lines, line), text.substr(reference[line].start, reference[line].end - reference[line].start)) << line;
}

TEST_F(ResultDocumentTest, CellsOfUtf8TextAreReadWhileTheRunWritesThemFromAnotherThread) {
  const std::string line = testing::MixedLine(6000);
  const std::vector<CellSpot> spots = testing::ReferenceSpots(line);
  const std::string text = "short\n" + line + "\r\n" + line;
  StartRun(true);
  std::atomic<bool> done = false;
  std::thread writer = WriteOnAnotherThread(text, 5, 700, done);
  for (bool finished = false; !finished;) {
    finished = done;
    const ResultLines lines = document_.Lines();
    ASSERT_TRUE(lines.Utf8());
    // Once the second line has ended, every one of its places is where the reference has it.
    if (lines.Count() < 3) continue;
    const LineCells cells(lines, 1);
    const CellSpot& spot = spots[spots.size() / 2];
    ASSERT_EQ(cells.AtCell(spot.cell).start, spot);
    ASSERT_EQ(cells.Cells(), spots.back().cell);
  }
  writer.join();
  const ResultLines lines = document_.Lines();
  EXPECT_EQ(lines.LongestCells(), spots.back().cell);
  EXPECT_EQ(LineCells(lines, 2).AtColumn(line.size()), spots.back());

  // A new run shows bytes unless it says otherwise.
  ASSERT_TRUE(std::filesystem::remove(path_));
  StartRun();
  Write("\xE6\xBC\xA2");
  EXPECT_FALSE(document_.Lines().Utf8());
  EXPECT_EQ(document_.Lines().LongestCells(), 3u);
}

TEST_F(ResultDocumentTest, ADroppedOutputStillShowsWhatWasWritten) {
  StartRun();
  Write("written before\nthe run failed");
  ASSERT_TRUE(std::filesystem::remove(path_));
  output_ = {};
  const ResultLines lines = document_.Lines();
  ASSERT_EQ(lines.Count(), 2u);
  EXPECT_EQ(LineText(lines, 1), "the run failed");
}

TEST_F(ResultDocumentTest, ANewRunStartsOverAndForgetsTheOldFile) {
  StartRun();
  Write("old\nold\nold\n");
  ASSERT_TRUE(std::filesystem::remove(path_));
  const std::uint64_t generation = document_.generation();
  StartRun();
  EXPECT_GT(document_.generation(), generation);
  EXPECT_EQ(document_.Lines().Count(), 1u);
  Write("new");
  const ResultLines lines = document_.Lines();
  ASSERT_EQ(lines.Count(), 1u);
  EXPECT_EQ(LineText(lines, 0), "new");
}

// A run that finds its input is UTF-8 text after all drops what it wrote and writes again into
// a new file, from its own thread while the view reads: the lines the view holds stay readable,
// and afterwards it sees only the new text, as UTF-8, as a new result.
TEST_F(ResultDocumentTest, ARunThatStartsOverIsShownAfreshWhileTheViewReads) {
  const std::string first = NumberedLines(3000);
  const std::string second = testing::MixedLine(3000) + "\n" + NumberedLines(3000);
  StartRun();
  const std::uint64_t generation = document_.generation();
  std::atomic<bool> done = false;
  std::thread run([&] {
    std::atomic<bool> firstDone = false;
    WriteOnAnotherThread(first.substr(0, first.size() / 2), 7, 900, firstDone).join();
    const std::string firstPath = path_;
    document_.StartOver();
    document_.SetUtf8Text(true);
    path_ = folder_.File("started-over.txt");
    output_ = OpenNewForWrite(path_);
    document_.OutputOpened(DuplicateHandle(output_));
    written_ = 0;
    std::filesystem::remove(firstPath);
    WriteOnAnotherThread(second, 9, 900, done).join();
  });
  for (bool finished = false; !finished;) {
    finished = done;
    const ResultLines lines = document_.Lines();
    const std::string& text = lines.Utf8() ? second : first;
    std::string start(std::min<std::uint64_t>(lines.Size(), 64), '?');
    start.resize(lines.Read(0, start));
    ASSERT_EQ(start, text.substr(0, start.size()));
  }
  run.join();
  EXPECT_GT(document_.generation(), generation);
  const ResultLines lines = document_.Lines();
  EXPECT_TRUE(lines.Utf8());
  EXPECT_EQ(lines.Size(), second.size());
  EXPECT_EQ(LineText(lines, 1), "line 0");
}

TEST(FileBlockCacheTest, FewSmallBlocksGiveTheFileBytesInAnyOrderAndAsItGrows) {
  TempFolder folder;
  std::string text(3000, ' ');
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  const std::string path = folder.Write("bytes.txt", text.substr(0, 1000));
  auto file = std::make_shared<const FileHandle>(OpenForRead(path));
  FileBlockCache cache(64, 3);
  cache.Open(file);
  cache.Limit(1000);
  std::mt19937 random(11);
  std::uniform_int_distribution<std::size_t> offset(0, 1100);
  std::uniform_int_distribution<std::size_t> length(0, 200);
  for (int read = 0; read < 500; ++read) {
    const std::size_t at = offset(random);
    const std::size_t wanted = length(random);
    std::string out(wanted, '?');
    out.resize(cache.Read(at, out));
    ASSERT_EQ(out, at < 1000 ? text.substr(at, std::min(wanted, 1000 - at)) : "") << at;
  }
  // Three blocks and what keeps them, however much was read.
  EXPECT_LE(cache.MemoryBytes(), 4 * (64 + 64));
  EXPECT_FALSE(cache.TakeShortRead());

  // The file grows: the block that held its old end is read again.
  testing::WriteWhole(path, text);
  cache.Limit(text.size());
  std::string out(100, '?');
  ASSERT_EQ(cache.Read(950, out), 100u);
  EXPECT_EQ(out, text.substr(950, 100));

  // And shrinks: the read comes up short, and says so.
  std::filesystem::resize_file(path, 500);
  std::string beyond(100, '?');
  EXPECT_EQ(cache.Read(2000, beyond), 0u);
  EXPECT_TRUE(cache.TakeShortRead());
  EXPECT_EQ(cache.FileSize(), 500u);
}

// A UTF-16 result reads as the UTF-8 text it stands for, in both byte orders, written in
// pieces that cut code units and surrogate pairs, and long enough for many places of return.
TEST_F(ResultDocumentTest, AUtf16ResultReadsAsItsUtf8Text) {
  std::string utf8;
  for (int line = 0; line < 3000; ++line)
    utf8 += "line " + std::to_string(line) + " \xE6\xBC\xA2\xF0\x9F\x98\x80 caf\xC3\xA9" + (line % 2 ? "\r\n" : "\n");
  for (const bool littleEndian : {true, false}) {
    // The result's text after its byte-order mark.
    const std::string utf16 = testing::ReferenceUtf16Of(utf8, littleEndian).substr(2);
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
    StartRun();
    document_.SetUtf16Text(littleEndian ? unicode::Utf16Order::LittleEndian : unicode::Utf16Order::BigEndian);
    for (std::size_t at = 0; at < utf16.size(); at += 7) Write(std::string_view(utf16).substr(at, 7));
    const ResultLines lines = document_.Lines();
    ASSERT_TRUE(lines.Utf8());
    ASSERT_EQ(lines.Size(), utf8.size());
    const std::vector<ReferenceLine> expected = SplitLines(utf8);
    ASSERT_EQ(lines.Count(), expected.size());
    for (const std::uint64_t line : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{1234}, std::uint64_t{2999}, lines.Count() - 1})
      EXPECT_EQ(LineText(lines, line), utf8.substr(expected[line].start, expected[line].end - expected[line].start)) << line;
    std::string whole(utf8.size(), '?');
    EXPECT_EQ(lines.Read(0, whole), utf8.size());
    EXPECT_TRUE(whole == utf8);
  }
}

}  // namespace
}  // namespace quillon
