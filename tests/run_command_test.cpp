#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include <new>
#include <system_error>

#include "fileio/file_handle.h"
#include "fileio/file_error.h"
#include "tests/support/recording_surface.h"
#include "tests/support/temp_folder.h"
#include "modes/failure_message.h"
#include "window/revert_controller.h"

namespace quillon {
namespace {

using testing::ReadWhole;
using testing::RecordingSurface;
using testing::ScriptedChooser;
using testing::TempFolder;

const std::vector<std::string> kEnterBusy = {"result clear", "progress 0", "busy on", "revert off"};
const std::vector<std::string> kLeaveBusy = {"revert on", "busy off", "progress 0"};

std::vector<std::string> Head(const std::vector<std::string>& calls, std::size_t n) {
  return {calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(std::min(n, calls.size()))};
}
std::vector<std::string> Tail(const std::vector<std::string>& calls, std::size_t n) {
  return {calls.end() - static_cast<std::ptrdiff_t>(std::min(n, calls.size())), calls.end()};
}

struct Window {
  RecordingSurface surface;
  ScriptedChooser chooser;
  RevertController controller{surface, chooser};
};

TEST(RunCommand, RefusesToRunWithoutAnInputAndKeepsTheResult) {
  Window window;
  window.surface.OutputWritten(std::string_view("earlier"));
  window.controller.Revert();
  EXPECT_EQ(window.surface.calls, (std::vector<std::string>{"message no Infile"}));
  EXPECT_EQ(window.surface.Result(), "earlier");
}

TEST(RunCommand, EntersAndLeavesTheBusyStateInOrderAroundARun) {
  const TempFolder folder;
  Window window;
  window.controller.ChooseInput(folder.Write("in.txt", "ab\r\ncd\r\n"));
  window.surface.calls.clear();
  window.controller.Revert();
  const auto& calls = window.surface.calls;
  EXPECT_EQ(Head(calls, 5), (std::vector<std::string>{"result clear", "progress 0", "busy on", "revert off", "run"}));
  EXPECT_EQ(Tail(calls, 3), kLeaveBusy);
  EXPECT_TRUE(window.surface.Messages().empty());
  EXPECT_EQ(window.surface.Result(), "\r\ncd\r\nab\r\n");
  EXPECT_EQ(ReadWhole(folder.File("in.txt_rev.txt")), "\r\ncd\r\nab\r\n");
}

TEST(RunCommand, RunsTheSelectedMode) {
  const TempFolder folder;
  const std::vector<std::pair<RevertMode, std::string>> expectations = {
      {RevertMode::SimpleRevert, "dc\nba"},
      {RevertMode::LineKeep, "cd\r\nab\r\n"},
      {RevertMode::RevertLine, "ba\ndc"},
  };
  for (const auto& [mode, output] : expectations) {
    Window window;
    window.surface.selectedMode = mode;
    window.controller.ChooseInput(folder.Write("in.txt", "ab\ncd"));
    window.controller.Revert();
    EXPECT_EQ(ReadWhole(folder.File("in.txt_rev.txt")), output) << "mode " << static_cast<int>(mode);
  }
}

TEST(RunCommand, ReportsAFailedRunOnceTheWindowIsIdleAgain) {
  const TempFolder folder;
  Window window;
  window.controller.ChooseInput(folder.File("missing.txt"));
  window.surface.calls.clear();
  window.controller.Revert();
  // In the system's words: "No such file or directory" on Linux.
  const std::string message = "message Cannot open \"" + folder.File("missing.txt") + "\": " + OpenForRead(folder.File("missing.txt")).error();
  std::vector<std::string> expected = kLeaveBusy;
  expected.push_back(message);
  EXPECT_EQ(Tail(window.surface.calls, 4), expected);
  EXPECT_EQ(folder.Listing(), "");
}

TEST(RunCommand, AStoppedRunSaysNothingAndLeavesTheEarlierOutput) {
  const TempFolder folder;
  Window window;
  window.controller.ChooseInput(folder.Write("in.txt", std::string(5000, 'x')));
  testing::WriteWhole(window.controller.OutputPath(), "earlier");
  window.surface.stopSource.request_stop();
  window.controller.Revert();
  EXPECT_TRUE(window.surface.Messages().empty());
  EXPECT_EQ(Tail(window.surface.calls, 3), kLeaveBusy);
  EXPECT_EQ(ReadWhole(window.controller.OutputPath()), "earlier");
  EXPECT_EQ(folder.Listing(), "in.txt in.txt_rev.txt");
}

TEST(FileChoice, SetsBothPathsAndTheLabelAndSurvivesCancels) {
  Window window;
  auto& replies = window.chooser.replies;
  replies = {std::nullopt, "/data/notes.txt", "/data/other", std::nullopt, "/data/notes.txt_rev.txt"};

  window.controller.ChooseFile();  // the first dialog cancelled
  EXPECT_EQ(window.controller.InputPath(), "");
  EXPECT_EQ(window.controller.OutputPath(), "");
  EXPECT_TRUE(window.surface.calls.empty());
  window.controller.Revert();
  EXPECT_EQ(window.surface.Messages(), (std::vector<std::string>{"no Infile"}));

  window.controller.ChooseFile();
  EXPECT_EQ(window.controller.InputPath(), "/data/notes.txt");
  EXPECT_EQ(window.controller.OutputPath(), "/data/notes.txt_rev.txt");
  EXPECT_EQ(window.surface.calls.back(), "label /data/notes.txt");

  window.controller.ChooseFile();  // a name without an extension
  EXPECT_EQ(window.controller.OutputPath(), "/data/other_rev.txt");
  window.controller.ChooseFile();  // cancelled: the second choice stays
  EXPECT_EQ(window.controller.InputPath(), "/data/other");
  EXPECT_EQ(window.surface.calls.back(), "label /data/other");

  window.controller.ChooseFile();  // an earlier output, chosen as input
  EXPECT_EQ(window.controller.OutputPath(), "/data/notes.txt_rev.txt_rev.txt");

  EXPECT_EQ(window.chooser.filterSeen, "Textfiles (txt)|*.txt|All Files|*.*");
  EXPECT_EQ(window.chooser.lastChoicesSeen,
            (std::vector<std::string>{"", "", "/data/notes.txt", "/data/other", "/data/other"}));
}

TEST(FailureMessage, NamesTheFileOfEveryKindOfFailure) {
  EXPECT_EQ(FailureMessage(FileError("Cannot read", "/d/out.txt", "Input/output error"), "/d/in.txt"),
            "Cannot read \"/d/out.txt\": Input/output error");
  EXPECT_EQ(FailureMessage(std::bad_alloc(), "/d/in.txt"), "Not enough memory to revert \"/d/in.txt\".");
  EXPECT_EQ(FailureMessage(std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again), "thread"), "/d/in.txt"),
            "Cannot revert \"/d/in.txt\": " + std::make_error_code(std::errc::resource_unavailable_try_again).message());
  EXPECT_EQ(FailureMessage(std::runtime_error("odd"), "/d/in.txt"), "Cannot revert \"/d/in.txt\": odd");
}

}  // namespace
}  // namespace quillon
