// Several pole figures in one file in the Beartex (new Berkeley) or the
// Geesthacht layout, and the prefill of their header data.
#include "io/formatted_writer.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "base/nearest.h"
#include "base/text_file.h"
#include "io/ascii_writer.h"

namespace quorix {

namespace {

int CircleLimit(const TPoleFigure& pf) { return std::clamp(pf.CircleCount, 0, LastRow(pf)); }
int PointLimit(const TPoleFigure& pf, int i) { return PointsInTable(pf, i); }

// The first of start/10, start/100, ... that brings the maximum below the
// limit; a maximum no factor can bring down (infinite, NaN) ends at 0.
double ScaleBelow(double maxValue, double start, double limit) {
  double factor = start;
  do {
    factor /= 10;
  } while (!(maxValue * factor < limit) && factor > 0);
  return factor;
}

std::string CommentLine(const std::vector<std::string>& comments, std::size_t k) {
  return k < comments.size() ? comments[k] : std::string(" ");
}

// The points of circles `first`..`last` (reversed with "90 - theta"); with
// "360 - phi" point 1 first, then n, n-1, ..., 2.
template <class Emit>
void ForEachValue(const TPoleFigure& pf, int circles, bool invertTheta, bool invertPhi, Emit emit) {
  for (int k = 1; k <= circles; ++k) {
    const int i = invertTheta ? circles + 1 - k : k;
    const int points = PointLimit(pf, i);
    for (int m = 1; m <= points; ++m) emit(pf.Intensity[i][(invertPhi && m > 1) ? points + 2 - m : m]);
  }
}

long ValueCount(const TPoleFigure& pf, int circles) {
  long total = 0;
  for (int i = 1; i <= circles; ++i) total += PointLimit(pf, i);
  return total;
}

std::optional<double> NumberIn(std::string_view line, std::size_t from, std::size_t to) {
  return ParseNumber(Trim(Columns(line, from, to)));
}

std::optional<int> IntegerIn(std::string_view line, std::size_t from, std::size_t to) {
  const auto v = ParseInteger(Trim(Columns(line, from, to)));
  if (!v || *v < -1000000 || *v > 1000000) return std::nullopt;
  return static_cast<int>(*v);
}

std::string LeftTrimmed(std::string_view s) {
  const std::size_t p = s.find_first_not_of(' ');
  return p == std::string_view::npos ? std::string() : std::string(s.substr(p));
}

}  // namespace

double BeartexScale(double maxValue) { return ScaleBelow(maxValue, 10000, 9999.4); }
double GeesthachtScale(double maxValue) { return ScaleBelow(maxValue, 1000, 30000); }

std::string FormatBeartexBlock(const TPoleFigure& pf, const SaveAllSettings& s, const SaveAllRow& row) {
  std::string out;
  auto put = std::back_inserter(out);
  std::string first = CommentLine(s.comments, 0);
  if (first.size() < 79) first.resize(79, ' ');
  out += first + "#";
  out += kLineEnd;
  for (std::size_t k = 1; k < 5; ++k) {
    out += CommentLine(s.comments, k);
    out += kLineEnd;
  }
  const Lattice& l = s.lattice;
  fmt::format_to(put, "{:10.3f}{:10.3f}{:10.3f}{:10.3f}{:10.3f}{:10.3f}{:5d}    1", l.a, l.b, l.c, l.alpha, l.beta,
                 l.gamma, s.symmetry);
  out += kLineEnd;
  const int n = CircleLimit(pf);
  fmt::format_to(put, " {:3d}{:3d}{:3d}{:5.1f}{:5.1f}{:5.1f}{:5.1f}{:5.1f}{:5.1f} 1 1", row.h, row.k, row.l,
                 pf.Alpha[1], pf.Alpha[n], pf.Alpha[2] - pf.Alpha[1], pf.BetaStart[1],
                 pf.CirclePoints[1] * pf.BetaStep[1], pf.BetaStep[1]);
  out += kLineEnd;
  const double scale = BeartexScale(pf.MaxValue);
  const long total = ValueCount(pf, n);
  long counter = 0;
  out += ' ';
  ForEachValue(pf, n, s.invertTheta, s.invertPhi, [&](double v) {
    fmt::format_to(put, "{:4d}", Nearest(v * scale));
    if (++counter % 18 == 0 && counter != total) {
      out += kLineEnd;
      out += ' ';
    }
  });
  out += kLineEnd;
  out += ' ';
  out += kLineEnd;
  return out;
}

std::string FormatGeesthachtBlock(const TPoleFigure& pf, const SaveAllSettings& s, const SaveAllRow& row) {
  std::string out;
  auto put = std::back_inserter(out);
  const int n = CircleLimit(pf);
  // Circles with a missing value are taken to be the outermost ones.
  int m = 0;
  for (int i = 1; i <= n; ++i) {
    const int points = PointLimit(pf, i);
    for (int j = 1; j <= points; ++j)
      if (pf.Intensity[i][j] == kMissing) {
        ++m;
        break;
      }
  }
  const int kept = n - m;
  fmt::format_to(put, "{:3d}{:3d}{:3d}{:4d}{:4d}{:4d}", row.h, row.k, row.l, n - 1, pf.CirclePoints[1], n - 1 - m);
  out += kLineEnd;
  fmt::format_to(put, "WKO ={:3d}.0", s.misalignment);
  out += kLineEnd;
  if (row.second)
    fmt::format_to(put, "SUP =  2{:3d}{:3d}{:3d}{:5.1f}", row.second->h2, row.second->k2, row.second->l2,
                   row.second->fac);
  else
    out += "SUP =  1  1  1  1  1.0";
  out += kLineEnd;
  const double scale = GeesthachtScale(pf.MaxValue);
  // The last value of the block ends its line once, also when circles were left out.
  const long total = ValueCount(pf, kept);
  long counter = 0;
  ForEachValue(pf, kept, s.invertTheta, s.invertPhi, [&](double v) {
    fmt::format_to(put, "{:7d}", Nearest(v * scale));
    if (++counter % 10 == 0 && counter != total) out += kLineEnd;
  });
  if (counter > 0) out += kLineEnd;
  for (int z = 1; z <= kept; ++z) {
    out += "      0";
    if (z % 10 == 0 && z != kept) out += kLineEnd;
  }
  out += kLineEnd;
  return out;
}

std::string FormatSaveAll(const SaveAllSettings& s, const PoleFigureSlots& figures) {
  std::string out;
  if (s.layout == FormattedLayout::Geesthacht) {
    for (std::size_t k = 0; k < 2; ++k) {
      out += CommentLine(s.comments, k);
      out += kLineEnd;
    }
    fmt::format_to(std::back_inserter(out), "{:3d}{:3d}", s.rows.size(), s.symmetry);
    out += kLineEnd;
    fmt::format_to(std::back_inserter(out), "{:8.3f}{:7.3f}{:7.3f}{:7.3f}", s.lattice.a, s.lattice.b, s.lattice.c,
                   s.lattice.gamma);
    out += kLineEnd;
  }
  for (const SaveAllRow& row : s.rows) {
    if (row.pf < 1 || row.pf > kSlotCount || !figures[row.pf]) continue;
    const TPoleFigure& pf = *figures[row.pf];
    out += s.layout == FormattedLayout::Beartex ? FormatBeartexBlock(pf, s, row) : FormatGeesthachtBlock(pf, s, row);
  }
  return out;
}

bool WriteSaveAll(const std::string& fileName, const SaveAllSettings& settings, const PoleFigureSlots& figures,
                  MessageSink& sink) {
  return WriteFileReporting(fileName, FormatSaveAll(settings, figures), sink, "Cannot create file " + fileName,
                            "Error writing file " + fileName + ".");
}

std::optional<MillerText> MillerFromCaption(std::string_view caption) {
  const std::size_t first = caption.find('[');
  if (first == std::string_view::npos) return std::nullopt;
  std::string_view s = caption.substr(first, 20);
  const std::size_t second = s.find('[', 1);
  if (second == std::string_view::npos) return std::nullopt;
  s.remove_prefix(second + 1);
  if (!s.empty()) s.remove_suffix(1);
  if (s.size() == 10) s.remove_prefix(1);
  return MillerText{std::string(Trim(Columns(s, 1, 3))), std::string(Trim(Columns(s, 4, 6))),
                    std::string(Trim(Columns(s, 7, 9)))};
}

std::optional<MillerText> MillerOf(const TPoleFigure& pf) {
  // Files with their own grid give the indices as a fact of their own.
  const auto hkl = SplitWhitespace(pf.Hkl);
  if (hkl.size() == 3) return MillerText{std::string(hkl[0]), std::string(hkl[1]), std::string(hkl[2])};
  if (pf.IndexInFile <= 0) return std::nullopt;
  std::string_view s = pf.NameInFile;
  if (s.size() == 10) s.remove_prefix(1);
  return MillerText{std::string(Trim(Columns(s, 1, 3))), std::string(Trim(Columns(s, 4, 6))),
                    std::string(Trim(Columns(s, 7, 9)))};
}

SaveAllHeader ParseSaveAllHeader(const std::vector<std::string>& lines, DataLayout layout) {
  SaveAllHeader h;
  auto line = [&](std::size_t number) -> std::string_view {
    return number <= lines.size() ? std::string_view(lines[number - 1]) : std::string_view();
  };
  if (layout == DataLayout::WkoList) {
    h.symmetry = IntegerIn(line(3), 4, 6);
    const std::string_view l4 = line(4);
    h.abcText = {LeftTrimmed(Columns(l4, 1, 8)), LeftTrimmed(Columns(l4, 9, 15)), LeftTrimmed(Columns(l4, 16, 22))};
    h.a = ParseNumber(Trim(h.abcText[0]));
    h.b = ParseNumber(Trim(h.abcText[1]));
    h.c = ParseNumber(Trim(h.abcText[2]));
    // Characters 23-29 hold gamma, the fourth number of the Geesthacht lattice line.
    h.gamma = NumberIn(l4, 23, 29);
    h.misalignment = NumberIn(line(6), 6, 10);
    const std::string_view l7 = line(7);
    h.secondReflection = l7.size() >= 8 && l7[7] == '2';
    if (h.secondReflection) {
      h.h2 = std::string(Trim(Columns(l7, 9, 11)));
      h.k2 = std::string(Trim(Columns(l7, 12, 14)));
      h.l2 = std::string(Trim(Columns(l7, 15, 17)));
      h.fac = NumberIn(l7, 18, 22);
    }
  } else if (layout == DataLayout::HashList) {
    const std::string_view l6 = line(6);
    h.symmetry = IntegerIn(l6, 61, 65);
    h.a = NumberIn(l6, 1, 10);
    h.b = NumberIn(l6, 11, 20);
    h.c = NumberIn(l6, 21, 30);
    h.alpha = NumberIn(l6, 31, 40);
    h.beta = NumberIn(l6, 41, 50);
    h.gamma = NumberIn(l6, 51, 60);
  }
  return h;
}

std::optional<SaveAllHeader> ReadSaveAllHeader(const std::string& fileName, DataLayout layout, MessageSink& sink) {
  const auto text = ReadTextFile(fileName, sink, "File " + fileName + " does not exist");
  if (!text) return std::nullopt;
  // The header lies in the first 7 lines.
  std::vector<std::string> lines;
  LineCursor cursor(WithoutByteOrderMark(*text));
  std::string_view line;
  while (lines.size() < 7 && cursor.Next(line)) lines.emplace_back(line);
  return ParseSaveAllHeader(lines, layout);
}

int BeartexToGeesthachtSymmetry(int code) {
  switch (code) {
    case 2: return 1;
    case 3: return 2;
    case 4:
    case 5:
    case 6:
    case 7: return 4;
    case 8:
    case 9: return 3;
    case 10:
    case 11: return 6;
    default: return 0;
  }
}

int GeesthachtToBeartexSymmetry(int code) {
  switch (code) {
    case 1: return 2;
    case 2: return 3;
    default: return 0;
  }
}

int SymmetryForLayout(FormattedLayout target, int remembered, DataLayout source) {
  if (target == FormattedLayout::Beartex)
    return source == DataLayout::HashList ? remembered : GeesthachtToBeartexSymmetry(remembered);
  return source == DataLayout::WkoList ? remembered : BeartexToGeesthachtSymmetry(remembered);
}

int MaxSymmetry(FormattedLayout layout) { return layout == FormattedLayout::Beartex ? 11 : 6; }

std::string ProposedSaveAllName(const std::string& fileName, FormattedLayout layout) {
  const std::size_t slash = fileName.find_last_of("/\\");
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = fileName.find('.', start);
  const std::string kept = dot == std::string::npos ? fileName.substr(0, start) : fileName.substr(0, dot + 1);
  return kept + (layout == FormattedLayout::Beartex ? "xpe" : "ibm");
}

}  // namespace quorix
