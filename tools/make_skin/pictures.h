// The picture families of the main window. Each writes its files below the output
// folder (skin/... and bitmap/...), at the density set
// (painting.h) and returns false when a file could not be written.
#pragma once

#include <QString>

namespace skin {

bool writeWindowBackground(const QString& outputDir);  // skin/skin.jpg
bool writeMarks(const QString& outputDir);     // window icon, tree images, tab marker, play icon
bool writeControls(const QString& outputDir);  // buttons, scroll bar, progress bar, small buttons
bool writeToggles(const QString& outputDir);   // bitmap/*.jpg switches and speed options
// The app icon for the desktop's icon theme: iconDir/NxN/name.png at the usual sizes.
bool writeThemeIcons(const QString& iconDir, const QString& name);

}  // namespace skin
