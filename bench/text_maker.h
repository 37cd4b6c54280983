#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quillon::bench {

enum class LineBreak { LF, CRLF };

// What the words are made of: printable ASCII, or UTF-8 text of three kinds: European (a
// letter in six accented, two bytes), Chinese characters (three bytes each), and words
// among which every other one is an emoji (toned, a flag, a ZWJ family, with U+FE0F).
enum class Script { Ascii, European, Cjk, Emoji };

inline constexpr std::size_t kShortestLine = 1;
inline constexpr std::size_t kLongestLine = 120;

// Room Fill needs to be sure of writing at least one line.
inline constexpr std::size_t kLineRoom = kLongestLine + 2;

// Text of an exact size, the same on every machine: lines of words, 1 to 120 bytes long (the
// break not counted), each followed by its break. Only a text too short for a single line
// with its break is one shorter line without one. ASCII lines end inside a word where the
// length falls; UTF-8 lines end with dots instead of a word that does not fit, so that
// every text is well-formed UTF-8.
class TextMaker {
 public:
  TextMaker(std::uint64_t bytes, LineBreak lineBreak, Script script = Script::Ascii);

  // Writes whole lines to the front of `out` while they fit; returns how many bytes. Gives 0
  // only when the text is complete, provided `out` holds at least kLineRoom bytes.
  std::size_t Fill(std::span<char> out);

  [[nodiscard]] bool Done() const noexcept { return remaining_ == 0; }

 private:
  struct Word {
    std::array<char, 48> Letters{};
    std::size_t Length = 0;
  };

  std::uint64_t Next() noexcept;
  std::size_t Below(std::size_t bound) noexcept;
  std::size_t NextContentLength() noexcept;
  std::size_t WriteLine(char* out) noexcept;
  void MakeWord(Word& word, Script script) noexcept;

  std::uint64_t remaining_;
  std::size_t breakLength_;
  bool wholeWordsOnly_;
  std::uint64_t state_;
  std::array<Word, 512> words_;
};

// The whole text in memory.
std::string MakeText(std::uint64_t bytes, LineBreak lineBreak, Script script = Script::Ascii);

// Writes the text to `path`, replacing what was there. Throws FileError on failure.
void WriteTextFile(const std::string& path, std::uint64_t bytes, LineBreak lineBreak, Script script = Script::Ascii);

}  // namespace quillon::bench
