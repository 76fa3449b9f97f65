// Where library code sends the messages a user must see. The desktop program
// shows them in a message box, the command-line tool on stderr, tests collect them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quorix {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Message(const std::string& text) = 0;
};

class CollectingSink : public MessageSink {
 public:
  void Message(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

class NullSink : public MessageSink {
 public:
  void Message(const std::string&) override {}
};

// Passes messages on, naming `fileName` in those that do not: where several
// files are read in one go, "Expected 9 data, found 0." alone leaves the user
// guessing which file it was.
class FileNamingSink : public MessageSink {
 public:
  FileNamingSink(MessageSink& inner, std::string prefix, std::string fileName)
      : inner_(inner), prefix_(std::move(prefix)), fileName_(std::move(fileName)) {}
  void Message(const std::string& text) override {
    inner_.Message(text.find(fileName_) == std::string::npos ? prefix_ + " " + fileName_ + ": " + text : text);
  }

 private:
  MessageSink& inner_;
  std::string prefix_;
  std::string fileName_;
};

}  // namespace quorix
