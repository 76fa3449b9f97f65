// The ODF from pole figure files: loading them with their hkl and
// symmetries, estimating, and what `quorix-cli odf` and the ODF dialog
// report and write.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "io/formatted_writer.h"
#include "io/measurement.h"
#include "record/pole_figure.h"
#include "texture/odf_results.h"
#include "texture/wimv.h"

namespace quorix {

struct OdfInputFile {
  std::string data;
  std::vector<int> indices;  // from 1; empty: every pole figure of the file
};

// A pole figure already in memory (a window of the desktop program).
struct OdfLoadedFigure {
  const PoleFigure* record = nullptr;
  std::string hkl;     // empty: the record's own
  std::string source;  // for messages and the results; empty: "FILE:K" of the record
};

struct OdfJobRequest {
  std::vector<OdfInputFile> files;
  std::vector<OdfLoadedFigure> loaded;  // in place of `files` when given
  std::string grid;                     // for the layouts that need a grid file
  MeasurementOptions measurement;
  std::string crystal;  // name or symbol; empty: the first file's symmetry code
  std::string sample = "orthorhombic";
  std::string lattice;  // "a,b,c,alpha,beta,gamma"; empty: from the file, or cubic
  double resolution = 5;
  EstimateOptions estimate;
  std::string fromOdf;  // an ODF file in place of pole figures
  std::vector<Component> extraComponents;
  double spread = 15;
};

// One input pole figure: where it came from, its reflection, its fit.
struct OdfJobFigure {
  std::string source;  // "FILE:K"
  std::array<int, 3> hkl{};
  PoleFigureFit fit;
  std::unique_ptr<PoleFigure> record;
};

struct OdfJobResult {
  Odf odf;
  int iterations = 0;
  double textureIndex = 0;
  double entropy = 0;
  std::vector<OdfJobFigure> figures;
  std::vector<std::pair<std::string, double>> fractions;  // name -> share
};

// What the file a pole figure was read from says for the ODF: its crystal
// (from the symmetry code), its lattice and the blocks' "SUP =" lines.
// Nothing where the file says nothing or cannot be read any more.
struct OdfFileFacts {
  std::optional<LaueGroup> crystal;
  std::optional<Lattice> lattice;
  std::vector<std::string> supLines;  // block by block
};
OdfFileFacts ReadOdfFileFacts(const std::string& fileName);

// The symmetries, lattice and resolution checked, every pole figure loaded
// and its hkl read before any work; a message and nothing on a fault.
std::optional<OdfJobResult> RunOdfJob(const OdfJobRequest& request, MessageSink& sink);

// The Miller indices a record names: its own, else the last word of its
// name in the file where that is written like indices ("Qz 10-10" gives
// "10-10"), else the name's columns as the list layouts place them.
std::string HklTextOf(const PoleFigure& pf);

// "h k l" or "h k i l" for the crystal, parsed; a message on a fault.
std::optional<std::array<int, 3>> ParseHklFor(const std::string& text, const Odf& odf, MessageSink& sink);

// The complete pole figure (alpha 0..90 every 5 degrees, 72 points) of hkl, in m.r.d.
std::unique_ptr<PoleFigure> RecalculatedRecord(const Odf& odf, const std::array<int, 3>& hkl);

// Recalculated pole figures in one file of a layout convert writes (Beartex,
// popLA and Geesthacht hold several, XRDML and ASCII one); none given: the
// one the file name's extension implies.
bool WriteRecalculated(const std::string& fileName, std::optional<DataLayout> layout, const Odf& odf,
                       const std::vector<std::array<int, 3>>& hkls, MessageSink& sink);

// Inverse pole figures of RD, TD and ND as text blocks "alpha beta value".
bool WriteInversePoleFigures(const std::string& fileName, const Odf& odf, MessageSink& sink);

bool WriteOdf(const std::string& fileName, const Odf& odf, MessageSink& sink);

}  // namespace quorix
