#include "tests/support/mode_runner.h"

#include <cstdio>
#include <filesystem>

namespace quillon::testing {

ModeRun RunMode(const TempFolder& folder, RevertMode mode, std::string_view input, EngineTuning tuning, bool forceBytes) {
  const std::string inputPath = folder.Write("input.txt", input);
  const std::string outputPath = inputPath + "_rev.txt";
  RunLog log;
  ModeRun run;
  try {
    ModeContext context{inputPath, outputPath, log, {}, tuning};
    context.ForceBytes = forceBytes;
    quillon::RunMode(mode, context);
  } catch (const std::exception& error) {
    run.error = error.what();
  }
  run.output = std::filesystem::exists(FileSystemPath(outputPath)) ? ReadWhole(outputPath) : "<none>";
  run.echo = log.echo;
  run.progress = log.values;
  run.encoding = log.encoding;
  run.encodingBeforeOutput = log.encodingBeforeOutput;
  run.startsOver = log.startsOver;
  return run;
}

ModeRun RunMode(RevertMode mode, std::string_view input, EngineTuning tuning, bool forceBytes) {
  const TempFolder folder;
  return RunMode(folder, mode, input, tuning, forceBytes);
}

std::string Spelled(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    if (!text.empty()) text += ' ';
    if (c == '\r') {
      text += "CR";
    } else if (c == '\n') {
      text += "LF";
    } else if (c >= '!' && c <= '~') {
      text += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
      text += hex;
    }
  }
  return text;
}

}  // namespace quillon::testing
