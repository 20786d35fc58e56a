#include "dialogs/skinned_dialog.h"

#include "dialogs/skin_look.h"

namespace dialogs {

SkinnedDialog::SkinnedDialog(const QString& title, QWidget* parent)
    : QDialog(parent), body_(new QVBoxLayout), buttons_(new QDialogButtonBox) {
  setWindowTitle(title);
  setPalette(skinPalette());
  setAutoFillBackground(true);
  setFont(skinFont());
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(body_, 1);
  outer->addWidget(buttons_);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

}  // namespace dialogs
