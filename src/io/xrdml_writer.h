// A pole figure as an XRDML measurement: the first scan of a sample file
// serves as the template of one scan per complete circle; its azimuth range,
// tilt (Psi or Chi), counting time and counts follow the pole figure.
#pragma once

#include <cstdint>
#include <functional>
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

// Templates are some kilobytes; the output repeats a scan of the template for
// every circle, so a large one would make an enormous file.
inline constexpr std::uintmax_t kMaxXrdmlTemplateSize = std::uintmax_t{16} << 20;

// Receives the output piece by piece.
using XrdmlPut = std::function<void(std::string_view)>;

// The output made from the template's text, handed to `put` as it is made;
// false, with nothing handed over, when the template is no XML document with
// an xrdMeasurement holding a scan with dataPoints.
bool FormatPFXRDML(const PoleFigure& pf, std::string_view templateText, const XrdmlOptions& options,
                   const XrdmlPut& put);
// The whole output as one text; nothing for an unusable template.
std::optional<std::string> FormatPFXRDML(const PoleFigure& pf, std::string_view templateText,
                                         const XrdmlOptions& options);

// A small document with one scan (Phi scan, Psi tilt, 1 s per point), for
// when no sample file is given.
extern const std::string_view kBuiltInXrdmlTemplate;

// The circles FormatPFXRDML leaves out: those holding a missing point, which
// XRDML cannot mark.
std::vector<int> CirclesLeftOutOfXrdml(const PoleFigure& pf);

// An empty `sampleFile` takes the built-in template. After writing, a note
// names the circles left out and why.
// Messages: "Cannot open file: SAMPLE", "The sample file SAMPLE is larger
// than 16 MB; ...", "The sample file SAMPLE is not a usable XRDML template.", "Cannot create file OUT", "Error writing
// file OUT.". On any of them no output file is created (an existing one stays as it was).
bool WritePFXRDML(const PoleFigure& pf, const std::string& sampleFile, const std::string& outFile,
                  const XrdmlOptions& options, MessageSink& sink);

}  // namespace quorix
