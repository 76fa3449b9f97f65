#include "ui/about_dialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace quorix {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("About");
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel("<b>Quorix " + QCoreApplication::applicationVersion().toHtmlEscaped() +
                              "</b><br>Pole figures of crystallographic textures:<br>"
                              "display, rotation, interpolation, smoothing, comparison and export.<br><br>"
                              "Licence: GNU General Public License, version 3 or (at your option) any later version "
                              "(GPL-3.0-or-later).<br>This program comes with ABSOLUTELY NO WARRANTY.",
                          this);
  text->setObjectName("AboutText");
  text->setTextFormat(Qt::RichText);
  text->setWordWrap(true);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace quorix
