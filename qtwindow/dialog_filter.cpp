#include "qtwindow/dialog_filter.h"

#include <stdexcept>
#include <string>

#include "qtwindow/widget_text.h"
#include "window/file_chooser.h"

namespace quillon {
namespace {

QString QtPatterns(std::string_view patterns) {
  QStringList converted;
  for (const QString& pattern : WidgetText(patterns).split(u';', Qt::SkipEmptyParts)) {
    const QString trimmed = pattern.trimmed();
    converted << (trimmed == u"*.*" ? QStringLiteral("*") : trimmed);
  }
  return converted.join(u' ');
}

}  // namespace

QStringList DialogNameFilters(std::string_view filter) {
  QStringList entries;
  for (const auto& [description, patterns] : ChooserFilterEntries(filter))
    entries << WidgetText(description) + QStringLiteral(" (") + QtPatterns(patterns) + u')';
  return entries;
}

}  // namespace quillon
