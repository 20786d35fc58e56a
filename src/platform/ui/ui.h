#pragma once
// The window system as the program sees it: a frameless window and its
// elements, with every length in twips (15 per pixel at 96 dpi). Each element
// is a real widget whose caption or text is its accessible name.
//
// Conventions kept here, so that the handlers need not:
// - setting a check box's value runs its Click reaction when the value changes;
// - setting an editable combo box's text runs its Change reaction when the text
//   changes; choosing an entry runs Click (and Change when the text changed);
// - selecting a list row or a tree node from code runs nothing;
// - the element that gets a mouse press gets the moves and the release;
// - the window sees every key before the focused element (key preview).
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QObject;
class QWidget;

namespace ui {

constexpr int kTwipsPerPixel = 15;
int pixels(double twips);

struct Color {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Color&, const Color&) = default;
};
constexpr Color rgb(int r, int g, int b) {
  return {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
}
constexpr Color kBlack = rgb(0, 0, 0);
constexpr Color kWhite = rgb(255, 255, 255);

struct Font {
  std::string name = "宋体";
  double size = 9;  // points
  bool bold = false;
  bool underline = false;
};

enum class Pointer { Default, Hand };
enum class Align { Left, Right, Center };

// Mouse buttons as a bit set, and the pointer position in twips relative to
// the element that received the press.
enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
struct MouseEvent {
  int button = 0;   // the button that changed (press, release); 0 on a move
  int buttons = 0;  // the buttons held down
  double x = 0, y = 0;
};

// Key codes the program looks at.
enum KeyCode {
  kKeyBack = 8,
  kKeyReturn = 13,
  kKeyEscape = 27,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyUp = 38,
  kKeyDown = 40,
  kKeyF1 = 112,
  kKeyF6 = 117,
  kKeyF7 = 118,
  kKeyF8 = 119,
  kKeyF9 = 120,
};

class Container;
class Window;

class Element {
 public:
  virtual ~Element();
  Element(const Element&) = delete;
  Element& operator=(const Element&) = delete;

  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void setLeft(int twips);
  void setTop(int twips);
  void setWidth(int twips);
  void setHeight(int twips);
  void move(int left, int top);
  void move(int left, int top, int width, int height);

  // The element's own flag: an element inside a hidden container keeps it.
  bool visible() const { return visible_; }
  void setVisible(bool on);
  bool enabled() const { return enabled_; }
  void setEnabled(bool on);

  void setFocus();
  bool hasFocus() const;
  void raise();  // above its siblings  // the element the program gave the focus to last

  void setAccessibleName(const std::string& name);  // for elements without text
  void setToolTipText(const std::string& text);
  std::string toolTipText() const;
  void setMousePointer(Pointer pointer);
  Pointer mousePointer() const { return pointer_; }

  std::function<void(const MouseEvent&)> MouseDown, MouseUp, MouseMove;
  std::function<void()> Click;
  std::function<void()> LostFocus;  // the keyboard focus went to another element

  // For tests and for the elements themselves: deliver an event as the
  // learner's mouse would (press, moves and release go to this element).
  void pressMouse(int button = kLeftButton, double x = 0, double y = 0);
  void moveMouse(int buttons, double x, double y);
  void releaseMouse(int button = kLeftButton, double x = 0, double y = 0);
  void click(double x = 0, double y = 0);  // press and release

  QWidget* widget() const { return widget_; }
  Window* window() const { return window_; }
  Container* parent() const { return parent_; }

 protected:
  Element(Container* parent, QWidget* widget);
  virtual void applyGeometry();
  // Copies the design properties of a template (an array's element 0).
  virtual void copyFrom(const Element& other);
  // Events raised by the widget reach the element through these.
  friend class EventBridge;
  virtual void onMousePress(const MouseEvent& e);
  virtual void onMouseRelease(const MouseEvent& e);
  virtual void onMouseMove(const MouseEvent& e);
  // Labels and pictures raise Click on a release inside them after a press;
  // buttons, boxes and lists have their own click.
  virtual bool clicksOnRelease() const { return false; }

  QWidget* widget_;
  QObject* bridge_ = nullptr;  // forwards the widget's events here
  Container* parent_;
  Window* window_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true, enabled_ = true;
  Pointer pointer_ = Pointer::Default;
  bool pressed_ = false;

  template <class T>
  friend class ElementArray;
};

// An element that holds others: the window, frames and pictures. Children's
// positions are relative to it.
class Container : public Element {
 public:
  void setBackColor(Color c);
  Color backColor() const { return back_; }
  void setPicture(const std::string& path);  // "" clears it

 protected:
  using Element::Element;
  void copyFrom(const Element& other) override;
  bool clicksOnRelease() const override { return true; }
  Color back_ = rgb(240, 240, 240);
  bool opaque_ = false;
};

class Frame : public Container {
 public:
  explicit Frame(Container& parent);
  // A frame inside a frame (not a copy).
  explicit Frame(Frame& parent) : Frame(static_cast<Container&>(parent)) {}
};

// A picture box: a container with an optional picture drawn at its natural
// size from the top-left corner.
class Picture : public Container {
 public:
  explicit Picture(Container& parent);
  // A picture inside a picture (not a copy).
  explicit Picture(Picture& parent) : Picture(static_cast<Container&>(parent)) {}
};

class Label : public Element {
 public:
  explicit Label(Container& parent);
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& text);
  // AutoSize: the label takes the size of its text (on one line unless
  // WordWrap is on, then it grows downwards at its width).
  void setAutoSize(bool on);
  bool autoSize() const { return autoSize_; }
  void setWordWrap(bool on);
  // Word wrap at `width`, as tall as the wrapped lines need and at least
  // `minHeight` (AutoSize off).
  void wrapAt(int width, int minHeight);
  // The height its text takes wrapped at its width, whatever its own height.
  int textHeight() const;
  void setFont(const Font& font);
  const Font& font() const { return font_; }
  void setForeColor(Color c);
  Color foreColor() const { return fore_; }
  void setBackColor(Color c);
  Color backColor() const { return back_; }
  void setTransparent(bool on);  // back style
  void setAlignment(Align a);

 protected:
  void copyFrom(const Element& other) override;
  void applyGeometry() override;
  bool clicksOnRelease() const override { return true; }

 private:
  void fit();
  void applyWrapping();
  void applyColors();
  std::string caption_;
  bool autoSize_ = false, wordWrap_ = false, transparent_ = false;
  Font font_;
  Color fore_ = kBlack, back_ = rgb(240, 240, 240);
  Align align_ = Align::Left;
};

