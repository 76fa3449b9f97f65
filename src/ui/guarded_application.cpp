#include "ui/guarded_application.h"

#include <QMessageBox>
#include <exception>
#include <iostream>
#include <new>
#include <string>

namespace quorix {
namespace {

void Tell(const std::string& text) {
  // A message box that fails in turn (memory still short) must not start
  // the same round again.
  static bool telling = false;
  if (telling) {
    std::cerr << "quorix: " << text << '\n';
    return;
  }
  telling = true;
  try {
    QMessageBox::critical(QApplication::activeWindow(), "Quorix", QString::fromStdString(text));
  } catch (...) {
    std::cerr << "quorix: " << text << '\n';
  }
  telling = false;
}

}  // namespace

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  // The commands work on copies or finish their records in one step, so the
  // pole figures in the windows stay as they were before the command.
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::bad_alloc&) {
    Tell("Not enough memory for this command; it was stopped. The pole figures are kept.");
  } catch (const std::exception& e) {
    Tell(std::string("The command was stopped: ") + e.what() + ". The pole figures are kept.");
  } catch (...) {
    Tell("An unexpected error stopped the command. The pole figures are kept.");
  }
  return false;
}

}  // namespace quorix
