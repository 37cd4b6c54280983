// The Windows side's files, each case on real files through the engine in every mode: what
// Windows adds (sharing and locks, attributes, names in any script, long paths) and the faults
// of the POSIX fault suite that mean the same here. Whatever the outcome, nothing else in the
// folder changes: an earlier output stays whole unless the run succeeds, no temporary file
// is left.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "fileio/file_error.h"
#include "fileio/wide_text.h"
#include "modes/failure_message.h"
#include "modes/run_mode.h"
#include "tests/fault/io_fault.h"
#include "tests/support/mode_runner.h"

namespace quillon::testing {
namespace {

using Kind = IoFault::Kind;

constexpr std::string_view kEarlierOutput = "an earlier output, kept whole unless a run succeeds";

// A file held open by another program that shares it with nobody.
class Locked {
 public:
  explicit Locked(const std::string& path)
      : handle_(::CreateFileW(SystemPath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
    if (handle_ == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot lock " + path);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  ~Locked() { ::CloseHandle(handle_); }

 private:
  HANDLE handle_;
};

struct Scene {
  std::string input{};
  std::string message{};    // empty: the run must succeed
  std::string alsoMeant{};  // another wording the system may choose for the same failure
  IoFault fault{};
  // What another program holds while the run goes on, taken once the folder is seen as it was.
  std::function<std::shared_ptr<void>()> holdDuringTheRun{};
  std::string changedByTheCase{};  // a name the case itself changes
  bool outputReadOnly = false;     // the new output keeps the old one's read-only attribute
};

struct WindowsCase {
  std::string name;
  std::function<Scene(const TempFolder&)> lay;
};

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }
std::string Reason(DWORD error) { return SystemReason(static_cast<int>(error)); }

std::string Lines(std::size_t size) {
  std::string text;
  for (std::size_t line = 0; text.size() < size; ++line) text += "line " + std::to_string(line) + (line % 3 == 0 ? "\r\n" : "\n");
  return text;
}

// `path` as the standard library's calls take it at any length.
std::string LongForm(const std::string& path) { return Narrow(SystemPath(path)); }

// An input at `path` and an earlier output beside it.
std::string LayInput(const std::string& path, std::string_view bytes) {
  WriteWhole(LongForm(path), bytes);
  WriteWhole(LongForm(path + "_rev.txt"), kEarlierOutput);
  return path;
}

Scene Failing(std::string input, std::string message, IoFault fault = {}) {
  return {.input = std::move(input), .message = std::move(message), .fault = std::move(fault)};
}
Scene Succeeding(std::string input) { return {.input = std::move(input)}; }

const std::vector<WindowsCase>& WindowsCases() {
  static const std::vector<WindowsCase> cases = {
      {"MissingInput",
       [](const TempFolder& folder) {
         const std::string input = folder.File("absent.txt");
         return Failing(input, "Cannot open " + Quoted(input) + ": " + Reason(ERROR_FILE_NOT_FOUND));
       }},
      {"InputIsAFolder",
       [](const TempFolder& folder) {
         const std::string input = folder.File("folder.txt");
         std::filesystem::create_directory(FileSystemPath(input));
         return Failing(input, "Cannot open " + Quoted(input) + ": It is a folder.");
       }},
      {"InputLockedByAnotherProgram",
       [](const TempFolder& folder) {
         const std::string input = LayInput(folder.File("in.txt"), Lines(3000));
         Scene scene = Failing(input, "Cannot open " + Quoted(input) + ": " + Reason(ERROR_SHARING_VIOLATION));
         scene.holdDuringTheRun = [input] { return std::make_shared<Locked>(input); };
         return scene;
       }},
      // Another program only reading the input with sharing, as an editor does, hinders nothing.
      {"InputOpenInAnotherProgramThatShares",
       [](const TempFolder& folder) {
         const std::string input = LayInput(folder.File("in.txt"), Lines(3000));
         Scene scene = Succeeding(input);
         scene.holdDuringTheRun = [input] {
           return std::shared_ptr<void>(::CreateFileW(SystemPath(input).c_str(), GENERIC_READ | GENERIC_WRITE,
                                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr),
                                        [](HANDLE handle) { ::CloseHandle(handle); });
         };
         return scene;
       }},
      // The new output is complete before it cannot be put in place; the old one stays.
      {"OutputLockedByAnotherProgram",
       [](const TempFolder& folder) {
         const std::string input = LayInput(folder.File("in.txt"), Lines(3000));
         // The system may say either: the file is in use, or it may not be replaced.
         Scene scene = Failing(input, "Cannot write " + Quoted(input + "_rev.txt") + ": " + Reason(ERROR_SHARING_VIOLATION));
         scene.alsoMeant = "Cannot write " + Quoted(input + "_rev.txt") + ": " + Reason(ERROR_ACCESS_DENIED);
         scene.holdDuringTheRun = [input] { return std::make_shared<Locked>(input + "_rev.txt"); };
         return scene;
       }},
      {"OutputReadOnly",
       [](const TempFolder& folder) {
         const std::string input = LayInput(folder.File("in.txt"), Lines(9000));
         ::SetFileAttributesW(SystemPath(input + "_rev.txt").c_str(), FILE_ATTRIBUTE_READONLY);
         Scene scene = Succeeding(input);
         scene.outputReadOnly = true;
         return scene;
       }},
      {"OutputIsAFolder",
       [](const TempFolder& folder) {
         const std::string input = folder.Write("in.txt", "ab\ncd\n");
         std::filesystem::create_directory(FileSystemPath(input + "_rev.txt"));
         return Failing(input, "Cannot write " + Quoted(input + "_rev.txt") + ": It is a folder.");
       }},
      {"OutputIsAHardLinkToTheInput",
       [](const TempFolder& folder) {
         const std::string input = folder.Write("in.txt", "ab\ncd\n");
         std::filesystem::create_hard_link(FileSystemPath(input), FileSystemPath(input + "_rev.txt"));
         return Failing(input, "Cannot write " + Quoted(input + "_rev.txt") +
                                   ": it is the input file itself; the input is never overwritten");
       }},
      {"NamesInEveryScript",
       [](const TempFolder& folder) {
         std::filesystem::create_directory(FileSystemPath(folder.File("Ελληνικά пример")));
         return Succeeding(LayInput(folder.File("Ελληνικά пример/日本語 עברית 🙂 ß.txt"), Lines(5000)));
       }},
      {"PathLongerThanMaxPath",
       [](const TempFolder& folder) {
         std::string path = folder.path();
         while (path.size() < 300) {
           path += "/a folder with a rather long name";
           std::filesystem::create_directory(FileSystemPath(LongForm(path)));
         }
         return Succeeding(LayInput(path + "/in.txt", Lines(5000)));
       }},
      {"PathWithBackslashes",
       [](const TempFolder& folder) {
         std::string input = LayInput(folder.File("in.txt"), Lines(100));
         for (char& c : input)
           if (c == '/') c = '\\';
         return Succeeding(input);
       }},
      {"DiskFullMidFile",
       [](const TempFolder& folder) {
         const std::string input = LayInput(folder.File("in.txt"), Lines(200000));
         return Failing(input, "Cannot write " + Quoted(input + "_rev.txt") + ": " + Reason(ERROR_DISK_FULL),
                        {Kind::DiskFull, 100000, "", folder.path()});
       }},
      {"BadSectorMidFile",
       [](const TempFolder& folder) {
         const std::string input = LayInput(folder.File("in.txt"), Lines(200000));
         return Failing(input, "Cannot read " + Quoted(input) + ": " + Reason(ERROR_CRC), {Kind::BadByte, 100000, "", folder.path()});
       }},
      {"InputShrinksMidRun",
       [](const TempFolder& folder) {
         const std::string input = LayInput(folder.File("in.txt"), Lines(200000));
         Scene scene = Failing(input, "Cannot read " + Quoted(input) + ": the file became shorter while it was read",
                               {Kind::ShrinksMidRun, 10, input, ""});
         scene.changedByTheCase = "in.txt";
         return scene;
       }},
  };
  return cases;
}

// A name in the folder, as Contents() keys it.
std::string Key(const std::filesystem::path& path, const std::filesystem::path& folder) {
  const std::u8string name = path.lexically_relative(folder).generic_u8string();
  return {name.begin(), name.end()};
}

// What the case's folder holds, but for the entry the case itself changes.
std::map<std::string, std::string> Contents(const std::filesystem::path& folder, const std::string& changed) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string key = Key(entry.path(), folder);
    if (key == changed) continue;
    std::string bytes = "<folder>";
    if (entry.is_regular_file()) {
      const std::u8string path = entry.path().u8string();
      bytes = ReadWhole(std::string(path.begin(), path.end()));
    }
    contents[key] = bytes;
  }
  return contents;
}

class WindowsFiles : public ::testing::TestWithParam<WindowsCase> {};

TEST_P(WindowsFiles, TheRunEndsAsTheCaseSaysAndChangesNothingElse) {
  for (const RevertMode mode : kAllModes) {
    SCOPED_TRACE(static_cast<int>(mode));
    const TempFolder folder;
    Scene scene = GetParam().lay(folder);
    const std::string output = scene.input + "_rev.txt";
    const bool hadInput = std::filesystem::is_regular_file(FileSystemPath(LongForm(scene.input)));
    const std::string input = hadInput ? ReadWhole(LongForm(scene.input)) : "";
    const std::filesystem::path root = FileSystemPath(LongForm(folder.path()));
    const auto before = Contents(root, scene.changedByTheCase);
    std::string message;
    {
      const std::shared_ptr<void> held = scene.holdDuringTheRun ? scene.holdDuringTheRun() : nullptr;
      std::optional<InjectedIoFault> fault;
      if (scene.fault.kind != Kind::None) fault.emplace(scene.fault);
      RunLog log;
      try {
        RunMode(mode, ModeContext{scene.input, output, log, {}, EngineTuning{}});
      } catch (const std::exception& error) {
        message = FailureMessage(error, scene.input);
      }
    }
    if (message != scene.alsoMeant) {
      EXPECT_EQ(message, scene.message);
    }
    auto after = Contents(root, scene.changedByTheCase);
    if (scene.message.empty()) {
      // The same bytes in a plain folder give the result the output must hold.
      const ModeRun expected = testing::RunMode(mode, input);
      EXPECT_EQ(ReadWhole(LongForm(output)), expected.output);
      const DWORD attributes = ::GetFileAttributesW(SystemPath(output).c_str());
      EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, scene.outputReadOnly ? DWORD{FILE_ATTRIBUTE_READONLY} : 0U);
      ::SetFileAttributesW(SystemPath(output).c_str(), FILE_ATTRIBUTE_NORMAL);
      const std::string outputKey = Key(FileSystemPath(LongForm(output)), root);
      after.erase(outputKey);
      auto unchanged = before;
      unchanged.erase(outputKey);
      EXPECT_EQ(after, unchanged);
    } else {
      EXPECT_EQ(after, before);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowsFiles, ::testing::ValuesIn(WindowsCases()),
                         [](const ::testing::TestParamInfo<WindowsCase>& shown) { return shown.param.name; });

}  // namespace
}  // namespace quillon::testing
