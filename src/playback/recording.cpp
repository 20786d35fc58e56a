// Recording the learner on the read-along page and comparing in a loop.
#include <utility>

#include "window/form1.h"

// The open sequence of the wave device: closing it first discards any take.
void Form1::openRecorder() {
  MMControl1.setNotify(false);
  MMControl1.setWait(true);
  MMControl1.setShareable(false);
  MMControl1.setDeviceType("WaveAudio");
  MMControl1.setCommand("close");
  MMControl1.setFileName(path("\\Recorder.wav"));
  MMControl1.setCommand("open");
}

void Form1::Command8_Click() {
  openRecorder();
  MMControl1.setCommand("record");
  Command10.setEnabled(true);
  clearTraces();  // the old take is gone
  takeRecording_ = true;
}

void Form1::Command10_Click() {
  Command10.setEnabled(false);
  MMControl1.setCommand("stop");
  // A recording that gave no sound (no microphone) leaves nothing to play.
  const bool take = !MMControl1.take().samples.empty();
  Command9.setEnabled(take);
  Command12.setEnabled(take);
  stopSentence();
  Timer4.setEnabled(false);
  TraceView1.clearMark();
  if (std::exchange(takeRecording_, false)) analyseTake();
}

void Form1::Command11_Click() { Command4_Click(); }

void Form1::Command12_Click() {
  MMControl1.setFrom(0);
  MMControl1.setCommand("play");
}

void Form1::Command9_Click() {
  Command9.setEnabled(false);
  Command10.setEnabled(true);
  Timer4.setEnabled(true);
  Command4_Click();
}

// The take has finished: in a loop comparison the sentence follows again.
void Form1::MMControl1_Done() {
  if (!Command9.enabled() && Command12.enabled()) Command4_Click();
}
