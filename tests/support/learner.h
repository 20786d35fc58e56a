#pragma once
// What a learner does and sees, for window tests.
//
// Input goes to the window's QWindow at a point, as a desktop mouse or
// keyboard sends it: Qt gives a press to the widget under the point, which
// keeps the moves and the release that follow. So a test clicks whatever the
// learner would hit there, covered elements and all.
//
// The seen check reads what Qt lays out and draws: every shown text (labels,
// buttons, check boxes, list and tree rows, combo boxes) must fit its place
// whole and be covered by nothing drawn after it, drawn in the faces the
// program chose for it.
#include <QPoint>
#include <QWidget>
#include <Qt>
#include <string>
#include <vector>

#include "platform/ui/ui.h"

namespace learner {

// Window coordinates (pixels) of a point of an element, in twips from its
// top-left corner; without a point, its centre.
QPoint at(const ui::Element& e);
QPoint at(const ui::Element& e, int xTwips, int yTwips);

void press(const ui::Window& w, QPoint p, Qt::MouseButton b = Qt::LeftButton);
void moveTo(const ui::Window& w, QPoint p);
void release(const ui::Window& w, QPoint p, Qt::MouseButton b = Qt::LeftButton);
void click(const ui::Window& w, QPoint p, Qt::MouseButton b = Qt::LeftButton);
// A click at the element's centre, on whatever is there.
void click(const ui::Element& e, Qt::MouseButton b = Qt::LeftButton);
// Press at `from`, move in steps to `to`, release there.
void drag(const ui::Window& w, QPoint from, QPoint to, Qt::MouseButton b = Qt::LeftButton);

// The same for a window of the program's own beyond the main window (the
// mini strip, a dialog): points in the pixels of the top-level widget `top`,
// sent to its QWindow; a click at the centre of any widget of such a window.
void press(QWidget& top, QPoint p, Qt::MouseButton b = Qt::LeftButton);
void moveTo(QWidget& top, QPoint p);
void release(QWidget& top, QPoint p, Qt::MouseButton b = Qt::LeftButton);
void click(QWidget& widget, Qt::MouseButton b = Qt::LeftButton);
void key(QWidget& top, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier);

// A key, or text typed key by key, to the focused widget of the window.
void key(const ui::Window& w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier);
void type(const ui::Window& w, const std::string& utf8);
// Clicks the box, selects all it holds (Ctrl+A) and types `utf8` over it
// (Delete when `utf8` is empty).
void replaceText(const ui::Element& box, const std::string& utf8);

// Clicks the row of a list or tree element whose text is `text` (scrolled
// into view first, as the learner would); false when there is none.
bool clickRow(const ui::Element& view, const std::string& text);

// Picks row `row` of a combo box's list: a click on the box opens the list,
// a click on the row picks it.
void pickFromList(const ui::ComboBox& c, int row);

// The entries of the menu that is open (none when no menu is), the checked
// ones marked with a leading "✓".
std::vector<std::string> menuEntries();
// Clicks the entry of the open menu; false when there is none.
bool pickFromMenu(const std::string& entry);
// A key to the open menu.
void keyToMenu(Qt::Key k);

// While it lives, presses Enter on each modal box the program opens (a real
// box, not the tests' responder), as the learner does; after 40 presses on a
// box that stays, closes it so that the test cannot hang. `enters()` counts them.
class EnterOnBoxes {
 public:
  EnterOnBoxes();
  ~EnterOnBoxes();
  EnterOnBoxes(const EnterOnBoxes&) = delete;
  EnterOnBoxes& operator=(const EnterOnBoxes&) = delete;
  int enters() const { return enters_; }

 private:
  struct Poke;
  Poke* poke_;
  int enters_ = 0;
};

// Every shown text that the learner cannot read whole, one line each
// ("Label6(2) “Good morning, Lily. How are you?”: 1 of 2 lines fit"); empty
// when all is seen.
std::vector<std::string> unseenTexts(const ui::Window& w);
std::vector<std::string> unseenTexts(QWidget& top);

// Every shown text drawn, in part, in a face its font does not name, or with
// a character no face has (a box): such a text looks different on a machine
// with other fonts installed. Empty when every text is in the program's faces.
std::vector<std::string> textsInOtherFaces(const ui::Window& w);
std::vector<std::string> textsInOtherFaces(QWidget& top);

// The window as drawn, written to a PNG file.
void screenshot(const ui::Window& w, const std::string& file);

}  // namespace learner
