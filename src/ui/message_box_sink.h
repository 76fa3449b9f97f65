// Messages of the library shown as modal message boxes.
#pragma once

#include <QMessageBox>
#include <QWidget>

#include "base/message_sink.h"

namespace quorix {

class MessageBoxSink : public MessageSink {
 public:
  explicit MessageBoxSink(QWidget* parent) : parent_(parent) {}
  void Message(const std::string& text) override {
    QMessageBox::warning(parent_, parent_ ? parent_->windowTitle() : QString(), QString::fromStdString(text));
  }

 private:
  QWidget* parent_;
};

}  // namespace quorix
