// Several pole figures in one file in the Beartex (new Berkeley), the
// Geesthacht or the popLA layout, and the prefill of their header data from
// the window captions and from the header of a hash-list or WKO list file.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "io/data_layout.h"
#include "record/pole_figure.h"
#include "record/pole_figure_set.h"

namespace quorix {

struct Lattice {
  double a = 0, b = 0, c = 0, alpha = 0, beta = 0, gamma = 0;
};

// The "SUP =" line of a Geesthacht block: a superimposed second reflection.
struct SecondReflection {
  int h2 = 0, k2 = 0, l2 = 0;
  double fac = 0;
};

struct SaveAllRow {
  int pf = 1;  // slot 1..8; any other number writes nothing
  int h = 0, k = 0, l = 0;
  std::optional<SecondReflection> second;  // Geesthacht only
};

struct SaveAllSettings {
  DataLayout layout = DataLayout::Beartex;
  std::vector<std::string> comments;  // 5 (Beartex) or 2 (Geesthacht) are used
  int symmetry = 0;
  Lattice lattice;           // Geesthacht writes a, b, c and gamma
  int misalignment = 0;      // Geesthacht "WKO =", degrees
  bool invertTheta = false;  // "90 - theta"
  bool invertPhi = false;    // "360 - phi"
  std::vector<SaveAllRow> rows;
};

// PF[1..8]; null for a slot whose window is not open.
using PoleFigureSlots = std::array<const PoleFigure*, kSlotCount + 1>;

// The first of 1000, 100, 10, 1, 0.1, ... that brings the maximum below the limit.
double BeartexScale(double maxValue);     // below 9999.4
double GeesthachtScale(double maxValue);  // first 100, below 30000

// Beartex and popLA blocks hold 19 circles of 72 points, every 5 degrees from alpha 0.
inline constexpr int kBlockCircles = 19;
inline constexpr int kBlockPoints = 72;

// Why `pf` cannot go into a block of `layout` (nothing when it can): a grid the
// layout cannot hold, a value that is not finite or does not fit its field.
// `number` is the pole figure's place in the file, for the message.
std::optional<std::string> SaveAllProblem(const PoleFigure& pf, const SaveAllSettings& settings, const SaveAllRow& row,
                                          int number);
// The same for the file's header fields.
std::optional<std::string> SaveAllHeaderProblem(const SaveAllSettings& settings);
// The same for the whole file, header fields included.
std::optional<std::string> SaveAllProblem(const SaveAllSettings& settings, const PoleFigureSlots& figures);

// Circles every 5 degrees from alpha 0, 72 points of 5 degrees each, at most 19 circles.
bool IsBlockGrid(const PoleFigure& pf);
// The 19 x 72 values of a Beartex or popLA block, 18 to a line after one blank;
// circles outside the measured range are 0, missing points -1.
void AppendBlockValues(std::string& out, const PoleFigure& pf, bool invertTheta, bool invertPhi, double scale);

// The last circle holding a measured value: circles outside it were not measured.
int LastMeasuredCircle(const PoleFigure& pf);

// A comment as one line that no reader takes for a block marker: line breaks
// become blanks, a trailing "#" goes.
std::string CommentText(std::string_view comment);

std::string FormatBeartexBlock(const PoleFigure& pf, const SaveAllSettings& settings, const SaveAllRow& row);
std::string FormatGeesthachtBlock(const PoleFigure& pf, const SaveAllSettings& settings, const SaveAllRow& row);
// The file's header (Geesthacht only) for `count` pole figures, and one block of `layout`.
std::string FormatSaveAllHead(const SaveAllSettings& settings, int count);
std::string FormatSaveAllBlock(const PoleFigure& pf, const SaveAllSettings& settings, const SaveAllRow& row);
// The whole file: the Geesthacht header, then one block per row.
std::string FormatSaveAll(const SaveAllSettings& settings, const PoleFigureSlots& figures);
// "Cannot create file NAME" / "Error writing file NAME."; a failed write leaves no
// partial file. Whatever SaveAllProblem finds is told instead and nothing is written.
bool WriteSaveAll(const std::string& fileName, const SaveAllSettings& settings, const PoleFigureSlots& figures,
                  MessageSink& sink);

// --- prefill ---------------------------------------------------------------

struct MillerText {
  std::string h, k, l;
};

// The indices in the name a multi-pole-figure file gives a record's pole
// figure, read as from its caption: a name of 10 characters loses the first,
// then three fields of 3 characters. Nothing for the pole figure of a file of one.
std::optional<MillerText> MillerOf(const PoleFigure& pf);

// What the first lines of a multi-pole-figure data file say about the set.
struct SaveAllHeader {
  std::optional<int> symmetry;
  // Hash-list: all six; WKO: a, b, c and gamma.
  std::optional<double> a, b, c, alpha, beta, gamma;
  std::array<std::string, 3> abcText;  // WKO: a, b, c as written, leading blanks removed
  std::optional<double> misalignment;  // WKO only
  bool secondReflection = false;       // WKO only
  std::string h2, k2, l2;
  std::optional<double> fac;
};

// `lines` are the file's lines from line 1; fields that are missing or do not
// parse stay empty.
SaveAllHeader ParseSaveAllHeader(const std::vector<std::string>& lines, DataLayout layout);
std::optional<SaveAllHeader> ReadSaveAllHeader(const std::string& fileName, DataLayout layout, MessageSink& sink);
SaveAllHeader ReadSaveAllHeaderText(std::string_view text, DataLayout layout);

// The symmetry code shown after switching to `target`: the remembered code
// when it came from a file of that layout's own numbering, else translated.
int SymmetryForLayout(DataLayout target, int remembered, DataLayout source);
int BeartexToGeesthachtSymmetry(int code);
int GeesthachtToBeartexSymmetry(int code);
int MaxSymmetry(DataLayout layout);

// The file name of PF[1] up to and including the first "." of its name part,
// then "xpe", "ibm" or "epf"; never the file name itself (AvoidingSource).
std::string ProposedSaveAllName(const std::string& fileName, DataLayout layout);
// "xpe", "ibm" or "epf".
const char* SaveAllExtension(DataLayout layout);

inline constexpr const char* kBeartexSymmetryHint =
    "cub       tetr     orth  mono   tric      hex        trig\n"
    "O  T    D4 C4    D2      C2      C1     D6 C6    D3 C3\n"
    "7   6    5    4      3        2         1      11  10     9   8";
inline constexpr const char* kGeesthachtSymmetryHint =
    "mono  orth  trig  tetr  hexa\n"
    "   1        2      3     4       6";

}  // namespace quorix
