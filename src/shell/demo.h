// A recorded game: the header (game version, title settings, the seed of every world load) and,
// per frame, the milliseconds the frame was given and the key-table bytes that changed before it.
// Kept as text so a player can send it and a maintainer can read it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

// One key-table byte as it stood when a frame began (bit 0 held, bit 1 pressed).
struct DemoKeyChange {
  uint8_t key;
  uint8_t bits;
};

struct DemoFrame {
  uint16_t ms;
  uint16_t changeCount;
  uint32_t firstChange;  // index into the key changes
};

class Demo {
 public:
  static constexpr int formatVersion = 1;
  static constexpr uint32_t maxFrameMs = 60000;
  static constexpr int maxStartingDay = 9990;
  static constexpr int maxStartingCorn = 9;
  static constexpr size_t versionSize = 32;

  // All storage is taken here, once: recording never allocates.
  Demo(size_t maxFrames, size_t maxChanges, size_t maxSeeds);

  void clear();
  void setHeader(const char* gameVersion, int startingDay, int startingCorn);
  // False when the demo is full; nothing is added then.
  bool addFrame(uint32_t ms, const DemoKeyChange* changes, size_t count);
  bool addSeed(uint32_t seed);

  // Refuses a bad file whole: false, the demo left empty, and one line "NAME:LINE: what" in error.
  bool read(FILE* in, const char* name, char* error, size_t errorSize);
  bool write(FILE* out) const;

  const char* gameVersion() const { return gameVersion_; }
  int startingDay() const { return startingDay_; }
  int startingCorn() const { return startingCorn_; }
  size_t frameCount() const { return frameCount_; }
  const DemoFrame& frame(size_t index) const { return frames_[index]; }
  const DemoKeyChange* changesOf(const DemoFrame& frame) const { return &changes_[frame.firstChange]; }
  size_t frameCapacity() const { return maxFrames_; }
  size_t seedCount() const { return seedCount_; }
  uint32_t seed(size_t index) const { return seeds_[index]; }

 private:
  char gameVersion_[versionSize] = {};
  int startingDay_ = 0;
  int startingCorn_ = 1;
  size_t maxFrames_;
  size_t maxChanges_;
  size_t maxSeeds_;
  std::unique_ptr<DemoFrame[]> frames_;
  std::unique_ptr<DemoKeyChange[]> changes_;
  std::unique_ptr<uint32_t[]> seeds_;
  size_t frameCount_ = 0;
  size_t changeCount_ = 0;
  size_t seedCount_ = 0;
};
