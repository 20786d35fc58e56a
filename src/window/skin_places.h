#pragma once
// Where the window's background picture and the elements placed over it meet,
// in twips (15 to a pixel): the window places its tabs, links, title buttons
// and tree here, and the skin maker (tools/make_skin) draws what lies under
// them from the same numbers, so the two cannot drift apart.
namespace skin_places {

inline constexpr int kTwipsPerPixel = 15;
constexpr int pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

struct Place {
  int left, top, width, height;
};

// The page tabs, left to right: where each is clicked and drawn.
inline constexpr int kTabLefts[] = {390, 1415, 2485, 3535, 4585, 5635, 6685};
// The face drawn for a tab (the marker of the current page covers it).
inline constexpr int kTabTop = 405, kTabWidth = 900, kTabHeight = 615;

// The link labels of the title band; a globe is drawn just left of each.
inline constexpr int kMoreSoftwareLeft = 9690;  // 更多软件
inline constexpr int kMiniModeLeft = 10875;     // 迷你模式
inline constexpr int kLinkTop = 645;

// The minimise and close buttons hang from the top edge over their glyphs.
inline constexpr int kMinimiseLeft = 10635, kCloseLeft = 11250;

// The box of the lesson tree pane: the tree, and under it the book menu's link.
inline constexpr Place kTreeBox{120, 1170, 2340, 6720};

}  // namespace skin_places
