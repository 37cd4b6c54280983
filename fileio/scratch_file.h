#pragma once

#include <functional>
#include <string>

#include "fileio/file_handle.h"

namespace quillon {

// The folder for a run's scratch files: $TMPDIR when set, otherwise /tmp; on Windows the
// user's temporary folder (%TMP%).
std::string ScratchFolder();

// A new file for the run's own use in ScratchFolder(), open for reading and writing, that no
// other program can find and that goes away with its last descriptor, also when the process
// is killed: a file without a name where the file system can make one, otherwise a file
// whose name is removed at once. Messages about it name `shownAs`. Throws FileError.
FileHandle OpenScratchFile(const std::string& shownAs);

// The stream `stream` (standard input) as a file that can be read at any position: a regular file
// whose place is at its start is read where it is, through a descriptor of its own; anything
// else (a pipe, a terminal, a socket, a file read part-way) is copied to its end into a
// scratch file, so that memory stays the same at any size. Messages name `shownName`.
// `beforeRead` is called before each read and may throw to stop the copy. Throws FileError.
FileHandle TakeInputStream(NativeHandle stream, const std::string& shownName, const std::function<void()>& beforeRead);

}  // namespace quillon
