#pragma once

#include <string>
#include <vector>

#include "window/file_chooser.h"
#include "window/window_surface.h"

namespace quillon::testing {

// A window surface that records every call, in order, as a short line such as
// "progress 12.5", "revert off", "busy on", "message no Infile".
class RecordingSurface : public WindowSurface {
 public:
  // The output the run reported, as it reported it.
  [[nodiscard]] const std::string& Result() const noexcept { return result_; }
  void ClearResult() override;
  void OutputWritten(std::span<const char> bytes) override { result_.append(bytes.begin(), bytes.end()); }
  void SetProgressValue(float percent) override;
  void SetRevertEnabled(bool enabled) override;
  [[nodiscard]] RevertMode SelectedMode() const override { return selectedMode; }
  void SetBusy(bool busy) override;
  void ShowMessage(std::string_view text) override;
  void SetFileLabel(std::string_view text) override;
  void RunToCompletion(const std::function<void(std::stop_token)>& work) override;

  // The progress values reported, in order.
  [[nodiscard]] std::vector<float> Progress() const { return progress_; }
  [[nodiscard]] std::vector<std::string> Messages() const;

  RevertMode selectedMode = RevertMode::LineKeep;
  std::vector<std::string> calls;
  std::stop_source stopSource;  // request a stop to act as a closing window

 private:
  std::string result_;
  std::vector<float> progress_;
};

// A chooser that answers with the queued replies in turn; nothing stands for a cancel.
class ScriptedChooser : public FileChooser {
 public:
  std::optional<std::string> ShowOpen(std::string_view filter, std::string_view lastChoice) override;

  std::vector<std::optional<std::string>> replies;
  std::vector<std::string> lastChoicesSeen;
  std::string filterSeen;
};

}  // namespace quillon::testing
