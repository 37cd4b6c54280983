#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QColor>
#include <QPoint>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "qtwindow/result_view/cluster_pixmaps.h"
#include "resultview/result_document.h"
#include "resultview/result_lines.h"
#include "resultview/result_position.h"
#include "resultview/result_scroll_scale.h"
#include "resultview/shown_extent.h"

class QMenu;

namespace quillon {

// How much the view does at once.
struct ResultViewLimits {
  // Selections of more bytes (a CR LF counting two) are not copied: the output file holds the
  // whole text.
  std::size_t copyBytes = std::size_t{256} << 20;
  // Finished selections of more bytes leave the primary selection as it was.
  std::size_t primarySelectionBytes = std::size_t{16} << 20;
  // Positions a scroll bar holds one to a step; past them a step stands for several.
  std::uint64_t scrollBarSteps = ScrollScale::kBarLimit;
};

// The result box for results of any size: shows a ResultDocument read-only, unwrapped, on a
// grid of fixed-pitch cells, with both scroll bars: a text of bytes one byte a character
// through Windows-1252, UTF-8 text by grapheme clusters, each in the cells of its display
// width. Positions count bytes within their line; scrolling sideways counts cells. Only the lines and columns in sight are ever read to paint, so a gigabyte shows as fast
// as a line. The text can be selected with the mouse and the keyboard and copied.
class ResultView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit ResultView(ResultDocument& document, QWidget* parent = nullptr, ResultViewLimits limits = {});
  ~ResultView() override;

  [[nodiscard]] std::uint64_t lineCount() const noexcept { return shown_.lineCount(); }
  [[nodiscard]] std::uint64_t firstVisibleLine() const noexcept { return top_; }
  [[nodiscard]] std::uint64_t firstVisibleColumn() const noexcept { return left_; }
  [[nodiscard]] TextPosition caretPosition() const noexcept { return caret_; }
  [[nodiscard]] TextPosition selectionAnchor() const noexcept { return anchor_; }
  [[nodiscard]] bool hasSelection() const noexcept { return anchor_ != caret_; }

  // The place after the last character.
  [[nodiscard]] TextPosition endPosition();
  // The characters from `from` to `to` as a copy gives them, however many.
  [[nodiscard]] QString text(TextPosition from, TextPosition to);

  // Selects from `anchor` to `caret` and scrolls the caret into sight.
  void setSelection(TextPosition anchor, TextPosition caret);

  // What a selection offers as the primary selection when the mouse or a key finishes it:
  // the text a copy gives, or nothing when nothing is selected or the selection holds more
  // than the limit's bytes.
  [[nodiscard]] std::optional<QString> primarySelectionText();
  // Where finished selections are offered; by default the system's primary selection, on
  // platforms that have one.
  void setPrimarySelectionTarget(std::function<void(const QString&)> target);

  // The menu the right mouse button opens: Copy and Select All.
  [[nodiscard]] std::unique_ptr<QMenu> createContextMenu();

 public slots:
  // Takes in what the run has written since the last call, or starts over when the text was
  // reset, or shows less when the file has become shorter. Cheap enough for a timer during a
  // run: the run has indexed the bytes, and the view repaints only when a line in sight changed.
  void refresh();
  void copy();
  void selectAll();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  // The lines as the document has them now, with the view brought up to them.
  ResultLines ReadCurrent();
  void Absorb(const ResultLines& lines);
  // The characters of the bytes from `begin` to `end`, as a copy gives them.
  [[nodiscard]] static QString TextOf(const ResultLines& lines, std::uint64_t begin, std::uint64_t end);
  // The cell where `position` is shown.
  [[nodiscard]] static std::uint64_t CellOf(const ResultLines& lines, TextPosition position);

  void UpdateFontMetrics();
  void UpdateScrollBars();
  [[nodiscard]] std::uint64_t FullRows() const noexcept;
  [[nodiscard]] std::uint64_t FullColumns() const noexcept;
  void ScrollTo(std::uint64_t top, std::uint64_t left);
  void EnsureCaretVisible();

  [[nodiscard]] std::uint64_t LineAt(const ResultLines& lines, QPoint point) const;
  // The place between characters nearest to `point`.
  [[nodiscard]] TextPosition PositionAt(const ResultLines& lines, QPoint point) const;
  // The character under `point`; its column may lie past the line's end.
  [[nodiscard]] TextPosition CharacterAt(const ResultLines& lines, QPoint point) const;
  [[nodiscard]] bool IsTripleClick(QMouseEvent* event) const;
  void MoveCaret(TextPosition caret, bool extendSelection);
  void DragTo(QPoint point);
  bool MoveCaretByKey(const ResultLines& lines, int key, Qt::KeyboardModifiers modifiers);

  // The text of the selection when it holds at most `limit` bytes; nothing when there is no
  // selection or a larger one.
  [[nodiscard]] std::optional<QString> SelectedText(std::size_t limit);
  void OfferPrimarySelection();

  // What every painted line shares: the colours, and the selection from its start to its end.
  struct PaintStyle {
    QColor text;
    QColor selectedText;
    QColor highlight;
    TextPosition selectionStart;
    TextPosition selectionEnd;
  };
  [[nodiscard]] PaintStyle CurrentPaintStyle() const;
  void PaintLines(QPainter& painter, const ResultLines& lines, int height) const;
  void PaintClusterLines(QPainter& painter, const ResultLines& lines, int height);

  ResultDocument& document_;
  const ResultViewLimits limits_;
  // The text as the view last took it in.
  ShownExtent shown_;
  ScrollScale verticalScale_;
  ScrollScale horizontalScale_;
  bool settingScrollBars_ = false;

  std::uint64_t top_ = 0;
  std::uint64_t left_ = 0;
  TextPosition anchor_;
  TextPosition caret_;
  // The cell Up and Down aim for, kept across shorter lines.
  std::uint64_t wantedCell_ = 0;

  qreal columnWidth_ = 1;
  int lineHeight_ = 1;
  int ascent_ = 0;
  ClusterPixmaps clusterPixmaps_;

  bool dragging_ = false;
  QPoint lastDragPoint_;
  QBasicTimer dragScrollTimer_;
  // Running from a double click for as long as a press at the same place makes a triple one.
  QBasicTimer tripleClickTimer_;
  QPoint tripleClickPoint_;
  int wheelRemainder_ = 0;
  std::function<void(const QString&)> primarySelectionTarget_;
};

}  // namespace quillon
