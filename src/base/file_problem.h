// What is wrong with a file, as one value: which file, which line, what, and
// whether reading went on. Readers and writers report through it; the text a
// user sees is composed from it in one place (FormatProblem).
#pragma once

#include <cstddef>
#include <string>

namespace quorix {

enum class Severity { Error, Warning };

// What the file is to the user; it opens the message ("Grid file X: ...").
enum class FileRole { Data, Grid, Directional, Output, Template };

struct FileProblem {
  std::string file;
  std::size_t line = 0;  // 1-based; 0 when the problem is the file as a whole
  std::string what;      // a sentence with its final full stop
  Severity severity = Severity::Error;
  FileRole role = FileRole::Data;
  // False for the program's fixed sentences that name no file ("Expected 9
  // data, found 0."): shown alone where one file is read, labelled where
  // several are (FileNamingSink).
  bool labelled = true;
};

// "Data file X, line N: what", "Data file X: what", or `what` alone.
std::string FormatProblem(const FileProblem& p);

}  // namespace quorix
