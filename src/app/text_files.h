#pragma once
// The whole-file reader and writer of the data files, through their holders.
#include <string>

#include "platform/text/rich_text.h"

namespace app {

// Reads the file into the holder; false (the holder's text unchanged) when
// the file is missing or cannot be read.
bool readWholeFile(platform::RichTextBox& holder, const std::string& path);
// Sets the holder's text and saves it as an RTF document, replacing the file
// atomically; false when the file could not be written (it is then unchanged).
bool writeWholeFile(platform::RichTextBox& holder, const std::string& text,
                    const std::string& path);

}  // namespace app
