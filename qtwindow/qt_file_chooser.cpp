#include "qtwindow/qt_file_chooser.h"

#include <QFileDialog>

#include "qtwindow/byte_paths.h"
#include "qtwindow/dialog_filter.h"

namespace quillon {

std::optional<std::string> QtFileChooser::ShowOpen(std::string_view filter, std::string_view lastChoice) {
  QFileDialog dialog(&parent_);
  dialog.setObjectName("openDialog");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The entries read as the window names them; the patterns still filter.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(DialogNameFilters(filter));
  if (!lastChoice.empty()) dialog.selectFile(DecodedPath(lastChoice));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
  return EncodedPath(chosen.front());
}

}  // namespace quillon
