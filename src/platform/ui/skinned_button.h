#pragma once
// The skinned push button: drawn from pictures, with a caption, a click and an
// enabled state that shows. A picture button shows one picture instead of the
// skin; a bare button draws nothing but a hover glow (it stands over a glyph
// of the window skin).
#include <string>

#include "platform/ui/ui.h"

namespace CSCommand {

class Command : public ui::Element {
 public:
  explicit Command(ui::Container& parent);
  // The folder with button_normal.png, button_hover.png, button_down.png and
  // button_disabled.png, shared by every button.
  static void setSkinFolder(const std::string& folder);

  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption);  // "&" marks the access key
  void setPicture(const std::string& path);
  void setBare(bool on);
  void setFont(const ui::Font& font);

 protected:
  void copyFrom(const ui::Element& other) override;

 private:
  std::string caption_;
};

}  // namespace CSCommand
