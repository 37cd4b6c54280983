#include "qtwindow/result_box.h"

#include <QFontDatabase>
#include <QMimeData>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>

namespace quillon {
namespace {

// Bytes shown per refresh; more would hold up painting noticeably.
constexpr std::size_t kBytesPerRefresh = std::size_t{1} << 20;

}  // namespace

ResultBox::ResultBox(const ResultText& text, QWidget* parent) : QPlainTextEdit(parent), text_(text) {
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setWordWrapMode(QTextOption::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setUndoRedoEnabled(false);
  setTabChangesFocus(true);
  setAcceptDrops(false);
  viewport()->setAcceptDrops(false);
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  shownGeneration_ = text_.generation();
}

void ResultBox::refresh() {
  QString gained;
  bool more = false;
  {
    const ResultText::View view = text_.Read();
    const std::uint64_t generation = text_.generation();
    if (generation != shownGeneration_) {
      clear();
      decoder_.Restart();
      shownGeneration_ = generation;
      shownSize_ = 0;
    }
    const std::span<const char> bytes = view.bytes();
    if (bytes.size() <= shownSize_) return;
    const std::size_t end = std::min(bytes.size(), shownSize_ + kBytesPerRefresh);
    gained = decoder_.Decode(bytes.subspan(shownSize_, end - shownSize_));
    shownSize_ = end;
    more = end < bytes.size();
  }
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(gained);
  if (more) ScheduleFollowUp();
}

void ResultBox::ScheduleFollowUp() {
  if (followUpPending_) return;
  followUpPending_ = true;
  QTimer::singleShot(0, this, [this] {
    followUpPending_ = false;
    refresh();
  });
}

QMimeData* ResultBox::createMimeDataFromSelection() const {
  QString text = textCursor().selectedText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  auto* mime = new QMimeData;
  mime->setText(text);
  return mime;
}

}  // namespace quillon
