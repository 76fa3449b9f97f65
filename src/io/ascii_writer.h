// Pole figures as plain ASCII value streams or angle tables, the named
// column layouts, proposed file names and the "SaveFormat" settings.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/ini_file.h"
#include "base/message_sink.h"
#include "record/pole_figure.h"

namespace quorix {

// The number layout of the plain value stream ("count", "digits", "comma",
// "factor", "enter" of section "SaveFormat").
struct SaveFormat {
  int ValuesPerLine = 6;
  int Width = 8;
  int Decimals = 3;
  int FactorExponent = 0;
  bool LineEndAfterCircle = false;
  bool operator==(const SaveFormat&) const = default;
};

enum class CoordinateType { EqualArea = 0, EqualAngular = 1, Polar = 2 };

struct AsciiWriteOptions {
  bool SetNegativeToZero = true;
  bool InvertTheta = false;  // "90 - theta": circles written outermost first
  bool InvertPhi = false;    // "360 - phi"
  bool IncludeCoordinates = false;
  CoordinateType Coordinates = CoordinateType::EqualAngular;
  SaveFormat Format;
};

// Every text file of the writers ends its lines this way, as the texture
// programs these files go to expect.
inline constexpr std::string_view kLineEnd = "\r\n";

// 10 to the power `exponent`, formed by repeated multiplication or division.
double PowerOfTen(int exponent);

// The bytes of the file WritePFASCII writes.
std::string FormatPFASCII(const PoleFigure& pf, const AsciiWriteOptions& options);

// Why the options or the values cannot be written so that a reader gets them
// back: an option out of range, a value that is not finite, or one that leaves
// no blank before it in its field. Nothing when all is well.
std::optional<std::string> AsciiWriteProblem(const PoleFigure& pf, const AsciiWriteOptions& options);

// Writes the file as a whole (after AsciiWriteProblem, whose finding is told
// instead); a file that cannot be created or written is reported with the
// system's reason ("Cannot create file NAME: why", "Error writing file NAME:
// why.") and nothing half-written is left behind.
bool WritePFASCII(const PoleFigure& pf, const std::string& fileName, const AsciiWriteOptions& options,
                  MessageSink& sink);

// --- the named column layouts ------------------------------------------------

struct SaveStandard {
  const char* Name;
  int ValuesPerLine, Width, Decimals;
  bool LineEndAfterCircle;
};

inline constexpr const char* kUserStandard = "user";

// DUBNA, DAHMS, CLAUSTHAL, POPLA in this order.
std::span<const SaveStandard> SaveStandards();
// The first standard whose four numbers match (the factor takes no part), else "user".
std::string StandardName(const SaveFormat& format);
// The standard called `name` (letter case ignored); nothing for "user" or unknown names.
std::optional<SaveStandard> FindStandard(std::string_view name);
// Sets the four numbers of the standard; the factor is kept.
void ApplyStandard(SaveFormat& format, const SaveStandard& standard);

// --- configuration ------------------------------------------------------------

// --- file names ---------------------------------------------------------------

// The name offered for a pole figure loaded from `fileName`: in the file-name
// part, up to ten characters from the first "." are dropped, then ".z01" is
// added ("a.b.pol" gives "a.z01", "q" gives "q.z01"); never `fileName` itself.
std::string ProposedAsciiName(const std::string& fileName);

// `proposed`, unless it names the data file itself: then "_saved" goes before
// its extension, so that accepting a proposal never overwrites the input.
std::string AvoidingSource(const std::string& proposed, const std::string& source);

// Names of the further files of "Save all pole figures": the last two
// characters of the first name, read as a number (its leading digits, else 0),
// count on; a single digit gets a leading "0", longer numbers keep two digits.
class SaveAllNames {
 public:
  explicit SaveAllNames(const std::string& firstName);
  std::string Next();

 private:
  std::string stem_;
  int number_ = 0;
};

}  // namespace quorix
