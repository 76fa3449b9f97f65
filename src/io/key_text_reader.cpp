// "*KEY value" exports of Rigaku goniometers, one circle per block: the .ras
// dialect (*KEY "value", blocks *RAS_HEADER_START .. *RAS_INT_END with
// "angle count attenuation" lines) and the .asc dialect (*KEY = value,
// blocks *BEGIN .. *END with comma-separated counts after *COUNT). Both count
// the tilt alpha from the sample plane, 90 at the sample normal (Schulz
// geometry as the goniometer reports it): the program's tilt is 90 - alpha.
#include <fmt/format.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "base/text_file.h"
#include "io/circle_assembly.h"
#include "io/instrument_readers.h"

namespace quorix {

namespace {

using Keys = std::map<std::string, std::string, std::less<>>;

struct Block {
  std::size_t firstLine = 0;
  bool ras = false;
  Keys keys;
  std::vector<double> positions;  // .ras only
  std::vector<double> values;
};

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

KeyLine SplitKeyLine(std::string_view line) {
  line.remove_prefix(1);  // '*'
  std::size_t end = 0;
  while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '=') ++end;
  KeyLine k{line.substr(0, end), Trim(line.substr(end))};
  if (!k.value.empty() && k.value.front() == '=') k.value = Trim(k.value.substr(1));
  if (k.value.size() >= 2 && k.value.front() == '"' && k.value.back() == '"')
    k.value = Trim(k.value.substr(1, k.value.size() - 2));
  return k;
}

class KeyTextParser {
 public:
  KeyTextParser(const std::string& source, MessageSink& sink) : source_(source), sink_(sink) {}

  bool Parse(std::string_view text, Keys& global, std::vector<Block>& blocks, bool& ras) {
    LineCursor lines(WithoutByteOrderMark(text));
    std::string_view raw;
    Block block;
    bool inBlock = false, inData = false;
    std::size_t lineNo = 0;
    while (lines.Next(raw)) {
      ++lineNo;
      const std::string_view line = Trim(raw);
      if (line.empty()) continue;
      if (line.front() == '*') {
        const KeyLine k = SplitKeyLine(line);
        if (k.key == "RAS_DATA_START" || k.key == "RAS_DATA_END") {
          ras = true;
          continue;
        }
        if (k.key == "EOF") break;
        if (k.key == "RAS_HEADER_START" || k.key == "BEGIN") {
          if (inBlock)
            return Fail(lineNo, "a block begins before the one of line " + std::to_string(block.firstLine) + " ends");
          block = Block{};
          block.firstLine = lineNo;
          block.ras = k.key == "RAS_HEADER_START";
          ras = ras || block.ras;
          inBlock = true;
          continue;
        }
        if (k.key == "RAS_HEADER_END") continue;
        if (k.key == "RAS_INT_END" || k.key == "END") {
          if (!inBlock) return Fail(lineNo, "*" + std::string(k.key) + " without a block");
          blocks.push_back(std::move(block));
          block = Block{};
          inBlock = inData = false;
          continue;
        }
        if (inData) return Fail(lineNo, "a key among the intensities");
        (inBlock ? block.keys : global)[std::string(k.key)] = std::string(k.value);
        if (k.key == "RAS_INT_START" || (k.key == "COUNT" && inBlock)) {
          if (!inBlock) return Fail(lineNo, "intensities outside a block");
          inData = true;
        }
        continue;
      }
      if (!inData) return Fail(lineNo, "numbers outside the intensities of a block");
      if (!(block.ras ? RasLine(line, block, lineNo) : AscLine(line, block, lineNo))) return false;
    }
    if (inBlock) return Fail(lineNo, "the file ends inside the block of line " + std::to_string(block.firstLine));
    return true;
  }

  bool Fail(std::size_t line, std::string_view what) const {
    ReportBadInput(sink_, source_, line, what);
    return false;
  }

 private:
  // "angle count attenuation"; the intensity is the count times the attenuation factor.
  bool RasLine(std::string_view line, Block& block, std::size_t lineNo) const {
    TokenCursor tokens(line);
    std::string_view token;
    double numbers[3] = {0, 0, 1};
    int count = 0;
    while (tokens.Next(token)) {
      if (count == 3) return Fail(lineNo, "more than angle, count and attenuation factor");
      const auto v = ParseNumber(token);
      if (!v) return Fail(lineNo, "\"" + std::string(token.substr(0, 40)) + "\" is not a finite number");
      numbers[count++] = *v;
    }
    if (count < 2) return Fail(lineNo, "expected an angle and a count");
    block.positions.push_back(numbers[0]);
    block.values.push_back(numbers[1] * numbers[2]);
    return true;
  }

