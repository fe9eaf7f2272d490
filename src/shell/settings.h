// The player's remembered choices: the start-up chooser's screen mode and the sound level. One small
// "key=value" file; a missing or damaged file means defaults, and lines this version does not know
// are kept as they were so an older game never drops a newer one's keys.
#pragma once

#include <cstddef>
#include <cstdint>

class Settings {
 public:
  static constexpr int32_t volumeSteps = 10;
  static constexpr int keptLineCapacity = 16;
  static constexpr int keptLineLength = 160;
  // Big enough for every known key and all kept lines.
  static constexpr size_t fileCapacity = 4096;

  int32_t width = 640;
  int32_t height = 480;
  int32_t bitsPerPixel = 16;
  int32_t fullScreen = 0;
  int32_t volume = volumeSteps;
  bool muted = false;

  // Reads the file; every key that is missing or out of range keeps its default. False when the
  // file could not be read at all.
  bool load(const char* path);
  // One line on stderr and false when the file cannot be written; the old file stays whole.
  bool save(const char* path) const;

  void parse(const char* text, size_t length);
  // Returns the length written (always below size), or 0 when size is too small.
  size_t format(char* out, size_t size) const;

  int keptLineCount() const { return keptCount_; }
  const char* keptLine(int index) const { return kept_[index]; }

 private:
  void keepLine(const char* line, size_t length);

  char kept_[keptLineCapacity][keptLineLength] = {};
  int keptCount_ = 0;
};

// The game's settings, read at start-up.
extern Settings settings;
