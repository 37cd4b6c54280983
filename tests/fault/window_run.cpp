#include "tests/fault/window_run.h"

#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "tests/support/recording_surface.h"
#include "window/revert_controller.h"

namespace quillon::testing {

namespace {

constexpr std::size_t kBlockSize = 4096;
constexpr int kCannotSetUp = 77;
constexpr uid_t kNobody = 65534;

WindowRun RunHere(const std::string& inputPath, RevertMode mode, const IoFault& fault) {
  RecordingSurface surface;
  surface.selectedMode = mode;
  ScriptedChooser chooser;
  RevertController controller(surface, chooser, EngineTuning{kBlockSize, 0});
  controller.ChooseInput(inputPath);
  surface.calls.clear();
  {
    const InjectedIoFault injected(fault);
    controller.Revert();
  }
  return {surface.calls, surface.Result(), ""};
}

bool SetUpChild(Runner runner) {
  if (runner == Runner::UnderFileSizeLimit) {
    const rlimit limit{kFileSizeLimit, kFileSizeLimit};
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  if (::geteuid() != 0) return true;
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && ::geteuid() == kNobody;
}

// Each field as its length (8 bytes) and its bytes.
void AppendField(std::string& out, const std::string& field) {
  const std::uint64_t length = field.size();
  out.append(reinterpret_cast<const char*>(&length), sizeof length);
  out += field;
}

std::string TakeField(std::string_view& in) {
  std::uint64_t length = 0;
  if (in.size() < sizeof length) throw std::runtime_error("the child's report was cut short");
  std::memcpy(&length, in.data(), sizeof length);
  in.remove_prefix(sizeof length);
  if (in.size() < length) throw std::runtime_error("the child's report was cut short");
  std::string field(in.substr(0, length));
  in.remove_prefix(length);
  return field;
}

std::string Encode(const WindowRun& run) {
  std::string out;
  AppendField(out, run.result);
  for (const std::string& call : run.calls) AppendField(out, call);
  return out;
}

WindowRun Decode(std::string_view in) {
  WindowRun run;
  run.result = TakeField(in);
  while (!in.empty()) run.calls.push_back(TakeField(in));
  return run;
}

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put <= 0) ::_exit(1);
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
}

WindowRun RunInChild(const std::string& inputPath, RevertMode mode, Runner runner, const IoFault& fault) {
  int report[2];
  if (::pipe(report) != 0) throw std::runtime_error("cannot make a pipe");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("cannot fork");
  if (child == 0) {
    ::close(report[0]);
    if (!SetUpChild(runner)) ::_exit(kCannotSetUp);
    try {
      WriteAll(report[1], Encode(RunHere(inputPath, mode, fault)));
    } catch (...) {
      ::_exit(1);
    }
    ::_exit(0);
  }
  ::close(report[1]);
  std::string bytes;
  char buffer[4096];
  for (ssize_t got; (got = ::read(report[0], buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(report[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotSetUp) {
    WindowRun skipped;
    skipped.skipped = runner == Runner::UnderFileSizeLimit ? "cannot set a file size limit" : "cannot switch to user nobody";
    return skipped;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("the child running the window failed");
  return Decode(bytes);
}

}  // namespace

uid_t UnprivilegedUser() { return ::geteuid() == 0 ? kNobody : ::geteuid(); }

std::vector<std::string> WindowRun::Messages() const {
  std::vector<std::string> messages;
  for (const std::string& call : calls)
    if (call.rfind("message ", 0) == 0) messages.push_back(call.substr(8));
  return messages;
}

WindowRun ClickRevert(const std::string& inputPath, RevertMode mode, Runner runner, const IoFault& fault) {
  if (runner == Runner::InProcess) return RunHere(inputPath, mode, fault);
  return RunInChild(inputPath, mode, runner, fault);
}

}  // namespace quillon::testing
