#include "fileio/file_error.h"

namespace quillon {

namespace {
std::string Compose(std::string_view action, std::string_view path, std::string_view reason) {
  std::string text;
  text.reserve(action.size() + path.size() + reason.size() + 6);
  text.append(action).append(" \"").append(path).append("\": ").append(reason);
  return text;
}
}  // namespace

FileError::FileError(std::string_view action, std::string_view path, std::string_view reason)
    : std::runtime_error(Compose(action, path, reason)) {}

}  // namespace quillon
