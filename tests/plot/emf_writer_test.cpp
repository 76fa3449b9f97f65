// Enhanced metafiles: record structure as the format prescribes, objects
// created and freed in pairs, and a real reader that accepts the file.
#include "plot/emf_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace quorix {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::int32_t I32(const std::vector<std::uint8_t>& b, std::size_t at) { return static_cast<std::int32_t>(U32(b, at)); }
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

struct Rec {
  std::uint32_t type = 0;
  std::size_t offset = 0;
  std::uint32_t size = 0;
};

// Walks the records; fails the test on a size that breaks the chain.
std::vector<Rec> Records(const std::vector<std::uint8_t>& b) {
  std::vector<Rec> out;
  std::size_t at = 0;
  while (at + 8 <= b.size()) {
    Rec r{U32(b, at), at, U32(b, at + 4)};
    EXPECT_GE(r.size, 8u);
    EXPECT_EQ(r.size % 4, 0u) << "record " << out.size();
    if (r.size < 8 || at + r.size > b.size()) {
      ADD_FAILURE() << "record " << out.size() << " overruns the file";
      break;
    }
    out.push_back(r);
    at += r.size;
  }
  EXPECT_EQ(at, b.size());
  return out;
}

std::vector<std::uint8_t> SampleDrawing() {
  EmfCanvas c(910, 650);
  c.SetBrushColor(0xFFFFFF);
  c.SetBrushStyle(BrushStyle::Solid);
  c.Rectangle(0, 0, 3 * 1274, 3 * 650);  // background far beyond the picture
  c.SetFont("DejaVu Sans", 12);
  c.SetPenColor(255);  // red
  c.Rectangle(650, 17, 680, 19);
  c.TextOut(690, 9, " 1.000");
  c.SetPenColor(0);
  c.SetBrushStyle(BrushStyle::Clear);
  c.Ellipse(10, 10, 641, 641);
  c.SetPenColor(0xFF0000);  // blue
  c.MoveTo(100, 100);
  c.LineTo(300, 200);
  c.SetBrushStyle(BrushStyle::Solid);
  c.SetBrushColor(0x0000FF);  // red fill
  c.Polygon({{400, 300}, {500, 300}, {450, 400}});
  c.SetPenColor(0);
  c.Arc(10, 10, 640, 640, 640, 325, 325, 640);
  c.TextOut(10, 616, "quartz [x]");
  return c.Finish();
}

TEST(EmfCanvas, HeaderDescribesTheWholeFile) {
  const std::vector<std::uint8_t> b = SampleDrawing();
  ASSERT_GE(b.size(), emf::kHeaderSize);
  const std::vector<Rec> recs = Records(b);
  ASSERT_FALSE(recs.empty());
  EXPECT_EQ(recs.front().type, emf::kHeader);
  EXPECT_GE(recs.front().size, emf::kHeaderSize);
  // Bounds in pixels, inclusive.
  EXPECT_EQ(I32(b, 8), 0);
  EXPECT_EQ(I32(b, 12), 0);
  EXPECT_EQ(I32(b, 16), 909);
  EXPECT_EQ(I32(b, 20), 649);
  // Frame in 0.01 mm at 96 dpi: 910 px = 24078 hundredths of a millimetre.
  EXPECT_EQ(I32(b, 24), 0);
  EXPECT_NEAR(I32(b, 32), 910 * 2540.0 / 96 - 1, 1.0);
  EXPECT_NEAR(I32(b, 36), 650 * 2540.0 / 96 - 1, 1.0);
  EXPECT_EQ(U32(b, 40), 0x464D4520u);  // " EMF"
  EXPECT_EQ(U32(b, 44), 0x00010000u);
  EXPECT_EQ(U32(b, 48), b.size());
  EXPECT_EQ(U32(b, 52), recs.size());
  // The description lies inside the header record and starts with the program name.
  const std::uint32_t nDesc = U32(b, 60), offDesc = U32(b, 64);
  ASSERT_LE(offDesc + 2 * nDesc, recs.front().size);
  std::string desc;
  for (std::uint32_t i = 0; i < 6; ++i) desc += static_cast<char>(U16(b, offDesc + 2 * i));
  EXPECT_EQ(desc, "Quorix");
  // Reference device sizes agree with each other (96 dpi).
  EXPECT_NEAR(I32(b, 72) * 25.4 / 96, I32(b, 80), 1.0);
  EXPECT_EQ(U32(b, 100), static_cast<std::uint32_t>(I32(b, 80)) * 1000);

  EXPECT_EQ(recs.back().type, emf::kEof);
  EXPECT_EQ(recs.back().size, 20u);
  EXPECT_EQ(U32(b, recs.back().offset + 16), 20u);  // SizeLast
}

