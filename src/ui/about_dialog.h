// The about box.
#pragma once

#include <QDialog>

namespace quorix {

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace quorix
