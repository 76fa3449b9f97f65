// Layout of the screen plot read from a recording canvas, and the display
// rotation the plot draws through.
#include "plot/render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "math/vector_math.h"
#include "plot/display_rotation.h"
#include "plot/recording_canvas.h"
#include "record/circle_links.h"
#include "test_support.h"

namespace quorix {
namespace {

constexpr Color kBlack = 0, kRed = 0x0000FF, kBlue = 0xFF0000;

// The centre peak with two levels and its statistics.
std::unique_ptr<PoleFigure> CentrePeak() {
  auto pf = test::CentrePeak();
  pf->Level[1] = 2, pf->Level[2] = 5;
  pf->LevelCount = 2;
  pf->NormFactor = 4;
  pf->SampledShare = 1;
  pf->MaxValue = 10, pf->MaxCircle = 1, pf->MaxPoint = 1;
  pf->MinValue = 1, pf->MinCircle = 3, pf->MinPoint = 1;
  pf->LowestLevel = 0.5;
  pf->FileName = "/data/peak.xpo";
  return pf;
}

ProgramState State() {
  ProgramState state;
  state.ContourColor[1] = 0x00FF00;
  state.ContourColor[2] = -11;  // unset colours draw black
  return state;
}

const CanvasOp* FindText(const RecordingCanvas& c, const std::string& prefix) {
  for (const CanvasOp& op : c.ops)
    if (op.kind == CanvasOpKind::Text && op.text.rfind(prefix, 0) == 0) return &op;
  return nullptr;
}

std::vector<CanvasOp> OpsOf(const RecordingCanvas& c, CanvasOpKind kind) {
  std::vector<CanvasOp> out;
  std::copy_if(c.ops.begin(), c.ops.end(), std::back_inserter(out),
               [&](const CanvasOp& op) { return op.kind == kind; });
  return out;
}

TEST(PlotLayout, FullSizePlot) {
  auto pf = CentrePeak();
  RecordingCanvas c;
  const PlotResult r = PlotPoleFigure(*pf, State(), c, 650, 910, "");
  EXPECT_EQ(r.sizePercentage, 100);
  EXPECT_TRUE(r.showSizeLabel);
  EXPECT_EQ(r.SizeLabel(), "100 %");
  EXPECT_EQ(c.fontName, kPlotFontName);
  EXPECT_EQ(c.FontSize(), 12);

  const std::vector<CanvasOp> rects = OpsOf(c, CanvasOpKind::Rectangle);
  ASSERT_EQ(rects.size(), 3u);
  EXPECT_EQ(rects[0].x2, 2730);  // background, 3 x Nearest(1.4 x 650)
  EXPECT_EQ(rects[0].y2, 1950);
  EXPECT_EQ(rects[0].brush, 0xFFFFFFu);
  // Legend bars 17 pixels apart, in the level colours.
  EXPECT_EQ(rects[1].x1, 650);
  EXPECT_EQ(rects[1].y1, 17);
  EXPECT_EQ(rects[1].x2, 680);
  EXPECT_EQ(rects[1].y2, 19);
  EXPECT_EQ(rects[1].pen, 0x00FF00u);
  EXPECT_EQ(rects[2].y1, 34);
  EXPECT_EQ(rects[2].pen, kBlack);

  const CanvasOp* legend = FindText(c, " 2.000");
  ASSERT_NE(legend, nullptr);
  EXPECT_EQ(legend->x1, 690);
  EXPECT_EQ(legend->y1, 9);
  const CanvasOp* name = FindText(c, "peak.xpo");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->x1, 650);
  EXPECT_EQ(name->y1, 616);
  const CanvasOp* proj = FindText(c, "Equ. angular low. hem. proj.");
  ASSERT_NE(proj, nullptr);
  EXPECT_EQ(proj->y1, 650 - 3 * 17);
  const CanvasOp* max = FindText(c, "max:   10.000  at   0.0 /  0.0");
  ASSERT_NE(max, nullptr);
  EXPECT_EQ(max->y1, 650 - 5 * 17);
  const CanvasOp* min = FindText(c, "min:    1.000  at   0.0 /  60.0");
  ASSERT_NE(min, nullptr);
  EXPECT_EQ(min->y1, 650 - 6 * 17);
  const CanvasOp* area = FindText(c, "A:  225.0%");
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->y1, 4 * 17 - 8);
  EXPECT_EQ(FindText(c, "Rotation:"), nullptr);
}

