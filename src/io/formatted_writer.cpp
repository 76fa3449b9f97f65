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
#include "io/popla_writer.h"
#include "io/wko_header.h"

namespace quorix {

namespace {

// The first of start/10, start/100, ... that brings the maximum below the
// limit; a maximum no factor can bring down (infinite, NaN) ends at 0. Its two
// callers pass the layout's constants after the record's maximum.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
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
void ForEachValue(const PoleFigure& pf, int circles, bool invertTheta, bool invertPhi, Emit emit) {
  for (int k = 1; k <= circles; ++k) {
    const int i = invertTheta ? circles + 1 - k : k;
    const int points = pf.CirclePoints[i];
    for (int m = 1; m <= points; ++m) emit(pf.Intensity[i][(invertPhi && m > 1) ? points + 2 - m : m]);
  }
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

bool IsBlockGrid(const PoleFigure& pf) {
  const int n = pf.CircleCount;
  if (n < 1 || n > kBlockCircles) return false;
  const auto near = [](double a, double b) { return std::fabs(a - b) < 1e-6; };
  for (int i = 1; i <= n; ++i)
    if (!near(pf.Alpha[i], 5.0 * (i - 1)) || pf.CirclePoints[i] != kBlockPoints || !near(pf.BetaStep[i], 5.0) ||
        !near(pf.BetaStart[i], pf.BetaStart[1]))
      return false;
  return true;
}

void AppendBlockValues(std::string& out, const PoleFigure& pf, bool invertTheta, bool invertPhi, double scale) {
  const int measured = std::min(LastMeasuredCircle(pf), kBlockCircles);
  for (int k = 1; k <= kBlockCircles; ++k) {
    const int i = invertTheta ? measured + 1 - k : k;
    for (int m = 1; m <= kBlockPoints; ++m) {
      if ((m - 1) % 18 == 0) out += ' ';
      int value = 0;
      if (k <= measured && i >= 1 && pf.CirclePoints[i] >= kBlockPoints) {
        const double v = pf.Intensity[i][(invertPhi && m > 1) ? kBlockPoints + 2 - m : m];
        value = v == kMissing ? -1 : Nearest(v * scale);
      }
      fmt::format_to(std::back_inserter(out), "{:4d}", value);
      if (m % 18 == 0) out += kLineEnd;
    }
  }
}

int LastMeasuredCircle(const PoleFigure& pf) {
  for (int i = pf.CircleCount; i >= 1; --i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j)
      if (pf.Intensity[i][j] != kMissing) return i;
  return std::min(pf.CircleCount, 1);
}

std::string CommentText(std::string_view comment) {
  std::string out(comment);
  std::replace(out.begin(), out.end(), '\r', ' ');
  std::replace(out.begin(), out.end(), '\n', ' ');
  while (!out.empty() && (out.back() == '#' || out.back() == ' ')) out.pop_back();
  return out;
}

std::optional<std::string> SaveAllProblem(const PoleFigure& pf, const SaveAllSettings& s, const SaveAllRow& row,
                                          int number) {
  const std::string layoutName = s.layout == DataLayout::Beartex      ? "Beartex"
                                 : s.layout == DataLayout::Geesthacht ? "Geesthacht"
                                                                      : "popLA";
  const int n = pf.CircleCount;
  if (n < 1) return fmt::format("Pole figure {} has no grid to write.", number);
  if (s.layout != DataLayout::Geesthacht && !IsBlockGrid(pf))
    return fmt::format(
        "Pole figure {} cannot be written in the {} layout: it holds circles every 5 degrees from alpha 0 to at most "
        "90 with 72 points each. Interpolate the pole figure onto a 5-degree grid first.",
        number, layoutName);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= pf.CirclePoints[i]; ++j)
      if (!std::isfinite(pf.Intensity[i][j]))
        return fmt::format("Pole figure {}: the value at circle {}, point {} is {}; it cannot be written.", number, i,
                           j, pf.Intensity[i][j]);
  // `blank`: the field must keep a blank in front of its number.
  const auto field = [&](const char* what, const std::string& text, std::size_t width,
                         bool blank = false) -> std::optional<std::string> {
    if (text.size() <= width && (!blank || text.front() == ' ')) return std::nullopt;
    return fmt::format("Pole figure {}: {} {} does not fit the {} layout's field of {} characters.", number, what,
                       Trim(text), layoutName, width);
  };
  switch (s.layout) {
    case DataLayout::Beartex:
    case DataLayout::Popla: {
      if (s.layout == DataLayout::Popla) {
        if (auto p = PoplaHklProblem(row.h, row.k, row.l)) return fmt::format("Pole figure {}: {}", number, *p);
      } else {
        for (int v : {row.h, row.k, row.l})
          if (auto p = field("the Miller index", fmt::format("{:3d}", v), 3)) return p;
      }
      const double scale = s.layout == DataLayout::Beartex ? BeartexScale(pf.MaxValue) : PoplaScale(pf.MaxValue);
      if (!(scale > 0)) return fmt::format("Pole figure {}: its maximum {} cannot be scaled.", number, pf.MaxValue);
      for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= pf.CirclePoints[i]; ++j) {
          const double v = pf.Intensity[i][j];
          if (v == kMissing) continue;
          if (auto p = field("the value", fmt::format("{:4d}", Nearest(v * scale)), 4))
            return *p + fmt::format(" (circle {}, point {}, {} scaled by {})", i, j, v, scale);
        }
      break;
    }
    case DataLayout::Geesthacht: {
      for (int v : {row.h, row.k, row.l})
        if (auto p = field("the Miller index", fmt::format("{:3d}", v), 3)) return p;
      if (pf.CirclePoints[1] > 9999) return field("the point count", std::to_string(pf.CirclePoints[1]), 4);
      const double scale = GeesthachtScale(pf.MaxValue);
      if (!(scale > 0)) return fmt::format("Pole figure {}: its maximum {} cannot be scaled.", number, pf.MaxValue);
      for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= pf.CirclePoints[i]; ++j) {
          const double v = pf.Intensity[i][j];
          if (v == kMissing) continue;
          // Seven characters keep a blank before every value.
          if (auto p = field("the value", fmt::format("{:7d}", Nearest(v * scale)), 7, true))
            return *p + fmt::format(" (circle {}, point {}, {} scaled by {})", i, j, v, scale);
        }
      if (row.second) {
        const SecondReflection& r = *row.second;
        for (int v : {r.h2, r.k2, r.l2})
          if (auto p = field("the second reflection's index", fmt::format("{:3d}", v), 3)) return p;
        if (!std::isfinite(r.fac)) return field("the second reflection's factor", fmt::format("{}", r.fac), 0);
        if (auto p = field("the second reflection's factor", fmt::format("{:5.1f}", r.fac), 5)) return p;
      }
      break;
    }
    default: break;
  }
  return std::nullopt;
}

