// Circle correction files: the exact line layout, reading the first number of
// each line, and the messages of short, broken and missing files.
#include "io/edt_file.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace quorix {
namespace {

TEST(EdtFile, WritesSinglePrecisionThenFourBlanksAndTheCircleAndReadsItBack) {
  const std::string name = (test::TempDir() / "two.edt").string();
  CollectingSink sink;
  ASSERT_TRUE(WriteEdtFile(name, {"1.5", "2"}, sink));
  EXPECT_EQ(test::ReadFile(name), "1.5    ;1\n2    ;2\n");
  EXPECT_EQ(EdtLine(1.1, 12), "1.10000002384186    ;12");

  ASSERT_TRUE(WriteEdtFile(name, {"1.1", "-3", "1e-7", "12345.678"}, sink));
  const EdtValues read = ReadEdtFile(name, 4, sink);
  ASSERT_TRUE(read.complete);
  // 15 digits hold a float exactly.
  const std::vector<float> expected = {1.1f, -3.0f, 1e-7f, 12345.678f};
  ASSERT_EQ(read.values.size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(static_cast<float>(read.values[k]), expected[k]);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(EdtFile, InvalidCellOrFolderWritesNothing) {
  const std::string name = test::WriteTempFile("older.edt", "7    ;1\n");
  const std::string nowhere = (test::TempDir() / "no_such_folder" / "x.edt").string();
  CollectingSink sink;
  EXPECT_FALSE(WriteEdtFile(name, {"1", "1,5", "2"}, sink));
  EXPECT_FALSE(WriteEdtFile(nowhere, {"1"}, sink));
  EXPECT_EQ(sink.messages, (std::vector<std::string>{"Invalid value on circle 2",
                                                     "Cannot open file " + nowhere + ": No such file or directory"}));
  EXPECT_EQ(test::ReadFile(name), "7    ;1\n");
}

TEST(EdtFile, ReadingTakesTheFirstNumberAndIgnoresTheRest) {
  CollectingSink sink;
  const EdtValues read = ReadEdtText("  2.5;7 junk\r\n+3e2\tcomment\r\n4    ;3\r\n5\n", 3, sink);
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_TRUE(read.complete);
  EXPECT_EQ(read.values, (std::vector<double>{2.5, 300, 4}));
}

TEST(EdtFile, ShortBrokenOrMissingFilesKeepTheValuesReadBefore) {
  CollectingSink sink;
  EdtValues read = ReadEdtText("1    ;1\n2    ;2\n", 4, sink);
  EXPECT_FALSE(read.complete);
  EXPECT_EQ(read.values, (std::vector<double>{1, 2}));
  read = ReadEdtText("1\n\n3\n", 3, sink);
  EXPECT_EQ(read.values, std::vector<double>{1});
  read = ReadEdtText("1\n2,5\n3\n", 3, sink);
  EXPECT_EQ(read.values, std::vector<double>{1});
  const std::string absent = (test::TempDir() / "absent.edt").string();
  read = ReadEdtFile(absent, 3, sink);
  EXPECT_FALSE(read.opened);
  EXPECT_EQ(sink.messages,
            (std::vector<std::string>{"To less or incorrect values on line 3", "To less or incorrect values on line 2",
                                      "To less or incorrect values on line 2", "Cannot open file " + absent}));
}

}  // namespace
}  // namespace quorix
