#pragma once

#include <QPlainTextEdit>
#include <cstddef>
#include <cstdint>

#include "qtwindow/result_decoder.h"
#include "window/result_text.h"

namespace quillon {

// txtResult: shows a ResultText, read-only (select and copy, no typing), unwrapped, with both
// scroll bars, in the system's fixed-pitch font.
class ResultBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  ResultBox(const ResultText& text, QWidget* parent);

 public slots:
  // Shows what the text gained since the last call; a reset text replaces what is shown.
  // A large gain is shown in pieces, the rest following from the event loop, so that the
  // window keeps painting.
  void refresh();

 protected:
  // Copies exactly the characters shown, with '\n' between lines.
  QMimeData* createMimeDataFromSelection() const override;

 private:
  void ScheduleFollowUp();

  const ResultText& text_;
  ResultDecoder decoder_;
  std::uint64_t shownGeneration_ = 0;
  std::size_t shownSize_ = 0;
  bool followUpPending_ = false;
};

}  // namespace quillon
