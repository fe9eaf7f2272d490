#include "screens/volume_control.h"

#include <memory>

#include "render/sprite.h"
#include "shell/key_state.h"
#include "shell/settings.h"
#include "sound/sound_system.h"

namespace {
constexpr uint32_t shownMs = 1000;
// Bottom-left: the one corner the play screen leaves empty.
constexpr float speakerX = 28.0f;
constexpr float speakerY = 452.0f;
constexpr float speakerSize = 40.0f;
constexpr float firstBarX = 56.0f;
constexpr float barStep = 11.0f;
constexpr float barWidth = 10.0f;
constexpr float barHeight = 24.0f;

uint32_t shownLeft = 0;
std::unique_ptr<Sprite> speaker;
std::unique_ptr<Sprite> speakerMuted;
std::unique_ptr<Sprite> barOn;
std::unique_ptr<Sprite> barOff;
}  // namespace

void VolumeControl::load() {
  speaker = std::make_unique<Sprite>("graphics\\comfort\\speaker.tga", speakerSize, speakerSize, 0.0f, 0.0f);
  speakerMuted =
      std::make_unique<Sprite>("graphics\\comfort\\speaker_muted.tga", speakerSize, speakerSize, 0.0f, 0.0f);
  barOn = std::make_unique<Sprite>("graphics\\comfort\\level_on.tga", barWidth, barHeight, -0.5f, 0.0f);
  barOff = std::make_unique<Sprite>("graphics\\comfort\\level_off.tga", barWidth, barHeight, -0.5f, 0.0f);
  shownLeft = 0;
}

void VolumeControl::unload() {
  speaker.reset();
  speakerMuted.reset();
  barOn.reset();
  barOff.reset();
}

void VolumeControl::apply() {
  if (settings.volume < 0 || settings.volume > Settings::volumeSteps) settings.volume = Settings::volumeSteps;
  if (!soundSystem) return;
  soundSystem->setVolume(settings.volume);
  soundSystem->setMuted(settings.muted);
}

void VolumeControl::update(uint32_t elapsedMs) {
  const bool mute = KeyState::wasPressed(vkM);
  const bool down = KeyState::wasPressed(vkMinus);
  const bool up = KeyState::wasPressed(vkPlus);
  if (!mute && !down && !up) {
    shownLeft = elapsedMs >= shownLeft ? 0 : shownLeft - elapsedMs;
    return;
  }
  if (mute) settings.muted = !settings.muted;
  if (down || up) {
    // Asking for a level means wanting to hear it.
    settings.muted = false;
    settings.volume += (up ? 1 : 0) - (down ? 1 : 0);
    if (settings.volume < 0) settings.volume = 0;
    if (settings.volume > Settings::volumeSteps) settings.volume = Settings::volumeSteps;
  }
  apply();
  shownLeft = shownMs;
}

void VolumeControl::draw() {
  if (shownLeft == 0 || !speaker) return;
  (settings.muted ? speakerMuted : speaker)->draw(speakerX, speakerY);
  for (int32_t i = 0; i < Settings::volumeSteps; ++i) {
    Sprite* bar = !settings.muted && i < settings.volume ? barOn.get() : barOff.get();
    bar->draw(firstBarX + barStep * static_cast<float>(i), speakerY);
  }
}

uint32_t VolumeControl::shownFor() {
  return shownLeft;
}
