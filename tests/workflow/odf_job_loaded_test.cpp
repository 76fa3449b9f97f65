// The ODF job over pole figures already in memory, as the desktop program
// runs it: the same estimate as from their file, typed hkl over the record's,
// faults of the hkl refused before any work, the facts a file gives the dialog.
#include <gtest/gtest.h>

#include "test_support.h"
#include "workflow/odf_job.h"

namespace quorix {
namespace {

struct LoadedCopper {
  std::vector<std::unique_ptr<PoleFigure>> records;
  OdfJobRequest request;
};

LoadedCopper LoadCopper() {
  LoadedCopper c;
  for (int k = 1; k <= 3; ++k) {
    c.records.push_back(test::LoadFile(test::ExamplePath("copper.xpe"), "", k));
    c.request.loaded.push_back({c.records.back().get(), "", ""});
  }
  return c;
}

TEST(OdfJobLoaded, EstimatesAsFromTheFileAndTakesTypedHkl) {
  CollectingSink sink;
  OdfJobRequest fromFile;
  fromFile.files = {{test::ExamplePath("copper.xpe"), {}}};
  const auto a = RunOdfJob(fromFile, sink);
  LoadedCopper c = LoadCopper();
  const auto b = RunOdfJob(c.request, sink);
  ASSERT_TRUE(a && b) << test::Joined(sink.messages);
  EXPECT_EQ(b->odf.grid.crystal, LaueGroup::Cubic);  // the file's symmetry code 7
  ASSERT_EQ(b->figures.size(), 3u);
  EXPECT_EQ(b->figures[1].source, test::ExamplePath("copper.xpe") + ":2");
  EXPECT_NEAR(b->textureIndex, a->textureIndex, 1e-9 * a->textureIndex);
  for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(b->figures[k].fit.rp, a->figures[k].fit.rp, 1e-6);

  // An hkl typed for the first pole figure goes before the record's.
  c.request.loaded[0].hkl = "2 2 0";
  c.request.loaded[0].source = "PF1";
  const auto wrong = RunOdfJob(c.request, sink);
  ASSERT_TRUE(wrong);
  EXPECT_EQ(wrong->figures[0].hkl, (std::array<int, 3>{2, 2, 0}));
  EXPECT_EQ(wrong->figures[0].source, "PF1");
  EXPECT_NE(wrong->figures[0].fit.normalization, b->figures[0].fit.normalization);
}

TEST(OdfJobLoaded, RefusesFaultsOfTheHklNamingThePoleFigure) {
  LoadedCopper c = LoadCopper();
  c.request.loaded[1].source = "PF2";
  const std::pair<const char*, const char*> cases[] = {
      {"0 0 0", ""}, {"1 0 -1 0", ""}, {"", "names no Miller indices"}};
  for (const auto& [typed, words] : cases) {
    SCOPED_TRACE(typed);
    if (*typed == '\0') {
      c.records[1]->Hkl.clear();
      c.records[1]->NameInFile.clear();
    }
    c.request.loaded[1].hkl = typed;
    CollectingSink sink;
    EXPECT_FALSE(RunOdfJob(c.request, sink));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].rfind("PF2: ", 0), 0u) << sink.messages[0];
    EXPECT_NE(sink.messages[0].find(words), std::string::npos) << sink.messages[0];
  }
  // For a hexagonal crystal four indices are read, but i must be -h-k.
  c.request.crystal = "hexagonal";
  c.request.lattice = "3.2,3.2,5.2,90,90,120";
  c.request.loaded[1].hkl = "1 1 5 0";
  CollectingSink sink;
  EXPECT_FALSE(RunOdfJob(c.request, sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].rfind("PF2: ", 0), 0u) << sink.messages[0];
}

TEST(OdfJobHkl, FourIndicesFromTheNameOfAListBlock) {
  PoleFigure pf;
  pf.IndexInFile = 1;
  pf.NameInFile = "Qz 10-11";
  EXPECT_EQ(HklTextOf(pf), "10-11");
  pf.Hkl = "1 1 1";
  EXPECT_EQ(HklTextOf(pf), "1 1 1");

  OdfJobRequest r;
  r.files = {{test::ExamplePath("quartz.wko"), {}}};
  r.crystal = "trigonal";
  r.lattice = "4.91,4.91,5.40,90,90,120";
  CollectingSink sink;
  const auto result = RunOdfJob(r, sink);
  ASSERT_TRUE(result) << test::Joined(sink.messages);
  EXPECT_EQ(result->figures[0].hkl, (std::array<int, 3>{1, 0, 0}));
  EXPECT_EQ(result->figures[1].hkl, (std::array<int, 3>{1, 0, 1}));
}

TEST(OdfFileFacts, FromListFilesOnly) {
  const OdfFileFacts xpe = ReadOdfFileFacts(test::ExamplePath("copper.xpe"));
  EXPECT_EQ(xpe.crystal, LaueGroup::Cubic);
  ASSERT_TRUE(xpe.lattice);
  EXPECT_DOUBLE_EQ(xpe.lattice->a, 3.615);
  EXPECT_FALSE(ReadOdfFileFacts(test::ExamplePath("copper111.pol")).crystal);
  EXPECT_FALSE(ReadOdfFileFacts((test::TempDir() / "gone.xpe").string()).crystal);
}

}  // namespace
}  // namespace quorix
