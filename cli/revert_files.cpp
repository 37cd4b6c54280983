#include "cli/revert_files.h"

#include <exception>
#include <memory>
#include <stdexcept>
#include <string>

#include "cli/help_text.h"
#include "cli/terminal_progress.h"
#include "modes/failure_message.h"
#include "modes/output_path.h"

namespace quillon {

namespace {

class SilentRun : public RunObserver {
 public:
  void SetProgressValue(float) override {}
};

std::unique_ptr<RunObserver> ObserverFor(const std::string& file, const CommandStreams& streams) {
  if (!streams.ShowProgress) return std::make_unique<SilentRun>();
  return std::make_unique<TerminalProgress>(streams.Messages, file, streams.ProgressDelay);
}

// Reverts one file; false, with the failure told, when it could not be.
// Standard input's result goes to standard output unless the command line says otherwise.
bool RevertOne(const RevertFiles& request, const std::string& file, const CommandStreams& streams) {
  const bool fromStream = file == kStandardStream;
  const std::string inputName = fromStream ? "standard input" : file;
  const std::string output = request.Output.value_or(fromStream ? std::string(kStandardStream) : OutputPathFor(file));
  const bool toStream = output == kStandardStream;
  const std::string outputPath = toStream ? "standard output" : output;
  std::string failure;
  {
    // The bar goes before the message is printed, so that the message starts a clean line.
    const std::unique_ptr<RunObserver> observer = ObserverFor(inputName, streams);
    try {
      RunMode(request.Mode, ModeContext{inputName, outputPath, *observer, {}, EngineTuning{},
                                        toStream ? std::optional(streams.Output) : std::nullopt, request.Bytes,
                                        fromStream ? std::optional(streams.Input) : std::nullopt});
    } catch (const std::exception& error) {
      failure = FailureMessage(error, inputName);
    }
  }
  if (failure.empty()) return true;
  std::fprintf(streams.Messages, "quillon: %s\n", failure.c_str());
  return false;
}

// Help and version go to standard output; a failed write there must not pass for success.
int Print(const std::string& text) {
  if (std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
    std::perror("quillon: write error");
    return 1;
  }
  return 0;
}

}  // namespace

int RevertEachFile(const RevertFiles& request, const CommandStreams& streams) {
  int status = 0;
  for (const std::string& file : request.Files)
    if (!RevertOne(request, file, streams)) status = 1;
  return status;
}

int RunWithoutWindow(const CommandLine& commandLine) {
  if (std::holds_alternative<ShowHelp>(commandLine)) return Print(HelpText());
  if (std::holds_alternative<ShowVersion>(commandLine)) return Print(VersionText());
  if (const auto* request = std::get_if<RevertFiles>(&commandLine))
    return RevertEachFile(*request, CommandStreams{.ShowProgress = IsTerminal(stderr)});
  throw std::logic_error("the window is not opened from the command line's own code");
}

}  // namespace quillon
