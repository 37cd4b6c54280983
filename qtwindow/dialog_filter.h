#pragma once

#include <QStringList>
#include <string_view>

namespace quillon {

// The Open dialog's entries in Qt's form, from pairs of description and patterns
// ("Textfiles (txt)|*.txt|All Files|*.*" gives "Textfiles (txt) (*.txt)" and "All Files (*)").
// Patterns within an entry are separated by ';'. "*.*" becomes "*", so that on Linux "All Files"
// also lists names without a dot. Throws std::invalid_argument for a description without patterns.
QStringList DialogNameFilters(std::string_view filter);

}  // namespace quillon
