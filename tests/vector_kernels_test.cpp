#include <algorithm>
#include <bit>
#include <random>
#include <string>
#include <utility>
#include <cstring>
#include <span>
#include <stdexcept>
#include <vector>

#if !defined(_WIN32)
#include <sys/mman.h>
#include <unistd.h>
#endif

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

// Runs of every length a line has, in random order of length, side by side with a byte
// between them that no run may touch, reversed in batches of several sizes.
TEST(ByteReversal, EachOfManyRunsIsReversedAndNothingBetweenThem) {
  std::mt19937 random(12);
  for (const std::size_t batch : {1, 7, 300}) {
    std::vector<std::size_t> lengths(300);
    for (std::size_t i = 0; i < lengths.size(); ++i) lengths[i] = i;
    std::shuffle(lengths.begin(), lengths.end(), random);
    std::string bytes;
    std::vector<std::pair<std::size_t, std::size_t>> places;
    for (const std::size_t length : lengths) {
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
    for (std::size_t from = 0; from < runs.size(); from += batch)
      ReverseEachOfOrderedRuns(std::span(runs).subspan(from, std::min(batch, runs.size() - from)), bytes);
    ASSERT_EQ(bytes, expected) << "batches of " << batch;
  }
}

#if !defined(_WIN32)
// Bytes laid against a page that may not be read, before them or after them, so that a read
// past that end of them faults.
class GuardedBytes {
 public:
  GuardedBytes(const std::string& bytes, bool guardBefore) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t inner = (bytes.size() + page - 1) / page * page;
    size_ = inner + 2 * page;
    void* const mapped = ::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::runtime_error("cannot map the guarded bytes");
    base_ = static_cast<char*>(mapped);
    if (::mprotect(base_, page, PROT_NONE) != 0 || ::mprotect(base_ + page + inner, page, PROT_NONE) != 0)
      throw std::runtime_error("cannot guard the bytes");
    bytes_ = {guardBefore ? base_ + page : base_ + page + inner - bytes.size(), bytes.size()};
    std::memcpy(bytes_.data(), bytes.data(), bytes.size());
  }
  ~GuardedBytes() { ::munmap(base_, size_); }
  GuardedBytes(const GuardedBytes&) = delete;
  GuardedBytes& operator=(const GuardedBytes&) = delete;

  [[nodiscard]] std::span<char> bytes() const noexcept { return bytes_; }

 private:
  char* base_ = nullptr;
  std::size_t size_ = 0;
  std::span<char> bytes_;
};
#endif

// Runs in order, of every length a line has, with gaps of up to 24 bytes between them. The
// text starts with a run shorter than the four vectors before its end and ends with a short
// run right after a gap: where a page that may not be read lies beside it, a read past either
// end faults.
TEST(ByteReversal, OrderedRunsAreReversedAndTheBytesBetweenThemKept) {
  std::mt19937 random(13);
  std::vector<std::size_t> lengths(300);
  for (std::size_t i = 0; i < lengths.size(); ++i) lengths[i] = i;
  std::shuffle(lengths.begin(), lengths.end(), random);
  lengths.insert(lengths.begin(), 100);
  lengths.push_back(5);
  std::vector<std::pair<std::size_t, std::size_t>> places;
  std::string text;
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    if (i > 0) text += RandomBytes(random, i + 1 == lengths.size() ? 2 : 1 + random() % 24, 1);
    places.emplace_back(text.size(), lengths[i]);
    text += RandomBytes(random, lengths[i], 50);
  }
  std::string expected = text;
  for (const auto& [offset, length] : places)
    std::reverse(expected.begin() + static_cast<std::ptrdiff_t>(offset),
                 expected.begin() + static_cast<std::ptrdiff_t>(offset + length));
  const auto reverseIn = [&](std::span<char> bytes) {
    std::vector<ByteRun> runs;
    for (const auto& [offset, length] : places) runs.push_back({bytes.data() + offset, length});
    ReverseEachOfOrderedRuns(runs, bytes);
    return std::string(bytes.begin(), bytes.end());
  };
  std::vector<char> bytes(text.begin(), text.end());
  EXPECT_EQ(reverseIn(bytes), expected);
#if !defined(_WIN32)
  for (const bool guardBefore : {true, false}) {
    const GuardedBytes guarded(text, guardBefore);
    EXPECT_EQ(reverseIn(guarded.bytes()), expected) << (guardBefore ? "guarded before" : "guarded after");
  }
#endif
}

}  // namespace
}  // namespace quillon
