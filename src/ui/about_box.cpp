#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace quorix {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle("About");
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(
      "<b>Quorix</b><br>Pole figures of crystallographic textures:<br>"
      "display, rotation, interpolation, smoothing, comparison and export.",
      this);
  text->setTextFormat(Qt::RichText);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace quorix
