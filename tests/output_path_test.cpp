#include <gtest/gtest.h>

#include "window/layout.h"
#include "modes/output_path.h"

namespace quillon {
namespace {

TEST(OutputPath, AppendsTheSuffixWithoutLookingAtTheName) {
  EXPECT_EQ(OutputPathFor("/data/notes.txt"), "/data/notes.txt_rev.txt");
  EXPECT_EQ(OutputPathFor("/data/notes"), "/data/notes_rev.txt");
  EXPECT_EQ(OutputPathFor("/data/notes.txt_rev.txt"), "/data/notes.txt_rev.txt_rev.txt");
  EXPECT_EQ(OutputPathFor("/data/dir.d/"), "/data/dir.d/_rev.txt");
  EXPECT_NE(OutputPathFor("a"), "a");
}

TEST(Layout, EveryShownControlLiesInsideTheClientAreaOnWholePixels) {
  for (const ControlLayout& control : kControls) {
    if (control.Kind == ControlKind::FileChooser) continue;
    SCOPED_TRACE(std::string(control.Name));
    const TwipRect& r = control.Twips;
    EXPECT_EQ(r.Left % kTwipsPerPixel + r.Top % kTwipsPerPixel + r.Width % kTwipsPerPixel + r.Height % kTwipsPerPixel, 0);
    EXPECT_LE(r.Left + r.Width, kClientWidthTwips);
    EXPECT_LE(r.Top + r.Height, kClientHeightTwips);
  }
  EXPECT_EQ(TwipsToPixels(ControlNamed("txtResult").Twips.Width), 857);
  EXPECT_THROW(ControlNamed("nothing"), std::out_of_range);
}

}  // namespace
}  // namespace quillon