class Line : public Element {
 public:
  explicit Line(Container& parent);
  void setPoints(int x1, int y1, int x2, int y2);
  int x1() const { return x1_; }
  int y1() const { return y1_; }
  int x2() const { return x2_; }
  int y2() const { return y2_; }
  void setBorderColor(Color c);
  Color borderColor() const { return color_; }

 protected:
  void copyFrom(const Element& other) override;

 private:
  int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  Color color_ = kBlack;
};

// An outline rectangle; it takes no mouse events.
class Shape : public Element {
 public:
  explicit Shape(Container& parent);
  void setBorderColor(Color c);
  void setFillColor(Color c);  // fill off until set

 protected:
  void copyFrom(const Element& other) override;
};

class TextBox : public Element {
 public:
  explicit TextBox(Container& parent, bool multiLine = false);
  std::string text() const;
  void setText(const std::string& text);
  // Positions in characters, from 0.
  int selStart() const;
  int selLength() const;
  void setSelStart(int start);
  void setSelLength(int length);
  void setFont(const Font& font);
  void setForeColor(Color c);
  void setBackColor(Color c);

  // A key that produces a character (Enter and Backspace included): the
  // handler may set the code to 0, and the key is then swallowed.
  std::function<void(int& keyAscii)> KeyPress;
  std::function<void()> Change;