TEST(PlotLayout, ZoomPutsTheOutermostMeasuredCircleOnTheRimAndSaysSo) {
  auto pf = CentrePeak();
  ProgramState state = State();
  EXPECT_EQ(PlotRimTilt(*pf, state), 90);  // the full circle unless asked
  state.Options.ZoomToMeasured = true;
  EXPECT_EQ(PlotRimTilt(*pf, state), 60);
  test::SetCircle(*pf, 3, {-1, -1, -1, -1});
  EXPECT_EQ(PlotRimTilt(*pf, state), 30);
  test::SetCircle(*pf, 3, {-1, 2, -1, -1});  // one value keeps the circle
  EXPECT_EQ(PlotRimTilt(*pf, state), 60);
  test::SetCircle(*pf, 3, {1, 1, 1, 1});

  RecordingCanvas zoomed;
  PlotPoleFigure(*pf, state, zoomed, 650, 910, "");
  const CanvasOp* note = FindText(zoomed, "zoom: tilt 0-60\u00b0");
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->y1, 650 - 4 * 17);  // below the projection line
  // The green level (2) lies between the circles at 30 and 60 degrees: zoomed, its line moves outward.
  auto farthest = [](const RecordingCanvas& c) {
    int r = 0;
    for (const CanvasOp& op : c.ops)
      if (op.kind == CanvasOpKind::LineTo && op.pen == 0x00FF00u)
        r = std::max(r, std::abs(op.x1 - 325) + std::abs(op.y1 - 325));
    return r;
  };
  state.Options.ZoomToMeasured = false;
  RecordingCanvas full;
  PlotPoleFigure(*pf, state, full, 650, 910, "");
  EXPECT_EQ(FindText(full, "zoom:"), nullptr);
  EXPECT_GT(farthest(zoomed), farthest(full));

  state.Rotation.Mode = RotationMode::Matrix;  // a turned plot keeps the full circle
  state.Options.ZoomToMeasured = true;
  EXPECT_EQ(PlotRimTilt(*pf, state), 90);
}

TEST(PlotLayout, FontAndLineHeightFollowTheSize) {
  struct Case {
    int h, w, pct, font, nameY;
    bool label;
  };
  const Case cases[] = {
      {400, 560, 62, 8, 400 - 2 * 11, true},   // 40..66: size 8, line 11
      {300, 420, 46, 8, 300 - 2 * 11, false},  // below half size: no size label
      {319, 447, 49, 8, 319 - 2 * 11, false},   {500, 700, 77, 10, 500 - 2 * 14, true},  // 67..83: size 10, line 14
      {780, 1092, 120, 14, 780 - 2 * 19, true},  // beyond full size: scaled, line size + 5
      {254, 356, 39, 5, 254 - 2 * 10, false},
  };
  auto pf = CentrePeak();
  for (const Case& k : cases) {
    RecordingCanvas c;
    const PlotResult r = PlotPoleFigure(*pf, State(), c, k.h, k.w, "");
    EXPECT_EQ(r.sizePercentage, k.pct) << k.h;
    EXPECT_EQ(r.showSizeLabel, k.label) << k.h;
    EXPECT_EQ(c.FontSize(), k.font) << k.h;
    const CanvasOp* name = FindText(c, "peak.xpo");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->y1, k.nameY) << k.h;
  }
}

