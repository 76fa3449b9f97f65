// The body shared by the grid file targets: the bytes as a grid file read into
// a marked record; an accepted grid is checked, a refused one must say why and
// leave the record alone.
#pragma once

#include "fuzz_support.h"
#include "grid_check.h"
#include "io/grid_reader.h"

namespace quorix::fuzz {

// `read` is the text form of the reader under test; `checkAccepted` adds what
// its kind of file promises.
template <class Read, class CheckAccepted>
int FuzzGridFile(const std::uint8_t* data, std::size_t size, const char* fileName, Progress& progress, Read read,
                 CheckAccepted checkAccepted) {
  static const auto pf = NewPoleFigure();
  ResetGrid(*pf);
  MarkUntouched(*pf);
  CheckingSink sink(fileName);
  if (read(*pf, {reinterpret_cast<const char*>(data), size}, fileName, sink)) {
    progress.Accepted();
    checkAccepted(*pf);
    CheckAcceptedGrid(*pf);
  } else {
    progress.Refused();
    Require(sink.count > 0, "a refusal says why");
    CheckUntouched(*pf);
  }
  progress.Ran();
  return 0;
}

}  // namespace quorix::fuzz
