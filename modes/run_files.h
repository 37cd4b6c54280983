#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "fileio/file_handle.h"
#include "fileio/replacement_file.h"
#include "unicode/utf16_text.h"

namespace quillon {

// The two files of a run, checked before anything is written: the input must be a readable
// regular file, and the output must not lead back to the input. A run whose
// result goes to a stream has no output file.
class RunFiles {
 public:
  RunFiles(const std::string& inputPath, const std::string& outputPath, bool outputIsStream = false);
  // The input is the stream `inputStream` (standard input), named `inputPath` in messages.
  RunFiles(NativeHandle inputStream, const std::string& inputPath, const std::string& outputPath, bool outputIsStream,
           const std::function<void()>& beforeRead);

  [[nodiscard]] const FileHandle& Input() const noexcept { return input_; }
  [[nodiscard]] std::int64_t InputSize() const noexcept { return size_; }
  // Nothing when the result goes to a stream.
  [[nodiscard]] ReplacementFile* Output() noexcept { return output_ ? &*output_ : nullptr; }

  // Drops the output written so far, which never reached the target, for a new one.
  void StartOutputOver();

  // UTF-16 text is worked on as a UTF-8 copy of it: from now on the run reads `copy`, and its
  // result, written as UTF-8, reaches the output in UTF-16 of `order`.
  void ReadUtf8CopyOf(FileHandle copy, unicode::Utf16Order order);
  // The encoding the output is turned into as it is written, if any.
  [[nodiscard]] std::optional<unicode::Utf16Order> OutputUtf16() const noexcept { return outputUtf16_; }

 private:
  FileHandle input_;
  std::int64_t size_;
  std::optional<OutputTarget> target_;  // set when the result goes to a file
  std::string outputPath_;
  std::optional<ReplacementFile> output_;
  std::optional<unicode::Utf16Order> outputUtf16_;
};

}  // namespace quillon
