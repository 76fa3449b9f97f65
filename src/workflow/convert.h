// Several pole figures of one data file into one file of another layout: the
// work behind `quorix-cli saveall` and `quorix-cli convert`.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/message_sink.h"
#include "io/ascii_writer.h"
#include "io/formatted_writer.h"
#include "io/load_pole_figure.h"
#include "io/measurement.h"
#include "io/xrdml_writer.h"

namespace quorix {

struct SaveAllFileRequest {
  std::string data;
  std::string grid;
  std::string output;
  DataLayout layout = DataLayout::Beartex;
  std::vector<int> indices;  // pole figures from 1; empty: all of the file
  std::vector<std::string> comments;
  std::optional<int> symmetry;  // else taken from the data file's header
  std::optional<Lattice> lattice;
  std::vector<std::array<int, 3>> hkl;  // for the pole figures in turn; the rest from their names
  std::optional<double> misalignment;
  bool invertTheta = false;
  bool invertPhi = false;
  MeasurementOptions measurement;  // tilt options for layouts with their own grid
  // At most this many pole figures (the desktop's windows); 0: no limit.
  int maxFigures = 0;
  // Beartex blocks hold the 5-degree grid only: interpolate each pole figure
  // onto it first (without, another grid is refused).
  bool regrid = false;
};

// Prefills what the request leaves open from the data file the way "Save all
// formatted" does, then writes the file. Messages name the file and the fault;
// nothing is written on any of them.
bool SaveAllFromFile(const SaveAllFileRequest& request, MessageSink& sink);
// The same, telling what was found out about the data file (its layout, for a
// caller that must tell a missing grid file from other faults).
bool SaveAllFromFile(const SaveAllFileRequest& o, MessageSink& sink, DataFileFacts& facts);

// The layout a conversion writes: Beartex, Geesthacht, Popla, Xrdml or Plain (ASCII).
struct ConvertRequest {
  DataLayout to = DataLayout::Beartex;
  SaveAllFileRequest file;  // data, grid, output, indices and the options of the block layouts
  AsciiWriteOptions ascii;
  std::string xrdmlTemplate;
  XrdmlOptions xrdml;
};

// "beartex", "geesthacht", "popla", "xrdml", "ascii".
std::optional<DataLayout> ConvertTargetNamed(std::string_view name);

// XRDML and ASCII files hold one pole figure: the request must choose one
// when the input holds several.
bool ConvertFile(const ConvertRequest& request, MessageSink& sink);
bool ConvertFile(const ConvertRequest& request, MessageSink& sink, DataFileFacts& facts);

// One record written as `request.to` to request.file.output, with the
// request's options (hkl, symmetry and comments of the block layouts).
bool WritePoleFigureAs(const PoleFigure& pf, const ConvertRequest& request, MessageSink& sink);

// The layout an output file's extension implies: .xpe Beartex, .wko
// Geesthacht, .epf popLA, .xrdml XRDML, anything else ASCII.
std::optional<DataLayout> ConvertTargetForFile(std::string_view path);

}  // namespace quorix
