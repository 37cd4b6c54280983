#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/fault/fault_case.h"

namespace quillon::testing {

std::vector<FaultCase> InputCases() {
  return {
      {"InputMissing", Runner::InProcess,
       [](const TempFolder& folder) {
         LayInputAndEarlierOutput(folder.File("other.txt"), "abc");
         WriteWhole(folder.File("missing.txt_rev.txt"), "an earlier output");
         return Failing(folder.File("missing.txt"), CannotOpen(folder.File("missing.txt"), "No such file or directory"));
       }},
      {"InputIsAFolder", Runner::InProcess,
       [](const TempFolder& folder) {
         CheckLaidOut(::mkdir(folder.File("folder.txt").c_str(), 0755) == 0, "a folder");
         WriteWhole(folder.File("folder.txt_rev.txt"), "an earlier output");
         return Failing(folder.File("folder.txt"), CannotOpen(folder.File("folder.txt"), "Is a directory"));
       }},
      // A FIFO with no writer would block a plain open for ever.
      {"InputIsAFifo", Runner::InProcess,
       [](const TempFolder& folder) {
         CheckLaidOut(::mkfifo(folder.File("pipe.txt").c_str(), 0644) == 0, "a FIFO");
         WriteWhole(folder.File("pipe.txt_rev.txt"), "an earlier output");
         return Failing(folder.File("pipe.txt"), CannotOpen(folder.File("pipe.txt"), "not a regular file"));
       }},
      // /dev/zero's own node where the system lets us make one, else a link to it.
      {"InputIsACharacterDevice", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string zero = folder.File("zero.txt");
         if (::mknod(zero.c_str(), S_IFCHR | 0666, ::makedev(1, 5)) != 0)
           CheckLaidOut(::symlink("/dev/zero", zero.c_str()) == 0, "a character device");
         WriteWhole(zero + "_rev.txt", "an earlier output");
         return Failing(zero, CannotOpen(zero, "not a regular file"));
       }},
      {"InputUnreadableToTheUser", Runner::AsUnprivilegedUser,
       [](const TempFolder& folder) {
         const std::string input = LayInputAndEarlierOutput(folder.File("secret.txt"), "ab\ncd\n");
         CheckLaidOut(::chmod(input.c_str(), 0600) == 0, "an unreadable input");
         if (::geteuid() != 0) CheckLaidOut(::chmod(input.c_str(), 0200) == 0, "an unreadable input");
         return Failing(input, CannotOpen(input, "Permission denied"));
       }},
      {"InputEmpty", Runner::InProcess,
       [](const TempFolder& folder) { return Succeeding(LayInputAndEarlierOutput(folder.File("empty.txt"), "")); }},
  };
}

}  // namespace quillon::testing