TEST(PlotLayout, NormalisationLineInMrd) {
  auto pf = CentrePeak();
  pf->LevelCount = 0;
  pf->NormFactor = 123.4, pf->MaxValue = 456.7, pf->MinValue = 12.3;
  ProgramState state = State();
  state.Options.ShowMrd = true;
  RecordingCanvas c;
  PlotPoleFigure(*pf, state, c, 650, 910, "[t]");
  const CanvasOp* norm = FindText(c, "norm:");
  ASSERT_NE(norm, nullptr);
  EXPECT_EQ(norm->text, "norm:   123.4      A:  360.1%");
  EXPECT_EQ(norm->y1, 2 * 17 - 8);
  EXPECT_NE(FindText(c, "max:   3.701  at "), nullptr);
  EXPECT_NE(FindText(c, "min:   0.100  at "), nullptr);
  const CanvasOp* title = FindText(c, "[t]");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->x1, 10);
  EXPECT_EQ(title->y1, 616);
}

TEST(PlotLayout, AddedFilesAreListedAboveTheProjection) {
  auto pf = CentrePeak();
  ProgramState state = State();
  state.AddListFiles = {"/a/one.xpo", "C:\\b\\two.xpo"};
  RecordingCanvas c;
  PlotPoleFigure(*pf, state, c, 650, 910, "");
  ASSERT_NE(FindText(c, "one.xpo"), nullptr);
  EXPECT_EQ(FindText(c, "one.xpo")->y1, 650 - 3 * 17);
  EXPECT_EQ(FindText(c, "two.xpo")->y1, 650 - 4 * 17);
  EXPECT_EQ(FindText(c, "Equ. angular")->y1, 650 - 5 * 17);
  EXPECT_EQ(FindText(c, "max:")->y1, 650 - 7 * 17);
}

TEST(PlotOutline, FullCircleWithTicks) {
  auto pf = CentrePeak();
  pf->LevelCount = 0;
  ProgramState state = State();
  state.Options.DrawGrid = false;
  RecordingCanvas c;
  PlotPoleFigure(*pf, state, c, 650, 910, "");
  const std::vector<CanvasOp> ellipses = OpsOf(c, CanvasOpKind::Ellipse);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].x1, 10);
  EXPECT_EQ(ellipses[0].x2, 641);
  EXPECT_EQ(ellipses[0].y2, 641);
  EXPECT_EQ(ellipses[0].brushStyle, BrushStyle::Clear);
  const std::vector<CanvasOp> lines = OpsOf(c, CanvasOpKind::LineTo);
  ASSERT_EQ(lines.size(), 4u);
  // Stereographic: alpha 92 lands at 651 on the right.
  EXPECT_EQ(lines[0].x1, 651);
  EXPECT_EQ(lines[0].y1, 325);
  EXPECT_EQ(lines[1].x1, 325);
  EXPECT_EQ(lines[1].y1, -1);
  EXPECT_EQ(lines[0].pen, kBlack);
}

TEST(PlotOutline, HalfCircleSectorWithoutTicks) {
  auto pf = CentrePeak();
  pf->LevelCount = 0;
  pf->BetaRange = 180;
  ProgramState state = State();
  state.Options.DrawGrid = false;
  RecordingCanvas c;
  PlotPoleFigure(*pf, state, c, 650, 910, "");
  EXPECT_TRUE(OpsOf(c, CanvasOpKind::Ellipse).empty());
  const std::vector<CanvasOp> arcs = OpsOf(c, CanvasOpKind::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  // From beta 0 counter-clockwise to beta 175: 315 (cos, -sin) 175 degrees.
  EXPECT_EQ(arcs[0].x2, 640);
  EXPECT_EQ(arcs[0].x3, 640);
  EXPECT_EQ(arcs[0].y3, 325);
  EXPECT_EQ(arcs[0].x4, 11);
  EXPECT_EQ(arcs[0].y4, 298);
  const std::vector<CanvasOp> lines = OpsOf(c, CanvasOpKind::LineTo);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].x1, 325);
  EXPECT_EQ(lines[0].y1, 325);
  EXPECT_EQ(lines[1].x1, 640);
  EXPECT_EQ(lines[1].y1, 325);
}

