// The audio engine (SDL2_mixer). Without a device it is unavailable and every clip is silent.
#pragma once

struct Mix_Chunk;

class SoundSystem {
 public:
  // Enough mixer channels that a burst of overlapping effects (crows arriving together while
  // others laugh and a boo sounds) is not cut off.
  static constexpr int kChannelCount = 32;

  SoundSystem();
  ~SoundSystem();
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;

  bool isAvailable() const { return available_; }
  void shutdown();

  // The master level in tenths (0 to 10) and the mute, applied to every channel, playing or not.
  // Kept while the system is unavailable, so a later device starts at the player's level.
  static constexpr int kVolumeSteps = 10;
  void setVolume(int tenths);
  void stepVolume(int tenths) { setVolume(volume_ + tenths); }
  int volume() const { return volume_; }
  void setMuted(bool muted);
  bool isMuted() const { return muted_; }
  // What the mixer's channels are set to (0 to 128); 0 when unavailable.
  int mixerVolume() const;

  // Playbacks sounding right now; 0 when unavailable.
  int playingCount() const;

  // Used by SoundClip: start one more independent playback of a loaded chunk.
  void startChunk(Mix_Chunk* chunk);
  // Used by SoundClip when it is destroyed: a chunk still sounding plays to its end and is freed
  // afterwards, so releasing a clip never cuts a sound off with a click.
  void retireChunk(Mix_Chunk* chunk);

 private:
  static constexpr int kRetiredSlots = 32;

  bool isChunkSounding(const Mix_Chunk* chunk) const;
  void applyVolume();
  void freeFinishedChunks();

  bool available_ = false;
  bool audioStarted_ = false;
  bool mixerOpen_ = false;
  int volume_ = kVolumeSteps;
  bool muted_ = false;
  Mix_Chunk* retired_[kRetiredSlots] = {};
};

// Set when the window is created, cleared when it is destroyed.
extern SoundSystem* soundSystem;
