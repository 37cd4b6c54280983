#include "modes/run_output.h"

#include "fileio/block_io.h"
#include "modes/mode_context.h"

namespace quillon {

RunOutput::RunOutput(ResultText& result, ReplacementFile& file, std::size_t capacity, std::stop_token stop)
    : result_(result), file_(file), stop_(std::move(stop)) {
  result_.Reset(capacity);
  room_ = result_.Room().data();
}

void RunOutput::Settle(std::size_t end) {
  if (stop_.stop_requested()) throw RunCancelled();
  if (end <= written_) return;
  WriteAt(file_.handle(), static_cast<std::int64_t>(written_), {room_ + written_, end - written_});
  written_ = end;
  result_.Publish(end);
}

void RunOutput::Finish(std::size_t end) {
  Settle(end);
  file_.Commit();
}

}  // namespace quillon
