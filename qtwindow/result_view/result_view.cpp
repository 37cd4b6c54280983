#include "qtwindow/result_view/result_view.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "resultview/copied_text.h"
#include "resultview/line_cells.h"

namespace quillon {

ResultView::ResultView(ResultDocument& document, QWidget* parent, ResultViewLimits limits)
    : QAbstractScrollArea(parent), document_(document), limits_(limits), shown_(document.generation()) {
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

ResultLines ResultView::ReadCurrent() {
  ResultLines lines = document_.Lines();
  Absorb(lines);
  return lines;
}

void ResultView::refresh() { (void)ReadCurrent(); }

void ResultView::Absorb(const ResultLines& lines) {
  // Resets happen on this thread, so the generation belongs to `lines`.
  const ShownExtent::Change change = shown_.TakeIn(lines, document_.generation(), top_ + FullRows());
  if (change.reset) {
    top_ = left_ = 0;
    anchor_ = caret_ = {};
    wantedCell_ = 0;
  } else if (change.shrank) {
    anchor_ = ClampedTo(lines, anchor_);
    caret_ = ClampedTo(lines, caret_);
  }
  if (change.repaint) viewport()->update();
  if (change.rescale) UpdateScrollBars();
}

void ResultView::UpdateFontMetrics() {
  const QFontMetricsF metrics(font());
  columnWidth_ = std::max<qreal>(1, metrics.horizontalAdvance(QLatin1Char('M')));
  lineHeight_ = std::max(1, static_cast<int>(std::ceil(metrics.lineSpacing())));
  ascent_ = static_cast<int>(std::ceil(metrics.ascent()));
  clusterPixmaps_.SetGeometry(font(), columnWidth_, lineHeight_, ascent_, devicePixelRatioF());
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
  verticalScale_ = shown_.VerticalScale(rows, limits_.scrollBarSteps);
  horizontalScale_ = shown_.HorizontalScale(columns, limits_.scrollBarSteps);
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
  const std::uint64_t caretCell = shown_.utf8() ? CellOf(document_.Lines(), caret_) : caret_.column;
  if (caretCell < left) left = caretCell;
  else if (caretCell >= left + columns) left = caretCell - columns + 1;
  ScrollTo(top, left);
}

void ResultView::MoveCaret(TextPosition caret, bool extendSelection) {
  caret_ = caret;
  if (!extendSelection) anchor_ = caret;
  EnsureCaretVisible();
  viewport()->update();
}

void ResultView::setSelection(TextPosition anchor, TextPosition caret) {
  const ResultLines lines = ReadCurrent();
  anchor_ = ClampedTo(lines, anchor);
  wantedCell_ = lines.Utf8() ? CellOf(lines, ClampedTo(lines, caret)) : caret.column;
  MoveCaret(ClampedTo(lines, caret), true);
}

void ResultView::selectAll() {
  const ResultLines lines = ReadCurrent();
  anchor_ = {};
  caret_ = lines.End();
  wantedCell_ = CellOf(lines, caret_);
  EnsureCaretVisible();
  viewport()->update();
}

TextPosition ResultView::endPosition() { return ReadCurrent().End(); }

std::uint64_t ResultView::CellOf(const ResultLines& lines, TextPosition position) {
  if (!lines.Utf8() || position.line >= lines.Count()) return position.column;
  return LineCells(lines, position.line).AtColumn(position.column).cell;
}

QString ResultView::TextOf(const ResultLines& lines, std::uint64_t begin, std::uint64_t end) {
  const std::u16string text = CopiedText(lines, begin, end);
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString ResultView::text(TextPosition from, TextPosition to) {
  const ResultLines lines = ReadCurrent();
  return TextOf(lines, lines.Offset(std::min(from, to)), lines.Offset(std::max(from, to)));
}

std::optional<QString> ResultView::SelectedText(std::size_t limit) {
  const ResultLines lines = ReadCurrent();
  if (!hasSelection()) return std::nullopt;
  const std::uint64_t begin = lines.Offset(std::min(anchor_, caret_));
  const std::uint64_t end = lines.Offset(std::max(anchor_, caret_));
  if (end - begin > limit) return std::nullopt;
  return TextOf(lines, begin, end);
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
