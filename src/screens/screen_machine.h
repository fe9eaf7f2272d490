// The screen state machine: current screen, transitions, and the per-frame dispatch.
#pragma once

#include <cstdint>
#include <cstdio>

struct AppWindow;

enum class ScreenId : uint8_t {
  Title = 0,
  Play = 1,
  None = 2,
  Quit = 3,
  Store = 4,
  Instructions = 5,
  BestGames = 6,
};

class ScreenMachine {
 public:
  explicit ScreenMachine(AppWindow* window) : window_(window) {}

  void requestScreen(ScreenId id) {
    screen_ = id;
    changed_ = true;
  }
  ScreenId currentScreen() const { return screen_; }
  bool takeChanged() {
    bool was = changed_;
    changed_ = false;
    return was;
  }
  AppWindow* window() const { return window_; }

 private:
  ScreenId screen_ = ScreenId::Title;
  bool changed_ = true;
  int32_t logicalWidth_ = 640;
  int32_t logicalHeight_ = 480;
  AppWindow* window_;
};

extern ScreenMachine* screenMachine;

bool gameStartup(AppWindow* window);
void gameShutdown();
void gameUpdate(uint32_t elapsedMs);
void gameDraw();
void applyScreenChange();
// The game's state as CSV, one row per frame, for --trace.
void gameTraceHeader(FILE* out);
void gameTraceRow(FILE* out, long frame);

// From the window: losing the keyboard or being minimised pauses play; a click resumes it.
void gameLostFocus();
void gameClicked();
