#include <QApplication>
#include <cerrno>
#include <string>
#include <unistd.h>

#include "fileio/block_io.h"
#include "fileio/system_calls.h"
#include "tests/view/result_view_fixture.h"

namespace quillon::testing {
namespace {

// Lines "line 0" to "line <count - 1>", each ended by an LF.
std::string NumberedLines(int count) {
  std::string text;
  for (int line = 0; line < count; ++line) text += "line " + std::to_string(line) + "\n";
  return text;
}

// Puts a positioned read of its own in place for as long as it lives.
class ReadSeam {
 public:
  explicit ReadSeam(decltype(PositionedCalls::Read) read) : previous_(ReplacePositionedCalls({read, SystemPositionedWrite})) {}
  ReadSeam(const ReadSeam&) = delete;
  ReadSeam& operator=(const ReadSeam&) = delete;
  ~ReadSeam() { ReplacePositionedCalls(previous_); }

 private:
  PositionedCalls previous_;
};

std::int64_t FailingRead(NativeHandle, void*, std::size_t, std::int64_t) {
  errno = EIO;
  return -1;
}

// A file that seems to end after 20 bytes.
constexpr std::int64_t kSeemingEnd = 20;
std::int64_t ReadUpTo20(NativeHandle fd, void* buffer, std::size_t count, std::int64_t offset) {
  if (offset >= kSeemingEnd) return 0;
  return SystemPositionedRead(fd, buffer, std::min<std::size_t>(count, static_cast<std::size_t>(kSeemingEnd - offset)), offset);
}

using ResultViewChangedFileTest = ResultViewTest;

TEST_F(ResultViewChangedFileTest, TruncatedFileShowsAsShorterTextWithTheSelectionClamped) {
  const std::string text = NumberedLines(300);
  Show(text);
  view_->setFocus();
  view_->selectAll();
  ASSERT_EQ(view_->caretPosition(), (TextPosition{300, 0}));

  // Cut inside line 100, after "lin".
  const std::uint64_t cut = text.find("line 100\n") + 3;
  TruncateOutput(cut);
  view_->refresh();
  EXPECT_EQ(view_->lineCount(), 101u);
  EXPECT_EQ(view_->selectionAnchor(), (TextPosition{0, 0}));
  EXPECT_EQ(view_->caretPosition(), (TextPosition{100, 3}));
  EXPECT_EQ(view_->endPosition(), (TextPosition{100, 3}));
  const QString copied = CopyWithKeys();
  EXPECT_EQ(copied.size(), static_cast<qsizetype>(cut));
  EXPECT_TRUE(copied.endsWith(QStringLiteral("line 99\nlin")));

  // Key and mouse moves stay within what is left.
  Key(Qt::Key_Down);
  Key(Qt::Key_Right);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{100, 1}));
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(view_->caretPosition(), (TextPosition{100, 3}));
  view_->setSelection({100, 3}, {100, 3});
  const QImage image = Painted();
  const int row = static_cast<int>(100 - view_->firstVisibleLine());
  EXPECT_TRUE(HasInk(image, row, 2));
  EXPECT_FALSE(HasInk(image, row, 3));
  EXPECT_FALSE(HasInk(image, row + 1, 0));
}

TEST_F(ResultViewChangedFileTest, PaintAfterATruncationShowsNoBytesTheFileLost) {
  Show("first line\nsecond line\nthird line\n");
  ASSERT_TRUE(HasInk(Painted(), 2, 0));
  // The bytes in sight have been read and kept; the next paint comes before any refresh.
  TruncateOutput(14);
  const QImage image = Painted();
  EXPECT_TRUE(HasInk(image, 0, 9));
  EXPECT_TRUE(HasInk(image, 1, 2));
  EXPECT_FALSE(HasInk(image, 1, 3)) << "'second line' was cut after 'sec'";
  EXPECT_FALSE(HasInk(image, 2, 0));
  // The paint has the view catch up.
  QApplication::processEvents();
  EXPECT_EQ(view_->lineCount(), 2u);
}

TEST_F(ResultViewChangedFileTest, FileRenamedOverKeepsShowingWhatItsDescriptorReads) {
  Show("kept\ntext\n");
  ReplaceOutput("something else entirely, and longer\n\n\n");
  view_->refresh();
  EXPECT_EQ(view_->lineCount(), 3u);
  view_->selectAll();
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("kept\ntext\n"));
  view_->setSelection({}, {});
  const QImage image = Painted();
  EXPECT_TRUE(HasInk(image, 1, 3));
  EXPECT_FALSE(HasInk(image, 1, 4));
}

TEST_F(ResultViewChangedFileTest, ReadErrorsShowAsTheEndOfTheText) {
  const ReadSeam failing(FailingRead);
  Show("cannot\nbe\nread\n");
  view_->selectAll();
  EXPECT_EQ(CopyWithKeys(), QString());
  view_->setSelection({}, {});
  const QImage image = Painted();
  EXPECT_FALSE(HasInk(image, 0, 0));
  Key(Qt::Key_End);
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_LE(view_->caretPosition().line, 3u);
}

TEST_F(ResultViewChangedFileTest, ShortReadsShowAsTheEndOfTheText) {
  const ReadSeam shortReads(ReadUpTo20);
  Show(NumberedLines(10));
  view_->selectAll();
  EXPECT_EQ(CopyWithKeys(), QStringLiteral("line 0\nline 1\nline 2"));
  view_->setSelection({}, {});
  const QImage image = Painted();
  EXPECT_TRUE(HasInk(image, 2, 5));
  EXPECT_FALSE(HasInk(image, 2, 6)) << "the 21st byte";
  EXPECT_FALSE(HasInk(image, 3, 0));
}

}  // namespace
}  // namespace quillon::testing
