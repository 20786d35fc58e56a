#pragma once
// The look the window's regions share: colours, fonts, and the few shapes of
// element they are made of, placed in twips.
#include <algorithm>
#include <string>

#include "platform/ui/skinned_button.h"
#include "platform/ui/ui.h"

namespace layout {

using ui::Font;
using ui::rgb;

inline const ui::Color kInk = rgb(24, 40, 72);          // captions on the light areas
inline const ui::Color kNavy = rgb(16, 48, 112);        // status strip
inline const ui::Color kTabInk = rgb(28, 58, 118);      // tab captions
inline const ui::Color kNoteGrey = rgb(120, 120, 120);  // the note under the Chinese
inline const ui::Color kPanel = rgb(246, 249, 253);     // read-along and score panels
inline const ui::Color kLine = rgb(160, 172, 190);      // outlines and underlines
inline const ui::Color kTakeInk = rgb(214, 98, 18);     // the learner's voice on the traces

inline const Font kSong9{"宋体", 9};
inline const Font kSong9Bold{"宋体", 9, true};
inline const Font kSong12{"宋体", 12};
inline const Font kSong105{"宋体", 10.5};
inline const Font kNewSong105{"新宋体", 10.5};
inline const Font kArial9Bold{"Arial", 9, true};
inline const Font kArial15{"Arial", 15};
inline const Font kTimes1425{"Times New Roman", 14.25};
inline const Font kTimes15{"Times New Roman", 15};

// A caption label that takes the size of its text on one line.
inline void text(ui::Label& l, int left, int top, const std::string& caption,
                 const Font& font = kSong9, ui::Color ink = kInk) {
  l.setTransparent(true);
  l.setFont(font);
  l.setForeColor(ink);
  l.setAutoSize(true);
  l.move(left, top);
  l.setCaption(caption);
}

// A label of fixed size whose text wraps inside it.
inline void box(ui::Label& l, int left, int top, int width, int height, const Font& font,
                ui::Color ink = ui::kBlack) {
  l.setTransparent(true);
  l.setFont(font);
  l.setForeColor(ink);
  l.move(left, top, width, height);
}

inline void button(CSCommand::Command& b, int left, int top, int width, int height,
                   const std::string& caption) {
  b.move(left, top, width, height);
  b.setCaption(caption);
}

// A switch: its picture, then its caption. The caption's leading blanks make
// room for the picture; where they are narrower than the picture in the font
// at hand, the caption moves right so its words start after it.
inline void toggle(ui::Label& label, ui::Picture& picture, int top, const std::string& caption) {
  text(label, 0, top + 15, caption.substr(0, caption.find_first_not_of(' ')));
  const int blanks = label.width();
  label.setCaption(caption);
  label.setLeft(std::max(0, 195 + 30 - blanks));
  label.setMousePointer(ui::Pointer::Hand);
  picture.move(0, top, 195, 195);
  picture.setMousePointer(ui::Pointer::Hand);
  picture.setAccessibleName(caption);
}

}  // namespace layout
