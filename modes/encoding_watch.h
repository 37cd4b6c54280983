#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <span>

#include "modes/input_text.h"
#include "unicode/utf8_validator.h"

namespace quillon {

// Thrown when a run finds that its input reads in another encoding than the one it began
// with: what it wrote so far is to be dropped and the run made again as `Text` says.
class EncodingRestart : public std::exception {
 public:
  explicit EncodingRestart(InputText text) noexcept : Text(text) {}
  [[nodiscard]] const char* what() const noexcept override { return "the input reads in another encoding"; }
  InputText Text;
};

// A run that began before its input was read through checks each stretch just before it
// works on it, while the stretch is still in the processor's cache. It began either as text of
// ASCII bytes only (which reads the same as bytes) or as UTF-8 text; the first stretch that
// says otherwise settles the encoding:
// - expecting ASCII, a stretch with any other byte has the whole input examined: UTF-8 text
//   throws EncodingRestart, anything else is bytes, which the run already works on, and it
//   goes on unchecked;
// - expecting UTF-8, a stretch that is not well-formed throws EncodingRestart as bytes.
// Stretches are given with their place in the input, read either forwards or backwards; they
// may overlap what was checked before. One thread at a time.
class EncodingWatch {
 public:
  // Checks nothing: the encoding is settled.
  EncodingWatch() = default;
  // `examineWhole` reads the whole input through and tells how it reads.
  static EncodingWatch ExpectingAscii(std::function<InputText()> examineWhole);
  // The input of `size` bytes, a byte-order mark of `markLength` at its start.
  static EncodingWatch ExpectingUtf8(std::int64_t size, std::int64_t markLength);

  // The bytes at `start` on, for a run that reads forwards from the text's start.
  void Forward(std::int64_t start, std::span<const char> bytes);
  // The bytes at `start` on, for a run that reads backwards from the input's end.
  void Backward(std::int64_t start, std::span<const char> bytes);
  // Before the result is put in place: the run has read all its input.
  void Finished();

 private:
  enum class Expecting { Nothing, Ascii, Utf8 };

  // On a byte that is not ASCII, has the whole input settle the encoding.
  void WatchForNonAscii(std::span<const char> bytes);
  [[noreturn]] static void NotUtf8();
  void CheckCarriedAtStart() const;

  Expecting expecting_ = Expecting::Nothing;
  std::function<InputText()> examineWhole_;
  std::int64_t size_ = 0;
  std::int64_t markLength_ = 0;
  // Forwards: everything before checkedTo_, from the text's start, fed to forward_.
  std::int64_t checkedTo_ = 0;
  unicode::Utf8Validator forward_;
  // Backwards: everything from checkedFrom_ on is well-formed once carried_ is: the
  // continuation bytes at checkedFrom_, whose sequence starts before it.
  std::int64_t checkedFrom_ = 0;
  char carried_[3] = {};
  std::size_t carriedLength_ = 0;
};

}  // namespace quillon
