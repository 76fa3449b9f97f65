// Where the further pole figure windows open beside the main window.
#include <gtest/gtest.h>

#include "workflow/window_geometry.h"

namespace quorix {
namespace {

bool Overlap(const WindowBox& a, const WindowBox& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

bool Inside(const WindowBox& box, const WindowBox& screen) {
  return box.left >= screen.left && box.top >= screen.top && box.left + box.width <= screen.left + screen.width &&
         box.top + box.height <= screen.top + screen.height;
}

// The main window's title, menus and tool bar.
WindowBox MenuBand(const WindowBox& main, int keepClear) { return {main.left, main.top, main.width, keepClear}; }

TEST(WindowPlacement, SevenWindowsOnALargeScreenLeaveTheMainWindowFree) {
  const WindowBox screen{0, 0, 2560, 1400};
  const WindowBox main{0, 0, 940, 760};
  const std::vector<WindowBox> boxes = PlaceBesideMain(screen, main, 450, 310, 7, 100);
  ASSERT_EQ(boxes.size(), 7u);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_TRUE(Inside(boxes[i], screen)) << i;
    EXPECT_FALSE(Overlap(boxes[i], main)) << i;
    for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(boxes[i], boxes[j])) << i << " " << j;
  }
  // Tiled right of the main window first, row by row.
  EXPECT_EQ(boxes[0].left, 940);
  EXPECT_EQ(boxes[0].top, 0);
  EXPECT_EQ(boxes[1].left, 1390);
  EXPECT_EQ(boxes[1].top, 0);
}

TEST(WindowPlacement, AFullScreenStillKeepsTheMenusReachable) {
  // 1600 x 1000 with eight pole figures: three fit beside, the rest cascade
  // over the plot but never over the menus and tool bar.
  const WindowBox screen{0, 0, 1600, 1000};
  const int keepClear = 95;
  for (const WindowBox& main : {WindowBox{0, 0, 915, 735}, WindowBox{300, 150, 915, 735}, screen}) {
    const std::vector<WindowBox> boxes = PlaceBesideMain(screen, main, 449, 306, 7, keepClear);
    ASSERT_EQ(boxes.size(), 7u);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_TRUE(Inside(boxes[i], screen)) << main.left << " " << i;
      EXPECT_FALSE(Overlap(boxes[i], MenuBand(main, keepClear))) << main.left << " " << i;
    }
    // No two windows at the same place: each title bar can be reached.
    for (std::size_t i = 0; i < boxes.size(); ++i)
      for (std::size_t j = 0; j < i; ++j)
        EXPECT_FALSE(boxes[i].left == boxes[j].left && boxes[i].top == boxes[j].top) << i << " " << j;
  }
}

TEST(WindowPlacement, TheFreeSideIsUsedWhereverTheMainWindowStands) {
  const WindowBox screen{0, 0, 1920, 1080};
  // Main window at the right edge: the windows go to its left.
  const WindowBox right{1000, 0, 920, 700};
  const std::vector<WindowBox> leftOfMain = PlaceBesideMain(screen, right, 450, 300, 2);
  ASSERT_EQ(leftOfMain.size(), 2u);
  for (const WindowBox& b : leftOfMain) {
    EXPECT_FALSE(Overlap(b, right));
    EXPECT_LT(b.left + b.width, 1001);
  }
  // A second screen to the right of the first: its own coordinates count.
  const WindowBox second{1920, 0, 1920, 1080};
  const WindowBox onSecond{1920, 0, 900, 700};
  const std::vector<WindowBox> besideOnSecond = PlaceBesideMain(second, onSecond, 450, 300, 4);
  ASSERT_EQ(besideOnSecond.size(), 4u);
  for (const WindowBox& b : besideOnSecond) {
    EXPECT_TRUE(Inside(b, second));
    EXPECT_FALSE(Overlap(b, onSecond));
  }
}

TEST(WindowPlacement, DegenerateRequests) {
  const WindowBox screen{0, 0, 800, 600};
  EXPECT_TRUE(PlaceBesideMain(screen, {0, 0, 500, 400}, 450, 300, 0).empty());
  EXPECT_TRUE(PlaceBesideMain(screen, {0, 0, 500, 400}, 0, 300, 3).empty());
  // Windows larger than the screen start at its corner rather than off it.
  const std::vector<WindowBox> large = PlaceBesideMain(screen, {0, 0, 800, 600}, 1000, 700, 3);
  ASSERT_EQ(large.size(), 3u);
  for (const WindowBox& b : large) {
    EXPECT_GE(b.left, 0);
    EXPECT_GE(b.top, 0);
  }
  // A main window partly off the screen.
  const std::vector<WindowBox> partlyOff = PlaceBesideMain(screen, {-300, -50, 600, 400}, 300, 200, 5);
  ASSERT_EQ(partlyOff.size(), 5u);
  for (const WindowBox& b : partlyOff) EXPECT_TRUE(Inside(b, screen));
}

}  // namespace
}  // namespace quorix
