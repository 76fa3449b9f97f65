// Suppression of single-crystal intensities: isolated sharp peaks, standing
// steeply above their four neighbours, are replaced by the neighbours' mean.
#pragma once

#include <string>

#include "record/pole_figure.h"

namespace quorix {

inline constexpr int kMaxSuppressionLevel = 10;

// The intensities of a record as a suppression session began, which every
// level is computed from. It belongs to the session, not to the record.
struct SuppressionBackup {
  GridTable<double> values;
};

// Starts a suppression session: level 0, and the backup returned.
SuppressionBackup BeginSuppression(PoleFigure& pf);

// Level 0 restores the backup (SSCICount as it was); level 1..10 replaces
// every point whose mean gradient towards its neighbours exceeds
// (11 - level) x 100 per degree, judged on the backup alone, and counts the
// replacements in SSCICount. Levels outside 0..10 are brought to the nearest
// end of the range. A backup of another grid leaves pf as it is.
void SuppressSingleCrystal(PoleFigure& pf, const SuppressionBackup& backup, int level);

// One step of the tool-bar controls: SSCILevel, the suppression, mirror
// circles, extremes and statistics.
void SetSuppressionLevel(PoleFigure& pf, const SuppressionBackup& backup, int level);

// "level:count", as the tool bar shows it.
std::string SuppressionText(const PoleFigure& pf);

}  // namespace quorix
