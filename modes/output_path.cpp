#include "modes/output_path.h"

namespace quillon {

std::string OutputPathFor(std::string_view inputPath) {
  std::string path(inputPath);
  path += kOutputSuffix;
  return path;
}

}  // namespace quillon
