#include "sound/sound_clip.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "shell/platform.h"
#include "sound/sound_system.h"

namespace {
SoundClip::PlayObserver playObserver = nullptr;

bool audioAvailable() {
  return soundSystem != nullptr && soundSystem->isAvailable();
}

Mix_Chunk* loadChunk(const char* fileName) {
  FILE* file = platformOpenDataFile(fileName, "rb");
  if (file == nullptr) return nullptr;
  SDL_RWops* stream = SDL_RWFromFP(file, SDL_TRUE);
  if (stream == nullptr) {
    std::fclose(file);
    return nullptr;
  }
  return Mix_LoadWAV_RW(stream, 1);
}
}  // namespace

SoundClip::SoundClip(const char* fileName) : fileName_(fileName != nullptr ? fileName : "") {
  if (audioAvailable()) chunk_ = loadChunk(fileName_.c_str());
}

SoundClip::~SoundClip() {
  if (chunk_ == nullptr) return;
  if (soundSystem != nullptr) {
    soundSystem->retireChunk(chunk_);
  } else {
    Mix_FreeChunk(chunk_);
  }
}

void SoundClip::play() {
  if (playObserver != nullptr) playObserver(fileName_.c_str());
  if (chunk_ == nullptr || !audioAvailable()) return;
  soundSystem->startChunk(chunk_);
}

void SoundClip::setPlayObserver(PlayObserver observer) {
  playObserver = observer;
}
