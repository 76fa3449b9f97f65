// The about box.
#pragma once

#include <QDialog>

namespace quorix {

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace quorix