TEST(EmfCanvas, ObjectsAreCreatedSelectedAndFreedInPairs) {
  const std::vector<std::uint8_t> b = SampleDrawing();
  const std::vector<Rec> recs = Records(b);
  const std::uint16_t handles = U16(b, 56);
  std::set<std::uint32_t> live;
  int created = 0;
  for (const Rec& r : recs) {
    const std::uint32_t ih = r.size >= 12 ? U32(b, r.offset + 8) : 0;
    switch (r.type) {
      case emf::kCreatePen:
      case emf::kCreateBrushIndirect:
      case emf::kExtCreateFontIndirectW:
        EXPECT_GE(ih, 1u);
        EXPECT_LT(ih, handles);
        EXPECT_TRUE(live.insert(ih).second) << "handle " << ih << " created twice";
        ++created;
        break;
      case emf::kSelectObject:
        if (!(ih & 0x80000000u)) {
          EXPECT_TRUE(live.count(ih)) << "selects unknown handle " << ih;
        }
        break;
      case emf::kDeleteObject: EXPECT_EQ(live.erase(ih), 1u) << "deletes unknown handle " << ih; break;
      default: break;
    }
  }
  EXPECT_GE(created, 5);  // pens in three colours, brushes, a font
  EXPECT_TRUE(live.empty());
}

