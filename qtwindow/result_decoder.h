#pragma once

#include <QString>
#include <span>

namespace quillon {

// Turns result bytes into the characters the result box shows: each byte one character through
// Windows-1252, and CR LF, LF and a lone CR each one line break ('\n'). The bytes may come in
// pieces; a CR at the end of one piece and an LF at the start of the next make one break.
class ResultDecoder {
 public:
  QString Decode(std::span<const char> bytes);
  void Restart() noexcept { afterCarriageReturn_ = false; }

 private:
  bool afterCarriageReturn_ = false;
};

}  // namespace quillon
