// Number texts: decimals by magnitude, fixed with sign place, one decimal, the
// general form at 15 and 6 digits, fixed precision.
#include "base/number_format.h"

#include <gtest/gtest.h>

#include <limits>

namespace quorix {
namespace {

TEST(DecimalsFor, StepsDownAtEachPowerOfTen) {
  EXPECT_EQ(DecimalsFor(1000.5), 0);
  EXPECT_EQ(DecimalsFor(1000), 1);
  EXPECT_EQ(DecimalsFor(100.01), 1);
  EXPECT_EQ(DecimalsFor(100), 2);
  EXPECT_EQ(DecimalsFor(10), 3);
  EXPECT_EQ(DecimalsFor(3.701), 3);
  EXPECT_EQ(DecimalsFor(1), 4);
  EXPECT_EQ(DecimalsFor(-50), 4);
  EXPECT_EQ(DecimalsFor(std::numeric_limits<double>::quiet_NaN()), 4);
}

TEST(FormatFixed, SignPlaceTruncatedIntegerAndRoundedFraction) {
  EXPECT_EQ(FormatFixed(2, 3.14159), " 3.14");
  EXPECT_EQ(FormatFixed(1, -0.04), "-0.0");
  EXPECT_EQ(FormatFixed(0, 1234.9), " 1234");
  EXPECT_EQ(FormatFixed(0, -7.9), "-7");
  EXPECT_EQ(FormatFixed(3, 5), " 5.000");
  EXPECT_EQ(FormatFixed(4, 0.00005), " 0.0000");  // 0.5 of the last digit, to even
}

TEST(FormatFixed, RoundingCarriesIntoTheIntegerPart) {
  EXPECT_EQ(FormatFixed(1, 2.97), " 3.0");
  EXPECT_EQ(FormatFixed(1, 0.96), " 1.0");
  EXPECT_EQ(FormatFixed(2, -0.5), "-0.50");
  EXPECT_EQ(FormatFixed(2, 9.999), " 10.00");
}

TEST(FormatFixed, HalvesGoToEven) {
  EXPECT_EQ(FormatFixed(2, 0.125), " 0.12");
  EXPECT_EQ(FormatFixed(2, 0.375), " 0.38");
  EXPECT_EQ(FormatFixed(1, 0.25), " 0.2");
}

TEST(FormatFixed, ValuesWithoutANumberStillGiveText) {
  EXPECT_EQ(FormatFixed(3, std::numeric_limits<double>::quiet_NaN()), " NAN");
  EXPECT_EQ(FormatFixed(3, -std::numeric_limits<double>::infinity()), "-INF");
  EXPECT_EQ(FormatFixed(1, 1e300).substr(0, 5), " 1000");
}

TEST(FormatOneDecimal, NoSignPlace) {
  EXPECT_EQ(FormatOneDecimal(83.4), "83.4");
  EXPECT_EQ(FormatOneDecimal(360.1297), "360.1");
  EXPECT_EQ(FormatOneDecimal(0.96), "1.0");
  EXPECT_EQ(FormatOneDecimal(-2.25), "-2.2");
  EXPECT_EQ(FormatOneDecimal(0), "0.0");
  EXPECT_EQ(FormatOneDecimal(9999999.94), "9999999.9");
  EXPECT_EQ(FormatOneDecimal(12345678), "1.234568E+007");
  EXPECT_EQ(FormatOneDecimal(std::numeric_limits<double>::quiet_NaN()), "NAN");
}

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

TEST(FormatGeneralTest, SixDigitsForTheReadOut) {
  EXPECT_EQ(FormatGeneral(2, 6), "2");
  EXPECT_EQ(FormatGeneral(-1, 6), "-1");
  EXPECT_EQ(FormatGeneral(0, 6), "0");
  EXPECT_EQ(FormatGeneral(123456.7, 6), "123457");
  EXPECT_EQ(FormatGeneral(1234567, 6), "1.23457E6");
  EXPECT_EQ(FormatGeneral(0.000012345678, 6), "0.0000123457");
  EXPECT_EQ(FormatGeneral(0.0000012, 6), "1.2E-6");
  EXPECT_EQ(FormatGeneral(2.5, 6), "2.5");
}

TEST(FormatDecimalsTest, NeverNegativeZero) {
  EXPECT_EQ(FormatDecimals(-0.04, 1), "0.0");
  EXPECT_EQ(FormatDecimals(-0.06, 1), "-0.1");
  EXPECT_EQ(FormatDecimals(359.96, 1), "360.0");
}

}  // namespace
}  // namespace quorix
