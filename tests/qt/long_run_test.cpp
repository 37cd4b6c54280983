#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "fileio/block_io.h"
#include "tests/qt/window_fixture.h"
#include "tests/support/temp_folder.h"

namespace quillon {
namespace {

using testing::IsIdle;
using testing::MessageCatcher;
using testing::ReadWhole;
using testing::ShownWindow;
using testing::TempFolder;
using testing::WhenReady;

std::atomic<decltype(PositionedCalls::Read)> unpacedRead{nullptr};

std::int64_t PacedRead(NativeHandle file, void* buffer, std::size_t count, std::int64_t offset) {
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
  return unpacedRead.load()(file, buffer, count, offset);
}

// Every read takes a moment, so that a run lasts long enough to be watched however fast the
// machine copies.
class PacedReads {
 public:
  PacedReads() : unpaced_(ReplacePositionedCalls({PacedRead, nullptr})) {
    unpacedRead = unpaced_.Read;
    ReplacePositionedCalls({PacedRead, unpaced_.Write});
  }
  ~PacedReads() { ReplacePositionedCalls(unpaced_); }
  PacedReads(const PacedReads&) = delete;
  PacedReads& operator=(const PacedReads&) = delete;

 private:
  PositionedCalls unpaced_;
};

// Writes about 50 MB of short lines to `path`.
void WriteBigText(const std::string& path) {
  std::string line;
  for (int i = 0; i < 79; ++i) line += static_cast<char>('a' + i % 26);
  line += '\n';
  std::string block;
  while (block.size() < (std::size_t{1} << 20)) block += line;
  std::ofstream out(path, std::ios::binary);
  for (int i = 0; i < 48; ++i) out.write(block.data(), static_cast<std::streamsize>(block.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

TEST(LongRun, TheBarMovesWhileTheWindowKeepsRunningItsEventLoop) {
  const TempFolder folder;
  const std::string input = folder.File("big.txt");
  WriteBigText(input);
  const PacedReads paced;
  ShownWindow shown;
  shown.Choose(input);
  shown.SelectMode(RevertMode::SimpleRevert);
  std::vector<int> barValues;
  QTimer watch;
  watch.setInterval(std::chrono::milliseconds(5));
  QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
    if (!shown.controls().revertButton->isEnabled()) barValues.push_back(shown.controls().progressBar->value());
  });
  watch.start();
  shown.ClickRevert();
  watch.stop();

  ASSERT_GE(barValues.size(), 2u) << "the event loop did not run during the run";
  EXPECT_TRUE(std::is_sorted(barValues.begin(), barValues.end()));
  EXPECT_TRUE(std::any_of(barValues.begin(), barValues.end(), [](int v) { return v > 0 && v < 100; }))
      << "the bar never showed the run's progress";
  EXPECT_EQ(std::filesystem::file_size(input + "_rev.txt"), std::filesystem::file_size(input));
  EXPECT_TRUE(IsIdle(shown));
}

TEST(LongRun, ClosingStopsTheRunKeepsTheEarlierOutputAndClosesTheWindow) {
  const TempFolder folder;
  const std::string input = folder.File("big.txt");
  WriteBigText(input);
  const std::string other = folder.Write("other.txt", "o");
  testing::WriteWhole(input + "_rev.txt", "earlier output");
  const PacedReads paced;
  ShownWindow shown;
  shown.Choose(input);
  const auto& controls = shown.controls();

  bool busyDuringRun = false;
  bool waitPointerDuringRun = false;
  const MessageCatcher catcher;
  const WhenReady whileRunning([&] { return !controls.revertButton->isEnabled(); },
                               [&] {
                                 busyDuringRun = true;
                                 waitPointerDuringRun = QApplication::overrideCursor() != nullptr &&
                                                        QApplication::overrideCursor()->shape() == Qt::WaitCursor;
                                 // The window takes no input during the run: none of these act.
                                 QTest::mouseClick(controls.chooseFileButton, Qt::LeftButton);
                                 QTest::mouseClick(controls.simpleRevertOption, Qt::LeftButton);
                                 QTest::keyClick(controls.chooseFileButton, Qt::Key_Space);
                                 QMimeData data;
                                 data.setUrls({QUrl::fromLocalFile(QString::fromStdString(other))});
                                 QDropEvent drop(QPointF(400, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                                 QCoreApplication::sendEvent(&shown.window, &drop);
                                 shown.window.close();
                               });
  shown.ClickRevert();

  ASSERT_TRUE(whileRunning.done());
  EXPECT_TRUE(busyDuringRun);
  EXPECT_TRUE(waitPointerDuringRun);
  EXPECT_FALSE(shown.window.isVisible()) << "the window closes once the run has stopped";
  EXPECT_EQ(ReadWhole(input + "_rev.txt"), "earlier output");
  EXPECT_EQ(folder.Listing(), "big.txt big.txt_rev.txt other.txt") << "no temporary file is left";
  EXPECT_TRUE(catcher.messages.empty()) << "a stopped run is no error";
  EXPECT_EQ(shown.chooser.lastChoicesSeen.size(), 1u) << "\"...\" acted during the run";
  EXPECT_TRUE(controls.lineKeepOption->isChecked()) << "the mode changed during the run";
  EXPECT_EQ(shown.window.controller().InputPath(), input) << "the drop acted during the run";
  EXPECT_TRUE(IsIdle(shown));
}

}  // namespace
}  // namespace quillon
