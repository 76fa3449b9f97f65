// A pole figure as an XRDML measurement: the scans of a sample file serve as
// the template, one scan per complete circle, the tilt as the psi position.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "record/pole_figure.h"

namespace quorix {

struct XrdmlOptions {
  bool SetNegativeToZero = false;
  int h = 0, k = 0, l = 0;  // a <reflection> element only when none is 0
};

// The output text made from the template's lines; nothing when the template
// ends before one of the lines the scans are built from.
std::optional<std::string> FormatPFXRDML(const TPoleFigure& pf, const std::vector<std::string>& sampleLines,
                                         const XrdmlOptions& options);

// Messages: "Cannot open file: SAMPLE", "The sample file SAMPLE is not a
// usable XRDML template.", "Cannot create file OUT", "Error writing file OUT.".
// On any of them no output file is created (an existing one stays as it was).
bool WritePFXRDML(const TPoleFigure& pf, const std::string& sampleFile, const std::string& outFile,
                  const XrdmlOptions& options, MessageSink& sink);

}  // namespace quorix