TEST(EmfCanvas, DrawingRecordsCarryTheCallsArguments) {
  const std::vector<std::uint8_t> b = SampleDrawing();
  std::map<std::uint32_t, std::vector<Rec>> byType;
  for (const Rec& r : Records(b)) byType[r.type].push_back(r);

  ASSERT_EQ(byType[emf::kRectangle].size(), 2u);
  const Rec& legend = byType[emf::kRectangle][1];
  EXPECT_EQ(I32(b, legend.offset + 8), 650);
  EXPECT_EQ(I32(b, legend.offset + 12), 17);
  EXPECT_EQ(I32(b, legend.offset + 16), 680);
  EXPECT_EQ(I32(b, legend.offset + 20), 19);
  // The oversized background is kept just outside the picture.
  const Rec& background = byType[emf::kRectangle][0];
  EXPECT_EQ(I32(b, background.offset + 16), 911);
  EXPECT_EQ(I32(b, background.offset + 20), 651);

  ASSERT_EQ(byType[emf::kEllipse].size(), 1u);
  EXPECT_EQ(I32(b, byType[emf::kEllipse][0].offset + 16), 641);

  ASSERT_EQ(byType[emf::kArc].size(), 1u);
  const std::size_t arc = byType[emf::kArc][0].offset;
  EXPECT_EQ(I32(b, arc + 24), 640);  // start point
  EXPECT_EQ(I32(b, arc + 32), 325);  // end point

  ASSERT_EQ(byType[emf::kLineTo].size(), 1u);
  EXPECT_EQ(I32(b, byType[emf::kLineTo][0].offset + 8), 300);
  EXPECT_EQ(I32(b, byType[emf::kLineTo][0].offset + 12), 200);

  ASSERT_EQ(byType[emf::kPolygon16].size(), 1u);
  const std::size_t poly = byType[emf::kPolygon16][0].offset;
  EXPECT_EQ(I32(b, poly + 8), 400);  // bounds
  EXPECT_EQ(I32(b, poly + 20), 400);
  EXPECT_EQ(U32(b, poly + 24), 3u);  // count
  EXPECT_EQ(U16(b, poly + 28 + 4 * 2), 450);
  EXPECT_EQ(U16(b, poly + 30 + 4 * 2), 400);

  // Pens carry the colour in the COLORREF order R, G, B.
  std::set<std::uint32_t> penColours;
  for (const Rec& r : byType[emf::kCreatePen]) penColours.insert(U32(b, r.offset + 24));
  EXPECT_TRUE(penColours.count(255));
  EXPECT_TRUE(penColours.count(0xFF0000));

  // A 12 point font at 96 dpi is 16 pixels high (negative: character height).
  ASSERT_EQ(byType[emf::kExtCreateFontIndirectW].size(), 1u);
  const Rec& font = byType[emf::kExtCreateFontIndirectW][0];
  EXPECT_EQ(font.size, 104u);
  EXPECT_EQ(I32(b, font.offset + 12), -16);

  ASSERT_EQ(byType[emf::kExtTextOutW].size(), 2u);
  const Rec& text = byType[emf::kExtTextOutW][1];
  const std::size_t t = text.offset;
  EXPECT_EQ(I32(b, t + 36), 10);  // reference point
  EXPECT_EQ(I32(b, t + 40), 616);
  const std::uint32_t chars = U32(b, t + 44), offString = U32(b, t + 48), offDx = U32(b, t + 72);
  ASSERT_EQ(chars, 10u);
  std::string s;
  for (std::uint32_t i = 0; i < chars; ++i) s += static_cast<char>(U16(b, t + offString + 2 * i));
  EXPECT_EQ(s, "quartz [x]");
  ASSERT_LE(offDx + 4 * chars, text.size);
  int advance = 0;
  for (std::uint32_t i = 0; i < chars; ++i) advance += I32(b, t + offDx + 4 * i);
  EXPECT_GT(advance, 40);  // ten characters of a 16 pixel font
  EXPECT_LT(advance, 160);
}

TEST(EmfCanvas, DrawingAfterFinishChangesNothing) {
  EmfCanvas c(20, 10);
  c.MoveTo(1, 1);
  c.LineTo(5, 5);
  const std::vector<std::uint8_t> first = c.Finish();
  c.LineTo(9, 9);
  c.TextOut(0, 0, "late");
  EXPECT_EQ(c.Finish(), first);
}

TEST(EmfCanvas, NonAsciiTextBecomesUtf16AndBrokenBytesAReplacement) {
  EmfCanvas c(100, 20);
  c.TextOut(0, 0, "\xC3\xA9\xE2\x82\xAC\xFF");  // e-acute, euro sign, a stray byte
  const std::vector<std::uint8_t> b = c.Finish();
  for (const Rec& r : Records(b)) {
    if (r.type != emf::kExtTextOutW) continue;
    ASSERT_EQ(U32(b, r.offset + 44), 3u);
    const std::uint32_t off = U32(b, r.offset + 48);
    EXPECT_EQ(U16(b, r.offset + off), 0x00E9);
    EXPECT_EQ(U16(b, r.offset + off + 2), 0x20AC);
    EXPECT_EQ(U16(b, r.offset + off + 4), 0xFFFD);
    return;
  }
  ADD_FAILURE() << "no text record";
}

std::string FindProgram(const char* name) {
  const std::string cmd = std::string("command -v ") + name + " >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0 ? name : "";
}

