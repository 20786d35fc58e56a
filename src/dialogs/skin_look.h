#pragma once
// The skin's colours and fonts for the program's own windows and dialogs
// (plain Qt Widgets with layouts: lists, file pickers, progress bars), so that
// they look of a piece with the main window without its twips facade.
#include <QFont>
#include <QPalette>

namespace dialogs {

// The skin's face for Chinese text at `points`, chosen as the main window
// chooses its fonts.
QFont skinFont(double points = 9, bool bold = false);
// The face of the English sentence on the sentence page, at `points`.
QFont sentenceFont(double points = 12);
// Panels in the read-along panel's white-blue, captions in the skin's ink,
// selections in the status strip's navy.
QPalette skinPalette();

}  // namespace dialogs
