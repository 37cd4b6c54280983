#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "fileio/file_handle.h"
#include "qtwindow/result_view/result_view.h"
#include "resultview/result_document.h"
#include "tests/support/temp_folder.h"

namespace quillon::testing {

// A shown result view over a result that the test writes to a file as a run does, with helpers
// that act as the user would: clicks, drags and keys at lines and columns.
class ResultViewTest : public ::testing::Test {
 protected:
  // Starts a new result holding `bytes` and shows a view of `size` over it.
  void Show(std::string_view bytes, QSize size = {420, 220}, ResultViewLimits limits = {});
  // The same for a result of UTF-8 text.
  void ShowUtf8(std::string_view bytes, QSize size = {420, 220});
  // Starts a new result in a new output file, as a run does; the view is told only through
  // refresh().
  void ResetText(std::string_view bytes, bool utf8 = false);
  // Writes `bytes` after the result so far and reports them written.
  void Append(std::string_view bytes);
  // What another program may do to the output file once the run is over.
  void TruncateOutput(std::uint64_t size) const;
  void ReplaceOutput(std::string_view bytes) const;

  [[nodiscard]] qreal ColumnWidth() const;
  [[nodiscard]] int LineHeight() const;
  [[nodiscard]] int FullRows() const;
  // A viewport point in the middle of the given on-screen row, on the left half of the cell
  // of the given on-screen column (so it falls before that column's character).
  [[nodiscard]] QPoint PointAt(std::uint64_t row, std::uint64_t column) const;

  void Click(QPoint point, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  void Drag(QPoint from, QPoint to);
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Ctrl+C, then what the clipboard holds.
  QString CopyWithKeys();

  // The viewport as painted, without the caret.
  QImage Painted();
  // Whether any pixel of on-screen cell (row, column) differs from the background.
  [[nodiscard]] bool HasInk(const QImage& image, int row, int column) const;
  // Whether any pixel of on-screen cell (row, column) has the selection's colour.
  [[nodiscard]] bool IsHighlighted(const QImage& image, int row, int column) const;

  TempFolder folder_;
  std::string outputPath_;
  ResultDocument document_;
  std::unique_ptr<ResultView> view_;

 private:
  FileHandle output_;
  std::uint64_t written_ = 0;
  int runs_ = 0;
};

}  // namespace quillon::testing
