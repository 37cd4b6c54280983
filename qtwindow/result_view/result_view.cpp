#include "qtwindow/result_view/result_view.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>

#include "window/result_shown_text.h"

namespace quillon {

ResultView::ResultView(const ResultText& text, QWidget* parent, ResultViewLimits limits)
    : QAbstractScrollArea(parent), text_(text), limits_(limits) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setAutoFillBackground(false);
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  UpdateFontMetrics();
  refresh();
}

ResultView::~ResultView() = default;

ResultText::View ResultView::ReadCurrent() {
  ResultText::View view = text_.Read();
  (void)Absorb(view, std::numeric_limits<std::size_t>::max());
  return view;
}

void ResultView::refresh() {
  bool more = false;
  {
    const ResultText::View view = text_.Read();
    more = Absorb(view, limits_.bytesPerRefresh);
  }
  if (!more || refreshPending_) return;
  refreshPending_ = true;
  QTimer::singleShot(0, this, [this] {
    refreshPending_ = false;
    refresh();
  });
}

bool ResultView::Absorb(const ResultText::View& view, std::size_t limit) {
  // The generation is stable while `view` holds the text.
  const std::uint64_t generation = text_.generation();
  const bool reset = generation != index_.generation();
  const std::size_t indexed = reset ? 0 : index_.IndexedSize();
  const std::span<const char> bytes = view.bytes().first(indexed + std::min(limit, view.bytes().size() - indexed));
  const bool more = bytes.size() < view.bytes().size();
  const std::uint64_t lastLineBefore = index_.LineCount() - 1;
  const std::uint64_t longestBefore = index_.LongestLineLength();
  if (!index_.Update(bytes, generation)) return more;
  if (reset) {
    top_ = left_ = 0;
    anchor_ = caret_ = {};
    wantedColumn_ = 0;
    viewport()->update();
  } else if (lastLineBefore <= top_ + FullRows()) {
    // Only the last line can have grown and only lines after it been added.
    viewport()->update();
  }
  if (reset || index_.LineCount() - 1 != lastLineBefore || index_.LongestLineLength() != longestBefore) UpdateScrollBars();
  return more;
}

ResultLines ResultView::Lines(const ResultText::View& view) const noexcept {
  return {index_, view.bytes().first(index_.IndexedSize())};
}

void ResultView::UpdateFontMetrics() {
  const QFontMetricsF metrics(font());
  columnWidth_ = std::max<qreal>(1, metrics.horizontalAdvance(QLatin1Char('M')));
  lineHeight_ = std::max(1, static_cast<int>(std::ceil(metrics.lineSpacing())));
  ascent_ = static_cast<int>(std::ceil(metrics.ascent()));
  UpdateScrollBars();
  viewport()->update();
}

std::uint64_t ResultView::FullRows() const noexcept {
  return static_cast<std::uint64_t>(std::max(1, viewport()->height() / lineHeight_));
}

std::uint64_t ResultView::FullColumns() const noexcept {
  return static_cast<std::uint64_t>(std::max<qreal>(1, std::floor(viewport()->width() / columnWidth_)));
}

void ResultView::UpdateScrollBars() {
  const std::uint64_t rows = FullRows();
  const std::uint64_t columns = FullColumns();
  const std::uint64_t lines = index_.LineCount();
  // One column more than the longest line, for the caret after its end.
  const std::uint64_t width = index_.LongestLineLength() + 1;
  verticalScale_ = ScrollScale(lines > rows ? lines - rows : 0, limits_.scrollBarSteps);
  horizontalScale_ = ScrollScale(width > columns ? width - columns : 0, limits_.scrollBarSteps);
  top_ = std::min(top_, verticalScale_.maximum());
  left_ = std::min(left_, horizontalScale_.maximum());

  settingScrollBars_ = true;
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, verticalScale_.BarMaximum());
  vertical->setPageStep(verticalScale_.BarSpan(rows));
  vertical->setValue(verticalScale_.ToBar(top_));
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, horizontalScale_.BarMaximum());
  horizontal->setPageStep(horizontalScale_.BarSpan(columns));
  horizontal->setValue(horizontalScale_.ToBar(left_));
  settingScrollBars_ = false;
}

void ResultView::scrollContentsBy(int dx, int dy) {
  if (settingScrollBars_) return;
  // A scaled bar cannot show every position, so the axis that did not move keeps its own.
  if (dy != 0) top_ = verticalScale_.FromBar(verticalScrollBar()->value());
  if (dx != 0) left_ = horizontalScale_.FromBar(horizontalScrollBar()->value());
  viewport()->update();
}

void ResultView::ScrollTo(std::uint64_t top, std::uint64_t left) {
  top = std::min(top, verticalScale_.maximum());
  left = std::min(left, horizontalScale_.maximum());
  if (top == top_ && left == left_) return;
  top_ = top;
  left_ = left;
  settingScrollBars_ = true;
  verticalScrollBar()->setValue(verticalScale_.ToBar(top_));
  horizontalScrollBar()->setValue(horizontalScale_.ToBar(left_));
  settingScrollBars_ = false;
  viewport()->update();
}

