#include "app/windows/program_arguments.h"

#include <windows.h>
#include <shellapi.h>

#include <system_error>

#include "fileio/wide_text.h"

namespace quillon {
namespace {

class ArgumentList {
 public:
  ArgumentList() : arguments_(::CommandLineToArgvW(::GetCommandLineW(), &count_)) {
    if (arguments_ == nullptr) throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "cannot read the command line");
  }
  ArgumentList(const ArgumentList&) = delete;
  ArgumentList& operator=(const ArgumentList&) = delete;
  ~ArgumentList() { ::LocalFree(arguments_); }

  [[nodiscard]] int count() const noexcept { return count_; }
  [[nodiscard]] const wchar_t* operator[](int index) const noexcept { return arguments_[index]; }

 private:
  int count_ = 0;
  LPWSTR* arguments_;
};

}  // namespace

std::vector<std::string> ProgramArguments() {
  const ArgumentList list;
  std::vector<std::string> arguments;
  for (int index = 1; index < list.count(); ++index) arguments.push_back(Narrow(list[index]));
  return arguments;
}

}  // namespace quillon
