// Dubna neutron goniometer files (.cnv): a plain stream of numbers, 19 circles
// from 0 to 90 degrees of 72 values each. The goniometer measures each circle
// over 0 to 360 degrees inclusive (step 360/71), starting at an azimuth of its
// own; the first and last value of a circle see the same direction.
#include <fmt/format.h>

#include <array>
#include <vector>

#include "io/exchange_readers.h"

namespace quorix {
namespace {

constexpr std::size_t kCircles = 19;
constexpr std::size_t kPoints = 72;
constexpr std::array<double, kCircles> kStartAzimuth = {270.00, 272.50, 275.02, 277.57, 280.16, 282.81, 285.54,
                                                        288.38, 291.34, 294.47, 297.80, 301.37, 305.26, 309.57,
                                                        314.44, 320.11, 327.05, 336.40, 360.00};

}  // namespace

std::optional<MeasurementFile> ReadDubnaText(std::string_view text, const std::string& source, MessageSink& sink) {
  std::vector<NumberAt> numbers;
  if (!NumbersFrom(text, 0, numbers, source, sink)) return std::nullopt;
  if (numbers.size() != kCircles * kPoints) {
    sink.Problem({source, numbers.size() > kCircles * kPoints ? numbers[kCircles * kPoints].line : 0,
                  fmt::format("a Dubna file holds {} values (19 circles of 72), this one {}.", kCircles * kPoints,
                              numbers.size())});
    return std::nullopt;
  }
  MeasuredPoleFigure pf;
  for (std::size_t c = 0; c < kCircles; ++c) {
    MeasuredCircle circle;
    circle.alpha = 5.0 * static_cast<double>(c);
    circle.betaStart = kStartAzimuth[c] >= 360 ? kStartAzimuth[c] - 360 : kStartAzimuth[c];
    circle.betaStep = 360.0 / (kPoints - 1);
    for (std::size_t k = 0; k < kPoints; ++k) circle.values.push_back(numbers[c * kPoints + k].value);
    // Both ends measured the same direction: keep their mean once.
    circle.values.front() = (circle.values.front() + circle.values.back()) / 2;
    circle.values.pop_back();
    pf.circles.push_back(std::move(circle));
  }
  MeasurementFile file;
  file.format = DataLayout::Dubna;
  file.poleFigures.push_back(std::move(pf));
  return file;
}

}  // namespace quorix
