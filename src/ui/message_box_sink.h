// Messages of the library shown as modal message boxes.
#pragma once

#include <QMessageBox>
#include <QWidget>

#include "base/message_sink.h"

namespace quorix {

class MessageBoxSink : public MessageSink {
 public:
  explicit MessageBoxSink(QWidget* parent, bool critical = false) : parent_(parent), critical_(critical) {}
  void Message(const std::string& text) override {
    const QString title = parent_ ? parent_->windowTitle() : QString();
    if (critical_)
      QMessageBox::critical(parent_, title, QString::fromStdString(text));
    else
      QMessageBox::warning(parent_, title, QString::fromStdString(text));
  }

 private:
  QWidget* parent_;
  bool critical_;
};

}  // namespace quorix