void ResultView::EnsureCaretVisible() {
  const std::uint64_t rows = FullRows();
  const std::uint64_t columns = FullColumns();
  std::uint64_t top = top_;
  std::uint64_t left = left_;
  if (caret_.line < top) top = caret_.line;
  else if (caret_.line >= top + rows) top = caret_.line - rows + 1;
  if (caret_.column < left) left = caret_.column;
  else if (caret_.column >= left + columns) left = caret_.column - columns + 1;
  ScrollTo(top, left);
}

void ResultView::MoveCaret(TextPosition caret, bool extendSelection) {
  caret_ = caret;
  if (!extendSelection) anchor_ = caret;
  EnsureCaretVisible();
  viewport()->update();
}

void ResultView::setSelection(TextPosition anchor, TextPosition caret) {
  const ResultText::View view = ReadCurrent();
  const ResultLines lines = Lines(view);
  const auto clamp = [&lines](TextPosition position) {
    position.line = std::min(position.line, lines.Count() - 1);
    position.column = std::min(position.column, lines.Length(position.line));
    return position;
  };
  anchor_ = clamp(anchor);
  wantedColumn_ = caret.column;
  MoveCaret(clamp(caret), true);
}

void ResultView::selectAll() {
  const ResultText::View view = ReadCurrent();
  anchor_ = {};
  caret_ = Lines(view).End();
  wantedColumn_ = caret_.column;
  EnsureCaretVisible();
  viewport()->update();
}

TextPosition ResultView::endPosition() {
  const ResultText::View view = ReadCurrent();
  return Lines(view).End();
}

QString ResultView::TextOf(std::span<const char> bytes) {
  // Every byte makes at most one character.
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  // QChar is a char16_t in a wrapper; QString's own conversions treat its buffer the same way.
  const std::size_t shown = ShownText(bytes, {reinterpret_cast<char16_t*>(text.data()), bytes.size()});
  text.truncate(static_cast<qsizetype>(shown));
  return text;
}

std::span<const char> ResultView::BytesBetween(const ResultLines& lines, TextPosition from, TextPosition to) {
  const std::size_t begin = lines.Offset(std::min(from, to));
  const std::size_t end = lines.Offset(std::max(from, to));
  return lines.bytes.subspan(begin, end - begin);
}

QString ResultView::text(TextPosition from, TextPosition to) {
  const ResultText::View view = ReadCurrent();
  return TextOf(BytesBetween(Lines(view), from, to));
}

std::optional<QString> ResultView::SelectedText(std::size_t limit) {
  const ResultText::View view = ReadCurrent();
  if (!hasSelection()) return std::nullopt;
  const std::span<const char> selected = BytesBetween(Lines(view), anchor_, caret_);
  if (selected.size() > limit) return std::nullopt;
  return TextOf(selected);
}

void ResultView::copy() {
  const std::optional<QString> copied = SelectedText(limits_.copyBytes);
  if (copied) {
    QGuiApplication::clipboard()->setText(*copied);
    return;
  }
  if (!hasSelection()) return;
  QMessageBox message(QMessageBox::Information, QStringLiteral("Quillon"),
                      tr("The selection is too large to copy. The output file holds the whole text."), QMessageBox::Ok, this);
  message.exec();
}

std::optional<QString> ResultView::primarySelectionText() { return SelectedText(limits_.primarySelectionBytes); }

void ResultView::setPrimarySelectionTarget(std::function<void(const QString&)> target) {
  primarySelectionTarget_ = std::move(target);
}

void ResultView::OfferPrimarySelection() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!primarySelectionTarget_ && !clipboard->supportsSelection()) return;
  const std::optional<QString> selected = primarySelectionText();
  if (!selected) return;
  if (primarySelectionTarget_) primarySelectionTarget_(*selected);
  else clipboard->setText(*selected, QClipboard::Selection);
}

std::unique_ptr<QMenu> ResultView::createContextMenu() {
  auto menu = std::make_unique<QMenu>();
  QAction* copyAction = menu->addAction(tr("&Copy"), this, &ResultView::copy);
  copyAction->setShortcut(QKeySequence::Copy);
  copyAction->setEnabled(hasSelection());
  menu->addSeparator();
  QAction* selectAllAction = menu->addAction(tr("Select &All"), this, [this] {
    selectAll();
    OfferPrimarySelection();
  });
  selectAllAction->setShortcut(QKeySequence::SelectAll);
  return menu;
}

void ResultView::contextMenuEvent(QContextMenuEvent* event) {
  const std::unique_ptr<QMenu> menu = createContextMenu();
  menu->exec(event->globalPos());
}

}  // namespace quillon
