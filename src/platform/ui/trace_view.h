#pragma once
// A drawing of two voices on one time axis: the pitch contour and loudness
// envelope of the model and of the learner, the words under the model, and a
// mark that follows what is being heard. It is given plain data (seconds,
// semitones, loudness from 0 to 1) and lays everything out in its own place.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ui.h"

namespace ui {

struct Traces {
  // Point i of every trace lies at start + i * step seconds.
  double start = 0, step = 0.01;
  // Semitones from each speaker's own median; NaN where unvoiced (a gap).
  std::vector<float> modelPitch, takePitch;
  // 0 (quiet) to 1 (the speaker's loud level).
  std::vector<float> modelLoudness, takeLoudness;
  struct Word {
    std::string text;
    double start = 0, end = 0;  // seconds, on the same axis
  };
  std::vector<Word> words;
  int departWord = -1;  // drawn picked out; -1: none
};

class TraceView : public Element {
 public:
  explicit TraceView(Container& parent);
  ~TraceView() override;

  struct Colors {
    Color model, take, grid, ink;
  };
  void setColors(const Colors& colors);
  // The legend: the names of the two voices, and at its right what the
  // upper and lower bands show. The font is that of legend and words.
  void setLegend(const std::string& model, const std::string& take, const std::string& bands);
  void setFont(const Font& font);

  void setTraces(Traces traces);
  void clear();  // nothing drawn, no mark
  bool hasTraces() const;
  const Traces& traces() const;

  // The mark at `seconds` on the axis, in the colour of the voice heard; it
  // is not drawn outside the traced time.
  void setMark(double seconds, bool takeHeard);
  void clearMark();
  double mark() const;  // NaN when there is none

  // Where word i stands, in twips from the view's corner; zero width when
  // there was no room for it.
  struct Place {
    int left = 0, top = 0, width = 0, height = 0;
  };
  Place wordPlace(int i) const;
  // The horizontal place of `seconds`, in twips from the view's left edge.
  int xOf(double seconds) const;

 protected:
  void applyGeometry() override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ui
