#pragma once

#include <QWidget>

#include "window/file_chooser.h"

namespace quillon {

// The toolkit's Open dialog, modal over `parent`. A name typed for a file that does not exist
// is accepted, as a run reports the problem when it opens the file.
class QtFileChooser : public FileChooser {
 public:
  explicit QtFileChooser(QWidget& parent) : parent_(parent) {}

  std::optional<std::string> ShowOpen(std::string_view filter, std::string_view lastChoice) override;

 private:
  QWidget& parent_;
};

}  // namespace quillon
