#pragma once

namespace quillon {

// For the command-line forms of the window program, which Windows starts without a console:
// attaches to the console of the program that started it (cmd, PowerShell), if there is one,
// and sends the standard streams that were not redirected to it. Streams redirected to files
// or pipes stay as they are.
void UseParentConsole();

}  // namespace quillon
