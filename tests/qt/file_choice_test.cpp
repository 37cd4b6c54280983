#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>

#include "tests/qt/window_fixture.h"
#include "window/file_chooser.h"

namespace quillon {
namespace {

using testing::MessageCatcher;
using testing::ShownWindow;

TEST(FileChoice, CancelChoiceSecondChoiceAndCancelThroughTheWindow) {
  ShownWindow shown;
  const auto& controller = shown.window.controller();
  const auto& label = *shown.controls().fileLabel;

  shown.Choose(std::nullopt);
  EXPECT_TRUE(controller.InputPath().empty());
  EXPECT_TRUE(controller.OutputPath().empty());
  EXPECT_TRUE(label.text().isEmpty());
  {
    const MessageCatcher catcher;
    shown.ClickRevert();
    ASSERT_EQ(catcher.messages.size(), 1u);
    EXPECT_EQ(catcher.messages[0].text, "no Infile");
  }

  shown.Choose("/data/notes.txt");
  EXPECT_EQ(controller.InputPath(), "/data/notes.txt");
  EXPECT_EQ(controller.OutputPath(), "/data/notes.txt_rev.txt");
  EXPECT_EQ(label.text(), "/data/notes.txt");

  shown.Choose("/data/other.txt");
  EXPECT_EQ(controller.InputPath(), "/data/other.txt");
  EXPECT_EQ(controller.OutputPath(), "/data/other.txt_rev.txt");
  EXPECT_EQ(label.text(), "/data/other.txt");

  shown.Choose(std::nullopt);
  EXPECT_EQ(controller.InputPath(), "/data/other.txt");
  EXPECT_EQ(controller.OutputPath(), "/data/other.txt_rev.txt");
  EXPECT_EQ(label.text(), "/data/other.txt");

  // The dialog opens at the last choice, with the two entries, every time.
  EXPECT_EQ(shown.chooser.lastChoicesSeen,
            (std::vector<std::string>{"", "", "/data/notes.txt", "/data/other.txt"}));
  EXPECT_EQ(shown.chooser.filterSeen, kChooserFilter);
  // Choosing changes nothing else.
  EXPECT_TRUE(shown.controls().lineKeepOption->isChecked());
  EXPECT_TRUE(shown.ResultShown().isEmpty());
  EXPECT_TRUE(IsIdle(shown));
}

TEST(FileChoice, TheSuffixIsAppendedToAnyName) {
  ShownWindow shown;
  shown.Choose("/data/notes");
  EXPECT_EQ(shown.window.controller().OutputPath(), "/data/notes_rev.txt");
  shown.Choose("/data/notes.txt_rev.txt");
  EXPECT_EQ(shown.window.controller().InputPath(), "/data/notes.txt_rev.txt");
  EXPECT_EQ(shown.window.controller().OutputPath(), "/data/notes.txt_rev.txt_rev.txt");
  EXPECT_EQ(shown.controls().fileLabel->text(), "/data/notes.txt_rev.txt");
}

TEST(FileChoice, TheLabelShowsAPathOfAnyCharactersAsItIs) {
  ShownWindow shown;
  shown.Choose("/data/\xC3\xBC<b>ber</b> & co.txt");
  EXPECT_EQ(shown.controls().fileLabel->text(), QString::fromUtf8("/data/\xC3\xBC<b>ber</b> & co.txt"));
  EXPECT_EQ(shown.window.controller().InputPath(), "/data/\xC3\xBC<b>ber</b> & co.txt");
}

// `quillon FILE`: the file is taken as the dialog's choice would be, its bytes as they are,
// and one that is missing is reported only when Revert is pressed.
TEST(FileChoice, AFileGivenToTheWindowIsTakenAsIfChosen) {
  ShownWindow shown;
  const std::string notUtf8 = "/no-such-folder/caf\xE9 \xFF.txt";
  shown.window.ChooseInput(notUtf8);
  EXPECT_EQ(shown.window.controller().InputPath(), notUtf8);
  EXPECT_EQ(shown.window.controller().OutputPath(), notUtf8 + "_rev.txt");
  EXPECT_EQ(shown.controls().fileLabel->text(), QFile::decodeName(QByteArray::fromStdString(notUtf8)));
  EXPECT_TRUE(shown.ResultShown().isEmpty());
  EXPECT_TRUE(IsIdle(shown));

  const MessageCatcher catcher;
  shown.ClickRevert();
  ASSERT_EQ(catcher.messages.size(), 1u);
  EXPECT_EQ(catcher.messages[0].text,
            QString::fromLocal8Bit("Cannot open \"" + notUtf8 + "\": No such file or directory"));
  EXPECT_TRUE(IsIdle(shown));

  // The dialog then opens at that file, as after a choice of its own.
  shown.Choose(std::nullopt);
  EXPECT_EQ(shown.chooser.lastChoicesSeen, std::vector<std::string>{notUtf8});
}

}  // namespace
}  // namespace quillon
