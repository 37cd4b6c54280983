#include "cli/help_text.h"

#ifndef QUILLON_VERSION
#error "QUILLON_VERSION comes from the project's version in CMake"
#endif

namespace quillon {

std::string HelpText() {
  return R"(Usage: quillon [FILE]
  or:  quillon --mode=MODE [--output=PATH] [--bytes] [FILE]...
Reverse text files.

Without --mode, open the window, with FILE chosen if one is given.
With --mode, reverse each FILE without a window, writing the result beside it
to FILE_rev.txt; an earlier FILE_rev.txt is replaced only once the new result
is complete, and FILE itself is never written to.
With no FILE, or when FILE is -, read standard input and write its result to
standard output (or to the --output PATH).

  -m, --mode=MODE      reverse without a window, in MODE (see below)
  -o, --output=PATH    write the result to PATH instead (one FILE only);
                         with -, to standard output
      --bytes          read every FILE byte by byte, even UTF-8 text
      --help           display this help and exit
      --version        output version information and exit

Modes:
  simple-revert  all characters backwards
  line-keep      the lines in reverse order, last line first, each followed
                 by CR LF
  revert-line    the lines in their order, the characters of each line
                 reversed

In a FILE that is UTF-8 as a whole (a leading byte-order mark allowed), or
that begins with a UTF-16 byte-order mark (FF FE or FE FF) and is UTF-16
after it, a character is what a reader sees as one: a letter with its accents,
an emoji with its modifiers, a flag (Unicode 15.0 grapheme clusters); CR and
LF are characters of their own, a byte-order mark stays at the start, and
UTF-16 stays UTF-16 in the same byte order. In any other FILE, or with
--bytes, a character is a byte.

On a terminal, a run that takes more than a moment shows its progress on
standard error.

Exit status:
 0  if every FILE was reversed,
 1  if any FILE could not be reversed (the others still are),
 2  if the command line is wrong.

Examples:
  quillon notes.txt                      Open the window with notes.txt chosen.
  quillon --mode=line-keep app.log       Write app.log_rev.txt, newest line first.
  quillon -m revert-line -o - words.txt  Print words.txt with each line reversed.
  journalctl | quillon -m line-keep      Print the log, newest line first.
)";
}

std::string VersionText() {
  return "quillon " QUILLON_VERSION "\n";
}

std::string UsageErrorText(const std::string& problem) {
  return "quillon: " + problem + "\nTry 'quillon --help' for more information.\n";
}

}  // namespace quillon
