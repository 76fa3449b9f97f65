// Readers of the text layouts texture packages and older instruments
// exchange: WKO lists read from their block headers, Dubna .cnv, Seifert
// RayfleX .nja, Siemens/Bruker dumps (.dat, .ptx) and TEXD5 correction files
// (.pwd), TEX EINZEL neutron lists, LaboTex, EMSE, GADDS slices, Rigaku
// 3DExplore, X'Pert text, Aachen, Queen's University (.plf), INEL (.int) and
// AUTEX (.EXP) files. Each carries its own grid; each
// takes the file's text and the name messages give it and, on bad input,
// reports a problem naming the file, the line and what was expected.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_sink.h"
#include "io/measurement.h"

namespace quorix {

// Detection by content; cheap, looks at the start of the text only.
bool LooksLikeOlderWkoList(std::string_view text);  // "WKO =" on line 5: no lattice line
bool LooksLikeSeifert(std::string_view text);
bool LooksLikeSiemensDump(std::string_view text);
bool LooksLikeTexd5(std::string_view text);
bool LooksLikeTexEinzel(std::string_view text);
bool LooksLikeLaboTex(std::string_view text);
bool LooksLikeEmse(std::string_view text);
bool LooksLikeGaddsSlice(std::string_view text);
bool LooksLike3dExplore(std::string_view text);
bool LooksLikeXpertText(std::string_view text);
bool LooksLikeAachen(std::string_view text);
bool LooksLikeQueens(std::string_view text);  // a line of stars ends a pole figure; else the .plf name decides
bool LooksLikeInel(std::string_view text);
bool LooksLikeAutex(std::string_view text);

std::optional<MeasurementFile> ReadWkoListText(std::string_view text, const std::string& source, MessageSink& sink);
// The values of a Dubna goniometer file: 19 circles 0..90 of 72 points each.
std::optional<MeasurementFile> ReadDubnaText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadSeifertText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadSiemensDumpText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadTexd5Text(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadTexEinzelText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadLaboTexText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadEmseText(std::string_view text, const std::string& source, MessageSink& sink);
// hkl from the file name ("slc110.slc": 1 1 0).
std::optional<MeasurementFile> ReadGaddsSliceText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> Read3dExploreText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadXpertText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadAachenText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadQueensText(std::string_view text, const std::string& source, MessageSink& sink);
// hkl from the file name: the file names no reflection.
std::optional<MeasurementFile> ReadInelText(std::string_view text, const std::string& source, MessageSink& sink);
std::optional<MeasurementFile> ReadAutexText(std::string_view text, const std::string& source, MessageSink& sink);

// Miller indices from the groups of three digits in a file's name, one digit
// an index: "ST42-104-110.dat" gives "1 0 4" and "1 1 0"; a group with minus
// signs between its digits gives them: "Bruker_xrd_10-10.ras" gives "1 0 -1 0".
std::vector<std::string> HklGroupsInName(const std::string& source);

// A number a line, as the fixed-layout files write them: the values of the
// text from line `first` (0-based) on, each with its line (1-based); false,
// after a problem naming the line, at a token that is not a number.
struct NumberAt {
  double value;
  std::size_t line;
};
bool NumbersFrom(std::string_view text, std::size_t first, std::vector<NumberAt>& out, const std::string& source,
                 MessageSink& sink);

}  // namespace quorix
