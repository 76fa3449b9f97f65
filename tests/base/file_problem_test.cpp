// The one wording of a file problem, and the labelling where several files are read.
#include <gtest/gtest.h>

#include "base/message_sink.h"

namespace quorix {
namespace {

TEST(FileProblem, OneWordingForEveryRoleWithAndWithoutALine) {
  EXPECT_EQ(FormatProblem({"a.pol", 3, "\"x\" is not a number."}), "Data file a.pol, line 3: \"x\" is not a number.");
  EXPECT_EQ(FormatProblem({"g.rst", 0, "no circles found.", Severity::Error, FileRole::Grid}),
            "Grid file g.rst: no circles found.");
  EXPECT_EQ(FormatProblem({"o.xpe", 0, "cannot be written.", Severity::Error, FileRole::Output}),
            "Output file o.xpe: cannot be written.");
  // A fixed sentence stands alone where only one file is read...
  const FileProblem fixed{"a.pol", 0, "Expected 9 data, found 0.", Severity::Error, FileRole::Data, false};
  EXPECT_EQ(FormatProblem(fixed), "Expected 9 data, found 0.");
  // ...and is labelled with its file where several are; other texts pass unchanged.
  CollectingSink collected;
  FileNamingSink named(collected);
  named.Problem(fixed);
  named.Message("File b.pol does not exist");
  EXPECT_EQ(collected.messages,
            (std::vector<std::string>{"Data file a.pol: Expected 9 data, found 0.", "File b.pol does not exist"}));
  ASSERT_EQ(collected.problems.size(), 1u);
  EXPECT_TRUE(collected.problems[0].labelled);
}

}  // namespace
}  // namespace quorix
