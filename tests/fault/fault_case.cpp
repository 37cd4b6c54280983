#include "tests/fault/fault_case.h"

#include <unistd.h>

#include <stdexcept>

namespace quillon::testing {

Scene Failing(std::string input, std::string message, IoFault fault) {
  Scene scene;
  scene.input = std::move(input);
  scene.message = std::move(message);
  scene.fault = std::move(fault);
  return scene;
}

Scene Succeeding(std::string input, IoFault fault, std::string receiver) {
  Scene scene;
  scene.input = std::move(input);
  scene.fault = std::move(fault);
  scene.receiver = std::move(receiver);
  return scene;
}

Scene Skipped(std::string reason) {
  Scene scene;
  scene.skipped = std::move(reason);
  return scene;
}

std::string LayInputAndEarlierOutput(const std::string& path, std::string_view bytes) {
  WriteWhole(path, bytes);
  WriteWhole(path + "_rev.txt", "an earlier output, longer than some results\r\n");
  return path;
}

std::string Lines(std::size_t size) {
  static constexpr const char* kBreaks[] = {"\n", "\r\n", "\r"};
  std::string text;
  for (std::size_t line = 0; text.size() < size; ++line) {
    text += "line " + std::to_string(line) + std::string(line % 70, 'x');
    text += kBreaks[line % 3];
  }
  return text;
}

void GiveToUnprivilegedUser(const std::string& path) {
  const gid_t group = ::geteuid() == 0 ? UnprivilegedUser() : static_cast<gid_t>(-1);
  if (::lchown(path.c_str(), UnprivilegedUser(), group) != 0) throw std::runtime_error("cannot give " + path + " away");
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string CannotOpen(const std::string& path, const std::string& reason) {
  return "Cannot open " + Quoted(path) + ": " + reason;
}

std::string CannotRead(const std::string& path, const std::string& reason) {
  return "Cannot read " + Quoted(path) + ": " + reason;
}

std::string CannotWrite(const std::string& path, const std::string& reason) {
  return "Cannot write " + Quoted(path) + ": " + reason;
}

void CheckLaidOut(bool done, const std::string& what) {
  if (!done) throw std::runtime_error("cannot lay out " + what);
}

}  // namespace quillon::testing
