#include "tests/support/recording_surface.h"

#include <sstream>

namespace quillon::testing {

void RecordingSurface::ClearResult() {
  result_.clear();
  calls.emplace_back("result clear");
}

void RecordingSurface::SetProgressValue(float percent) {
  progress_.push_back(percent);
  std::ostringstream line;
  line << "progress " << percent;
  calls.push_back(line.str());
}

void RecordingSurface::SetRevertEnabled(bool enabled) { calls.emplace_back(enabled ? "revert on" : "revert off"); }

void RecordingSurface::SetBusy(bool busy) { calls.emplace_back(busy ? "busy on" : "busy off"); }

void RecordingSurface::ShowMessage(std::string_view text) { calls.push_back("message " + std::string(text)); }

void RecordingSurface::SetFileLabel(std::string_view text) { calls.push_back("label " + std::string(text)); }

void RecordingSurface::RunToCompletion(const std::function<void(std::stop_token)>& work) {
  calls.emplace_back("run");
  work(stopSource.get_token());
}

std::vector<std::string> RecordingSurface::Messages() const {
  std::vector<std::string> messages;
  for (const auto& call : calls)
    if (call.rfind("message ", 0) == 0) messages.push_back(call.substr(8));
  return messages;
}

std::optional<std::string> ScriptedChooser::ShowOpen(std::string_view filter, std::string_view lastChoice) {
  filterSeen = filter;
  lastChoicesSeen.emplace_back(lastChoice);
  if (replies.empty()) return std::nullopt;
  std::optional<std::string> reply = replies.front();
  replies.erase(replies.begin());
  return reply;
}

}  // namespace quillon::testing
