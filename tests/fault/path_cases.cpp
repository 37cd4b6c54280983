#include <sys/stat.h>

#include <algorithm>
#include <stdexcept>

#include "tests/fault/fault_case.h"

namespace quillon::testing {

namespace {

// A path of exactly `length` bytes ending in `/fileName`, through as many nested folders of
// up to 200 letters as it takes; the folders are made.
std::string NestedPath(const TempFolder& folder, std::size_t length, const std::string& fileName) {
  std::string path = folder.path();
  const std::size_t folderLength = length - 1 - fileName.size();
  if (folderLength < path.size() + 2) throw std::invalid_argument("too short a path");
  while (path.size() < folderLength) {
    const std::size_t left = folderLength - path.size();  // a slash and a name at least
    // Never leave a single byte over: it would have to be a folder with an empty name.
    const std::size_t name = left - 1 <= 200 ? left - 1 : (left - 201 == 1 ? 199 : 200);
    path += "/" + std::string(name, 'd');
    if (::mkdir(path.c_str(), 0755) != 0) throw std::runtime_error("cannot make a nested folder");
  }
  return path + "/" + fileName;
}

FaultCase Succeeds(std::string name, std::string fileName) {
  return {std::move(name), Runner::InProcess, [fileName](const TempFolder& folder) {
            return Succeeding(LayInputAndEarlierOutput(folder.File(fileName), "ab\ncd\r\nef\rgh"));
          }};
}

}  // namespace

std::vector<FaultCase> PathCases() {
  return {
      Succeeds("PathWithSpaces", "with a space.txt"),
      Succeeds("PathWithOtherLetters", "Grüße ünd 日本.txt"),
      Succeeds("PathWithANewline", "line\nbreak.txt"),
      {"PathOf4000Bytes", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = NestedPath(folder, 4000, "in.txt");
         return Succeeding(LayInputAndEarlierOutput(input, Lines(5000)));
       }},
      // The input opens, but its path with "_rev.txt" is longer than the system allows.
      {"OutputPathTooLongForTheSystem", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = NestedPath(folder, 4090, "in.txt");
         WriteWhole(input, "ab\ncd\n");
         return Failing(input, "Cannot write " + Quoted(input + "_rev.txt") + ": File name too long");
       }},
      {"OutputNameTooLongForTheSystem", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = folder.Write(std::string(250, 'n'), "ab\ncd\n");
         return Failing(input, "Cannot write " + Quoted(input + "_rev.txt") + ": File name too long");
       }},
  };
}

}  // namespace quillon::testing
