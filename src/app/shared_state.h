#pragma once
// The values the main window's handlers share. Before start-up every value is
// empty: 0 as a number, "" as text.
#include <cstdint>
#include <string>

namespace app {

struct SharedState {
  std::int16_t studymode = 0;  // 1, 2, 3, 4, 5 or 8: the page on show
  std::int32_t sentfrom = 0;   // the "*" that opens the current record
  std::int32_t sentto = 0;     // the "*" that closes it
  std::int32_t hash1 = 0, hash2 = 0, hash3 = 0, hash4 = 0, hash5 = 0;
  std::int32_t scanfrom = 0, scanto = 0;  // the loader's row cursor
  std::string playstart, playend;         // the stretch to play, seconds as text
  std::int16_t playcount = 0;             // plays since the last reset
  std::int16_t readindex = 0;             // sentence read aloud in full-text reading
  // Remembered playback choices of sentence study and full-text browse.
  std::string repeatstudy, pausestudy, repeatbrowse, pausebrowse;
  std::int16_t loadedlesson = 0;  // List1 row of the lesson loaded last
  float dragx = 0, dragy = 0;     // last press on the background or the thumb
  std::int16_t loopindex = 0;
};

}  // namespace app
