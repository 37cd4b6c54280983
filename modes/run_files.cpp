#include "modes/run_files.h"

#include "fileio/file_error.h"
#include "fileio/output_target.h"
#include "fileio/scratch_file.h"

namespace quillon {

namespace {

FileHandle OpenInput(const std::string& path) {
  FileHandle input = OpenForRead(path);
  if (!input.valid()) throw FileError("Cannot open", path, input.error());
  return input;
}

OutputTarget CheckedTarget(const std::string& outputPath, const FileHandle& input) {
  OutputTarget target = ResolveOutputTarget(outputPath);
  if (target.Exists && target.Identity == IdentityOf(input))
    throw FileError("Cannot write", outputPath, "it is the input file itself; the input is never overwritten");
  return target;
}

}  // namespace

RunFiles::RunFiles(const std::string& inputPath, const std::string& outputPath, bool outputIsStream)
    : input_(OpenInput(inputPath)), size_(FileSize(input_)), outputPath_(outputPath) {
  if (!outputIsStream) target_ = CheckedTarget(outputPath, input_);
  StartOutputOver();
}

RunFiles::RunFiles(NativeHandle inputStream, const std::string& inputPath, const std::string& outputPath, bool outputIsStream,
                   const std::function<void()>& beforeRead)
    : input_(TakeInputStream(inputStream, inputPath, beforeRead)), size_(FileSize(input_)), outputPath_(outputPath) {
  if (!outputIsStream) target_ = CheckedTarget(outputPath, input_);
  StartOutputOver();
}

void RunFiles::StartOutputOver() {
  if (!target_) return;
  output_.reset();
  output_.emplace(*target_, outputPath_);
}

void RunFiles::ReadUtf8CopyOf(FileHandle copy, unicode::Utf16Order order) {
  size_ = FileSize(copy);
  input_ = std::move(copy);
  outputUtf16_ = order;
}

}  // namespace quillon
