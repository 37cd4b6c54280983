#pragma once

#include <cstdint>

#include "resultview/result_lines.h"
#include "resultview/result_position.h"
#include "resultview/result_scroll_scale.h"

namespace quillon {

// `position` moved onto the text of `lines`; past the last line, to the text's end. In UTF-8
// text, inside a cluster, to its start.
TextPosition ClampedTo(const ResultLines& lines, TextPosition position);

// How much of the result a view last took in: which run's, how many bytes and lines, its
// widest line. Taking in a newer state tells the view what that asks of it.
class ShownExtent {
 public:
  explicit ShownExtent(std::uint64_t generation) noexcept : generation_(generation) {}

  struct Change {
    bool reset = false;    // a new run: the view starts over at the top, nothing selected
    bool shrank = false;   // the file was cut short: the selection keeps to what is left
    bool repaint = false;
    bool rescale = false;  // the scroll bars' ranges changed
  };

  // `lines` of the run `generation`; `lastRowShown` is the view's top line plus its rows.
  Change TakeIn(const ResultLines& lines, std::uint64_t generation, std::uint64_t lastRowShown) noexcept;

  [[nodiscard]] std::uint64_t generation() const noexcept { return generation_; }
  [[nodiscard]] std::uint64_t size() const noexcept { return size_; }
  [[nodiscard]] std::uint64_t lineCount() const noexcept { return lineCount_; }
  [[nodiscard]] bool utf8() const noexcept { return utf8_; }

  // The scroll ranges of a view `rows` lines high and `columns` cells wide: one cell more
  // than the widest line, for the caret after its end.
  [[nodiscard]] ScrollScale VerticalScale(std::uint64_t rows, std::uint64_t barLimit) const noexcept;
  [[nodiscard]] ScrollScale HorizontalScale(std::uint64_t columns, std::uint64_t barLimit) const noexcept;

 private:
  std::uint64_t generation_;
  std::uint64_t size_ = 0;
  std::uint64_t lineCount_ = 1;
  std::uint64_t longestLine_ = 0;  // in cells
  bool utf8_ = false;
};

}  // namespace quillon
