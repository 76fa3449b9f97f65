// Where library code sends the messages a user must see. The desktop program
// shows them in a message box, the command-line tool on stderr, tests collect them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/file_problem.h"

namespace quorix {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Message(const std::string& text) = 0;
  // A problem of a named file; shown in its one wording unless a sink keeps
  // the fields.
  virtual void Problem(const FileProblem& problem) { Message(FormatProblem(problem)); }
};

// Keeps the texts in `messages` and, for file problems, the fields in
// `problems` too (their text still goes into `messages`).
class CollectingSink : public MessageSink {
 public:
  void Message(const std::string& text) override { messages.push_back(text); }
  void Problem(const FileProblem& problem) override {
    problems.push_back(problem);
    Message(FormatProblem(problem));
  }
  std::vector<std::string> messages;
  std::vector<FileProblem> problems;
};

class NullSink : public MessageSink {
 public:
  void Message(const std::string&) override {}
  void Problem(const FileProblem&) override {}
};

// Passes messages on, labelling the fixed sentences with their file: where
// several files are read in one go, "Expected 9 data, found 0." alone leaves
// the user guessing which file it was.
class FileNamingSink : public MessageSink {
 public:
  explicit FileNamingSink(MessageSink& inner) : inner_(inner) {}
  void Message(const std::string& text) override { inner_.Message(text); }
  void Problem(const FileProblem& problem) override {
    FileProblem named = problem;
    named.labelled = true;
    inner_.Problem(named);
  }

 private:
  MessageSink& inner_;
};

}  // namespace quorix
