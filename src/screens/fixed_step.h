// The fixed step every screen runs on: whole 16 ms steps out of the frames' time, at most six a frame.
#pragma once

#include <cstdint>

class FixedStep {
 public:
  static constexpr uint32_t stepMs = 16;
  static constexpr uint32_t capMs = 96;  // after a stall the game slows down instead of jumping ahead

  // Adds a frame's time and runs every whole step it makes due.
  template <typename Step>
  void run(uint32_t elapsedMs, Step step) {
    for (int due = take(elapsedMs); due > 0; --due) step();
  }
  int take(uint32_t elapsedMs);  // adds a frame's time; returns the steps due, taken off the backlog
  uint32_t backlog() const { return backlog_; }
  void reset() { backlog_ = 0; }

 private:
  uint32_t backlog_ = 0;
};
