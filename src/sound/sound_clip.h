// One wave file, played as fire-and-forget overlapping effects.
#pragma once

#include <string>

struct Mix_Chunk;

class SoundClip {
 public:
  explicit SoundClip(const char* fileName);  // "sound\\boo.wav"
  ~SoundClip();
  SoundClip(const SoundClip&) = delete;
  SoundClip& operator=(const SoundClip&) = delete;

  void play();
  const std::string& fileName() const { return fileName_; }
  // False when the system was unavailable at creation or the file is missing or unreadable.
  bool isLoaded() const { return chunk_ != nullptr; }

  // Tests and the harness watch which clips the game plays, with or without an audio device.
  using PlayObserver = void (*)(const char* fileName);
  static void setPlayObserver(PlayObserver observer);

 private:
  std::string fileName_;
  Mix_Chunk* chunk_ = nullptr;
};
