// Window sizes from keys, wheel and start-up size; navigation through file series.
#include <gtest/gtest.h>

#include "base/nearest.h"
#include "plot/export_names.h"
#include "workflow/file_series.h"
#include "workflow/window_geometry.h"

namespace quorix {
namespace {

TEST(WindowGeometry, PageUpTwiceFromMinimumGoesToMidThenMax) {
  WindowBox w{100, 100, 532, 435};
  w = PageUpSize(w);
  EXPECT_EQ(w.width, 732);  // Nearest(731.5), halves to even
  EXPECT_EQ(w.height, 599);
  EXPECT_EQ(w.left, 100 + Nearest(-100.0));
  EXPECT_EQ(w.top, 100 - 82);
  w = PageUpSize(w);
  EXPECT_EQ(w.width, 931);
  EXPECT_EQ(w.height, 763);
  w = PageDownSize(w);
  EXPECT_EQ(w.height, 599);
  w = PageDownSize(w);
  EXPECT_EQ(w.height, 435);
  EXPECT_EQ(w.width, 532);
}

TEST(WindowGeometry, WheelStepsAndLimits) {
  WindowBox w{0, 0, 900, 750};
  const WindowBox grown = WheelSize(w, 120);
  EXPECT_EQ(grown.width, 931);
  EXPECT_EQ(grown.height, 763);
  const WindowBox shrunk = WheelSize(w, -120);
  EXPECT_EQ(shrunk.width, Nearest(900 - 931 / 24.0));
  EXPECT_EQ(shrunk.height, Nearest(750 - 763 / 24.0));
  EXPECT_EQ(shrunk.top, Nearest((750 - shrunk.height) / 2.0));
  EXPECT_EQ(WheelSize({0, 0, 540, 440}, -1).width, 532);
}

TEST(WindowGeometry, StartupSizeBetweenSmallestAndLargest) {
  const WindowBox full = StartupSize({10, 20, 915, 705}, 100);
  EXPECT_EQ(full.width, 931);
  EXPECT_EQ(full.height, 763);
  EXPECT_EQ(full.left, 10);
  EXPECT_EQ(full.top, 20);
  const WindowBox half = StartupSize({10, 20, 915, 705}, 50);
  EXPECT_EQ(half.width, 532);
  EXPECT_EQ(half.height, 435);
  EXPECT_EQ(half.left, 10 + Nearest(931 / 4.0));
  EXPECT_EQ(half.top, 20 + Nearest(763 / 4.0));
}

TEST(FileSeries, PlainSeriesByKeys) {
  EXPECT_EQ(NextInSeries("run_x09", 1, false, SeriesKey::Right)->name, "run_x10");
  EXPECT_EQ(NextInSeries("run_x10", 1, false, SeriesKey::Left)->name, "run_x09");
  EXPECT_EQ(NextInSeries("run_x00", 1, false, SeriesKey::Left)->name, "run_x255");  // one byte wraps
  EXPECT_EQ(NextInSeries("run_x99", 1, false, SeriesKey::Right)->name, "run_x100");
  EXPECT_EQ(NextInSeries("run_x17", 4, false, SeriesKey::Digit, '5')->name, "run_x05");
  EXPECT_EQ(NextInSeries("run_x17", 4, false, SeriesKey::Digit, '5')->pfIndex, 1);
  EXPECT_EQ(NextInSeries("run_x17", 1, false, SeriesKey::Letter, 'A')->name, "run_x10");
  EXPECT_EQ(NextInSeries("run_x17", 1, false, SeriesKey::Letter, 'K')->name, "run_x20");
  EXPECT_EQ(NextInSeries("run_x17", 1, false, SeriesKey::Letter, 'Z')->name, "run_x35");
  EXPECT_FALSE(NextInSeries("run.pol", 1, false, SeriesKey::Right));
  EXPECT_FALSE(NextInSeries("x", 1, false, SeriesKey::Digit, '3'));
}

TEST(FileSeries, MultiPoleFigureFilesStepTheIndex) {
  EXPECT_EQ(NextInSeries("a.xpe", -3, true, SeriesKey::Right)->pfIndex, 4);
  EXPECT_EQ(NextInSeries("a.xpe", -3, true, SeriesKey::Left)->pfIndex, 2);
  EXPECT_EQ(NextInSeries("a.xpe", 2, true, SeriesKey::Digit, '5')->pfIndex, 5);
  EXPECT_EQ(NextInSeries("a.xpe", 2, true, SeriesKey::Letter, 'C')->pfIndex, 12);
  EXPECT_EQ(NextInSeries("a.xpe", 2, true, SeriesKey::Letter, 'C')->name, "a.xpe");
}

TEST(ExportNames, ProposedSingleAndAllNames) {
  EXPECT_EQ(ProposedPlotName("/data/quartz.xpo"), "/data/quartz_xpo");
  EXPECT_EQ(ProposedPlotName("/home/a.b/quartz.x.y"), "/home/a.b/quartz_x.y");
  EXPECT_EQ(SinglePlotName("out", ".plt"), "out_1.plt");
  EXPECT_EQ(SinglePlotName("out.hpg", ".plt"), "out.hpg");
  EXPECT_EQ(PlotBaseName("/plots/run.plt"), "/plots/run");
  EXPECT_EQ(NumberedPlotName(PlotBaseName("/plots/run.plt"), 4, ".plt"), "/plots/run_4.plt");
  EXPECT_EQ(PlotBaseName("r.abcdefghijkl"), "rjkl");  // keeps what follows the ninth character
  auto pf = NewPoleFigure();
  EXPECT_EQ(PlotTitleOf(*pf), "");
  pf->IndexInFile = 2;
  pf->NameInFile = "   2  0  0";
  EXPECT_EQ(PlotTitleOf(*pf), "[   2  0  0]");
}

}  // namespace
}  // namespace quorix
