#include "ui/layout.h"

#include <gtest/gtest.h>

#include "ui/captions.h"

namespace {

struct Scaling {
  int dpi;
  int clientWidth, clientHeight, clockFont, promptFont, captionFont;
};

class LayoutScaling : public testing::TestWithParam<Scaling> {};

// The window keeps its physical size at every display scaling.
TEST_P(LayoutScaling, ClientAreaAndFontsFollowTheDpi) {
  const Scaling& s = GetParam();
  EXPECT_EQ(TwipsToPixels(kClientWidthTwips, s.dpi), s.clientWidth);
  EXPECT_EQ(TwipsToPixels(kClientHeightTwips, s.dpi), s.clientHeight);
  EXPECT_EQ(PointsToPixels(kClockFont.hundredthsOfPoint, s.dpi), s.clockFont);
  EXPECT_EQ(PointsToPixels(kPromptFont.hundredthsOfPoint, s.dpi), s.promptFont);
  EXPECT_EQ(PointsToPixels(kCaptionFont.hundredthsOfPoint, s.dpi), s.captionFont);
}

INSTANTIATE_TEST_SUITE_P(Table, LayoutScaling,
                         testing::Values(Scaling{96, 419, 278, 35, 16, 14},
                                         Scaling{120, 524, 348, 44, 20, 18},
                                         Scaling{144, 629, 417, 53, 24, 21},
                                         Scaling{192, 838, 556, 70, 32, 28}));

// The band is 6400 twips wide: 426.67 pixels, drawn as 427.
TEST(Layout, TwipsRoundToTheNearestPixel) {
  EXPECT_EQ(TwipsToPixels(kShape2.width, 96), 427);
  EXPECT_EQ(TwipsToPixels(7, 96), 0);
  EXPECT_EQ(TwipsToPixels(8, 96), 1);
}

// The one place the tests state the interval caption; they read it from
// IntervalCaption everywhere else.
TEST(IntervalCaption, NamesTheMinutes) {
  EXPECT_EQ(IntervalCaption(100), L"每隔 100 分钟校时一次");
}

}  // namespace
