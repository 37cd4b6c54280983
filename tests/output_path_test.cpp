#include <gtest/gtest.h>

#include <set>

#include "modes/output_path.h"
#include "window/layout.h"

namespace quillon {
namespace {

TEST(OutputPath, AppendsTheSuffixWithoutLookingAtTheName) {
  EXPECT_EQ(OutputPathFor("/data/notes.txt"), "/data/notes.txt_rev.txt");
  EXPECT_EQ(OutputPathFor("/data/notes"), "/data/notes_rev.txt");
  EXPECT_EQ(OutputPathFor("/data/notes.txt_rev.txt"), "/data/notes.txt_rev.txt_rev.txt");
  EXPECT_EQ(OutputPathFor("/data/dir.d/"), "/data/dir.d/_rev.txt");
  EXPECT_NE(OutputPathFor("a"), "a");
}

TEST(Layout, EveryControlLiesInsideTheClientAreaWithATabStopOfItsOwn) {
  std::set<int> tabIndexes;
  for (const ControlLayout& control : kControls) {
    SCOPED_TRACE(std::string(control.Name));
    const PixelRect& r = control.Rect;
    EXPECT_GE(r.Left, 0);
    EXPECT_GE(r.Top, 0);
    EXPECT_GT(r.Width, 0);
    EXPECT_GT(r.Height, 0);
    EXPECT_LE(r.Left + r.Width, kClientWidth);
    EXPECT_LE(r.Top + r.Height, kClientHeight);
    EXPECT_TRUE(tabIndexes.insert(control.TabIndex).second) << "a second control at tab index " << control.TabIndex;
  }
  EXPECT_EQ(tabIndexes.size(), kControls.size());
  EXPECT_EQ(*tabIndexes.begin(), 0);
  EXPECT_EQ(*tabIndexes.rbegin(), static_cast<int>(kControls.size()) - 1);
}

}  // namespace
}  // namespace quillon
