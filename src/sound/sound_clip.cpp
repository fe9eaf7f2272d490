// Placeholder: replaced by the real module.
#include "sound/sound_clip.h"

static SoundClip::PlayObserver observer = nullptr;
SoundClip::SoundClip(const char* fileName) : fileName_(fileName) {}
SoundClip::~SoundClip() {}
void SoundClip::play() { if (observer) observer(fileName_.c_str()); }
void SoundClip::setPlayObserver(PlayObserver o) { observer = o; }
