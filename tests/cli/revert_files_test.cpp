#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "cli/revert_files.h"
#include "cli/terminal_progress.h"
#include "tests/support/mode_runner.h"
#include "tests/support/reference_modes.h"
#include "tests/support/temp_folder.h"

namespace quillon {
namespace {

using testing::ReadWhole;
using testing::Spelled;
using testing::TempFolder;

// Every kind of break, a last line without one, and bytes that are no UTF-8.
constexpr std::string_view kMixedText = "first\r\nsecond\nthird\rfourth\r\n\r\n\xE4\xF6\xFF end";

// What a run wrote on its message stream, read back once the run is over.
class CapturedMessages {
 public:
  CapturedMessages() : file_(std::tmpfile()) {}
  CapturedMessages(const CapturedMessages&) = delete;
  CapturedMessages& operator=(const CapturedMessages&) = delete;
  ~CapturedMessages() { std::fclose(file_); }

  [[nodiscard]] std::FILE* stream() const noexcept { return file_; }
  [[nodiscard]] std::string Text() const {
    std::fflush(file_);
    std::rewind(file_);
    std::string text;
    for (int c = std::fgetc(file_); c != EOF; c = std::fgetc(file_)) text += static_cast<char>(c);
    return text;
  }

 private:
  std::FILE* file_;
};

// An open descriptor standing in for standard output, closed when done.
class StreamFile {
 public:
  explicit StreamFile(const std::string& path, int flags) : path_(path), fd_(::open(path.c_str(), flags, 0600)) {}
  StreamFile(const StreamFile&) = delete;
  StreamFile& operator=(const StreamFile&) = delete;
  ~StreamFile() { ::close(fd_); }
  [[nodiscard]] int fd() const noexcept { return fd_; }

