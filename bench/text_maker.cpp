#include "bench/text_maker.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <string_view>
#include <vector>

#include "fileio/block_io.h"
#include "fileio/file_error.h"
#include "fileio/file_handle.h"

namespace quillon::bench {

namespace {

// Changing it changes every text, and so every cached file; see the cache's file names.
constexpr std::uint64_t kSeed = 0x5155494C4C4F4E31;

constexpr std::string_view kAccented[] = {"\u00E9", "\u00E8", "\u00FC", "\u00F6", "\u00E4", "\u00DF", "\u00F1", "\u00E7", "\u00E5", "\u00F8"};
constexpr std::string_view kEmoji[] = {
    "\U0001F44D\U0001F3FD",                                  // thumbs up, medium skin tone
    "\U0001F1E9\U0001F1EA", "\U0001F1EB\U0001F1F7",        // flags
    "\U0001F468\u200D\U0001F469\u200D\U0001F467",          // a family
    "\u2764\uFE0F", "\U0001F600", "\U0001F389",             // heart, grin, party
    "\U0001F469\U0001F3FF\u200D\U0001F4BB",                 // technologist, dark skin tone
};

void Append(std::array<char, 48>& letters, std::size_t& length, std::string_view bytes) noexcept {
  std::memcpy(letters.data() + length, bytes.data(), bytes.size());
  length += bytes.size();
}

}  // namespace

TextMaker::TextMaker(std::uint64_t bytes, LineBreak lineBreak, Script script)
    : remaining_(bytes), breakLength_(lineBreak == LineBreak::CRLF ? 2 : 1), wholeWordsOnly_(script != Script::Ascii), state_(kSeed) {
  for (Word& word : words_) MakeWord(word, script);
}

void TextMaker::MakeWord(Word& word, Script script) noexcept {
  const std::size_t letters = 1 + Below(10);
  word.Length = 0;
  if (script == Script::Emoji && Below(2) == 0) {
    Append(word.Letters, word.Length, kEmoji[Below(std::size(kEmoji))]);
    return;
  }
  for (std::size_t i = 0; i < letters; ++i) {
    if (script == Script::Cjk) {
      if (i >= 6) break;
      const auto codePoint = static_cast<std::uint32_t>(0x4E00 + Below(0x5000));  // three bytes each
      const char bytes[] = {static_cast<char>(0xE0 | codePoint >> 12), static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)),
                            static_cast<char>(0x80 | (codePoint & 0x3F))};
      Append(word.Letters, word.Length, {bytes, 3});
    } else if (script == Script::European && Below(6) == 0) {
      Append(word.Letters, word.Length, kAccented[Below(std::size(kAccented))]);
    } else {
      word.Letters[word.Length++] = static_cast<char>('a' + Below(26));
    }
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
  char line[kLongestLine + 64];
  std::size_t at = 0;
  while (at < content) {
    const Word& word = words_[Below(words_.size())];
    if (wholeWordsOnly_ && at + word.Length > content) {
      std::memset(line + at, '.', content - at);
      break;
    }
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

std::string MakeText(std::uint64_t bytes, LineBreak lineBreak, Script script) {
  TextMaker maker(bytes, lineBreak, script);
  std::string text(static_cast<std::size_t>(bytes), '\0');
  std::size_t filled = 0;
  while (!maker.Done()) filled += maker.Fill(std::span<char>(text).subspan(filled));
  return text;
}

void WriteTextFile(const std::string& path, std::uint64_t bytes, LineBreak lineBreak, Script script) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw FileError("Cannot write", path, SystemReason(errno));
  FileHandle file(fd, path);
  TextMaker maker(bytes, lineBreak, script);
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
