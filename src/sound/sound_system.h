// The audio engine (SDL2_mixer). Without a device it is unavailable and every clip is silent.
#pragma once

class SoundSystem {
 public:
  SoundSystem();
  ~SoundSystem();
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;

  bool isAvailable() const { return available_; }
  void shutdown();

 private:
  bool available_ = false;
};

// Set when the window is created, cleared when it is destroyed.
extern SoundSystem* soundSystem;
