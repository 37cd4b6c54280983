#include "bench/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "fileio/file_error.h"

extern char** environ;

namespace quillon::bench {

namespace {

class SpawnFileActions {
 public:
  SpawnFileActions() { Check(::posix_spawn_file_actions_init(&actions_), "prepare"); }
  SpawnFileActions(const SpawnFileActions&) = delete;
  SpawnFileActions& operator=(const SpawnFileActions&) = delete;
  ~SpawnFileActions() { ::posix_spawn_file_actions_destroy(&actions_); }

  void OpenAsStdout(const std::string& path) {
    Check(::posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
          "redirect the output of");
  }

  [[nodiscard]] const posix_spawn_file_actions_t* get() const noexcept { return &actions_; }

 private:
  static void Check(int result, const char* what) {
    if (result != 0) throw std::runtime_error(std::string("cannot ") + what + " a child process: " + SystemReason(result));
  }

  posix_spawn_file_actions_t actions_{};
};

// A null-terminated array of pointers into `strings`, as exec wants it.
std::vector<char*> PointersTo(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& text : strings) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

std::string CommandLine(const std::vector<std::string>& argv) {
  std::string line;
  for (const std::string& word : argv) line += (line.empty() ? "" : " ") + word;
  return line;
}

// Whether `entries` set the variable that `entry` ("NAME=value") sets.
bool SetIn(const std::vector<std::string>& entries, std::string_view entry) {
  const std::string_view name = entry.substr(0, entry.find('='));
  for (const std::string& candidate : entries)
    if (candidate.size() > name.size() && candidate.compare(0, name.size(), name) == 0 && candidate[name.size()] == '=') return true;
  return false;
}

double Seconds(const timeval& time) { return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6; }

}  // namespace

ChildCost RunChild(const std::vector<std::string>& argv, const std::optional<std::string>& stdoutPath,
                   const std::vector<std::string>& extraEnvironment) {
  SpawnFileActions actions;
  actions.OpenAsStdout(stdoutPath.value_or("/dev/null"));
  std::vector<std::string> arguments = argv;
  std::vector<std::string> environment = extraEnvironment;
  for (char** entry = environ; *entry != nullptr; ++entry)
    if (!SetIn(extraEnvironment, *entry)) environment.emplace_back(*entry);
  const std::vector<char*> argumentPointers = PointersTo(arguments);
  const std::vector<char*> environmentPointers = PointersTo(environment);

  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (const int failed = ::posix_spawnp(&child, argumentPointers[0], actions.get(), nullptr, argumentPointers.data(),
                                        environmentPointers.data()))
    throw std::runtime_error("cannot start " + argv[0] + ": " + SystemReason(failed));
  int status = 0;
  rusage usage{};
  while (::wait4(child, &status, 0, &usage) < 0) {
    if (errno != EINTR) throw std::runtime_error("cannot wait for " + argv[0] + ": " + SystemReason(errno));
  }
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;

  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    const std::string how = WIFEXITED(status) ? "exited with status " + std::to_string(WEXITSTATUS(status))
                                              : "was killed by signal " + std::to_string(WTERMSIG(status));
    throw std::runtime_error("\"" + CommandLine(argv) + "\" " + how);
  }
  return {wall.count(), Seconds(usage.ru_utime) + Seconds(usage.ru_stime), static_cast<double>(usage.ru_maxrss) / 1024.0};
}

}  // namespace quillon::bench