TEST(EmfCanvas, FineCallsRecordInSixteenthsUnderOneTransformWithClipAndImage) {
  EmfCanvas c(100, 100);
  c.SetBrushStyle(BrushStyle::Solid);
  c.PolygonF({{1.5, 2.25}, {10, 2.25}, {10, 20}});
  c.ClipF({{{0, 0}, {50, 0}, {50, 50}}});
  c.AreaF({{{0, 0}, {1, 0}, {1, 1}}, {{1, 1}, {0, 1}, {0, 0}}});
  c.ImageF(10, 10, 4, 2, CanvasImage{2, 1, {0xFF0000FFu, 0x00000000u}});
  c.ClipF({});
  const std::vector<std::uint8_t>& b = c.Finish();
  std::vector<std::uint32_t> types;
  for (const Rec& r : Records(b)) {
    types.push_back(r.type);
    if (r.type == emf::kPolygon && std::count(types.begin(), types.end(), emf::kPolygon) == 1) {
      EXPECT_EQ(I32(b, r.offset + 28), 24);  // 1.5 * 16
      EXPECT_EQ(I32(b, r.offset + 32), 36);  // 2.25 * 16
    }
    if (r.type == emf::kStretchDiBits) {
      EXPECT_EQ(I32(b, r.offset + 24), 160);           // x
      EXPECT_EQ(I32(b, r.offset + 72), 64);            // destination width
      EXPECT_EQ(U32(b, r.offset + 120), 0x00FF0000u);  // red, as B G R 0
      EXPECT_EQ(U32(b, r.offset + 124), 0x00FFFFFFu);  // transparent shows white paper
    }
  }
  auto count = [&](std::uint32_t t) { return std::count(types.begin(), types.end(), t); };
  EXPECT_EQ(count(emf::kSetWorldTransform), 1);
  EXPECT_EQ(count(emf::kBeginPath), 1);
  EXPECT_EQ(count(emf::kSelectClipPath), 1);
  EXPECT_EQ(count(emf::kExtSelectClipRgn), 1);
  EXPECT_EQ(count(emf::kPolyPolygon), 1);
  EXPECT_EQ(count(emf::kStretchDiBits), 1);
  // The whole-pixel drawing never sees the transform.
  const std::vector<std::uint8_t> plain = SampleDrawing();
  for (const Rec& r : Records(plain)) EXPECT_NE(r.type, emf::kSetWorldTransform);
}

TEST(EmfCanvas, AnOfficeSuiteReadsTheFile) {
  std::string soffice = FindProgram("soffice");
  std::string inkscape = FindProgram("inkscape");
  if (soffice.empty() && inkscape.empty()) GTEST_SKIP() << "neither soffice nor inkscape is installed";
  const std::filesystem::path dir = test::TempDir() / "emf_reader";
  std::filesystem::create_directories(dir);
  const std::vector<std::uint8_t> b = SampleDrawing();
  const std::filesystem::path emfPath = dir / "plot.emf";
  std::ofstream(emfPath, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));

  if (!soffice.empty()) {
    // A profile of its own, so that a running office instance does not interfere.
    auto convert = [&](const std::string& to) {
      const std::string cmd = soffice + " -env:UserInstallation=file://" + (dir / "profile").string() +
                              " --headless --convert-to " + to + " --outdir " + dir.string() + " " + emfPath.string() +
                              " >/dev/null 2>&1";
      return std::system(cmd.c_str());
    };
    ASSERT_EQ(convert("png"), 0);
    const std::string png = test::ReadFile(dir / "plot.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // The vector conversion shows what the reader understood.
    ASSERT_EQ(convert("svg"), 0);
    const std::string svg = test::ReadFile(dir / "plot.svg");
    EXPECT_NE(svg.find("fill=\"rgb(255,0,0)\""), std::string::npos) << "red polygon fill";
    EXPECT_NE(svg.find("stroke=\"rgb(0,0,255)\""), std::string::npos) << "blue line";
    EXPECT_NE(svg.find("quartz [x]"), std::string::npos) << "text";
  } else {
    ASSERT_EQ(std::system((inkscape + " --export-type=png --export-filename=" + (dir / "plot.png").string() + " " +
                           emfPath.string() + " >/dev/null 2>&1")
                              .c_str()),
              0);
    const std::string png = test::ReadFile(dir / "plot.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
  }
}

}  // namespace
}  // namespace quorix
