// Intensities of one pole figure from a data file, onto a grid already read.
#pragma once

#include <string>

#include "base/message_sink.h"
#include "record/pole_figure.h"
#include "io/data_layout.h"

namespace quorix {

struct DataReadOptions {
  DataLayout layout = DataLayout::None;
  int pfIndex = 1;  // only the absolute value counts
  bool directional = false;
};

bool ReadPoleFigureData(TPoleFigure& pf, const std::string& fileName, const DataReadOptions& options,
                        MessageSink& sink);

}  // namespace quorix
