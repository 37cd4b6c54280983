#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/fault/fault_case.h"

namespace quillon::testing {

namespace {

const std::string kIsTheInput = "it is the input file itself; the input is never overwritten";

std::string Folder(const TempFolder& folder, const std::string& name, mode_t bits) {
  const std::string path = folder.File(name);
  CheckLaidOut(::mkdir(path.c_str(), bits) == 0 && ::chmod(path.c_str(), bits) == 0, "the folder " + name);
  return path;
}

}  // namespace

std::vector<FaultCase> OutputCases() {
  return {
      // The new output is made beside the old one and renamed over it, which needs the folder.
      {"OutputFolderNotWritableForTheUser", Runner::AsUnprivilegedUser,
       [](const TempFolder& folder) {
         const std::string locked = Folder(folder, "locked", 0755);
         const std::string input = LayInputAndEarlierOutput(locked + "/in.txt", "ab\ncd\n");
         CheckLaidOut(::chmod((input + "_rev.txt").c_str(), 0666) == 0 && ::chmod(locked.c_str(), 0555) == 0,
               "a writable output in a read-only folder");
         return Failing(input, CannotWrite(input + "_rev.txt", "Permission denied"));
       }},
      {"OutputIsAFolder", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = folder.Write("in.txt", "ab\ncd\n");
         Folder(folder, "in.txt_rev.txt", 0755);
         return Failing(input, CannotWrite(input + "_rev.txt", "Is a directory"));
       }},
      {"OutputLinksToAnotherFile", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = folder.Write("in.txt", Lines(20000));
         Folder(folder, "elsewhere", 0755);
         folder.Write("elsewhere/target.txt", "an earlier, longer output");
         CheckLaidOut(::symlink("elsewhere/target.txt", (input + "_rev.txt").c_str()) == 0, "a link");
         return Succeeding(input, {}, folder.File("elsewhere/target.txt"));
       }},
      // A link to a file that does not exist yet: the file is made where the link leads.
      {"OutputLinksToNoFileYet", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = folder.Write("in.txt", Lines(5000));
         Folder(folder, "elsewhere", 0755);
         CheckLaidOut(::symlink("elsewhere/new.txt", (input + "_rev.txt").c_str()) == 0, "a dangling link");
         return Succeeding(input, {}, folder.File("elsewhere/new.txt"));
       }},
      {"OutputLinksInALoop", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = folder.Write("in.txt", "ab\ncd\n");
         CheckLaidOut(::symlink("in.txt_rev.txt", (input + "_rev.txt").c_str()) == 0, "a looping link");
         return Failing(input, CannotWrite(input + "_rev.txt", "Too many levels of symbolic links"));
       }},
      // Opening a FIFO to write would wait for a reader for ever.
      {"OutputIsAFifo", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = folder.Write("in.txt", "ab\ncd\n");
         CheckLaidOut(::mkfifo((input + "_rev.txt").c_str(), 0644) == 0, "a FIFO");
         return Failing(input, CannotWrite(input + "_rev.txt", "not a regular file"));
       }},
      {"OutputLinksToTheInput", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = folder.Write("in.txt", "ab\ncd\n");
         CheckLaidOut(::symlink(input.c_str(), (input + "_rev.txt").c_str()) == 0, "a link");
         return Failing(input, CannotWrite(input + "_rev.txt", kIsTheInput));
       }},
      {"OutputIsAHardLinkToTheInput", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = folder.Write("in.txt", "ab\ncd\n");
         CheckLaidOut(::link(input.c_str(), (input + "_rev.txt").c_str()) == 0, "a hard link");
         return Failing(input, CannotWrite(input + "_rev.txt", kIsTheInput));
       }},
      {"OutputReadOnly", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = LayInputAndEarlierOutput(folder.File("in.txt"), Lines(9000));
         CheckLaidOut(::chmod((input + "_rev.txt").c_str(), 0444) == 0, "a read-only output");
         return Succeeding(input);
       }},
      // Replacing a file needs write permission on its folder, not on the file.
      {"OutputReadOnlyForTheUserInAWritableFolder", Runner::AsUnprivilegedUser,
       [](const TempFolder& folder) {
         const std::string shared = Folder(folder, "shared", 0777);
         const std::string input = LayInputAndEarlierOutput(shared + "/in.txt", Lines(9000));
         CheckLaidOut(::chmod((input + "_rev.txt").c_str(), 0444) == 0, "a read-only output");
         return Succeeding(input);
       }},
      // In a folder with the sticky bit (like /tmp) only its owner may replace a file: the new
      // output is complete before the rename fails, and must go again.
      {"OutputOfAnotherUserInASharedFolder", Runner::AsUnprivilegedUser,
       [](const TempFolder& folder) {
         if (::geteuid() != 0) return Skipped("needs root, to lay out a file of another user");
         const std::string shared = Folder(folder, "shared", 01777);
         const std::string input = LayInputAndEarlierOutput(shared + "/in.txt", Lines(9000));
         CheckLaidOut(::chmod((input + "_rev.txt").c_str(), 0666) == 0, "a writable output");
         return Failing(input, CannotWrite(input + "_rev.txt", "Operation not permitted"));
       }},
      {"OutputReadOnlyInAReadOnlyFolderOfTheUser", Runner::AsUnprivilegedUser,
       [](const TempFolder& folder) {
         const std::string mine = Folder(folder, "mine", 0755);
         const std::string input = LayInputAndEarlierOutput(mine + "/in.txt", Lines(9000));
         for (const std::string& path : {input, input + "_rev.txt", mine}) GiveToUnprivilegedUser(path);
         CheckLaidOut(::chmod((input + "_rev.txt").c_str(), 0444) == 0 && ::chmod(mine.c_str(), 0555) == 0, "read-only files");
         return Failing(input, CannotWrite(input + "_rev.txt", "Permission denied"));
       }},
  };
}

}  // namespace quillon::testing