  // For tests: type text as the learner would (one KeyPress per character).
  void type(const std::string& text);
  void pressKey(int keyAscii);
};

class ListBox : public Element {
 public:
  explicit ListBox(Container& parent);
  void addItem(const std::string& item);
  // The rows at once: the list lays itself out once, not once a row.
  void addItems(const std::vector<std::string>& items);
  void clear();
  int listCount() const;
  std::string list(int row) const;
  int listIndex() const;       // -1 when no row is selected
  void setListIndex(int row);  // runs nothing
  std::string text() const;    // the selected row's text
  void setFont(const Font& font);
};

class ComboBox : public Element {
 public:
  explicit ComboBox(Container& parent);
  void addItem(const std::string& item);
  void clear();
  int listCount() const;
  std::string list(int row) const;
  std::string text() const;
  void setText(const std::string& text);  // runs Change when it changes
  void dropDown();
  bool droppedDown() const;
  void setFont(const Font& font);

  std::function<void()> Change;  // the text changed
  std::function<void(int keyCode)> KeyDown;

  // For tests: choose an entry of the list, as a click on it would.
  void choose(int row);
  void typeText(const std::string& text);  // as typed into the edit part
};

class CheckBox : public Element {
 public:
  explicit CheckBox(Container& parent);
  int value() const { return value_; }
  void setValue(int value);  // runs Click when the value changes
  void setCaption(const std::string& caption);

 private:
  int value_ = 0;
};

class OptionButton : public Element {
 public:
  explicit OptionButton(Container& parent);
  bool value() const { return value_; }
  // Selecting one clears the others of its container and runs Click.
  void setValue(bool on);
  void setCaption(const std::string& caption);

 private:
  bool value_ = false;
};

// A small menu of entries at the mouse pointer, entry `checked` marked (-1:
// none). Picking one calls chosen(index); closing it calls nothing.
void popupMenu(const std::vector<std::string>& entries, int checked,
               std::function<void(int index)> chosen);

class Timer {
 public:
  Timer();
  ~Timer();
  int interval() const { return interval_; }
  void setInterval(int ms);
  bool enabled() const { return enabled_; }
  void setEnabled(bool on);
  std::function<void()> Tick;
  // For tests: run one tick now, as the timer would. False when disabled.
  bool fire();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int interval_ = 0;
  bool enabled_ = false;
};

// Element arrays: the design-time elements (element 0 and any others) are
// added where they stand; run-time rows are copies of element 0, made in its
// container and hidden until shown. An unloaded copy is hidden and kept for
// the next load, which makes it a fresh copy of element 0 again: a Qt widget
// costs time in proportion to its siblings when it is made, raised or
// destroyed, so thousands of rows made and destroyed on every lesson would
// cost time in proportion to the square of their number. Copies are taken
// back last-unloaded first, so rows unloaded from the highest index down come
// back in the stacking order they were made in.
template <class T>
class ElementArray {
 public:
  T& add(int index, Container& where) {
    auto& slot = items_[index];
    slot = std::make_unique<T>(where);
    bind(index, *slot);
    return *slot;
  }
  T& load(int index) {
    const T& base = *items_.at(0);
    if (spare_.empty()) spare_.push_back(std::make_unique<T>(*base.parent()));
    auto& slot = items_[index];
    slot = std::move(spare_.back());
    spare_.pop_back();
    bind(index, *slot);
    Element& e = *slot;
    e.copyFrom(base);
    e.pressed_ = false;
    e.setVisible(false);
    return *slot;
  }
  void unload(int index) {
    auto it = items_.find(index);
    if (index == 0 || it == items_.end()) return;
    std::unique_ptr<T> e = std::move(it->second);
    items_.erase(it);
    e->setVisible(false);
    e->MouseDown = e->MouseUp = e->MouseMove = nullptr;
    e->Click = nullptr;
    spare_.push_back(std::move(e));
  }
  bool exists(int index) const { return items_.count(index) != 0; }
  T& operator()(int index) { return *items_.at(index); }
  const T& operator()(int index) const { return *items_.at(index); }
  int count() const { return int(items_.size()); }
  int ubound() const { return items_.empty() ? -1 : items_.rbegin()->first; }

