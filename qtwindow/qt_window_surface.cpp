#include "qtwindow/qt_window_surface.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <chrono>
#include <utility>

#include "qtwindow/byte_paths.h"
#include "qtwindow/input_blocker.h"
#include "qtwindow/widget_text.h"
#include "window/layout.h"

namespace quillon {
namespace {

constexpr std::chrono::milliseconds kPulse{30};

int PercentShown(float percent) {
  if (!(percent > 0.0f)) return 0;  // NaN too
  if (percent >= 100.0f) return 100;
  return static_cast<int>(percent);
}

}  // namespace

QtWindowSurface::QtWindowSurface(QWidget& window, WindowControls& controls, ResultDocument& result)
    : window_(window), controls_(controls), result_(result) {
  pulse_.setInterval(kPulse);
  QObject::connect(&pulse_, &QTimer::timeout, &pulse_, [this] { ShowRunState(); });
}

void QtWindowSurface::EncodingChosen(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Bytes:
    case TextEncoding::Utf8:
      result_.SetUtf8Text(encoding == TextEncoding::Utf8);
      return;
    case TextEncoding::Utf16LittleEndian:
      result_.SetUtf16Text(unicode::Utf16Order::LittleEndian);
      return;
    case TextEncoding::Utf16BigEndian:
      result_.SetUtf16Text(unicode::Utf16Order::BigEndian);
      return;
  }
}

QtWindowSurface::~QtWindowSurface() {
  if (waitCursor_) QApplication::restoreOverrideCursor();
}

void QtWindowSurface::ShowRunState() {
  controls_.progressBar->setValue(progress_.load(std::memory_order_relaxed));
  controls_.resultBox->refresh();
}

void QtWindowSurface::ClearResult() {
  result_.Reset();
  controls_.resultBox->refresh();
}

void QtWindowSurface::SetProgressValue(float percent) {
  progress_.store(PercentShown(percent), std::memory_order_relaxed);
  if (QThread::currentThread() == window_.thread()) controls_.progressBar->setValue(progress_.load(std::memory_order_relaxed));
}

void QtWindowSurface::SetRevertEnabled(bool enabled) {
  QPushButton* revert = controls_.revertButton;
  if (!enabled && revert->isEnabled()) revertHadFocus_ = window_.focusWidget() == revert;
  revert->setEnabled(enabled);
  // Disabling the focused button passed the focus on; after a run started with Space, a second
  // Space should run again.
  if (enabled && std::exchange(revertHadFocus_, false)) revert->setFocus();
}

RevertMode QtWindowSurface::SelectedMode() const {
  if (controls_.simpleRevertOption->isChecked()) return RevertMode::SimpleRevert;
  if (controls_.lineKeepOption->isChecked()) return RevertMode::LineKeep;
  return RevertMode::RevertLine;
}

void QtWindowSurface::SetBusy(bool busy) {
  if (busy == waitCursor_) return;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
  waitCursor_ = busy;
}

void QtWindowSurface::ShowMessage(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, WidgetText(kApplicationName),
                  QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok, &window_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void QtWindowSurface::SetFileLabel(std::string_view text) { controls_.fileLabel->setText(DecodedPath(text)); }

void QtWindowSurface::RunToCompletion(const std::function<void(std::stop_token)>& work) {
  const InputBlocker blocker(window_);
  pulse_.start();
  try {
    run_.Run(work);
  } catch (...) {
    pulse_.stop();
    ShowRunState();
    throw;
  }
  pulse_.stop();
  ShowRunState();
}

}  // namespace quillon
