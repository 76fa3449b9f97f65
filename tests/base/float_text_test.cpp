// Tests of the general and fixed number texts.
#include "base/float_text.h"

#include <gtest/gtest.h>

namespace quorix {
namespace {

TEST(FormatGeneralTest, ShortestFormUpToFifteenDigits) {
  EXPECT_EQ(FormatGeneral(0), "0");
  EXPECT_EQ(FormatGeneral(30), "30");
  EXPECT_EQ(FormatGeneral(-45), "-45");
  EXPECT_EQ(FormatGeneral(12.5), "12.5");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatGeneral(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FormatGeneral(-2.0 / 3), "-0.666666666666667");
  EXPECT_EQ(FormatGeneral(123456789012345.0), "123456789012345");
  EXPECT_EQ(FormatGeneral(0.00001), "0.00001");
}

TEST(FormatGeneralTest, ExponentFormForVeryLargeAndSmallValues) {
  EXPECT_EQ(FormatGeneral(1e15), "1E15");
  EXPECT_EQ(FormatGeneral(1e20), "1E20");
  EXPECT_EQ(FormatGeneral(-1.5e-7), "-1.5E-7");
  EXPECT_EQ(FormatGeneral(9.99999999999999999e14), "1E15");  // rounds up into the next decade
}

TEST(FormatFixedPrecisionTest, DecimalsAfterRoundingToPrecision) {
  EXPECT_EQ(FormatFixedPrecision(123.456, 5, 1), "123.5");
  EXPECT_EQ(FormatFixedPrecision(-0.04, 5, 1), "0.0");
  EXPECT_EQ(FormatFixedPrecision(1234.56, 4, 1), "1235.0");
  EXPECT_EQ(FormatFixedPrecision(123456, 5, 1), "1.2346E+005");
}

}  // namespace
}  // namespace quorix
