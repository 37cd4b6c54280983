#include "fuzz/backward_lines_check.h"

#include <exception>
#include <filesystem>

#include "fileio/backward_lines.h"
#include "fileio/file_handle.h"
#include "fuzz/difference.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/scratch_folder.h"
#include "tests/support/backward_line_text.h"
#include "tests/support/reference_line_reader.h"

namespace quillon::fuzzing {

namespace {

// Maps `value` onto the cursors from -2 (before the file) to size + 1 (past its end).
std::int64_t CursorFrom(std::uint32_t value, std::uint32_t scale, std::int64_t size) {
  return static_cast<std::int64_t>(value) * (size + 4) / scale - 2;
}

enum class Step { Line, Byte, Jump };

Step StepOf(std::uint8_t code) {
  switch (code % 4) {
    case 2:
      return Step::Byte;
    case 3:
      return Step::Jump;
    default:
      return Step::Line;
  }
}

struct Walk {
  BackwardReader& reader;
  std::string_view file;
  ReadCursor cursor;
  std::int64_t modelCursor;

  std::string Line() {
    const std::string got = testing::ReadLineBackward(reader, cursor);
    const std::string expected = testing::ReferenceReadLineBackward(file, modelCursor);
    if (std::string fault = Difference("line", got, expected); !fault.empty()) return fault;
    return CursorFault();
  }

  std::string Byte() {
    const unsigned char got = testing::ReadByteBackward(reader, cursor);
    const unsigned char expected = testing::ReferenceReadByteBackward(file, modelCursor);
    if (got != expected) return "byte " + std::to_string(got) + ", expected " + std::to_string(expected);
    return CursorFault();
  }

  void Jump(std::int64_t to) { cursor.Offset = modelCursor = to; }

  [[nodiscard]] std::string CursorFault() const {
    if (cursor.Offset == modelCursor) return "";
    return "cursor " + std::to_string(cursor.Offset) + ", expected " + std::to_string(modelCursor);
  }
};

std::string WalkFile(std::string_view file, std::size_t blockSize, std::int64_t start, std::span<const std::uint8_t> steps) {
  const std::string path = ScratchFolder().Write("lines.txt", file);
  const FileHandle handle = OpenForRead(path);
  if (!handle.valid()) return "cannot open " + path + ": " + handle.error();
  // The open handle keeps the file; its name goes at once, so that the mode checks sharing
  // the folder find nothing there but their own files.
  std::filesystem::remove(path);
  const auto size = static_cast<std::int64_t>(file.size());
  BackwardReader reader(handle, FileSize(handle), blockSize);
  Walk walk{reader, file, {start}, start};
  std::string trail;  // the steps so far, for the report
  for (const std::uint8_t code : steps) {
    std::string fault;
    const std::string at = "@" + std::to_string(walk.cursor.Offset);
    switch (StepOf(code)) {
      case Step::Line:
        trail += " line" + at;
        fault = walk.Line();
        break;
      case Step::Byte:
        trail += " byte" + at;
        fault = walk.Byte();
        break;
      case Step::Jump:
        walk.Jump(CursorFrom(code >> 2, 64, size));
        trail += " jump to " + std::to_string(walk.cursor.Offset);
        break;
    }
    if (!fault.empty()) return fault + " after steps" + trail;
  }
  // Then to the start, as "Line keep" walks; a cursor outside the file stays where it is.
  while (walk.cursor.Offset > -1) {
    const std::int64_t before = walk.cursor.Offset;
    if (std::string fault = walk.Line(); !fault.empty())
      return fault + " reading the line at " + std::to_string(before) + " after steps" + trail;
    if (walk.cursor.Offset == before) break;
  }
  return "";
}

}  // namespace

std::string CheckBackwardLines(std::span<const std::uint8_t> fuzzInput) {
  FuzzInput in(fuzzInput);
  const std::size_t blockSize = BlockSizeFrom(in.TakeByte());
  const std::uint16_t startValue = in.TakeWord();
  const std::span<const std::uint8_t> steps = in.TakeBytes(in.TakeByte() % 16);
  const std::string_view file = in.Rest();
  const std::int64_t start = CursorFrom(startValue, 65536, static_cast<std::int64_t>(file.size()));
  try {
    if (std::string fault = WalkFile(file, blockSize, start, steps); !fault.empty())
      return fault + " (block size " + std::to_string(blockSize) + ", file of " + std::to_string(file.size()) + " bytes)";
  } catch (const std::exception& error) {
    return std::string("the walk failed: ") + error.what();
  }
  return "";
}

}  // namespace quillon::fuzzing
