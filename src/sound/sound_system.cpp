#include "sound/sound_system.h"

#include <SDL.h>
#include <SDL_mixer.h>

SoundSystem* soundSystem = nullptr;

namespace {
constexpr int kMixRate = 44100;
constexpr int kMixOutputChannels = 2;
// About 23 ms at 44.1 kHz: short enough that a shout follows the key press at once.
constexpr int kMixBufferFrames = 1024;
// Each clip is mastered near full loudness; a little headroom keeps a burst of overlapping
// effects (a flock arriving while others laugh) from clipping in the mix.
constexpr int kChannelVolume = MIX_MAX_VOLUME * 3 / 4;
constexpr int kAnyFreeChannel = -1;
constexpr int kAllChannels = -1;
}  // namespace

SoundSystem::SoundSystem() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  audioStarted_ = true;
  if (Mix_OpenAudio(kMixRate, MIX_DEFAULT_FORMAT, kMixOutputChannels, kMixBufferFrames) != 0) return;
  mixerOpen_ = true;
  if (Mix_AllocateChannels(kChannelCount) < kChannelCount) return;
  available_ = true;
  applyVolume();
}

SoundSystem::~SoundSystem() {
  shutdown();
}

void SoundSystem::shutdown() {
  available_ = false;
  if (mixerOpen_) {
    Mix_HaltChannel(kAllChannels);
    for (Mix_Chunk*& chunk : retired_) {
      Mix_FreeChunk(chunk);
      chunk = nullptr;
    }
    Mix_CloseAudio();
    mixerOpen_ = false;
  }
  if (audioStarted_) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioStarted_ = false;
  }
}

void SoundSystem::setVolume(int tenths) {
  volume_ = tenths < 0 ? 0 : tenths > kVolumeSteps ? kVolumeSteps : tenths;
  applyVolume();
}

void SoundSystem::setMuted(bool muted) {
  muted_ = muted;
  applyVolume();
}

void SoundSystem::applyVolume() {
  if (!available_) return;
  Mix_Volume(kAllChannels, muted_ ? 0 : kChannelVolume * volume_ / kVolumeSteps);
}

int SoundSystem::mixerVolume() const {
  // Asking with -1 reads the channels' average without changing it.
  return available_ ? Mix_Volume(kAllChannels, -1) : 0;
}

int SoundSystem::playingCount() const {
  return mixerOpen_ ? Mix_Playing(kAllChannels) : 0;
}

void SoundSystem::startChunk(Mix_Chunk* chunk) {
  if (!available_ || chunk == nullptr) return;
  freeFinishedChunks();
  if (Mix_PlayChannel(kAnyFreeChannel, chunk, 0) >= 0) return;
  // Every channel busy: the newest sound matters more than the oldest one.
  const int oldest = Mix_GroupOldest(kAllChannels);
  if (oldest < 0) return;
  Mix_HaltChannel(oldest);
  Mix_PlayChannel(oldest, chunk, 0);
}

void SoundSystem::retireChunk(Mix_Chunk* chunk) {
  if (chunk == nullptr) return;
  if (!mixerOpen_) {
    Mix_FreeChunk(chunk);
    return;
  }
  freeFinishedChunks();
  if (isChunkSounding(chunk)) {
    for (Mix_Chunk*& slot : retired_) {
      if (slot == nullptr) {
        slot = chunk;
        return;
      }
    }
  }
  Mix_FreeChunk(chunk);
}

bool SoundSystem::isChunkSounding(const Mix_Chunk* chunk) const {
  for (int channel = 0; channel < kChannelCount; ++channel) {
    if (Mix_Playing(channel) != 0 && Mix_GetChunk(channel) == chunk) return true;
  }
  return false;
}

void SoundSystem::freeFinishedChunks() {
  for (Mix_Chunk*& chunk : retired_) {
    if (chunk != nullptr && !isChunkSounding(chunk)) {
      Mix_FreeChunk(chunk);
      chunk = nullptr;
    }
  }
}
