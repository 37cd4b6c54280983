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

  // The run has found that the input reads in another encoding than it began with: what it
  // wrote is dropped (it never reached the output), and the result starts again, with
  // EncodingChosen(), OutputOpened() and OutputWritten() as at a run's start. Between output
  // writes, never during one.
  virtual void ResultStartsOver() {}
};

}  // namespace quillon
