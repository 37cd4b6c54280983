#include "bench/gui/utf8_view_probe.h"

#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/gui/offscreen_application.h"
#include "bench/gui/probe_report.h"
#include "fileio/block_io.h"
#include "fileio/file_handle.h"
#include "qtwindow/result_view/result_view.h"
#include "resultview/result_document.h"

namespace quillon::bench {

namespace {

using Clock = std::chrono::steady_clock;

template <typename Action>
double Seconds(Action&& action) {
  const Clock::time_point start = Clock::now();
  action();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Clusters of every kind the view draws differently, about 80 bytes.
const std::string kMixedPiece =
    "Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD "
    "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA caf" "e\xCC\x81 \xE2\x9D\xA4\xEF\xB8\x8F "
    "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7 plain ascii\t";

// Writes `text` to a new file at `path` and feeds it to `document` in pieces as a run does.
void FeedAsARun(ResultDocument& document, const std::filesystem::path& path, const std::string& text, bool utf8) {
  document.Reset();
  document.SetUtf8Text(utf8);
  FileHandle output = OpenNewForWrite(path.string());
  if (!output.valid()) throw std::runtime_error("cannot write " + path.string());
  WriteAt(output, 0, {text.data(), text.size()});
  document.OutputOpened(DuplicateHandle(output));
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  for (std::size_t at = 0; at < text.size(); at += kPiece)
    document.OutputWritten({text.data() + at, std::min(kPiece, text.size() - at)});
}

// A folder of its own under the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-utf8-view-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder in " + pattern);
    path_ = pattern;
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;  // a benchmark that cannot tidy up has still measured
    std::filesystem::remove_all(path_, ignored);
  }
  [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }

 private:
  std::filesystem::path path_;
};

double PaintMs(ResultView& view) { return 1000 * Seconds([&] { (void)view.viewport()->grab(); }); }

}  // namespace

int Utf8ViewProbe(std::uint64_t bytes) {
  const OffscreenApplication application;
  const ScratchFolder scratch;
  std::string line;
  line.reserve(bytes + kMixedPiece.size());
  while (line.size() < bytes) line += kMixedPiece;
  const double mb = static_cast<double>(line.size()) / 1e6;

  ProbeReport report;
  ResultDocument document;
  report["bytes_index_mb_s"] = mb / Seconds([&] { FeedAsARun(document, scratch.path() / "bytes.txt", line, false); });
  report["index_mb_s"] = mb / Seconds([&] { FeedAsARun(document, scratch.path() / "line.txt", line, true); });

  // The same clusters on lines of 0 to 3 pieces, about 240 bytes at most: lines of differing
  // lengths, as most texts have.
  std::string lines;
  lines.reserve(bytes + 3 * kMixedPiece.size() + 1);
  for (std::size_t ordinal = 0; lines.size() < bytes; ++ordinal) {
    for (std::size_t piece = ordinal * 7919 % 4; piece > 0; --piece) lines += kMixedPiece;
    lines += '\n';
  }
  report["lines_index_mb_s"] = static_cast<double>(lines.size()) / 1e6 / Seconds([&] { FeedAsARun(document, scratch.path() / "lines-utf8.txt", lines, true); });
  report["lines_bytes_index_mb_s"] = static_cast<double>(lines.size()) / 1e6 / Seconds([&] { FeedAsARun(document, scratch.path() / "lines-bytes.txt", lines, false); });
  lines = {};
  FeedAsARun(document, scratch.path() / "line-shown.txt", line, true);

  ResultView view(document);
  view.resize(800, 600);
  view.show();
  if (!QTest::qWaitForWindowExposed(&view)) throw std::runtime_error("the view was never exposed");
  view.setFocus();
  report["first_paint_ms"] = PaintMs(view);
  report["ctrl_end_ms"] = 1000 * Seconds([&] {
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    (void)view.viewport()->grab();
  });
  const double home = 1000 * Seconds([&] {
    QTest::keyClick(&view, Qt::Key_Home);
    (void)view.viewport()->grab();
  });
  QScrollBar* bar = view.horizontalScrollBar();
  const double middle = 1000 * Seconds([&] {
    bar->setValue(bar->maximum() / 2);
    (void)view.viewport()->grab();
  });
  report["sideways_ms"] = std::max(home, middle);

  // A page of short lines, every cluster kind on each.
  std::string page;
  for (int i = 0; i < 200; ++i) page += kMixedPiece + kMixedPiece + "\n";
  FeedAsARun(document, scratch.path() / "page.txt", page, true);
  view.refresh();
  const auto rows = static_cast<double>(std::max(1, view.viewport()->height() / view.fontMetrics().lineSpacing()));
  report["paint_us_per_line_cold"] = 1000 * PaintMs(view) / rows;
  constexpr int kRepeats = 20;
  double warm = 0;
  for (int i = 0; i < kRepeats; ++i) warm += PaintMs(view);
  report["paint_us_per_line_warm"] = 1000 * warm / kRepeats / rows;
  WriteProbeReport(stdout, report);
  return 0;
}

}  // namespace quillon::bench
