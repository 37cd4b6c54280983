#include "modes/encoding_watch.h"

#include <cstring>
#include <stdexcept>
#include <utility>

#include "unicode/ascii_runs.h"
#include "unicode/utf8_decode.h"

namespace quillon {

namespace {

constexpr std::size_t kMostCarried = unicode::kMostContinuationBytes;

}  // namespace

EncodingWatch EncodingWatch::ExpectingAscii(std::function<InputText()> examineWhole) {
  EncodingWatch watch;
  watch.expecting_ = Expecting::Ascii;
  watch.examineWhole_ = std::move(examineWhole);
  return watch;
}

EncodingWatch EncodingWatch::ExpectingUtf8(std::int64_t size, std::int64_t markLength) {
  EncodingWatch watch;
  watch.expecting_ = Expecting::Utf8;
  watch.size_ = size;
  watch.markLength_ = markLength;
  watch.checkedTo_ = markLength;
  watch.checkedFrom_ = size;
  return watch;
}

void EncodingWatch::WatchForNonAscii(std::span<const char> bytes) {
  if (unicode::IsAllAscii(bytes)) return;
  const InputText whole = examineWhole_();
  if (whole.ClusterWise) throw EncodingRestart(whole);
  expecting_ = Expecting::Nothing;
}

void EncodingWatch::NotUtf8() { throw EncodingRestart(InputText{}); }

void EncodingWatch::Forward(std::int64_t start, std::span<const char> bytes) {
  if (expecting_ == Expecting::Ascii) WatchForNonAscii(bytes);
  if (expecting_ != Expecting::Utf8) return;
  const std::int64_t end = start + static_cast<std::int64_t>(bytes.size());
  if (end <= checkedTo_) return;
  if (start > checkedTo_) throw std::logic_error("the input was checked with a gap");
  forward_.Feed(bytes.subspan(static_cast<std::size_t>(checkedTo_ - start)));
  checkedTo_ = end;
  if (!forward_.StillValid() || (end == size_ && !forward_.EndsValid())) NotUtf8();
}

void EncodingWatch::Backward(std::int64_t start, std::span<const char> bytes) {
  if (expecting_ == Expecting::Ascii) WatchForNonAscii(bytes);
  if (expecting_ != Expecting::Utf8) return;
  const std::int64_t end = start + static_cast<std::int64_t>(bytes.size());
  if (start >= checkedFrom_) return;
  if (end < checkedFrom_) throw std::logic_error("the input was checked with a gap");
  const std::span<const char> fresh = bytes.first(static_cast<std::size_t>(checkedFrom_ - start));
  checkedFrom_ = start;
  // The continuation bytes at the stretch's start finish a sequence that begins before it.
  const std::size_t leading = unicode::LeadingContinuationBytes(fresh, fresh.size());
  if (leading == fresh.size()) {
    if (leading + carriedLength_ > kMostCarried) NotUtf8();
    std::memmove(carried_ + leading, carried_, carriedLength_);
    std::memcpy(carried_, fresh.data(), leading);
    carriedLength_ += leading;
  } else {
    if (leading > kMostCarried) NotUtf8();
    unicode::Utf8Validator validator;
    validator.Feed(fresh.subspan(leading));
    validator.Feed({carried_, carriedLength_});
    if (!validator.EndsValid()) NotUtf8();
    std::memcpy(carried_, fresh.data(), leading);
    carriedLength_ = leading;
  }
  CheckCarriedAtStart();
}

void EncodingWatch::CheckCarriedAtStart() const {
  if (checkedFrom_ == 0 && carriedLength_ != 0) NotUtf8();
}

void EncodingWatch::Finished() {
  if (expecting_ != Expecting::Utf8) return;
  if (checkedFrom_ < size_) {
    // A run backwards stops at the text's start, after the byte-order mark.
    if (checkedFrom_ > markLength_) throw std::logic_error("the input was not checked to its start");
    Backward(0, unicode::kByteOrderMark.substr(0, static_cast<std::size_t>(markLength_)));
    return;
  }
  // Forward() checked the last sequence with the last bytes.
  if (checkedTo_ != size_) throw std::logic_error("the input was not checked to its end");
}

}  // namespace quillon