 private:
  std::string path_;
  int fd_;
};

TEST(RevertEachFile, GoodFilesAreRevertedBesideFailingOnesAndTheStatusSaysSo) {
  const TempFolder folder;
  const std::string first = folder.Write("first.txt", "a\nb\n");
  const std::string missing = folder.File("missing.txt");
  const std::string second = folder.Write("second.txt", "c\r\nd");
  std::filesystem::create_directory(folder.File("folder"));
  const std::string directory = folder.File("folder");

  const CapturedMessages messages;
  const RevertFiles request{RevertMode::LineKeep, {first, missing, directory, second}, std::nullopt};
  EXPECT_EQ(RevertEachFile(request, {.Messages = messages.stream()}), 1);

  EXPECT_EQ(Spelled(ReadWhole(first + "_rev.txt")), Spelled("\r\nb\r\na\r\n"));
  EXPECT_EQ(Spelled(ReadWhole(second + "_rev.txt")), Spelled("d\r\nc\r\n"));
  EXPECT_EQ(messages.Text(), "quillon: Cannot open \"" + missing + "\": No such file or directory\n" +
                                 "quillon: Cannot open \"" + directory + "\": Is a directory\n");
  EXPECT_EQ(folder.Listing(), "first.txt first.txt_rev.txt folder second.txt second.txt_rev.txt");

  const CapturedMessages quiet;
  EXPECT_EQ(RevertEachFile({RevertMode::SimpleRevert, {first, second}, std::nullopt}, {.Messages = quiet.stream()}), 0);
  EXPECT_EQ(quiet.Text(), "");
  EXPECT_EQ(ReadWhole(first + "_rev.txt"), "\nb\na");
}

TEST(RevertEachFile, ToStandardOutputEachModeGivesExactlyTheResultAndNoFile) {
  const struct {
    RevertMode mode;
    std::string expected;
  } cases[] = {
      {RevertMode::SimpleRevert, testing::ReferenceSimpleRevert(kMixedText)},
      {RevertMode::LineKeep, testing::ReferenceLineKeep(kMixedText)},
      {RevertMode::RevertLine, testing::ReferenceRevertLine(kMixedText)},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(static_cast<int>(test.mode));
    const TempFolder folder;
    const std::string input = folder.Write("in.txt", kMixedText);
    const StreamFile output(folder.File("stdout"), O_WRONLY | O_CREAT | O_TRUNC);
    const CapturedMessages messages;
    EXPECT_EQ(RevertEachFile({test.mode, {input}, "-"}, {.Output = output.fd(), .Messages = messages.stream()}), 0);
    EXPECT_EQ(Spelled(ReadWhole(folder.File("stdout"))), Spelled(test.expected));
    EXPECT_EQ(messages.Text(), "");
    EXPECT_EQ(folder.Listing(), "in.txt stdout");
  }
}

// A pipe (or a socket, which the kernel cannot splice from) standing in for standard input,
// holding `bytes` and then its end.
class InputPipe {
 public:
  explicit InputPipe(std::string_view bytes, bool socket = false) {
    if ((socket ? ::socketpair(AF_UNIX, SOCK_STREAM, 0, ends_) : ::pipe(ends_)) != 0) throw std::runtime_error("no pipe");
    // Small inputs fit the pipe's buffer, so nothing waits for a reader.
    if (::write(ends_[1], bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) throw std::runtime_error("short write");
    ::close(ends_[1]);
  }
  InputPipe(const InputPipe&) = delete;
  InputPipe& operator=(const InputPipe&) = delete;
  ~InputPipe() { ::close(ends_[0]); }
  [[nodiscard]] int fd() const noexcept { return ends_[0]; }

 private:
  int ends_[2] = {-1, -1};
};

// Standard input, a pipe or a redirected file, is read like a FILE; its result goes to
// standard output unless --output names a file, and no scratch copy stays behind.
TEST(RevertEachFile, StandardInputIsRevertedToStandardOutputOrTheOutputPath) {
  for (const RevertMode mode : testing::kAllModes) {
    SCOPED_TRACE(static_cast<int>(mode));
    const TempFolder folder;
    const TempFolder scratch;
    ::setenv("TMPDIR", scratch.path().c_str(), 1);
    const StreamFile output(folder.File("stdout"), O_WRONLY | O_CREAT | O_TRUNC);
    const CapturedMessages messages;
    for (const bool socket : {false, true}) {
      const InputPipe input(kMixedText, socket);
      EXPECT_EQ(RevertEachFile({mode, {"-"}, std::nullopt}, {.Input = input.fd(), .Output = output.fd(), .Messages = messages.stream()}), 0);
    }
    EXPECT_EQ(Spelled(ReadWhole(folder.File("stdout"))), Spelled(testing::Reference(mode, kMixedText) + testing::Reference(mode, kMixedText)));

    // A redirected file is read where it is, and taken whole: a second "-" finds it used up.
    const StreamFile redirected(folder.Write("in.txt", "ab\ncd"), O_RDONLY);
    EXPECT_EQ(RevertEachFile({mode, {"-", "-"}, folder.File("out")}, {.Input = redirected.fd(), .Messages = messages.stream()}), 0);
    EXPECT_EQ(ReadWhole(folder.File("out")), "");
    const StreamFile again(folder.File("in.txt"), O_RDONLY);
    EXPECT_EQ(RevertEachFile({mode, {"-"}, folder.File("out")}, {.Input = again.fd(), .Messages = messages.stream()}), 0);
    EXPECT_EQ(ReadWhole(folder.File("out")), testing::Reference(mode, "ab\ncd"));
    EXPECT_EQ(messages.Text(), "");
    EXPECT_EQ(scratch.Listing(), "");
    ::unsetenv("TMPDIR");
  }
}

TEST(RevertEachFile, AStandardInputThatCannotBeReadIsAFailureNamingIt) {
  const TempFolder folder;
  const CapturedMessages messages;
  EXPECT_EQ(RevertEachFile({RevertMode::LineKeep, {"-"}, folder.File("out")}, {.Input = 1000, .Messages = messages.stream()}), 1);
  EXPECT_EQ(messages.Text(), "quillon: Cannot read \"standard input\": Bad file descriptor\n");
  EXPECT_EQ(folder.Listing(), "");
}

TEST(RevertEachFile, AStandardOutputThatTakesNothingIsAFailureNamingIt) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", "abc\n");
  const StreamFile readOnly(folder.Write("stdout", ""), O_RDONLY);
  const CapturedMessages messages;
  EXPECT_EQ(RevertEachFile({RevertMode::RevertLine, {input}, "-"}, {.Output = readOnly.fd(), .Messages = messages.stream()}), 1);
  EXPECT_EQ(messages.Text(), "quillon: Cannot write \"standard output\": Bad file descriptor\n");
}

TEST(RevertEachFile, AnOutputPathTakesThePlaceOfTheUsualOne) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", "ab\ncd\n");
  const CapturedMessages messages;
  EXPECT_EQ(RevertEachFile({RevertMode::RevertLine, {input}, folder.File("out")}, {.Messages = messages.stream()}), 0);
  EXPECT_EQ(ReadWhole(folder.File("out")), "ba\ndc\n");
  EXPECT_EQ(folder.Listing(), "in.txt out");