TEST(PlotMarks, LowPointsBlackOrRedByValue) {
  auto pf = CentrePeak();
  pf->LevelCount = 0;
  pf->LowestLevel = 1.0;
  pf->Intensity[3][1] = 0.5, pf->Intensity[3][2] = -0.3, pf->Intensity[3][3] = -1, pf->Intensity[3][4] = 2;
  RecordingCanvas c;
  PlotPoleFigure(*pf, State(), c, 650, 910, "");
  std::vector<CanvasOp> dots;
  for (std::size_t i = 1; i < c.ops.size(); ++i) {
    const CanvasOp& a = c.ops[i - 1];
    const CanvasOp& b = c.ops[i];
    if (a.kind == CanvasOpKind::MoveTo && b.kind == CanvasOpKind::LineTo && b.x1 == a.x1 + 1 && b.y1 == a.y1)
      dots.push_back(a);
  }
  ASSERT_EQ(dots.size(), 2u);
  // tan(30) x 315 = 181.9 from the centre at beta 0 and beta 90.
  EXPECT_EQ(dots[0].x1, 325 + 182);
  EXPECT_EQ(dots[0].pen, kBlack);
  EXPECT_EQ(dots[1].y1, 325 - 182);
  EXPECT_EQ(dots[1].pen, kRed);
}

TEST(PlotMarks, GridMarksAloneLandWhereThePlotPutsThem) {
  auto pf = CentrePeak();
  pf->LevelCount = 0;
  pf->LowestLevel = 1.0;
  pf->Intensity[3][1] = 0.5, pf->Intensity[3][2] = -0.3;
  const auto dotsOf = [](const RecordingCanvas& c) {
    std::vector<std::pair<int, int>> dots;
    for (std::size_t i = 1; i < c.ops.size(); ++i)
      if (c.ops[i - 1].kind == CanvasOpKind::MoveTo && c.ops[i].kind == CanvasOpKind::LineTo &&
          c.ops[i].x1 == c.ops[i - 1].x1 + 1 && c.ops[i].y1 == c.ops[i - 1].y1)
        dots.emplace_back(c.ops[i - 1].x1, c.ops[i - 1].y1);
    return dots;
  };
  // A surface narrower than 1.4 x its height shrinks the plot; the marks follow.
  for (auto [h, w] : {std::pair{650, 910}, std::pair{600, 700}}) {
    RecordingCanvas full, marks;
    PlotPoleFigure(*pf, State(), full, h, w, "");
    DrawLowPoints(*pf, State(), marks, h, w);
    ASSERT_EQ(dotsOf(marks).size(), 2u);
    EXPECT_EQ(dotsOf(marks), dotsOf(full)) << w;
  }
}

TEST(PlotMarks, EigenvaluesAndDroppedEigenvectors) {
  auto pf = CentrePeak();
  pf->Eigenvalue = {0, 1.5, 1.0, 0.5};
  pf->EigenAlpha = {0, 45, 10, 0};
  pf->EigenBeta = {0, 270, 90, 0};
  ProgramState state = State();
  state.Options.ShowEigenvalues = true;
  RecordingCanvas plain;
  PlotPoleFigure(*pf, state, plain, 650, 910, "");
  EXPECT_EQ(OpsOf(plain, CanvasOpKind::Ellipse).size(), 1u + 3u);
  const CanvasOp* e1 = FindText(plain, "e1:    1.500  at   270.0 /  45.0");
  ASSERT_NE(e1, nullptr);
  EXPECT_EQ(e1->y1, 650 - 11 * 17);
  EXPECT_EQ(FindText(plain, "e3:")->y1, 650 - 9 * 17);
  EXPECT_EQ(FindText(plain, "T= ")->y1, 650 - 8 * 17);

  // About X by 90 degrees, beta 270 leaves the hemisphere; "triclin" drops it.
  state.Rotation.Mode = RotationMode::List;
  state.Rotation.List = {{'X', 90}, {'Z', -45}};
  state.Rotation.TriclinicSymmetry = true;
  RecordingCanvas turned;
  PlotPoleFigure(*pf, state, turned, 650, 910, "");
  EXPECT_EQ(OpsOf(turned, CanvasOpKind::Ellipse).size(), 1u + 2u);
  EXPECT_EQ(FindText(turned, "Rotation:")->y1, 10);
  EXPECT_EQ(FindText(turned, "X:90")->y1, 17 + 10);
  EXPECT_EQ(FindText(turned, "Z:-45")->y1, 2 * 17 + 10);
}

