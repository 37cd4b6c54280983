#include "bench/command_line.h"

#include <cstdio>
#include <exception>

#include "bench/usage_error.h"

namespace quillon::bench {

int RunCommandLine(std::string_view program, std::string_view usage, int argc, char** argv,
                   const std::function<int(std::vector<std::string_view>)>& dispatch) {
  const auto name = static_cast<int>(program.size());
  try {
    return dispatch(std::vector<std::string_view>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    std::fprintf(stderr, "%.*s: %s\n%.*s", name, program.data(), error.what(), static_cast<int>(usage.size()), usage.data());
    return 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%.*s: %s\n", name, program.data(), error.what());
    return 1;
  }
}

}  // namespace quillon::bench
