#include <algorithm>
#include <bit>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fileio/break_masks.h"
#include "fileio/line_breaks.h"
#include "fileio/byte_reverse.h"

namespace quillon {
namespace {

std::string RandomBytes(std::mt19937& random, std::size_t length, int breakOneIn) {
  std::string bytes(length, '\0');
  for (char& c : bytes) {
    const auto roll = random() % static_cast<unsigned>(breakOneIn * 2);
    c = roll == 0 ? '\r' : roll == 1 ? '\n' : static_cast<char>(random() % 256);
  }
  return bytes;
}

// The vector scans must agree with a byte loop wherever the range starts, ends and
// however sparse its breaks are.
TEST(LineBreakScan, AgreesWithAByteLoop) {
  std::mt19937 random(7);
  for (int round = 0; round < 4000; ++round) {
    const std::string bytes = RandomBytes(random, random() % 300, 1 + static_cast<int>(random() % 200));
    const std::size_t from = bytes.empty() ? 0 : random() % bytes.size();
    const std::size_t to = from + (bytes.size() == from ? 0 : random() % (bytes.size() - from + 1));
    const char* begin = bytes.data() + from;
    const char* end = bytes.data() + to;

    const char* first = std::find_if(begin, end, IsLineBreak);
    EXPECT_EQ(FindFirstBreak(begin, end), first == end ? nullptr : first);
    const auto last = std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(begin), IsLineBreak);
    EXPECT_EQ(FindLastBreak(begin, end), last.base() == begin ? nullptr : last.base() - 1);
    EXPECT_EQ(SkipBreaks(begin, end), std::find_if_not(begin, end, IsLineBreak));
  }
  std::mt19937_64 bits(11);
  for (int round = 0; round < 1000; ++round) {
    const std::uint64_t mask = bits() & bits();
    EXPECT_EQ(CountBits(mask), std::popcount(mask));
  }
  EXPECT_EQ(CountBits(~std::uint64_t{0}), 64);
}

TEST(ByteReversal, InPlaceAndCopyingAgreeWithStdReverseForEveryLengthAndAlignment) {
  std::mt19937 random(11);
  for (std::size_t length = 0; length < 600; ++length) {
    for (std::size_t offset : {0, 1, 7}) {
      std::string bytes = RandomBytes(random, length + offset, 50);
      std::string expected = bytes;
      std::reverse(expected.begin() + static_cast<std::ptrdiff_t>(offset), expected.end());
      std::string copied(length, '\0');
      ReverseCopy(bytes.data() + offset, length, copied.data());
      ReverseInPlace(std::span(bytes).subspan(offset));
      ASSERT_EQ(bytes, expected) << "length " << length << " offset " << offset;
      ASSERT_EQ(copied, expected.substr(offset)) << "copied, length " << length << " offset " << offset;
    }
  }
}

// Runs of every length a line has, side by side with a byte between them that no run may
// touch, reversed in batches of several sizes.
TEST(ByteReversal, EachOfManyRunsIsReversedAndNothingBetweenThem) {
  std::mt19937 random(12);
  for (const std::size_t batch : {1, 7, 300}) {
    std::string bytes;
    std::vector<std::pair<std::size_t, std::size_t>> places;
    for (std::size_t length = 0; length < 300; ++length) {
      bytes += '|';
      places.emplace_back(bytes.size(), length);
      bytes += RandomBytes(random, length, 50);
    }
    bytes += '|';
    std::string expected = bytes;
    std::vector<ByteRun> runs;
    for (const auto& [offset, length] : places) {
      std::reverse(expected.begin() + static_cast<std::ptrdiff_t>(offset),
                   expected.begin() + static_cast<std::ptrdiff_t>(offset + length));
      runs.push_back({bytes.data() + offset, length});
    }
    std::shuffle(runs.begin(), runs.end(), random);
    for (std::size_t from = 0; from < runs.size(); from += batch)
      ReverseEachInPlace(std::span(runs).subspan(from, std::min(batch, runs.size() - from)));
    ASSERT_EQ(bytes, expected) << "batches of " << batch;
  }
}

// Runs in order, of every length a line has, with gaps of up to 24 bytes between them, in a
// buffer no larger than they need, so that no read or write may stray past either end.
TEST(ByteReversal, OrderedRunsAreReversedAndTheBytesBetweenThemKept) {
  std::mt19937 random(13);
  std::vector<std::size_t> lengths(300);
  for (std::size_t i = 0; i < lengths.size(); ++i) lengths[i] = i;
  std::shuffle(lengths.begin(), lengths.end(), random);
  std::vector<std::pair<std::size_t, std::size_t>> places;
  std::string text;
  for (const std::size_t length : lengths) {
    if (!places.empty()) text += RandomBytes(random, random() % 25, 1);
    places.emplace_back(text.size(), length);
    text += RandomBytes(random, length, 50);
  }
  std::vector<char> bytes(text.begin(), text.end());
  std::string expected = text;
  std::vector<ByteRun> runs;
  for (const auto& [offset, length] : places) {
    std::reverse(expected.begin() + static_cast<std::ptrdiff_t>(offset),
                 expected.begin() + static_cast<std::ptrdiff_t>(offset + length));
    runs.push_back({bytes.data() + offset, length});
  }
  ReverseEachOfOrderedRuns(runs, bytes);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
}

}  // namespace
}  // namespace quillon