TEST(PlotMarks, TrianglesInBlueAndRed) {
  auto pf = CentrePeak();
  pf->LevelCount = 0;
  ProgramState state = State();
  state.Options.DrawTriangles = true;
  state.Options.DrawGrid = false;
  RecordingCanvas c;
  PlotPoleFigure(*pf, state, c, 650, 910, "");
  int inner = 0, outer = 0;
  for (const CanvasOp& op : OpsOf(c, CanvasOpKind::MoveTo)) {
    inner += op.pen == kBlue;
    outer += op.pen == kRed;
  }
  EXPECT_EQ(inner, 8);  // circle 2 to the centre, circle 3 to circle 2
  EXPECT_EQ(outer, 4);
}

TEST(PlotRotation, MatrixNoteDescribesTheDrawnRotation) {
  auto pf = CentrePeak();
  ProgramState state = State();
  state.Rotation.Mode = RotationMode::Matrix;
  state.Rotation.Matrix = AxisAngleMatrix(0, 90, 30);
  const Mat3 before = state.Rotation.Matrix;
  RecordingCanvas c;
  PlotPoleFigure(*pf, state, c, 650, 910, "");
  ASSERT_NE(FindText(c, "Rotation:"), nullptr);
  // The drawn (inverse) rotation about the opposite axis: the same turn.
  const CanvasOp* axis = FindText(c, "180/90  -30");
  ASSERT_NE(axis, nullptr);
  EXPECT_EQ(axis->x1, 10);
  EXPECT_EQ(axis->y1, 27);
  EXPECT_EQ(state.Rotation.Matrix, before);
}

// A rotation picked by dragging from S to E and confirmed moves the drawing
// of S onto E.
TEST(PlotRotation, DraggedRotationMovesStartOntoEnd) {
  const double a1 = 40, b1 = 30, a2 = 65, b2 = 100;
  const Vec3 s = DirectionToVector(a1, b1), e = DirectionToVector(a2, b2);
  Vec3 n;
  ASSERT_TRUE(UnitNormal(s, e, n));
  const Direction axis = VectorToDirection(n);
  double omega = RadToDeg(AngleBetween(s, e));
  if (RadToDeg(AngleBetween(MatVec(AxisAngleMatrix(axis.beta, axis.alpha, omega), s), e)) < 10) omega = -omega;
  RotationState state;
  state.Mode = RotationMode::Matrix;
  state.Matrix = MatMul(IdentityMatrix(), AxisAngleMatrix(axis.beta, axis.alpha, omega));
  const MappedDirection m = DisplayRotation(state).Map(a1, b1);
  EXPECT_NEAR(m.alpha, a2, 1e-6);
  EXPECT_NEAR(m.beta, b2, 1e-6);
  EXPECT_FALSE(m.folded);
}

