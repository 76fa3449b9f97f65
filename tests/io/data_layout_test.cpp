// Layout detection and the picker lists of multi-pole-figure files.
#include "io/data_layout.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace quorix {
namespace {

using test::WriteTempFile;

TEST(DetectLayout, EachLayoutByItsMark) {
  CollectingSink sink;
  EXPECT_EQ(DetectLayout(WriteTempFile("a.xpe", "Copper 111   #\r\nmore\n"), sink).layout, DataLayout::Beartex);
  const auto xpo = DetectLayout(WriteTempFile("a.Xpo", "first line\n"), sink);
  EXPECT_EQ(xpo.layout, DataLayout::Beartex);
  EXPECT_TRUE(xpo.headerIsFirstLine);
  EXPECT_EQ(DetectLayout(WriteTempFile("a.dat", "1\n2\n3\n4\n5\n  wko = 2\n"), sink).layout, DataLayout::Geesthacht);
  EXPECT_EQ(DetectLayout(WriteTempFile("b.dat", "1\n2\n3\n4\n5\n"), sink).layout, DataLayout::Plain);
  EXPECT_EQ(DetectLayout(WriteTempFile("c.dat", "# not at the end\n"), sink).layout, DataLayout::Plain);
  EXPECT_EQ(DetectLayout(WriteTempFile("empty.dat", ""), sink).layout, DataLayout::Plain);
  EXPECT_TRUE(sink.messages.empty());
  const auto missing = DetectLayout("/nonexistent/d.dat", sink);
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(sink.messages.at(0), "File /nonexistent/d.dat does not exist");
}

TEST(PickerList, HashListNamesComeFromTheSixthLineAfterEachHeader) {
  const std::string block1 = "first #\n\n\n\n\nlattice\n   1  1  1xyz\n 1 2 3\n\n";
  const std::string block2 = "second #\r\n\r\n\r\n\r\n\r\nlattice\r\n   2  0  0\r\n 1 2\r\n";
  CollectingSink sink;
  const auto names = PickerList(WriteTempFile("p.xpe", block1 + block2 + "last #\n\n"), DataLayout::Beartex, sink);
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0], "   1  1  1");
  EXPECT_EQ(names[1], "   2  0  0");
  EXPECT_EQ(names[2], "");  // a header too near the end of the file
}

TEST(PickerList, XpoHeadersAreCopiesOfTheFirstLine) {
  const std::string block = "HEAD\n\n\n\n\n\nname one\n1\n";
  CollectingSink sink;
  const auto names = PickerList(WriteTempFile("p.xpo", block + block), DataLayout::Beartex, sink);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[1], "name one");
}

TEST(PickerList, WkoNamesFromEachBlockStart) {
  // A = 0, B = 12: M = 12, L = Nearest(1.7) = 2, blocks of 7 lines from line 5.
  std::string file = "t\nt\n  2\nt\n";
  file += "Name one    0  12\n WKO = 1\nx\nd\nd\nx\nx\n";
  file += "Name two    0  12\n WKO = 1\nx\nd\nd\nx\nx\n";
  CollectingSink sink;
  const auto names = PickerList(WriteTempFile("p.wko", file), DataLayout::Geesthacht, sink);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], "Name one ");
  EXPECT_EQ(names[1], "Name two ");
  // A header announcing more pole figures than the file holds stops at its end.
  file[4] = '9';
  file[5] = '9';
  EXPECT_EQ(PickerList(WriteTempFile("q.wko", file), DataLayout::Geesthacht, sink).size(), 2u);
}

}  // namespace
}  // namespace quorix
