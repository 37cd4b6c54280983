#pragma once

#include <stdexcept>

namespace quillon::bench {

// A command line the benchmark cannot follow; the message says what is wrong.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quillon::bench
