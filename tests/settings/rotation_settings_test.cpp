// Tests of the rotation settings and the texts of the current rotation.
#include <gtest/gtest.h>

#include "settings/settings.h"

namespace quorix {
namespace {

RotationSettings Read(const std::string& text) { return ReadRotationSettings(IniFile::FromText(text)); }

TEST(RotationSettingsTest, DefaultsWithoutTheSection) {
  const RotationSettings s = Read("[Options]\nmrd = yes\n");
  EXPECT_TRUE(s.UpperHemisphere);
  EXPECT_FALSE(s.Triclin);
  EXPECT_EQ(s.DefaultMode, RotationMode::Matrix);
}

TEST(RotationSettingsTest, ValuesAreMatchedBySubstringInAnyLetterCase) {
  const RotationSettings s = Read("[ROTATION]\nHemis = Lower half\nsymmetry = TRIclinic\nrot = x y z\n");
  EXPECT_FALSE(s.UpperHemisphere);
  EXPECT_TRUE(s.Triclin);
  EXPECT_EQ(s.DefaultMode, RotationMode::List);
  EXPECT_EQ(Read("[Rotation]\nrot = list\n").DefaultMode, RotationMode::List);
  EXPECT_EQ(Read("[Rotation]\nrot = by any axis\n").DefaultMode, RotationMode::Matrix);
  EXPECT_EQ(Read("[Rotation]\nrot = max\n").DefaultMode, RotationMode::Matrix);
  EXPECT_EQ(Read("[Rotation]\nrot =\n").DefaultMode, RotationMode::List);  // present but empty
  EXPECT_TRUE(Read("[Rotation]\nhemis = upper\n").UpperHemisphere);
  EXPECT_FALSE(Read("[Rotation]\nsymmetry = monoclinic\n").Triclin);
}

TEST(AxisInfoTextTest, WholeDegreesOfAxisAndAngle) {
  EXPECT_EQ(AxisInfoText(IdentityMatrix()), "0/0  0");
  EXPECT_EQ(AxisInfoText(AxisAngleMatrix(0, 90, 60)), "0/90  60");
  EXPECT_EQ(AxisInfoText(AxisAngleMatrix(30.4, 44.6, 12.2)), "30/45  12");
  // An axis pointing into the upper hemisphere is shown by its antipode,
  // turning the other way.
  EXPECT_EQ(AxisInfoText(AxisAngleMatrix(0, 120, 30)), "180/60  -30");
}

TEST(RotationListTextTest, EntriesFromHeadToTail) {
  EXPECT_EQ(RotationListText({}), "no rotation");
  EXPECT_EQ(RotationListText({{'X', 30}, {'Z', -45}}), "X:30; Z:-45; ");
  EXPECT_EQ(RotationListText({{'Y', 12.5}, {'Y', 0.1}}), "Y:12.5; Y:0.1; ");
}

TEST(AxisButtonTest, TagsCycleThroughTheAxes) {
  int tag = 0;
  std::string captions;
  std::string letters;
  for (int i = 0; i < 5; ++i) {
    captions += AxisButtonCaption(tag) + ",";
    letters += AxisLetter(tag) ? AxisLetter(tag) : '-';
    tag = NextAxisTag(tag);
  }
  EXPECT_EQ(captions, "none,X-axis,Y-axis,Z-axis,none,");
  EXPECT_EQ(letters, "-XYZ-");
}

}  // namespace
}  // namespace quorix
