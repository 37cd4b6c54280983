#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QListView>
#include <QTest>
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
  // With the patterns hidden, the dialog names the selected entry by its description.
  EXPECT_EQ(dialog.selectedNameFilter, "Textfiles (txt)");
  EXPECT_EQ(dialog.acceptMode, QFileDialog::AcceptOpen);
}

// The names the dialog's file list offers for choosing, sorted.
QStringList Offered(const QListView& list) {
  QStringList names;
  const QAbstractItemModel* model = list.model();
  for (int row = 0; row < model->rowCount(list.rootIndex()); ++row) {
    const QModelIndex index = model->index(row, 0, list.rootIndex());
    if (!list.isRowHidden(row) && model->flags(index).testFlag(Qt::ItemIsEnabled)) names << index.data().toString();
  }
  names.sort();
  return names;
}

TEST(DialogChooser, EntriesShowTheirDescriptionsOnlyAndTheTextEntryListsTxtFiles) {
  const TempFolder folder;
  const std::string text = folder.Write("a.txt", "x");
  folder.Write("b.dat", "y");
  QStringList entries;
  QStringList allFiles;
  QStringList textFiles;
  QWidget parent;
  QtFileChooser chooser(parent);
  const AnsweredDialog dialog([&](QFileDialog& d) {
    const auto* combo = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    const auto* list = d.findChild<QListView*>(QStringLiteral("listView"));
    if (combo == nullptr || list == nullptr) return d.reject();
    for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
    // The folder is read in the background: first wait until every file is in.
    d.selectNameFilter(QStringLiteral("All Files (*)"));
    const QStringList both{"a.txt", "b.dat"};
    (void)QTest::qWaitFor([&] { return Offered(*list) == both; }, 5000);
    allFiles = Offered(*list);
    d.selectNameFilter(QStringLiteral("Textfiles (txt) (*.txt)"));
    (void)QTest::qWaitFor([&] { return Offered(*list) == QStringList{"a.txt"}; }, 2000);
    textFiles = Offered(*list);
    d.reject();
  });
  EXPECT_EQ(chooser.ShowOpen(kChooserFilter, text), std::nullopt);
  ASSERT_TRUE(dialog.seen);
  EXPECT_EQ(entries.join(u'|').toStdString(), "Textfiles (txt)|All Files");
  EXPECT_EQ(allFiles.join(u'|').toStdString(), "a.txt|b.dat");
  EXPECT_EQ(textFiles.join(u'|').toStdString(), "a.txt");
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
