// The audio engine on SDL2_mixer: available with a (dummy) device, silent and harmless without one.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "sound/sound_clip.h"
#include "sound/sound_system.h"
#include "test_support.h"

namespace {

// The longest clip of the game: still sounding while a test looks at it.
constexpr const char* kLongClip = "sound\\title.wav";
constexpr const char* kShortClip = "sound\\boo.wav";

int finishedChannels = 0;

// Installs a sound system as the game's global one for the test and removes it afterwards.
class SoundSystemTest : public testing::Test {
 protected:
  void start(const char* driver) {
    setenv("SDL_AUDIODRIVER", driver, 1);
    system_ = std::make_unique<SoundSystem>();
    soundSystem = system_.get();
    finishedChannels = 0;
    Mix_ChannelFinished([](int) { ++finishedChannels; });
  }
  void TearDown() override {
    soundSystem = nullptr;
    system_.reset();
    clearPlayedClips();
  }
  int playing() const { return system_->playingCount(); }
  std::unique_ptr<SoundSystem> system_;
};

TEST_F(SoundSystemTest, PlaysOverlapAndABurstPastTheChannelsIsNotCutOff) {
  start("dummy");
  SoundClip tune(kLongClip), crowArrives("sound\\crow_go.wav"), crowLaughs("sound\\crow_haha.wav"),
      boo(kShortClip);
  tune.play();
  tune.play();  // the same clip again overlaps on a second channel
  EXPECT_EQ(playing(), 2);
  for (int crow = 0; crow < 3; ++crow) crowArrives.play(), crowLaughs.play();
  boo.play();
  EXPECT_EQ(playing(), 9);
  // Past the channel count the newest sound still starts, in place of the oldest: of the 9 + 32 plays,
  // 9 have ended (displaced) when all channels are busy.
  for (int i = 0; i < SoundSystem::kChannelCount; ++i) tune.play();
  EXPECT_EQ(playing(), SoundSystem::kChannelCount);
  EXPECT_EQ(finishedChannels, 9);
  EXPECT_GE(SoundSystem::kChannelCount, 32);
}

// Shutdown halts every channel at once and gives the device back, so a later system (a re-created
// window) opens it again; shutting down twice and playing afterwards are harmless. A released clip
// rings out, even more of them than the system keeps aside; a clip may also outlive the system.
TEST_F(SoundSystemTest, ShutdownStopsEverySoundAtOnceAndClipsMayOutliveTheirSystem) {
  start("dummy");
  SoundClip tune(kLongClip), boo(kShortClip);
  tune.play(), tune.play(), boo.play();
  ASSERT_EQ(playing(), 3);
  system_->shutdown();
  EXPECT_EQ(finishedChannels, 3);
  EXPECT_FALSE(system_->isAvailable());
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  system_->shutdown();
  tune.play();
  EXPECT_EQ(countPlayed(kLongClip), 3) << "the observer still hears the play";
  start("dummy");  // made while the first still exists, which is then destroyed
  SoundClip(kLongClip).play();
  EXPECT_EQ(playing(), 1);
  for (int i = 0; i < 48; ++i) SoundClip(kShortClip).play();
  EXPECT_GT(playing(), 0);
  auto clip = std::make_unique<SoundClip>(kShortClip);
  ASSERT_TRUE(clip->isLoaded());
  soundSystem = nullptr;
  system_.reset();
  clip->play();
  EXPECT_EQ(countPlayed(kShortClip), 50);
}

// With no system, no audio driver, or a missing or unreadable file the clips stay silent, even once a
// device appears later; the observer still hears each play.
TEST_F(SoundSystemTest, WithoutSystemDriverOrFileClipsAreSilentButObserved) {
  SoundClip orphan(kShortClip);
  EXPECT_FALSE(orphan.isLoaded());
  orphan.play();
  EXPECT_EQ(countPlayed(kShortClip), 1);
  start("no_such_audio_driver");
  EXPECT_FALSE(system_->isAvailable());
  SoundClip clip(kLongClip);
  EXPECT_FALSE(clip.isLoaded());
  clip.play();
  start("dummy");
  clip.play();
  EXPECT_EQ(countPlayed(kLongClip), 2);
  std::filesystem::create_directories("sound_test_scratch");
  std::ofstream("sound_test_scratch/garbage.wav") << "RIFF\x10\x00\x00\x00WAVEjunk that is not a wave file";
  std::ofstream("sound_test_scratch/empty.wav").flush();
  for (const char* name :
       {"sound\\no_such_clip.wav", "sound_test_scratch\\garbage.wav", "sound_test_scratch\\empty.wav", ""}) {
    SoundClip broken(name);
    EXPECT_FALSE(broken.isLoaded()) << name;
    broken.play();
  }
  EXPECT_EQ(playing(), 0);
  std::filesystem::remove_all("sound_test_scratch");
}

}  // namespace

namespace {

// The master level reaches every channel, in tenths of the mix level, clamped at both ends; mute
// silences the mixer without forgetting the level; without a device the level is still kept.
TEST_F(SoundSystemTest, MasterVolumeStepsClampAndMuteSilences) {
  start("dummy");
  const int full = system_->mixerVolume();
  ASSERT_GT(full, 0);
  SoundClip tune(kLongClip);
  tune.play();
  system_->setMuted(true);
  EXPECT_EQ(system_->mixerVolume(), 0);
  for (int channel = 0; channel < SoundSystem::kChannelCount; ++channel)
    EXPECT_EQ(Mix_Volume(channel, -1), 0);
  tune.play();
  system_->stepVolume(-3);
  EXPECT_EQ(system_->mixerVolume(), 0) << "a step does not unmute by itself";
  system_->setMuted(false);
  EXPECT_EQ(system_->mixerVolume(), full * 7 / 10);
  for (int step = 0; step < 12; ++step) system_->stepVolume(-1);
  EXPECT_EQ(system_->volume(), 0);
  EXPECT_EQ(system_->mixerVolume(), 0);
  for (int step = 0; step < 14; ++step) system_->stepVolume(+1);
  EXPECT_EQ(system_->volume(), SoundSystem::kVolumeSteps);
  EXPECT_EQ(system_->mixerVolume(), full);
  system_->setVolume(42);
  EXPECT_EQ(system_->volume(), SoundSystem::kVolumeSteps);

  soundSystem = nullptr;
  system_.reset();
  start("no_such_audio_driver");
  ASSERT_FALSE(system_->isAvailable());
  system_->setVolume(4);
  EXPECT_EQ(system_->volume(), 4);
  EXPECT_EQ(system_->mixerVolume(), 0);
}

}  // namespace
