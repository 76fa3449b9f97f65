// Messages of the library shown as modal message boxes.
#pragma once

#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>
#include <string>

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

// The messages of reading one file: the box is titled with that file's name
// and, where the text does not name it ("Expected 1368 data, found 0."), a
// detail line gives its path. The window's caption may show another file.
class FileMessageBoxSink : public MessageSink {
 public:
  FileMessageBoxSink(QWidget* parent, std::string file) : parent_(parent), file_(std::move(file)) {}
  void Message(const std::string& text) override {
    const QString path = QString::fromStdString(file_);
    QMessageBox box(QMessageBox::Warning, "Quorix - " + QFileInfo(path).fileName(), QString::fromStdString(text),
                    QMessageBox::Ok, parent_);
    if (text.find(file_) == std::string::npos) box.setInformativeText("File: " + path);
    box.exec();
  }

 private:
  QWidget* parent_;
  std::string file_;
};

}  // namespace quorix