std::optional<std::string> SaveAllHeaderProblem(const SaveAllSettings& s) {
  const auto field = [&](const char* what, double v, const std::string& text, std::size_t width,
                         bool blank = false) -> std::optional<std::string> {
    if (std::isfinite(v) && text.size() <= width && (!blank || text.front() == ' ')) return std::nullopt;
    return fmt::format("The {} {} does not fit the header's field of {} characters.", what, v, width);
  };
  const Lattice& l = s.lattice;
  if (s.layout == DataLayout::Beartex) {
    const std::pair<const char*, double> lattice[] = {{"lattice constant a", l.a},    {"lattice constant b", l.b},
                                                      {"lattice constant c", l.c},    {"lattice angle alpha", l.alpha},
                                                      {"lattice angle beta", l.beta}, {"lattice angle gamma", l.gamma}};
    // Ten characters with a blank in front: the header is read by columns.
    for (const auto& [what, v] : lattice)
      if (auto p = field(what, v, fmt::format("{:10.3f}", v), 10, true)) return p;
  } else if (s.layout == DataLayout::Geesthacht) {
    if (auto p = field("lattice constant a", l.a, fmt::format("{:8.3f}", l.a), 8)) return p;
    const std::pair<const char*, double> rest[] = {
        {"lattice constant b", l.b}, {"lattice constant c", l.c}, {"lattice angle gamma", l.gamma}};
    for (const auto& [what, v] : rest)
      if (auto p = field(what, v, fmt::format("{:7.3f}", v), 7)) return p;
    if (s.misalignment < -99 || s.misalignment > 999)
      return fmt::format("The misalignment {} does not fit the header's field of 3 characters.", s.misalignment);
  }
  if (s.symmetry < 0 || s.symmetry > MaxSymmetry(s.layout))
    return fmt::format("The symmetry code must be from 0 to {}.", MaxSymmetry(s.layout));
  return std::nullopt;
}

