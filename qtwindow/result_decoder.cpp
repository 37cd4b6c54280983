#include "qtwindow/result_decoder.h"

#include "window/cp1252.h"

namespace quillon {

QString ResultDecoder::Decode(std::span<const char> bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\n') {
      if (!afterCarriageReturn_) *out++ = u'\n';
      afterCarriageReturn_ = false;
    } else if (byte == '\r') {
      *out++ = u'\n';
      afterCarriageReturn_ = true;
    } else {
      *out++ = QChar(Cp1252ToUnicode(byte));
      afterCarriageReturn_ = false;
    }
  }
  text.truncate(out - text.constData());
  return text;
}

}  // namespace quillon
