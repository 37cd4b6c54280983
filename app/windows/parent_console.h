#pragma once

namespace quillon {

// For the command-line forms of the window program, which Windows starts without a console:
// attaches to the console of the program that started it (cmd, PowerShell), if there is one,
// and sends the standard streams that were not redirected to it. Streams redirected to files
// or pipes stay as they are. Whether there is a console now.
bool UseParentConsole();

// While it lives, the console shows what the program writes as UTF-8, as its paths and
// messages are; the code page the console had comes back afterwards, for the shell that shares it.
class Utf8ConsoleOutput {
 public:
  Utf8ConsoleOutput() noexcept;
  Utf8ConsoleOutput(const Utf8ConsoleOutput&) = delete;
  Utf8ConsoleOutput& operator=(const Utf8ConsoleOutput&) = delete;
  ~Utf8ConsoleOutput();

 private:
  unsigned int previous_;
};

}  // namespace quillon
