// Directional data files: one direction per line (azimuth r, angle s and a
// tag naming the convention).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "base/work_control.h"
#include "math/vector_math.h"

namespace quorix {

struct DirectionalOptions {
  double fwhm = 5;  // degrees
  // 'X', 'Y' or 'Z': one of three sections of a sample, turned into the
  // common frame about that axis by its angle; ' ': a single set, unrotated.
  char kind = ' ';
  std::array<double, 3> sectionAngles{90, 90, 0};  // X, Y, Z
  // Progress and Cancel of the density; a cancelled density fails silently.
  WorkControl work;
};

struct TaggedDirection {
  double alpha = 0;
  double beta = 0;
};

// r and s of a line under the convention of its tag (blanks already removed
// or not): first letter E, N, S, W or P, second letter P for the pole of a plane.
TaggedDirection TagDirection(double r, double s, std::string_view tag);

// Nothing for a line that does not start with two numbers.
std::optional<TaggedDirection> ParseDirectionLine(std::string_view line);

struct DirectionList {
  std::vector<Vec3> directions;  // rotated for a section
  int skippedLines = 0;          // lines with text but not two numbers
};

// The directions of a file, or nothing after a message (file missing,
// unreadable, or without a single direction).
std::optional<DirectionList> ReadDirections(const std::string& fileName, const DirectionalOptions& options,
                                            MessageSink& sink);
// The same for a file's text; `fileName` is the name messages give it.
std::optional<DirectionList> ReadDirectionsText(std::string_view text, const std::string& fileName,
                                                const DirectionalOptions& options, MessageSink& sink);

}  // namespace quorix
