// What a program holding pole figures keeps between commands: the program
// state, the pole figure set, the files of the last load and how they were
// read. The desktop program and the command-line tool both work on it.
#pragma once

#include <string>
#include <vector>

#include "io/data_layout.h"
#include "io/measurement.h"
#include "record/pole_figure_set.h"
#include "record/program_state.h"
#include "transform/smoothing.h"

namespace quorix {

// How the last data file was read, kept between loads.
struct LoadFlags {
  bool DirectionalMode = false;
  bool HashListFile = false;
  bool WkoListFile = false;
  bool PlainFile = false;
  // The layout of a file with its own grid; None for the three above.
  DataLayout MeasuredLayout = DataLayout::None;
  MeasurementOptions Measurement;
  bool ResetRotation = true;
  int PFIndex = 1;
  // The data file the layout flags were found for; another file gets its own detection.
  std::string LayoutFile;
  // The pole figures of a hash-list or WKO list file, in file order.
  std::vector<std::string> PoleFigureNames;

  bool Multi() const {
    return HashListFile || WkoListFile || (MeasuredLayout != DataLayout::None && PoleFigureNames.size() > 1);
  }
  void ClearLayout() {
    HashListFile = WkoListFile = PlainFile = false;
    MeasuredLayout = DataLayout::None;
  }
  bool AnyLayout() const { return HashListFile || WkoListFile || PlainFile || MeasuredLayout != DataLayout::None; }
  DataLayout Layout() const {
    if (MeasuredLayout != DataLayout::None) return MeasuredLayout;
    return HashListFile ? DataLayout::Beartex : WkoListFile ? DataLayout::Geesthacht : DataLayout::Plain;
  }
  void SetLayout(DataLayout layout) {
    ClearLayout();
    if (IsMeasuredLayout(layout)) {
      MeasuredLayout = layout;
      return;
    }
    (layout == DataLayout::Beartex ? HashListFile : layout == DataLayout::Geesthacht ? WkoListFile : PlainFile) = true;
  }
};

struct Session {
  ProgramState state;
  PoleFigureSet set;
  // Names change only when a load succeeds.
  std::string GridFileName;
  std::string DataFileName;
  LoadFlags load;
  // The smoothing kernel of the last grid and width, for "Smooth all" and
  // the next smoothing of pole figures on that grid.
  SmoothingPlans smoothingPlans;
};

}  // namespace quorix