TEST(PlotRotation, MonoclinFoldsTriclinDrops) {
  RotationState state;
  state.Mode = RotationMode::List;
  state.List = {{'X', 90}};
  const MappedDirection folded = DisplayRotation(state).Map(45, 270);
  EXPECT_NEAR(folded.alpha, 45, 1e-9);
  EXPECT_NEAR(folded.beta, 90, 1e-9);
  EXPECT_TRUE(folded.folded);
  state.TriclinicSymmetry = true;
  const MappedDirection dropped = DisplayRotation(state).Map(45, 270);
  EXPECT_TRUE(dropped.dropped);
  EXPECT_EQ(dropped.alpha, -1);
}

TEST(PlotFill, FloodFillOnPixelSurfacesAfterEachLevelsLines) {
  auto pf = CentrePeak();
  ProgramState state = State();
  state.Options.FillAreas = true;
  RecordingCanvas c;
  c.pixelSource = [](int, int) { return Color{0xFFFFFF}; };
  PlotPoleFigure(*pf, state, c, 650, 910, "");
  EXPECT_TRUE(OpsOf(c, CanvasOpKind::Polygon).empty());
  const std::vector<CanvasOp> fills = OpsOf(c, CanvasOpKind::FloodFill);
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.back().color, kBlack);  // level 2 colour -11
  EXPECT_EQ(fills.back().x1, 325);        // seeded at the centre maximum
}

TEST(PlotFill, PolygonsOnVectorSurfacesBeforeTheLines) {
  auto pf = CentrePeak();
  ProgramState state = State();
  state.Options.FillAreas = true;
  state.Options.DrawGrid = false;
  RecordingCanvas c;
  PlotPoleFigure(*pf, state, c, 650, 910, "");
  EXPECT_TRUE(OpsOf(c, CanvasOpKind::FloodFill).empty());
  std::size_t lastPolygon = 0, firstLine = c.ops.size();
  for (std::size_t i = 0; i < c.ops.size(); ++i) {
    if (c.ops[i].kind == CanvasOpKind::Polygon) lastPolygon = i;
    if (c.ops[i].kind == CanvasOpKind::LineTo) firstLine = std::min(firstLine, i);
  }
  EXPECT_GT(lastPolygon, 0u);
  EXPECT_LT(lastPolygon, firstLine);
}

TEST(PlotRobustness, FreshRecordAndOddSurfaces) {
  auto fresh = NewPoleFigure();
  ProgramState state;
  state.Options.ShowEigenvalues = true;
  state.Options.DrawTriangles = true;
  state.Options.FillAreas = true;
  RecordingCanvas c;
  EXPECT_EQ(PlotPoleFigure(*fresh, state, c, 650, 910, "").sizePercentage, 100);
  EXPECT_FALSE(c.ops.empty());
  EXPECT_NE(FindText(c, "A:  -"), nullptr);  // never normalised: no number, no "nan"
  state.Options.ShowMrd = true;
  RecordingCanvas mrd;
  PlotPoleFigure(*fresh, state, mrd, 650, 910, "");
  for (const CanvasOp& op : mrd.ops) EXPECT_EQ(op.text.find("nan"), std::string::npos) << op.text;
  state.Options.ShowMrd = false;
  RecordingCanvas none;
  EXPECT_EQ(PlotPoleFigure(*fresh, state, none, 0, 910, "").sizePercentage, 0);
  EXPECT_EQ(PlotPoleFigure(*fresh, state, none, 650, -5, "").sizePercentage, 0);
  EXPECT_EQ(PlotPoleFigure(*fresh, state, none, 3, 1, "").sizePercentage, 0);
  // Counts beyond the layout are clamped, not followed; a grid beyond it is refused.
  GridDescription huge;
  huge.circles.assign(5000, GridCircle{10, 0, 5, 72});
  NullSink quiet;
  EXPECT_FALSE(SetGrid(*fresh, huge, "S", FileRole::Data, quiet));
  fresh->LevelCount = 900;
  fresh->MaxCircle = -7;
  RecordingCanvas big;
  PlotPoleFigure(*fresh, state, big, 650, 910, "");
}

}  // namespace
}  // namespace quorix
