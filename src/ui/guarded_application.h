// The desktop program's application object: whatever escapes an event
// handler (a failed allocation in a command, say) ends that command with a
// message instead of ending the program with an abort.
#pragma once

#include <QApplication>

namespace quorix {

class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace quorix