std::optional<std::string> SaveAllProblem(const SaveAllSettings& s, const PoleFigureSlots& figures) {
  if (auto p = SaveAllHeaderProblem(s)) return p;
  int number = 0;
  for (const SaveAllRow& row : s.rows) {
    if (row.pf < 1 || row.pf > kSlotCount || !figures[row.pf]) continue;
    if (auto p = SaveAllProblem(*figures[row.pf], s, row, ++number)) return p;
  }
  if (number == 0) return std::string("No pole figure to write.");
  return std::nullopt;
}

std::string FormatBeartexBlock(const PoleFigure& pf, const SaveAllSettings& s, const SaveAllRow& row) {
  std::string out;
  auto put = std::back_inserter(out);
  std::string first = CommentText(CommentLine(s.comments, 0));
  if (first.size() < 79) first.resize(79, ' ');
  out += first + "#";
  out += kLineEnd;
  for (std::size_t k = 1; k < 5; ++k) {
    const std::string comment = CommentText(CommentLine(s.comments, k));
    out += comment.empty() ? std::string(" ") : comment;
    out += kLineEnd;
  }
  const Lattice& l = s.lattice;
  fmt::format_to(put, "{:10.3f}{:10.3f}{:10.3f}{:10.3f}{:10.3f}{:10.3f}{:5d}    1", l.a, l.b, l.c, l.alpha, l.beta,
                 l.gamma, s.symmetry);
  out += kLineEnd;
  const int measured = LastMeasuredCircle(pf);
  fmt::format_to(put, " {:3d}{:3d}{:3d}{:5.1f}{:5.1f}{:5.1f}{:5.1f}{:5.1f}{:5.1f} 1 1", row.h, row.k, row.l,
                 pf.Alpha[1], pf.Alpha[measured], 5.0, pf.BetaStart[1], 360.0, 5.0);
  out += kLineEnd;
  AppendBlockValues(out, pf, s.invertTheta, s.invertPhi, BeartexScale(pf.MaxValue));
  out += ' ';
  out += kLineEnd;
  return out;
}

std::string FormatGeesthachtBlock(const PoleFigure& pf, const SaveAllSettings& s, const SaveAllRow& row) {
  std::string out;
  auto put = std::back_inserter(out);
  const int n = pf.CircleCount;
  // Only outer circles without any value are left out; missing points of the
  // others are written as -1. The header tells how many circles were written.
  const int kept = std::max(LastMeasuredCircle(pf), 1);
  const int points = pf.CirclePoints[1];
  fmt::format_to(put, "{:3d}{:3d}{:3d}{:4d}{:4d}{:4d}", row.h, row.k, row.l, n - 1, points, kept - 1);
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
  long counter = 0;
  int lines = 3;
  // With "90 - theta" the written circles are the kept ones in reverse.
  ForEachValue(pf, kept, s.invertTheta, s.invertPhi, [&](double v) {
    fmt::format_to(put, "{:7d}", v == kMissing ? -1 : Nearest(v * scale));
    if (++counter % 10 == 0) {
      out += kLineEnd;
      ++lines;
    }
  });
  if (counter % 10 != 0) {
    out += kLineEnd;
    ++lines;
  }
  // The reader steps from block to block by the count the header gives.
  const int blockLines = WkoBlockLines(static_cast<long long>(kept) * points);
  for (int z = 1; z <= kept && lines < blockLines; ++z) {
    out += "      0";
    if (z % 10 == 0 || z == kept) {
      out += kLineEnd;
      ++lines;
    }
  }
  for (; lines < blockLines; ++lines) out += kLineEnd;
  return out;
}

