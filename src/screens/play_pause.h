// Pausing the Play screen: P or Pause, or the window losing the keyboard or being minimised. While
// paused no tick runs and the frame's time is dropped, so nothing jumps on resume.
#pragma once

namespace PlayPause {
void load();
void unload();

bool isPaused();
void pause();
// Resumes and forgets a pending P, so a press made elsewhere does not pause the next game.
void reset();
void resume();

// Reads P and Pause in play; while paused every other key press but Escape is dropped. True while
// the Play screen is paused and its ticks are to be skipped.
bool update();
// The dimmed frame with "PAUSED" and "P to resume", over the drawn world.
void draw();
}  // namespace PlayPause
