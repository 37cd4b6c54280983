#include "modes/failure_message.h"

#include <new>
#include <system_error>

#include "fileio/file_error.h"

namespace quillon {

std::string FailureMessage(const std::exception& error, std::string_view inputPath) {
  std::string quotedInput;
  quotedInput.append(1, '"').append(inputPath).append(1, '"');
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) return "Not enough memory to revert " + quotedInput + ".";
  if (dynamic_cast<const FileError*>(&error) != nullptr) return error.what();
  // Anything else comes from the system rather than a file (a thread that could not be
  // started, say): still say which run failed.
  if (const auto* systemError = dynamic_cast<const std::system_error*>(&error))
    return "Cannot revert " + quotedInput + ": " + systemError->code().message();
  return "Cannot revert " + quotedInput + ": " + error.what();
}

}  // namespace quillon