std::string FormatSaveAllHead(const SaveAllSettings& s, int count) {
  std::string out;
  if (s.layout != DataLayout::Geesthacht) return out;
  for (std::size_t k = 0; k < 2; ++k) {
    const std::string comment = CommentText(CommentLine(s.comments, k));
    out += comment.empty() ? std::string(" ") : comment;
    out += kLineEnd;
  }
  fmt::format_to(std::back_inserter(out), "{:3d}{:3d}", count, s.symmetry);
  out += kLineEnd;
  fmt::format_to(std::back_inserter(out), "{:8.3f}{:7.3f}{:7.3f}{:7.3f}", s.lattice.a, s.lattice.b, s.lattice.c,
                 s.lattice.gamma);
  out += kLineEnd;
  return out;
}

std::string FormatSaveAllBlock(const PoleFigure& pf, const SaveAllSettings& s, const SaveAllRow& row) {
  switch (s.layout) {
    case DataLayout::Beartex: return FormatBeartexBlock(pf, s, row);
    case DataLayout::Geesthacht: return FormatGeesthachtBlock(pf, s, row);
    case DataLayout::Popla: {
      // Without a comment of the user's, each block keeps the line its file gave it.
      std::string comment = CommentText(CommentLine(s.comments, 0));
      if (comment.empty()) comment = CommentText(pf.CommentInFile);
      return FormatPoplaBlock(pf, comment, row.h, row.k, row.l, s.invertTheta, s.invertPhi);
    }
    default: break;
  }
  return {};
}

std::string FormatSaveAll(const SaveAllSettings& s, const PoleFigureSlots& figures) {
  const auto present = [&](const SaveAllRow& row) { return row.pf >= 1 && row.pf <= kSlotCount && figures[row.pf]; };
  // Rows naming a closed window count in the header as they always did.
  std::string out = FormatSaveAllHead(s, static_cast<int>(s.rows.size()));
  for (const SaveAllRow& row : s.rows)
    if (present(row)) out += FormatSaveAllBlock(*figures[row.pf], s, row);
  return out;
}

bool WriteSaveAll(const std::string& fileName, const SaveAllSettings& settings, const PoleFigureSlots& figures,
                  MessageSink& sink) {
  if (const auto problem = SaveAllProblem(settings, figures)) {
    sink.Problem({fileName, 0, *problem, Severity::Error, FileRole::Output});
    return false;
  }
  return WriteFileReporting(fileName, FormatSaveAll(settings, figures), sink, "Cannot create file " + fileName,
                            "Error writing file " + fileName + ".");
}

std::optional<MillerText> MillerOf(const PoleFigure& pf) {
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
  if (layout == DataLayout::Geesthacht) {
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
  } else if (layout == DataLayout::Beartex) {
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
  return ReadSaveAllHeaderText(*text, layout);
}

SaveAllHeader ReadSaveAllHeaderText(std::string_view text, DataLayout layout) {
  // The header lies in the first 7 lines.
  std::vector<std::string> lines;
  LineCursor cursor(WithoutByteOrderMark(text));
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

int SymmetryForLayout(DataLayout target, int remembered, DataLayout source) {
  if (target != DataLayout::Geesthacht)
    return source == DataLayout::Beartex ? remembered : GeesthachtToBeartexSymmetry(remembered);
  return source == DataLayout::Geesthacht ? remembered : BeartexToGeesthachtSymmetry(remembered);
}

int MaxSymmetry(DataLayout layout) {
  switch (layout) {
    case DataLayout::Beartex: return 11;
    case DataLayout::Geesthacht: return 6;
    case DataLayout::Popla: return 11;  // not written; any code of the dialog is accepted
    default: break;
  }
  return 11;
}

const char* SaveAllExtension(DataLayout layout) {
  switch (layout) {
    case DataLayout::Beartex: return "xpe";
    case DataLayout::Geesthacht: return "ibm";
    case DataLayout::Popla: return "epf";
    default: break;
  }
  return "xpe";
}

std::string ProposedSaveAllName(const std::string& fileName, DataLayout layout) {
  const std::size_t slash = fileName.find_last_of("/\\");
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = fileName.find('.', start);
  const std::string kept = dot == std::string::npos ? fileName.substr(0, start) : fileName.substr(0, dot + 1);
  return AvoidingSource(kept + SaveAllExtension(layout), fileName);
}

}  // namespace quorix
