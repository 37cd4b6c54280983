#include "bench/text_maker.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "fileio/block_io.h"
#include "fileio/file_error.h"
#include "fileio/file_handle.h"

namespace quillon::bench {

namespace {

// Changing it changes every text, and so every cached file; see the cache's file names.
constexpr std::uint64_t kSeed = 0x5155494C4C4F4E31;

}  // namespace

TextMaker::TextMaker(std::uint64_t bytes, LineBreak lineBreak)
    : remaining_(bytes), breakLength_(lineBreak == LineBreak::CRLF ? 2 : 1), state_(kSeed) {
  for (Word& word : words_) {
    word.Length = 1 + Below(10);
    for (std::size_t i = 0; i < word.Length; ++i) word.Letters[i] = static_cast<char>('a' + Below(26));
  }
}

// splitmix64: fast, and the same sequence everywhere, unlike the standard distributions.
std::uint64_t TextMaker::Next() noexcept {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
  return z ^ (z >> 31);
}

std::size_t TextMaker::Below(std::size_t bound) noexcept { return static_cast<std::size_t>(((Next() >> 32) * bound) >> 32); }

std::size_t TextMaker::NextContentLength() noexcept {
  const std::uint64_t shortestWithBreak = kShortestLine + breakLength_;
  if (remaining_ < shortestWithBreak) return static_cast<std::size_t>(remaining_);
  if (remaining_ <= kLongestLine + breakLength_) return static_cast<std::size_t>(remaining_ - breakLength_);
  std::size_t length = kShortestLine + Below(kLongestLine);
  // Never leave a rest too short for a line of its own; the lengths this shortens are
  // close to the longest, so the result stays a valid length.
  if (remaining_ - length - breakLength_ < shortestWithBreak) length -= static_cast<std::size_t>(shortestWithBreak);
  return length;
}

std::size_t TextMaker::WriteLine(char* out) noexcept {
  const std::size_t content = NextContentLength();
  // Words are copied whole, 16 bytes at a time, into a line with room to spare; the line
  // is then cut at its length.
  char line[kLongestLine + 32];
  std::size_t at = 0;
  while (at < content) {
    const Word& word = words_[Below(words_.size())];
    std::memcpy(line + at, word.Letters.data(), word.Letters.size());
    at = std::min(at + word.Length, content);
    if (at < content) {
      line[at] = at + 1 == content ? '.' : ' ';
      ++at;
    }
  }
  std::memcpy(out, line, content);
  std::size_t length = content;
  if (content < remaining_) {
    if (breakLength_ == 2) out[length++] = '\r';
    out[length++] = '\n';
  }
  remaining_ -= length;
  return length;
}

std::size_t TextMaker::Fill(std::span<char> out) {
  std::size_t filled = 0;
  while (remaining_ > 0 && out.size() - filled >= std::min<std::uint64_t>(kLineRoom, remaining_))
    filled += WriteLine(out.data() + filled);
  return filled;
}

std::string MakeText(std::uint64_t bytes, LineBreak lineBreak) {
  TextMaker maker(bytes, lineBreak);
  std::string text(static_cast<std::size_t>(bytes), '\0');
  std::size_t filled = 0;
  while (!maker.Done()) filled += maker.Fill(std::span<char>(text).subspan(filled));
  return text;
}

void WriteTextFile(const std::string& path, std::uint64_t bytes, LineBreak lineBreak) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw FileError("Cannot write", path, SystemReason(errno));
  FileHandle file(fd, path);
  TextMaker maker(bytes, lineBreak);
  std::vector<char> buffer(std::size_t{256} << 10);  // small: the benchmark's children inherit its peak memory
  std::int64_t offset = 0;
  while (!maker.Done()) {
    const std::size_t filled = maker.Fill(buffer);
    WriteAt(file, offset, std::span<const char>(buffer).first(filled));
    offset += static_cast<std::int64_t>(filled);
  }
  file.Close();
}

}  // namespace quillon::bench
