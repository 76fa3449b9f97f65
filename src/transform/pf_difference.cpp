// Difference and RP distribution of two pole figures, result names and the RP log.
#include "transform/pf_difference.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/ini_file.h"
#include "base/text_file.h"
#include "record/levels.h"
#include "record/pole_figure_set.h"
#include "record/statistics.h"

namespace quorix {

namespace {

// Rows of the grid arrays a comparison may touch.
int FirstCircle(const PoleFigure& pf) { return pf.InnerMirror == 1 ? 0 : 1; }
int LastCircle(const PoleFigure& pf) { return pf.CircleCount + (pf.OuterMirror == 1 ? 1 : 0); }

bool Normalised(const PoleFigure& pf) { return pf.NormFactor != 0 && std::isfinite(pf.NormFactor); }

void FinishResult(PoleFigure& pf) {
  pf.NormFactor = 1;
  UpdateExtremes(pf);
  pf.LowestLevel = 0;
  // The levels span the values, negative differences included.
  AutoLevels(pf, true, false, kMaxLevels);
}

std::string Extension(const std::string& fileName) {
  const std::string name = FileNamePart(fileName);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder + name;
  return folder + "/" + name;
}

}  // namespace

std::string DescribeGridDifference(const PoleFigure& a, const PoleFigure& b, bool bMayGoOn) {
  if (bMayGoOn ? b.CircleCount < a.CircleCount : a.CircleCount != b.CircleCount)
    return fmt::format("{} circles against {}", a.CircleCount, b.CircleCount);
  const bool outerDiffers = bMayGoOn ? LastCircle(a) > LastCircle(b) : a.OuterMirror != b.OuterMirror;
  if (a.InnerMirror != b.InnerMirror || outerDiffers) return "the mirror circles differ";
  if (!TablesHoldGrid(a) || !TablesHoldGrid(b)) return "no grid";
  for (int i = FirstCircle(a); i <= LastCircle(a); ++i) {
    if (a.CirclePoints[i] != b.CirclePoints[i])
      return fmt::format("circle {} has {} points against {}", i, a.CirclePoints[i], b.CirclePoints[i]);
    if (a.Alpha[i] != b.Alpha[i])
      return fmt::format("circle {} lies at alpha {:g} against {:g}", i, a.Alpha[i], b.Alpha[i]);
  }
  return {};
}

double EffectiveEps(double typed) { return typed < 0.01 ? 0.005 : typed; }

std::optional<double> StepEps(std::string_view text, bool up) {
  const auto v = ParseNumber(Trim(text));
  if (!v) return std::nullopt;
  const double stepped = *v + (up ? 0.05 : -0.05);
  return stepped < 0 ? 0.0 : stepped;
}

std::optional<PFComparison> ComparePoleFigures(const PoleFigure& pf1, const PoleFigure& pf2, double typedEps,
                                               MessageSink& sink) {
  // PF1's points are the ones compared: PF2 may go on beyond them.
  const std::string why = DescribeGridDifference(pf1, pf2, true);
  if (!why.empty()) {
    sink.Message(fmt::format("PF1 ({}) and PF2 ({}) are not on the same grid: {}.", FileNamePart(pf1.FileName),
                             FileNamePart(pf2.FileName), why));
    return std::nullopt;
  }
  for (const PoleFigure* pf : {&pf1, &pf2}) {
    if (!Normalised(*pf)) {
      sink.Message(fmt::format("Pole figure {} has a mean intensity of {:g} and cannot be taken in m.r.d.",
                               FileNamePart(pf->FileName), pf->NormFactor));
      return std::nullopt;
    }
  }

  PFComparison r;
  r.eps = EffectiveEps(typedEps);
  r.difference = std::make_unique<PoleFigure>(pf1);
  r.rp = std::make_unique<PoleFigure>(pf1);
  // The results are no pole figure of pf1's file.
  for (PoleFigure* result : {r.difference.get(), r.rp.get()}) ForgetFileFacts(*result);
  double sum = 0;
  long count = 0;
  for (int i = FirstCircle(pf1); i <= LastCircle(pf1); ++i) {
    for (int j = 1; j <= pf1.CirclePoints[i]; ++j) {
      const double v1 = pf1.Intensity[i][j];
      const double v2 = pf2.Intensity[i][j];
      if (v1 == kMissing) continue;  // stays missing in both results
      double& diff = r.difference->Intensity[i][j];
      double& rp = r.rp->Intensity[i][j];
      if (v2 == kMissing) {
        // A missing value is not an intensity of -1.
        diff = rp = kMissing;
        continue;
      }
      const double m1 = v1 / pf1.NormFactor;
      const double m2 = v2 / pf2.NormFactor;
      diff = m1 - m2;
      if (std::fabs(m1) > r.eps) {
        rp = 100 * std::fabs(m1 - m2) / std::fabs(m1);
        sum += rp;
        ++count;
      } else {
        rp = kMissing;
      }
    }
  }
  if (count > 0) r.RP = sum / static_cast<double>(count);
  FinishResult(*r.difference);
  FinishResult(*r.rp);
  return r;
}

std::string FormatRP(const std::optional<double>& rp) { return rp ? fmt::format("{:.1f}", *rp) : "n/a"; }

std::string DifferenceCaption(const std::string& diffFile) { return "3 * " + FileNamePart(diffFile); }

std::string RPCaption(const std::string& rpFile, const std::optional<double>& rp) {
  return "4 * " + FileNamePart(rpFile) + "   [RP=" + FormatRP(rp) + (rp ? "%]" : "]");
}

std::string CaptionIndex(const std::string& caption) {
  const std::size_t p = caption.find('[');
  return p == std::string::npos ? std::string() : caption.substr(p, 3);
}

std::string PlaceInFileText(const PoleFigure& pf) {
  return pf.IndexInFile > 0 ? CaptionIndex(MultiSuffix(pf.IndexInFile, "")) : std::string();
}

DiffFileNames ProposeDiffNames(const std::string& pf1FileName, bool multi, const std::string& pf1Place,
                               const std::string& dataPath, const std::string& rpLogName) {
  // The stem is that of the name "Save as ASCII" offers, without its ending.
  std::string stem = ProposedAsciiName(pf1FileName);
  stem.resize(stem.size() - 4);
  if (multi) stem += pf1Place;
  const std::string ending = multi ? ".pol" : Extension(pf1FileName);
  return {stem + "_RP" + ending, stem + "_diff" + ending, JoinPath(dataPath, rpLogName)};
}

AsciiWriteOptions DifferenceWriteOptions() {
  AsciiWriteOptions o;
  o.SetNegativeToZero = false;
  o.Format.ValuesPerLine = 1;
  o.Format.Width = 13;
  o.Format.Decimals = 3;
  o.Format.FactorExponent = 0;
  o.Format.LineEndAfterCircle = false;
  return o;
}

bool WriteComparisonFiles(const PoleFigure& difference, const PoleFigure& rp, const std::string& diffFile,
                          const std::string& rpFile, MessageSink& sink) {
  bool ok = true;
  if (!diffFile.empty()) ok = WritePFASCII(difference, diffFile, DifferenceWriteOptions(), sink) && ok;
  if (!rpFile.empty()) ok = WritePFASCII(rp, rpFile, DifferenceWriteOptions(), sink) && ok;
  return ok;
}

std::string RPLogHeader() {
  std::string s = "NOTE: - pole figure PF1 is reference!";
  s += kLineEnd;
  s += "      - avoid subsequent normalization of difference pole figures and RP distributions!";
  s += kLineEnd;
  s += fmt::format("{:>25}\t{:>25}\t{:>10}\t{:>10}", "PF1", "PF2", "Eps", "RP[%]");
  s += kLineEnd;
  return s;
}

std::string RPLogLine(const RPLogEntry& e) {
  const std::string rp = FormatRP(e.rp);
  std::string s;
  if (e.multi) {
    s = fmt::format("{:>25}\t{:>25}\t{:>10.2f}\t{:>10}", FileNamePart(e.pf1File) + e.pf1Index,
                    FileNamePart(e.pf2File) + e.pf2Index, e.eps, rp);
  } else {
    s = fmt::format("{:>20}{:>20}{:>10.2f}{:>10}", FileNamePart(e.pf1File), FileNamePart(e.pf2File), e.eps, rp);
  }
  s += kLineEnd;
  return s;
}

bool AppendRPLog(const std::string& logFile, const RPLogEntry& entry, MessageSink& sink) {
  const auto refuse = [&](const std::string& why) {
    sink.Message("Cannot append to log file " + logFile + ": " + why);
    return false;
  };
  struct stat st {};
  if (::stat(logFile.c_str(), &st) != 0) {
    if (errno != ENOENT) return refuse(std::strerror(errno));
    return WriteFileReporting(logFile, RPLogHeader() + RPLogLine(entry), sink, "Cannot create file " + logFile,
                              "Error writing log file " + logFile + ".");
  }
  if (S_ISDIR(st.st_mode)) return refuse("it is a folder");
  // A device such as /dev/null takes the line as it is; a FIFO or socket
  // would keep the command waiting.
  const bool regular = S_ISREG(st.st_mode);
  if (!regular && !S_ISCHR(st.st_mode)) return refuse(kNotARegularFile);
  const int fd = ::open(logFile.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return refuse(std::strerror(errno));
  std::string text = RPLogLine(entry);
  if (regular && st.st_size > 0) {
    // A last line without its line end must not run into the new one.
    const int probe = ::open(logFile.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    char last = '\n';
    if (probe >= 0) {
      struct stat now {};
      if (::fstat(probe, &now) == 0 && S_ISREG(now.st_mode) && now.st_size > 0 &&
          ::pread(probe, &last, 1, now.st_size - 1) != 1)
        last = '\n';
      ::close(probe);
    }
    if (last != '\n' && last != '\r') text = std::string(kLineEnd) + text;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::size_t done = 0;
  int error = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : EIO;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    sink.Message("Error writing log file " + logFile + ": " + std::strerror(error) + ".");
    return false;
  }
  return true;
}

}  // namespace quorix