  bool AscLine(std::string_view line, Block& block, std::size_t lineNo) const {
    std::size_t pos = 0;
    while (pos <= line.size()) {
      auto comma = line.find(',', pos);
      if (comma == std::string_view::npos) comma = line.size();
      const std::string_view field = Trim(line.substr(pos, comma - pos));
      if (!field.empty() || comma < line.size()) {
        const auto v = ParseNumber(field);
        if (!v) return Fail(lineNo, "\"" + std::string(field.substr(0, 40)) + "\" is not a finite number");
        block.values.push_back(*v);
      }
      pos = comma + 1;
    }
    return true;
  }

  const std::string& source_;
  MessageSink& sink_;
};

struct BlockReader {
  const std::string& source;
  MessageSink& sink;
  const Keys& global;
  const Block& block;
  std::string where;

  bool Fail(const std::string& what) const {
    ReportBadInput(sink, source, block.firstLine, where + ": " + what);
    return false;
  }
  const std::string* Text(std::string_view key) const {
    if (const auto it = block.keys.find(key); it != block.keys.end()) return &it->second;
    if (const auto it = global.find(key); it != global.end()) return &it->second;
    return nullptr;
  }
  // The first of the keys the block or the file has; `bad` when it is no number.
  std::optional<double> Number(std::initializer_list<std::string_view> keys, std::string& name, bool& bad) const {
    for (const auto key : keys) {
      if (const std::string* t = Text(key)) {
        name = std::string(key);
        const auto v = ParseNumber(*t);
        if (!v) bad = true;
        return v;
      }
    }
    name = std::string(*keys.begin());
    return std::nullopt;
  }
  std::optional<double> Required(std::initializer_list<std::string_view> keys, bool& ok) const {
    std::string name;
    bool bad = false;
    const auto v = Number(keys, name, bad);
    if (ok && (bad || !v)) {
      Fail(bad ? "*" + name + " is not a number" : "no *" + name);
      ok = false;
    }
    return v;
  }

  bool Read(MeasuredCircle& circle) const {
    bool ok = true;
    const auto alpha = Required({"MEAS_3DE_ALPHA_ANGLE", "PF_AANGLE"}, ok);
    const auto start = Required({"MEAS_SCAN_START", "START"}, ok);
    const auto step = Required({"MEAS_SCAN_STEP", "STEP"}, ok);
    const auto stop = Required({"MEAS_SCAN_STOP", "STOP"}, ok);
    if (!ok) return false;
    if (block.values.empty()) return Fail("no intensities");
    const std::size_t n = block.values.size();
    const auto points = PointsFromRange(*start, *stop, *step);
    if (!points)
      return Fail(fmt::format("the azimuths from {} to {} in steps of {} are no whole number of points",
                              ShortNumber(*start), ShortNumber(*stop), ShortNumber(*step)));
    if (*points != n)
      return Fail(fmt::format("the azimuths from {} to {} in steps of {} make {} points, the block holds {}",
                              ShortNumber(*start), ShortNumber(*stop), ShortNumber(*step), *points, n));
    std::string name;
    bool bad = false;
    if (const auto count = Number({"COUNT", "MEAS_DATA_COUNT"}, name, bad);
        bad || (count && *count != static_cast<double>(n)))
      return Fail(fmt::format("*{} does not match the {} intensities of the block", name, n));
    if (block.ras) {
      const auto even = EvenStep(block.positions.data(), n);
      if (!even || std::fabs(block.positions[0] - *start) > 2e-3 ||
          (n > 1 && std::fabs(*even - *step) > 1e-3 * std::fabs(*step) + 1e-3))
        return Fail("the angles of the intensities do not follow *MEAS_SCAN_START and *MEAS_SCAN_STEP");
    }
    double time = 1;
    if (!CountingTime(std::fabs(*step), time)) return false;
    circle.alpha = 90 - *alpha;
    circle.betaStart = *start;
    circle.betaStep = *step;
    circle.values = block.values;
    for (double& v : circle.values) v /= time;
    return true;
  }

