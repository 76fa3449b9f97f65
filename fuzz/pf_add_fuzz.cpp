// A further file of the add list read against the main pole figure's grid,
// then both sums. Byte 0 picks the index and the kind of sum, bytes 1..8 are
// the two weights as the bits of floats (as the add list holds them: any
// value, 3.4e38 and NaN included).
#include <cmath>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "grid_check.h"
#include "io/load_pole_figure.h"
#include "transform/pf_add.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorix;
  static fuzz::Progress progress("pf_add");
  if (size < 9) return -1;
  static const std::string grid = fuzz::WriteScratch("main.rst", "0 72\n30 72\n60 72\n90 72\n");
  static const std::unique_ptr<PoleFigure> main = [] {
    std::string values;
    for (int k = 0; k < 4 * 72; ++k) values += std::to_string(50 + k % 17) + " ";
    LoadRequest request;
    request.dataFile = fuzz::WriteScratch("main.pol", values);
    request.gridFile = grid;
    NullSink quiet;
    auto pf = LoadPoleFigure(request, quiet);
    fuzz::Require(pf != nullptr, "the main pole figure loads");
    return pf;
  }();
  const std::uint8_t index = data[0] % 5;
  std::vector<float> weights(2);
  std::memcpy(weights.data(), data + 1, 2 * sizeof(float));
  const std::string file = fuzz::WriteScratch("further.pol", {reinterpret_cast<const char*>(data + 9), size - 9});
  CollectingSink sink;
  if (auto further = ReadFurtherPoleFigure(*main, grid, file, index, sink)) {
    progress.Accepted();
    fuzz::Require(further->CircleCount == main->CircleCount, "a further pole figure lies on the main grid");
  } else {
    progress.Refused();
    fuzz::Require(!sink.messages.empty(), "a refusal says why");
  }
  static const auto sum = NewPoleFigure();  // reused: allocating one per input doubled the time
  *sum = *main;
  const bool weighted = data[0] & 8;
  const bool ok = weighted ? WeightedAddPF(*sum, grid, data[0] & 16, weights, {1, index}, {"", file}, sink)
                           : FittedAddPF(*sum, grid, {"", file}, {1, index}, sink);
  if (ok) {
    for (int i = 1; i <= sum->CircleCount; ++i)
      for (int k = 1; k <= sum->CirclePoints[i]; ++k)
        fuzz::Require(std::isfinite(sum->Intensity[i][k]), "a sum that is accepted is finite");
    FinishAddition(*sum, data[0] & 32);
    fuzz::Require(sum->LevelCount >= 0 && sum->LevelCount <= kMaxLevels, "levels within the record");
  } else {
    fuzz::Require(sum->Intensity.Cells().size() == main->Intensity.Cells().size() &&
                      std::memcmp(sum->Intensity.Cells().data(), main->Intensity.Cells().data(),
                                  main->Intensity.Cells().size_bytes()) == 0,
                  "a failed sum leaves the pole figure as it was");
  }
  progress.Ran();
  return 0;
}
