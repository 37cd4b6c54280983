#include "tests/view/result_view_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "fileio/block_io.h"

namespace quillon::testing {

void ResultViewTest::Show(std::string_view bytes, QSize size, ResultViewLimits limits) {
  ResetText(bytes);
  view_ = std::make_unique<ResultView>(document_, nullptr, limits);
  view_->resize(size);
  view_->show();
  QApplication::processEvents();
}

void ResultViewTest::ShowUtf8(std::string_view bytes, QSize size) {
  ResetText(bytes, true);
  view_ = std::make_unique<ResultView>(document_, nullptr);
  view_->resize(size);
  view_->show();
  QApplication::processEvents();
}

void ResultViewTest::ResetText(std::string_view bytes, bool utf8) {
  document_.Reset();
  document_.SetUtf8Text(utf8);
  outputPath_ = folder_.File("result" + std::to_string(++runs_) + ".txt");
  output_ = OpenNewForWrite(outputPath_);
  ASSERT_TRUE(output_.valid()) << output_.error();
  document_.OutputOpened(DuplicateHandle(output_));
  written_ = 0;
  Append(bytes);
}

void ResultViewTest::Append(std::string_view bytes) {
  WriteAt(output_, static_cast<std::int64_t>(written_), {bytes.data(), bytes.size()});
  written_ += bytes.size();
  document_.OutputWritten({bytes.data(), bytes.size()});
}

void ResultViewTest::TruncateOutput(std::uint64_t size) const {
  ASSERT_EQ(::truncate(outputPath_.c_str(), static_cast<off_t>(size)), 0);
}

void ResultViewTest::ReplaceOutput(std::string_view bytes) const {
  const std::string other = folder_.Write("replacement.txt", bytes);
  std::filesystem::rename(other, outputPath_);
}

qreal ResultViewTest::ColumnWidth() const { return QFontMetricsF(view_->font()).horizontalAdvance(QLatin1Char('M')); }

int ResultViewTest::LineHeight() const { return static_cast<int>(std::ceil(QFontMetricsF(view_->font()).lineSpacing())); }

int ResultViewTest::FullRows() const { return view_->viewport()->height() / LineHeight(); }

QPoint ResultViewTest::PointAt(std::uint64_t row, std::uint64_t column) const {
  const auto x = static_cast<int>(std::floor((static_cast<qreal>(column) + 0.3) * ColumnWidth()));
  return {x, static_cast<int>(row) * LineHeight() + LineHeight() / 2};
}

void ResultViewTest::Click(QPoint point, Qt::KeyboardModifiers modifiers) {
  QWidget* viewport = view_->viewport();
  const QPointF global = viewport->mapToGlobal(QPointF(point));
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(point), global, Qt::LeftButton, Qt::LeftButton, modifiers);
  QApplication::sendEvent(viewport, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(point), global, Qt::LeftButton, Qt::NoButton, modifiers);
  QApplication::sendEvent(viewport, &release);
}

void ResultViewTest::Drag(QPoint from, QPoint to) {
  QWidget* viewport = view_->viewport();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(from), viewport->mapToGlobal(QPointF(from)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &press);
  const QPoint middle = (from + to) / 2;
  for (const QPoint point : {middle, to}) {
    QMouseEvent move(QEvent::MouseMove, QPointF(point), viewport->mapToGlobal(QPointF(point)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
  }
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(to), viewport->mapToGlobal(QPointF(to)), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &release);
}

void ResultViewTest::Key(int key, Qt::KeyboardModifiers modifiers) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(view_.get(), &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(view_.get(), &release);
}

QString ResultViewTest::CopyWithKeys() {
  QApplication::clipboard()->setText(QStringLiteral("untouched"));
  Key(Qt::Key_C, Qt::ControlModifier);
  return QApplication::clipboard()->text();
}

QImage ResultViewTest::Painted() {
  view_->clearFocus();
  QApplication::processEvents();
  return view_->viewport()->grab().toImage();
}

namespace {

// Whether the cell's inside (a pixel in from each side) holds a pixel for which `test` holds.
template <typename Test>
bool AnyPixelInCell(const QImage& image, int row, int column, qreal columnWidth, int lineHeight, Test test) {
  const auto left = static_cast<int>(std::ceil(column * columnWidth)) + 1;
  const auto right = static_cast<int>(std::floor((column + 1) * columnWidth)) - 1;
  for (int y = row * lineHeight; y < (row + 1) * lineHeight && y < image.height(); ++y)
    for (int x = left; x < right && x < image.width(); ++x)
      if (test(image.pixel(x, y))) return true;
  return false;
}

}  // namespace

bool ResultViewTest::HasInk(const QImage& image, int row, int column) const {
  const QRgb background = view_->palette().color(QPalette::Base).rgb();
  return AnyPixelInCell(image, row, column, ColumnWidth(), LineHeight(), [background](QRgb pixel) { return pixel != background; });
}

bool ResultViewTest::IsHighlighted(const QImage& image, int row, int column) const {
  const QRgb highlight = view_->palette().color(QPalette::Highlight).rgb();
  return AnyPixelInCell(image, row, column, ColumnWidth(), LineHeight(), [highlight](QRgb pixel) { return pixel == highlight; });
}

}  // namespace quillon::testing
