#include "app/text_files.h"

namespace app {

bool readWholeFile(platform::RichTextBox& holder, const std::string& path) {
  return holder.loadFile(path) == platform::RichTextBox::Load::Ok;
}

bool writeWholeFile(platform::RichTextBox& holder, const std::string& text,
                    const std::string& path) {
  holder.setText(text);
  return holder.saveFile(path);
}

}  // namespace app