  std::function<void(int index, const MouseEvent&)> MouseDown, MouseUp, MouseMove;
  std::function<void(int index)> Click;

 private:
  void bind(int index, T& e) {
    e.MouseDown = [this, index](const MouseEvent& m) {
      if (MouseDown) MouseDown(index, m);
    };
    e.MouseUp = [this, index](const MouseEvent& m) {
      if (MouseUp) MouseUp(index, m);
    };
    e.MouseMove = [this, index](const MouseEvent& m) {
      if (MouseMove) MouseMove(index, m);
    };
    e.Click = [this, index] {
      if (Click) Click(index);
    };
  }
  std::map<int, std::unique_ptr<T>> items_;
  std::vector<std::unique_ptr<T>> spare_;  // unloaded copies, hidden
};

// The frameless top-level window.
class Window : public Container {
 public:
  Window();
  ~Window() override;
  void setCaption(const std::string& caption);
  std::string caption() const;
  void setIcon(const std::string& path);
  void showCentered();
  void minimize();
  bool minimized() const;
  void close();  // runs Unload, then the window goes
  // Deletes the widgets of every element at once, for the owner's destructor
  // before its elements go: one by one, each widget is looked for in its
  // parent's list of children, so a window over a lesson of n rows went in
  // time in proportion to n². The elements are left without widgets; the
  // window keeps its own until it goes. No handler runs from then on (a
  // focused box that goes loses the focus, and its handler would read a
  // widget half destroyed).
  void destroyWidgets();
  // Position on the screen, twips.
  void moveOnScreen(double left, double top);
  // Where a window cannot place itself (Wayland), asks the compositor to move
  // the window with the pointer from the press on; false where the window
  // moves itself with moveOnScreen.
  bool moveWithPointer();
  double screenLeft() const;
  double screenTop() const;

  std::function<void(int keyCode)> KeyDown;  // key preview
  std::function<void()> Unload;

  Element* focusElement() const { return focus_; }

  // For tests: a key as the learner presses it on the focused element.
  void pressKey(int keyCode);

 private:
  friend class Element;
  friend class EventBridge;
  friend class KeyPreview;
  Element* focus_ = nullptr;
  bool unloaded_ = false;
  bool destroying_ = false;  // no element's handler runs while its widgets go
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Modal message boxes: OK, or Yes and No (Enter gives the default button, Esc
// No). They return the button's MsgBoxResult. Tests install a responder, which
// then sees every box instead of the learner and answers it.
enum MsgBoxStyle {
  kOkOnly = 0,
  kYesNo = 4,
  kCritical = 16,
  kQuestion = 32,
  kExclamation = 48,
  kInformation = 64,
  kDefaultButton2 = 256,  // the second button (No) is the default, Enter's
};
enum MsgBoxResult { kOk = 1, kYes = 6, kNo = 7 };
struct MessageBoxCall {
  std::string prompt;
  std::string title;
  int style = 0;
};
int msgBox(const std::string& prompt, int style, const std::string& title);
void setMessageBoxResponder(std::function<int(const MessageBoxCall&)> responder);

// The application: the connection to the display, font substitutions and
// the event loop. `argc` must outlive it. Windows must go before it.
class Application {
 public:
  Application(int& argc, char** argv);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
  // Runs the event loop until the last window closes.
  int exec();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};
// The installed families a text in this design font ("宋体", "Arial" ...) is
// drawn with, in the order each character tries them.
std::vector<std::string> fontFamilies(const std::string& designName);
// Makes the skin's font the default of menus, message boxes and tool tips.
void useSkinFonts();
void processEvents(int ms = 0);

// Decodes every picture of these folders on a worker thread, so that the
// pictures a window asks for while it is built are ready or under way.
void prefetchPictures(const std::vector<std::string>& folders);

}  // namespace ui