  // Seconds per point where the values are counts; 1 where they are counts
  // per second already or the block gives no speed.
  bool CountingTime(double step, double& time) const {
    const char* unitKey = block.ras ? "MEAS_SCAN_UNIT_Y" : "YUNIT";
    const char* speedKey = block.ras ? "MEAS_SCAN_SPEED" : "SPEED";
    const char* dimKey = block.ras ? "MEAS_SCAN_SPEED_UNIT" : "SPEED_DIM";
    const std::string* unit = Text(unitKey);
    if (unit && ToLower(*unit).find("cps") != std::string::npos) return true;
    const std::string* speedText = Text(speedKey);
    if (!speedText || Trim(*speedText).empty()) return true;
    const auto speed = ParseNumber(*speedText);
    if (!speed || !(*speed > 0)) return Fail(std::string("*") + speedKey + " is not a positive number");
    const std::string* dimText = Text(dimKey);
    const std::string dim = dimText ? ToLower(*dimText) : std::string();
    if (dim.find("min") != std::string::npos) {
      time = step * 60 / *speed;  // degrees per minute
    } else if (dim.rfind('s', 0) == 0) {
      time = *speed;  // seconds per step
    } else {
      return Fail(std::string("the unit of *") + speedKey + " is not known (*" + dimKey + " \"" +
                  (dimText ? dimText->substr(0, 40) : std::string()) + "\")");
    }
    if (!(time > 0) || !std::isfinite(time)) return Fail("the counting time is not a positive number");
    return true;
  }
};

std::string FirstText(const Keys& global, const Block& block, std::initializer_list<std::string_view> keys) {
  for (const auto key : keys) {
    for (const Keys* map : {&block.keys, &global}) {
      if (const auto it = map->find(key); it != map->end() && !Trim(it->second).empty())
        return std::string(Trim(it->second));
    }
  }
  return {};
}

}  // namespace

bool LooksLikeKeyText(std::string_view text) {
  LineCursor lines(WithoutByteOrderMark(text.substr(0, 65536)));
  std::string_view line;
  bool first = true;
  while (lines.Next(line)) {
    line = Trim(line);
    if (line.empty()) continue;
    if (first && line.front() != '*') return false;
    first = false;
    if (line.rfind("*RAS_DATA_START", 0) == 0 || line.rfind("*MEAS_", 0) == 0 || line.rfind("*PF_", 0) == 0)
      return true;
  }
  return false;
}

std::optional<MeasurementFile> ReadKeyText(std::string_view text, const std::string& source, MessageSink& sink) {
  Keys global;
  std::vector<Block> blocks;
  bool ras = false;
  if (!KeyTextParser(source, sink).Parse(text, global, blocks, ras)) return std::nullopt;
  MeasurementFile file;
  file.format = ras ? DataLayout::Ras : DataLayout::Asc;
  std::vector<std::string> groups;                          // of file.poleFigures, in order
  std::map<std::string, std::size_t, std::less<>> byGroup;  // to the pole figure
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    const Block& block = blocks[b];
    BlockReader reader{source, sink, global, block, "block " + std::to_string(b + 1)};
    MeasuredCircle circle;
    if (!reader.Read(circle)) return std::nullopt;
    if (!FinishCircle(circle, source, block.firstLine, reader.where, sink)) return std::nullopt;
    // A .ras file may hold several reflections; an .asc file numbers its groups.
    std::string group =
        block.ras ? FirstText(global, block, {"MEAS_3DE_TWOTHETA_ANGLE"}) : FirstText(global, block, {"GROUP"});
    const auto [at, added] = byGroup.try_emplace(group, file.poleFigures.size());
    const std::size_t i = at->second;
    if (added) {
      groups.push_back(group);
      file.poleFigures.emplace_back();
      file.poleFigures.back().name = block.ras ? FirstText(global, block, {"FILE_SAMPLE", "FILE_MEMO", "FILE_COMMENT"})
                                               : FirstText(global, block, {"MEMO", "SAMPLE", "FNAME"});
    }
    file.poleFigures[i].circles.push_back(std::move(circle));
  }
  if (file.poleFigures.empty()) {
    ReportBadInput(sink, source, 0, "the file holds no block of intensities");
    return std::nullopt;
  }
  if (file.poleFigures.size() > 1)
    for (std::size_t i = 0; i < groups.size(); ++i)
      file.poleFigures[i].name += (file.format == DataLayout::Ras ? " 2theta " : " group ") + groups[i];
  for (auto& pf : file.poleFigures)
    if (!FinishPoleFigure(pf, source, sink)) return std::nullopt;
  return file;
}

}  // namespace quorix
