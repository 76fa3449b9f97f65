#include "correction/corrections.h"

#include <fmt/format.h>

#include <cmath>
#include <numbers>

#include "correction/sampling.h"
#include "correction/units.h"
#include "io/circle_assembly.h"
#include "record/prepare.h"
#include "record/statistics.h"

namespace quorix {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

void AddNote(std::vector<std::string>& notes, const std::string& note) {
  if (!note.empty()) notes.push_back(note);
}

// The value of a point of `m` lying exactly at (alpha, beta), for point-by-point division.
std::optional<double> PointAt(const PoleFigure& m, double alpha, double beta) {
  for (int i = 1; i <= m.CircleCount; ++i) {
    if (!SameAngle(m.Alpha[i], alpha)) continue;
    for (int k = 1; k <= m.CirclePoints[i]; ++k) {
      const double d = std::remainder(BetaOf(m, i, k) - beta, 360.0);
      if (std::fabs(d) < 1e-4) {
        const double v = m.Intensity[i][k];
        return v == kMissing ? std::nullopt : std::optional<double>(v);
      }
    }
  }
  return std::nullopt;
}

// A background read at one point, already in the data's unit.
struct BackgroundSource {
  const PoleFigure* pf;
  double factor;
};

class Background {
 public:
  Background(const PoleFigure& data, const std::vector<const PoleFigure*>& backgrounds,
             std::vector<std::string>& notes) {
    for (const PoleFigure* b : backgrounds) {
      std::string note;
      const double f = UnitFactor(data, *b, note);
      AddNote(notes, note);
      sources_.push_back({b, f});
    }
    if (sources_.size() == 2) {
      const double tp = data.TwoTheta, tl = sources_[0].pf->TwoTheta, th = sources_[1].pf->TwoTheta;
      if (tp > 0 && tl > 0 && th > 0 && !SameAngle(tl, th)) {
        weight_ = (tp - tl) / (th - tl);
      } else {
        weight_ = 0.5;
        AddNote(notes, fmt::format("The 2theta of {} or of a background is unknown or both backgrounds lie at "
                                   "one 2theta: the mean of the two backgrounds was subtracted.",
                                   SourceName(data)));
      }
    }
  }

  bool Any() const { return !sources_.empty(); }

  std::optional<double> At(double alpha, double beta) const {
    if (sources_.empty()) return 0.0;
    const auto low = SampleAt(*sources_[0].pf, alpha, beta);
    if (!low) return std::nullopt;
    const double l = *low * sources_[0].factor;
    if (sources_.size() == 1) return l;
    const auto high = SampleAt(*sources_[1].pf, alpha, beta);
    if (!high) return std::nullopt;
    const double h = *high * sources_[1].factor;
    return l + (h - l) * weight_;
  }

 private:
  std::vector<BackgroundSource> sources_;
  double weight_ = 0;
};

// Per circle of a random sample the mean over beta of (defocus - background),
// the background read at the sample's points and put in its unit.
DefocusCurve NetCircleMeans(const PoleFigure& defocus, const PoleFigure* background, std::vector<std::string>& notes) {
  double factor = 1;
  if (background) {
    std::string note;
    factor = UnitFactor(defocus, *background, note);
    AddNote(notes, note);
  }
  DefocusCurve means;
  for (int i = 1; i <= defocus.CircleCount; ++i) {
    double sum = 0;
    int count = 0;
    for (int k = 1; k <= defocus.CirclePoints[i]; ++k) {
      const double v = defocus.Intensity[i][k];
      if (v == kMissing) continue;
      const auto b = background ? SampleAt(*background, defocus.Alpha[i], BetaOf(defocus, i, k)) : 0.0;
      if (!b) continue;
      sum += v - *b * factor;
      ++count;
    }
    if (count == 0) continue;
    means.tilts.push_back(defocus.Alpha[i]);
    means.factors.push_back(sum / count);
  }
  return means;
}

}  // namespace

std::optional<double> CurveFactorAt(const DefocusCurve& curve, double alpha) {
  const auto& t = curve.tilts;
  if (t.empty()) return std::nullopt;
  for (std::size_t k = 0; k < t.size(); ++k) {
    if (SameAngle(t[k], alpha)) return curve.factors[k];
    if (k + 1 < t.size() && t[k] < alpha && alpha < t[k + 1])
      return curve.factors[k] + (curve.factors[k + 1] - curve.factors[k]) * (alpha - t[k]) / (t[k + 1] - t[k]);
  }
  return std::nullopt;
}

double ThinFilmFactor(double muT, double theta, double alpha) {
  const double s = std::sin(theta * kDegree);
  const double c = std::cos(alpha * kDegree);
  const double top = 1 - std::exp(-2 * muT / s);
  const double bottom = c > 1e-12 ? 1 - std::exp(-2 * muT / (s * c)) : 1.0;
  return top / bottom;
}

std::optional<DefocusCurve> DefocusFromRandom(const PoleFigure& defocus, const PoleFigure* background,
                                              MessageSink& sink, std::vector<std::string>& notes) {
  DefocusCurve curve = NetCircleMeans(defocus, background, notes);
  if (curve.factors.empty() || !(curve.factors.front() > 0)) {
    sink.Problem({defocus.FileName, 0,
                  "the random sample gives no positive intensity above its background on its lowest circle."});
    return std::nullopt;
  }
  const double first = curve.factors.front();
  for (double& f : curve.factors) f /= first;
  return curve;
}

