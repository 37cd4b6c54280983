#pragma once

#include <span>

#include "fileio/file_handle.h"
#include "modes/text_encoding.h"

namespace quillon {

// What a run tells whoever started it, from the run's own threads: progress from one, the
// output from another, each kind one call at a time.
class RunObserver {
 public:
  virtual ~RunObserver() = default;

  // The share of the input handled so far, 0 to 100.
  virtual void SetProgressValue(float percent) = 0;

  // How the input is read, and so how the result is to be shown; before any output.
  virtual void EncodingChosen(TextEncoding /*encoding*/) {}

  // The file that receives the result, before anything is written to it: a descriptor of its
  // own, open for reading, that stays valid for as long as the observer keeps it (also once
  // the file has replaced the output, or was dropped after a failure). Not called when the
  // result goes to a stream.
  virtual void OutputOpened(FileHandle /*output*/) {}

  // The next bytes of the result, in order and without gaps, once they are in the output.
  virtual void OutputWritten(std::span<const char> /*bytes*/) {}

  // The same bytes before they are written, from the thread that made them, so that work on
  // them need not hold up the writing: each is followed by OutputWritten() of the same bytes
  // once they are in the output, unless the run fails or stops first. Not called for bytes
  // that are written in another form than they are handed over (UTF-16 output).
  virtual void OutputComing(std::span<const char> /*bytes*/) {}

  // The run has found that the input reads in another encoding than it began with: what it
  // wrote is dropped (it never reached the output), and the result starts again, with
  // EncodingChosen(), OutputOpened() and OutputWritten() as at a run's start. Between output
  // writes, never during one.
  virtual void ResultStartsOver() {}
};

}  // namespace quillon
