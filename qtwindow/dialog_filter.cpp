#include "qtwindow/dialog_filter.h"

#include <stdexcept>
#include <string>

#include "qtwindow/widget_text.h"

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
  while (!filter.empty()) {
    const std::size_t descriptionEnd = filter.find('|');
    if (descriptionEnd == std::string_view::npos)
      throw std::invalid_argument("the file filter entry \"" + std::string(filter) + "\" has no patterns");
    const std::string_view description = filter.substr(0, descriptionEnd);
    filter.remove_prefix(descriptionEnd + 1);
    const std::size_t patternsEnd = filter.find('|');
    const std::string_view patterns = filter.substr(0, patternsEnd);
    filter.remove_prefix(patternsEnd == std::string_view::npos ? filter.size() : patternsEnd + 1);
    entries << WidgetText(description) + QStringLiteral(" (") + QtPatterns(patterns) + u')';
  }
  return entries;
}

}  // namespace quillon
