// Tests of the rotation dialog's working state: showing, "Add", "New", OK.
#include "transform/rotation_editor.h"

#include <gtest/gtest.h>

#include "base/ini_file.h"
#include "settings/settings.h"

namespace quorix {
namespace {

RotationEditor ShownEditor(const std::string& ini = "") {
  RotationEditor e;
  e.Reset();
  e.Show(ReadRotationSettings(IniFile::FromText(ini)));
  return e;
}

TEST(RotationEditorTest, ShowingAfterLoadingOffersAnyAxisWithoutRotation) {
  RotationEditor e = ShownEditor();
  EXPECT_EQ(e.Mode(), RotationMode::Matrix);
  EXPECT_EQ(e.AxisInfo(), "0/0  0");
  EXPECT_EQ(e.ListInfo(), "no rotation");
  EXPECT_TRUE(e.DisplayUnrotated());

  EXPECT_EQ(ShownEditor("[Rotation]\nrot = xyz\n").Mode(), RotationMode::List);
  EXPECT_EQ(ShownEditor("[Rotation]\nrot = Axis\n").Mode(), RotationMode::Matrix);
}

TEST(RotationEditorTest, ShowingKeepsAHandedOverRotation) {
  RotationEditor e;
  e.Load(RotationState{RotationMode::List, AxisAngleMatrix(0, 90, 45), RotationList{{'Y', 12.5}, {'X', -3}}});
  e.Show(ReadRotationSettings(IniFile::FromText("[Rotation]\nrot = axis\n")));
  EXPECT_EQ(e.Mode(), RotationMode::List);  // "rot" counts only without a rotation
  EXPECT_EQ(e.ListInfo(), "Y:12.5; X:-3; ");
  EXPECT_EQ(e.AxisInfo(), "0/90  45");
}

TEST(RotationEditorTest, AddingTwiceAccumulatesTheRotation) {
  RotationEditor e = ShownEditor();
  EXPECT_EQ(e.AddAxisAngle("0", "90", "30"), RotationEditor::kAllParsed);
  EXPECT_EQ(e.AddAxisAngle("0.0", "90.0", "30.0"), RotationEditor::kAllParsed);
  EXPECT_EQ(e.AxisInfo(), "0/90  60");
  // New starts from the identity before adding.
  e.New();
  EXPECT_EQ(e.AddAxisAngle("0", "90", "30"), RotationEditor::kAllParsed);
  EXPECT_EQ(e.AxisInfo(), "0/90  30");
}

TEST(RotationEditorTest, FieldThatDoesNotParseStopsAddWithoutChange) {
  RotationEditor e = ShownEditor();
  e.AddAxisAngle("0", "90", "30");
  EXPECT_EQ(e.AddAxisAngle("abc", "90", "30"), 0);
  EXPECT_EQ(e.AddAxisAngle("0", "", "30"), 1);
  EXPECT_EQ(e.AddAxisAngle("0", "90", "3,5"), 2);
  EXPECT_EQ(e.AxisInfo(), "0/90  30");
}

TEST(RotationEditorTest, AxisRowsAppendOnlyRowsWithAxisAndAngle) {
  RotationEditor e = ShownEditor("[Rotation]\nrot = list\n");
  EXPECT_EQ(e.AddAxisRows({{{1, "30"}, {0, "99"}, {3, "-45"}}}), RotationEditor::kAllParsed);
  EXPECT_EQ(e.ListInfo(), "X:30; Z:-45; ");
  EXPECT_EQ(e.AddAxisRows({{{2, "0.0"}, {0, "0.0"}, {0, "0.0"}}}), RotationEditor::kAllParsed);
  EXPECT_EQ(e.ListInfo(), "X:30; Z:-45; ");
  EXPECT_EQ(e.Mode(), RotationMode::List);
}

TEST(RotationEditorTest, EmptyListAfterAddMeansNoRotation) {
  RotationEditor e = ShownEditor("[Rotation]\nrot = list\n");
  EXPECT_EQ(e.AddAxisRows({{{1, "0"}, {2, "0.0"}, {0, "7"}}}), RotationEditor::kAllParsed);
  EXPECT_EQ(e.Mode(), RotationMode::None);
  EXPECT_EQ(e.ListInfo(), "no rotation");
  // In that state "Add" still works on the list.
  EXPECT_EQ(e.AddAxisRows({{{2, "15"}, {0, ""}, {0, ""}}}), RotationEditor::kAllParsed);
  EXPECT_EQ(e.ListInfo(), "Y:15; ");
}

TEST(RotationEditorTest, RowThatDoesNotParseStopsAfterTheRowsBefore) {
  RotationEditor e = ShownEditor("[Rotation]\nrot = list\n");
  EXPECT_EQ(e.AddAxisRows({{{1, "10"}, {2, "x"}, {3, "20"}}}), 1);
  ASSERT_EQ(e.Rotations().size(), 1u);
  EXPECT_EQ(e.Rotations()[0].axis, 'X');
  // New empties the list first.
  e.New();
  EXPECT_EQ(e.AddAxisRows({{{3, "5"}, {0, ""}, {0, ""}}}), RotationEditor::kAllParsed);
  EXPECT_EQ(e.ListInfo(), "Z:5; ");
}

TEST(RotationEditorTest, OkSetsTheDisplayRotationOfTheChosenKind) {
  RotationState display;
  display.List = {{'X', 10}};
  RotationEditor e;
  e.Load(display);
  e.Show(ReadRotationSettings(IniFile::FromText("[Rotation]\nsymmetry = Triclinic\n")));
  e.AddAxisAngle("0", "90", "30");
  e.ApplyToDisplay(display);
  EXPECT_FALSE(e.DisplayUnrotated());
  EXPECT_EQ(display.Mode, RotationMode::Matrix);
  EXPECT_TRUE(display.TriclinicSymmetry);
  EXPECT_NEAR(display.Matrix[1][1], AxisAngleMatrix(0, 90, 30)[1][1], 1e-12);
  ASSERT_EQ(display.List.size(), 1u);  // the list is not touched in mode Matrix

  e.SetMode(RotationMode::List);
  e.AddAxisRows({{{2, "20"}, {0, ""}, {0, ""}}});
  e.ApplyToDisplay(display);
  EXPECT_EQ(display.Mode, RotationMode::List);
  ASSERT_EQ(display.List.size(), 2u);
  EXPECT_EQ(display.List[1].axis, 'Y');
}

TEST(RotationEditorTest, OwnerListChangesOnlyWithOk) {
  RotationState display;
  display.Mode = RotationMode::List;
  display.List = {{'Z', 90}};
  RotationEditor e;
  e.Load(display);
  e.Show(ReadRotationSettings(IniFile()));
  e.New();
  e.AddAxisRows({{{1, "45"}, {0, ""}, {0, ""}}});
  // Cancel: the owner keeps what it had.
  ASSERT_EQ(display.List.size(), 1u);
  EXPECT_EQ(display.List[0].axis, 'Z');
}

TEST(RotationEditorTest, ResetForgetsTheRotation) {
  RotationEditor e;
  e.Load(RotationState{RotationMode::List, AxisAngleMatrix(10, 20, 30), RotationList{{'X', 5}}});
  e.SetDisplayUnrotated(false);
  e.Reset();
  EXPECT_EQ(e.Mode(), RotationMode::None);
  EXPECT_TRUE(e.Rotations().empty());
  EXPECT_TRUE(e.DisplayUnrotated());
  EXPECT_EQ(AxisInfoText(e.Matrix()), "0/0  0");
}

}  // namespace
}  // namespace quorix
