#pragma once
// The base of the program's own dialogs: a real window of the desktop (its
// own title bar and frame), in the skin's colours and font, with a layout
// for its body and a row of buttons at its foot.
#include <QDialog>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace dialogs {

class SkinnedDialog : public QDialog {
 public:
  SkinnedDialog(const QString& title, QWidget* parent = nullptr);
  // Where the dialog's own widgets go, top to bottom.
  QVBoxLayout& body() { return *body_; }
  // The buttons at the foot (OK, Cancel ...); their clicks accept or reject.
  QDialogButtonBox& buttons() { return *buttons_; }

 private:
  QVBoxLayout* body_;
  QDialogButtonBox* buttons_;
};

}  // namespace dialogs
