#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <functional>
#include <stdexcept>

#include "qtwindow/dialog_filter.h"
#include "qtwindow/qt_file_chooser.h"
#include "tests/support/temp_folder.h"
#include "window/file_chooser.h"

namespace quillon {
namespace {

using testing::TempFolder;

TEST(DialogFilter, TurnsPairsOfDescriptionAndPatternsIntoQtEntries) {
  EXPECT_EQ(DialogNameFilters(kChooserFilter), (QStringList{"Textfiles (txt) (*.txt)", "All Files (*)"}));
  EXPECT_EQ(DialogNameFilters("Logs|*.log;*.txt|Any|*.*"), (QStringList{"Logs (*.log *.txt)", "Any (*)"}));
  EXPECT_EQ(DialogNameFilters(""), QStringList{});
  EXPECT_THROW(DialogNameFilters("Textfiles (txt)"), std::invalid_argument);
}

// Shows the real dialog through QtFileChooser and lets `answer` act on it as a user would.
class AnsweredDialog {
 public:
  explicit AnsweredDialog(std::function<void(QFileDialog&)> answer) {
    poll_.setInterval(5);
    QObject::connect(&poll_, &QTimer::timeout, &poll_, [this, answer = std::move(answer)] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible()) return;
      poll_.stop();
      seen = true;
      nameFilters = dialog->nameFilters();
      selectedNameFilter = dialog->selectedNameFilter();
      fileMode = dialog->fileMode();
      acceptMode = dialog->acceptMode();
      selectedFiles = dialog->selectedFiles();
      directory = dialog->directory().absolutePath();
      answer(*dialog);
    });
    poll_.start();
  }

  bool seen = false;
  QStringList nameFilters;
  QString selectedNameFilter;
  QFileDialog::FileMode fileMode = QFileDialog::ExistingFile;
  QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptSave;
  QStringList selectedFiles;
  QString directory;

 private:
  QTimer poll_;
};

TEST(DialogChooser, ShowsTheTwoEntriesAndReportsACancelAsNothing) {
  QWidget parent;
  QtFileChooser chooser(parent);
  const AnsweredDialog dialog([](QFileDialog& d) { d.reject(); });
  EXPECT_EQ(chooser.ShowOpen(kChooserFilter, ""), std::nullopt);
  ASSERT_TRUE(dialog.seen);
  EXPECT_EQ(dialog.nameFilters, (QStringList{"Textfiles (txt) (*.txt)", "All Files (*)"}));
  EXPECT_EQ(dialog.selectedNameFilter, "Textfiles (txt) (*.txt)");
  EXPECT_EQ(dialog.acceptMode, QFileDialog::AcceptOpen);
}

TEST(DialogChooser, OpensAtTheLastChoiceAndReturnsTheChosenPath) {
  const TempFolder folder;
  const std::string last = folder.Write("last.txt", "x");
  const std::string next = folder.Write("notes", "y");
  QWidget parent;
  QtFileChooser chooser(parent);
  const AnsweredDialog dialog([&](QFileDialog& d) {
    d.selectNameFilter("All Files (*)");
    d.selectFile(QString::fromStdString(next));
    static_cast<QDialog&>(d).accept();
  });
  EXPECT_EQ(chooser.ShowOpen(kChooserFilter, last), next);
  ASSERT_TRUE(dialog.seen);
  EXPECT_EQ(dialog.directory, QString::fromStdString(folder.path()));
  EXPECT_EQ(dialog.selectedFiles, QStringList{QString::fromStdString(last)});
}

TEST(DialogChooser, AcceptsANameTypedForAFileThatDoesNotExist) {
  const TempFolder folder;
  const std::string typed = folder.File("not yet there.txt");
  QWidget parent;
  QtFileChooser chooser(parent);
  const AnsweredDialog dialog([&](QFileDialog& d) {
    d.selectFile(QString::fromStdString(typed));
    static_cast<QDialog&>(d).accept();
  });
  EXPECT_EQ(chooser.ShowOpen(kChooserFilter, ""), typed);
  EXPECT_EQ(dialog.fileMode, QFileDialog::AnyFile);
}

}  // namespace
}  // namespace quillon