  // The input is never the output, however it is named.
  EXPECT_EQ(RevertEachFile({RevertMode::RevertLine, {input}, input}, {.Messages = messages.stream()}), 1);
  EXPECT_EQ(ReadWhole(input), "ab\ncd\n");
  EXPECT_EQ(messages.Text(),
            "quillon: Cannot write \"" + input + "\": it is the input file itself; the input is never overwritten\n");
}

TEST(RevertEachFile, BytesReadsAUtf8FileByteByByte) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", "a\xC3\xA9\n");  // "aé"
  const CapturedMessages messages;
  EXPECT_EQ(RevertEachFile({RevertMode::RevertLine, {input}, std::nullopt}, {.Messages = messages.stream()}), 0);
  EXPECT_EQ(Spelled(ReadWhole(input + "_rev.txt")), Spelled("\xC3\xA9" "a\n"));
  EXPECT_EQ(RevertEachFile({RevertMode::RevertLine, {input}, std::nullopt, true}, {.Messages = messages.stream()}), 0);
  EXPECT_EQ(Spelled(ReadWhole(input + "_rev.txt")), Spelled("\xA9\xC3" "a\n"));
  EXPECT_EQ(messages.Text(), "");
}

TEST(TerminalProgress, ABarShowsOnlyAfterTheDelayAndIsWipedBeforeTheMessage) {
  const TempFolder folder;
  const std::string input = folder.Write("in.txt", std::string(64 * 1024, 'x'));
  const std::string missing = folder.File("missing.txt");

  const CapturedMessages quick;
  RevertEachFile({RevertMode::SimpleRevert, {input, missing}, std::nullopt},
                 {.Messages = quick.stream(), .ShowProgress = true, .ProgressDelay = std::chrono::hours(1)});
  EXPECT_EQ(quick.Text(), "quillon: Cannot open \"" + missing + "\": No such file or directory\n");

  const CapturedMessages slow;
  RevertEachFile({RevertMode::SimpleRevert, {input, missing}, std::nullopt},
                 {.Messages = slow.stream(), .ShowProgress = true, .ProgressDelay = std::chrono::milliseconds(0)});
  const std::string shown = slow.Text();
  EXPECT_TRUE(shown.starts_with("\r")) << shown;
  EXPECT_NE(shown.find("in.txt ["), std::string::npos) << shown;
  EXPECT_TRUE(shown.ends_with("%\r\033[Kquillon: Cannot open \"" + missing + "\": No such file or directory\n")) << shown;
}

TEST(TerminalProgress, TheLineFitsTheTerminalCuttingTheNameFromTheFront) {
  const struct {
    std::string_view name;
    int percent;
    int width;
    std::string line;
  } cases[] = {
      {"a.txt", 0, 80, "a.txt [..............................]   0%"},
      {"a.txt", 42, 80, "a.txt [############..................]  42%"},
      {"a.txt", 100, 80, "a.txt [##############################] 100%"},
      {"a.txt", 130, 80, "a.txt [##############################] 100%"},
      {"/long/folder/name.txt", 50, 51, ".../name.txt [###############...............]  50%"},
      {"a.txt", 7, 20, "  7%"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.line);
    const std::string line = ProgressLine(test.name, test.percent, test.width);
    EXPECT_EQ(line, test.line);
    EXPECT_LT(static_cast<int>(line.size()), test.width);
  }
}

}  // namespace
}  // namespace quillon
