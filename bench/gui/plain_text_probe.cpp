#include "bench/gui/plain_text_probe.h"

#include <QPlainTextEdit>
#include <QString>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "bench/gui/offscreen_application.h"
#include "bench/gui/probe_report.h"

namespace quillon::bench {

namespace {

QString ReadAsLatin1(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

int PlainTextProbe(const std::string& inputPath) {
  const OffscreenApplication application;
  QPlainTextEdit box;
  box.setReadOnly(true);
  box.setLineWrapMode(QPlainTextEdit::NoWrap);
  box.show();
  if (!QTest::qWaitForWindowExposed(&box)) throw std::runtime_error("the text box was never exposed");
  QString text = ReadAsLatin1(inputPath);

  const auto start = std::chrono::steady_clock::now();
  box.setPlainText(text);
  (void)box.grab();
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  WriteProbeReport(stdout, {{"set_plain_text_s", seconds.count()}});
  return 0;
}

}  // namespace quillon::bench