std::unique_ptr<PoleFigure> CorrectPoleFigure(const PoleFigure& data, const CorrectionInputs& in, MessageSink& sink,
                                              CorrectionReport& report) {
  report = CorrectionReport{};
  if (in.backgrounds.size() > 2) {
    sink.Problem({data.FileName, 0, "at most two backgrounds (below and above the peak) can be subtracted."});
    return nullptr;
  }
  if (in.thinFilmMuT && !(data.TwoTheta > 0)) {
    sink.Problem(
        {data.FileName, 0, "the thin-film correction needs the pole figure's 2theta, which the file does not give."});
    return nullptr;
  }
  const Background background(data, in.backgrounds, report.notes);

  // D(alpha), or the random sample's points with its first-circle mean.
  std::optional<DefocusCurve> curve = in.curve;
  double randomFirst = 0;
  double randomFactor = 1;
  if (in.defocus) {
    auto fromRandom = DefocusFromRandom(*in.defocus, in.defocusBackground, sink, report.notes);
    if (!fromRandom) return nullptr;
    curve = std::move(fromRandom);
    if (in.pointwise) {
      // D at a point is its own net intensity over the lowest circle's mean one.
      std::vector<std::string> repeated;
      randomFirst = NetCircleMeans(*in.defocus, in.defocusBackground, repeated).factors.front();
      if (in.defocusBackground) randomFactor = UnitFactor(*in.defocus, *in.defocusBackground, repeated.emplace_back());
    }
  }
  if (curve) report.defocus = *curve;
  const double lastTilt = curve && !curve->tilts.empty() ? curve->tilts.back() : 0;

  auto out = std::make_unique<PoleFigure>(data);
  const double theta = data.TwoTheta / 2;
  for (int i = 1; i <= out->CircleCount; ++i) {
    const double alpha = out->Alpha[i];
    double bgSum = 0;
    int bgCount = 0;
    std::optional<double> d = 1.0;
    if (curve && !(in.defocus && in.pointwise)) d = CurveFactorAt(*curve, alpha);
    const double absorption = in.thinFilmMuT ? ThinFilmFactor(*in.thinFilmMuT, theta, alpha) : 1.0;
    for (int k = 1; k <= out->CirclePoints[i]; ++k) {
      double& v = out->Intensity[i][k];
      if (v == kMissing) continue;
      const double beta = BetaOf(*out, i, k);
      const auto bg = background.At(alpha, beta);
      std::optional<double> factor = d;
      if (in.defocus && in.pointwise) {
        const auto r = PointAt(*in.defocus, alpha, beta);
        const auto rb = in.defocusBackground ? SampleAt(*in.defocusBackground, alpha, beta) : 0.0;
        factor = r && rb ? std::optional<double>((*r - *rb * randomFactor) / randomFirst) : std::nullopt;
      }
      if (!bg || !factor || !(*factor > 0)) {
        ++report.lackingCorrection;
        if (curve && !in.pointwise && alpha > lastTilt) ++report.beyondCurve;
        v = kMissing;
        continue;
      }
      bgSum += *bg;
      ++bgCount;
      v = (v - *bg) / *factor * absorption;
      // A value that lands on the missing mark is still a value.
      if (v == kMissing) v = std::nextafter(kMissing, 0.0);
      if (v < 0) ++report.negative;
      ++report.valid;
    }
    report.circleAlpha.push_back(alpha);
    report.circleBackground.push_back(bgCount > 0 ? bgSum / bgCount : 0.0);
  }
  RefreshMirrorCircles(*out);
  if (report.lackingCorrection > 0) {
    std::string note = fmt::format("{} points of {} have no correction data and are now missing",
                                   report.lackingCorrection, SourceName(data));
    if (report.beyondCurve > 0)
      note +=
          fmt::format(" ({} beyond the defocusing curve's last tilt {})", report.beyondCurve, ShortNumber(lastTilt));
    report.notes.push_back(note + ".");
  }
  if (report.negative > 0)
    report.notes.push_back(fmt::format(
        "{} of {} values of {} are below zero after the corrections ({:.1f} %); they are "
        "kept.",
        report.negative, report.valid, SourceName(data), 100.0 * report.negative / std::max(report.valid, 1)));
  out->Corrected = background.Any() || curve.has_value() || in.thinFilmMuT.has_value() || data.Corrected;
  if (in.mrd) {
    const double norm = UpdateStatistics(*out);
    if (!(norm > 0) || !std::isfinite(norm)) {
      sink.Problem({data.FileName, 0,
                    fmt::format("the corrected pole figure cannot be put in m.r.d.: its mean over the measured "
                                "region is {}.",
                                ShortNumber(norm))});
      return nullptr;
    }
    for (int i = 0; i <= out->CircleCount + 1; ++i)
      for (double& v : CircleValues(*out, i))
        if (v != kMissing) v /= norm;
    out->InMrd = true;
    out->Corrected = true;
  }
  out->Background = false;
  out->Modified = true;
  MarkChanged(*out);
  UpdateExtremes(*out);
  PreparePoleFigure(*out, in.mrd);
  return out;
}

}  // namespace quorix
