// The difference of two pole figures in m.r.d., their RP distribution (the
// relative deviation in per cent where the reference is large enough), the
// names offered for the result files and the RP log.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/message_sink.h"
#include "io/ascii_writer.h"
#include "record/pole_figure.h"

namespace quorix {

// An empty text when both records share one grid (circles, their alpha and
// point counts, mirror circles), else what differs. With `bMayGoOn`, b may
// hold further circles beyond a's: a pole figure measured to 75 degrees
// against its complete recalculation to 90.
std::string DescribeGridDifference(const PoleFigure& a, const PoleFigure& b, bool bMayGoOn = false);

// Reference values below 0.01 m.r.d. are too close to zero for a ratio.
double EffectiveEps(double typed);

// The up/down arrows beside the Eps field: 0.05 up or down from the typed
// value, never below 0; nothing when the text is not a number.
std::optional<double> StepEps(std::string_view text, bool up);

struct PFComparison {
  std::unique_ptr<PoleFigure> difference;  // pf1 - pf2 in m.r.d.
  std::unique_ptr<PoleFigure> rp;          // 100 |pf1 - pf2| / |pf1|, -1 where pf1 <= eps
  double eps = 0;                          // the Eps used
  std::optional<double> RP;                // mean of the RP distribution; none without any point above eps
};

// Both results carry pf1's grid and file name, NormFactor 1 and levels
// spanning their values. Nothing when the grids differ or a pole figure has
// no normalisation (message sent).
std::optional<PFComparison> ComparePoleFigures(const PoleFigure& pf1, const PoleFigure& pf2, double typedEps,
                                               MessageSink& sink);

// "12.3", or "n/a" when no point of PF1 lay above Eps.
std::string FormatRP(const std::optional<double>& rp);

// The window captions of the results: "3 * " + file part of the difference
// file, "4 * " + file part of the RP file + "   [RP=12.3%]".
std::string DifferenceCaption(const std::string& diffFile);
std::string RPCaption(const std::string& rpFile, const std::optional<double>& rp);

// The three characters from the first "[" of a window caption: the index of a
// pole figure from a multi-pole-figure file; empty without a "[".
std::string CaptionIndex(const std::string& caption);
// The same for a record, as its caption shows it: "[2]", "[12" for 12; empty
// for the pole figure of a file of one.
std::string PlaceInFileText(const PoleFigure& pf);

struct DiffFileNames {
  std::string rp;
  std::string diff;
  std::string log;
};

// q.x01 gives q_RP.x01 and q_diff.x01 beside it; from a multi-pole-figure
// file pf1's PlaceInFileText is added and the ending is ".pol".
DiffFileNames ProposeDiffNames(const std::string& pf1FileName, bool multi, const std::string& pf1Place,
                               const std::string& dataPath, const std::string& rpLogName);

// The layout of the result files: one value per line, 13 wide, 3 decimals,
// negative values kept.
AsciiWriteOptions DifferenceWriteOptions();

// Writes each result whose file name is not empty.
bool WriteComparisonFiles(const PoleFigure& difference, const PoleFigure& rp, const std::string& diffFile,
                          const std::string& rpFile, MessageSink& sink);

// --- the RP log ----------------------------------------------------------------

inline constexpr const char* kDefaultRPLogName = "rp.log";

struct RPLogEntry {
  std::string pf1File;  // full names; only the file parts are logged
  std::string pf2File;
  bool multi = false;
  std::string pf1Index;  // PlaceInFileText of PF1 and PF2
  std::string pf2Index;
  double eps = 0;
  std::optional<double> rp;
};

// The three lines a new log starts with, each with its line end.
std::string RPLogHeader();
// One result line with its line end.
std::string RPLogLine(const RPLogEntry& entry);

// Appends one line; a log that does not exist yet is created with the header
// first. An existing log is never rewritten: when it cannot be appended to,
// the message says so and the file stays as it was.
bool AppendRPLog(const std::string& logFile, const RPLogEntry& entry, MessageSink& sink);

}  // namespace quorix
