// Where library code sends the messages a user must see. The desktop program
// shows them in a message box, the command-line tool on stderr, tests collect them.
#pragma once

#include <string>
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

}  // namespace quorix
