#include "cli/terminal_progress.h"

#include <algorithm>

#include "fileio/standard_streams.h"

namespace quillon {

namespace {

constexpr int kBarCells = 30;
constexpr int kUsualWidth = 80;

int TerminalWidth(std::FILE* terminal) {
  return TerminalColumns(terminal).value_or(kUsualWidth);
}

}  // namespace

std::string ProgressLine(std::string_view name, int percent, int width) {
  percent = std::clamp(percent, 0, 100);
  const int filled = percent * kBarCells / 100;
  std::string bar = " [" + std::string(static_cast<std::size_t>(filled), '#') +
                    std::string(static_cast<std::size_t>(kBarCells - filled), '.') + "] ";
  std::string figure = std::to_string(percent) + "%";
  figure.insert(0, 4 - figure.size(), ' ');
  // One column stays free: a line that fills the terminal exactly wraps on some of them.
  const int room = width - 1 - static_cast<int>(bar.size() + figure.size());
  if (room <= 3) return figure;
  if (static_cast<int>(name.size()) > room) {
    name.remove_prefix(name.size() - static_cast<std::size_t>(room - 3));
    return "..." + std::string(name) + bar + figure;
  }
  return std::string(name) + bar + figure;
}

TerminalProgress::TerminalProgress(std::FILE* terminal, std::string_view name, std::chrono::milliseconds delay)
    : terminal_(terminal), name_(name), showFrom_(std::chrono::steady_clock::now() + delay) {}

TerminalProgress::~TerminalProgress() {
  if (shownPercent_ < 0) return;
  std::fputs("\r\033[K", terminal_);  // back to the line's start, and clear it
  std::fflush(terminal_);
}

void TerminalProgress::SetProgressValue(float percent) {
  const int whole = static_cast<int>(percent);
  if (whole == shownPercent_ || std::chrono::steady_clock::now() < showFrom_) return;
  Draw(whole);
}

void TerminalProgress::Draw(int percent) {
  shownPercent_ = percent;
  std::fprintf(terminal_, "\r%s", ProgressLine(name_, percent, TerminalWidth(terminal_)).c_str());
  std::fflush(terminal_);
}

}  // namespace quillon
