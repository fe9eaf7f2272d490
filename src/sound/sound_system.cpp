// Placeholder: replaced by the real module.
#include "sound/sound_system.h"

SoundSystem* soundSystem = nullptr;
SoundSystem::SoundSystem() {}
SoundSystem::~SoundSystem() {}
void SoundSystem::shutdown() {}
