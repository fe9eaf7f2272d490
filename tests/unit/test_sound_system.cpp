// The audio engine on SDL2_mixer: available with a (dummy) device, silent and harmless without one.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "sound/sound_clip.h"
#include "sound/sound_system.h"
#include "test_support.h"

namespace {

// The longest clip of the game: still sounding while a test looks at it.
constexpr const char* kLongClip = "sound\\title.wav";
constexpr const char* kShortClip = "sound\\boo.wav";

int finishedChannels = 0;
void countFinished(int) {
  ++finishedChannels;
}

// Installs a sound system as the game's global one for the test and removes it afterwards.
class SoundSystemTest : public testing::Test {
 protected:
  void start(const char* driver) {
    setenv("SDL_AUDIODRIVER", driver, 1);
    system_ = std::make_unique<SoundSystem>();
    soundSystem = system_.get();
  }
  void TearDown() override {
    if (system_) system_->shutdown();
    soundSystem = nullptr;
    system_.reset();
    Mix_ChannelFinished(nullptr);
    clearPlayedClips();
  }
  int playing() const { return system_->playingCount(); }
  std::unique_ptr<SoundSystem> system_;
};

TEST_F(SoundSystemTest, PlaysOverlapAndABurstPastTheChannelsIsNotCutOff) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  SoundClip tune(kLongClip), crowArrives("sound\\crow_go.wav"), crowLaughs("sound\\crow_haha.wav"),
      boo(kShortClip);
  ASSERT_TRUE(tune.isLoaded());
  EXPECT_EQ(playing(), 0);
  tune.play();
  EXPECT_EQ(playing(), 1);
  EXPECT_EQ(countPlayed(kLongClip), 1);
  tune.play();  // the same clip again overlaps on a second channel
  EXPECT_EQ(playing(), 2);
  for (int crow = 0; crow < 3; ++crow) crowArrives.play(), crowLaughs.play();
  boo.play();
  EXPECT_EQ(playing(), 9);
  // Past the channel count the newest sound still starts, in place of the oldest.
  for (int i = 0; i < SoundSystem::kChannelCount; ++i) tune.play();
  EXPECT_EQ(playing(), SoundSystem::kChannelCount);
  EXPECT_GE(SoundSystem::kChannelCount, 32);
}

TEST_F(SoundSystemTest, ShutdownStopsEverySoundAtOnce) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  SoundClip tune(kLongClip), boo(kShortClip);
  tune.play();
  tune.play();
  boo.play();
  ASSERT_EQ(playing(), 3);
  finishedChannels = 0;
  Mix_ChannelFinished(countFinished);
  system_->shutdown();
  EXPECT_EQ(finishedChannels, 3);
  EXPECT_FALSE(system_->isAvailable());
  EXPECT_EQ(playing(), 0);
  // The device is given back, so a re-created window can open it again.
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  // Shutting down twice and playing afterwards are harmless; the observer still hears the play.
  system_->shutdown();
  tune.play();
  EXPECT_EQ(playing(), 0);
  EXPECT_EQ(countPlayed(kLongClip), 3);
}

TEST_F(SoundSystemTest, MissingOrUnreadableFileGivesASilentClip) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  std::filesystem::create_directories("sound_test_scratch");
  auto write = [](const char* path, const char* text) {
    std::FILE* f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(text, f);
    std::fclose(f);
  };
  write("sound_test_scratch/garbage.wav", "RIFF\x10\x00\x00\x00WAVEjunk that is not a wave file");
  write("sound_test_scratch/empty.wav", "");
  for (const char* name :
       {"sound\\no_such_clip.wav", "sound_test_scratch\\garbage.wav", "sound_test_scratch\\empty.wav", ""}) {
    SoundClip clip(name);
    EXPECT_FALSE(clip.isLoaded()) << name;
    clip.play();
    EXPECT_EQ(playing(), 0) << name;
    EXPECT_EQ(countPlayed(name), 1) << name;
  }
  std::filesystem::remove_all("sound_test_scratch");
}

TEST_F(SoundSystemTest, ReleasingASoundingClipLetsItRingOut) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  SoundClip(kLongClip).play();
  EXPECT_EQ(playing(), 1);
  // More released clips still sounding than the system keeps aside: none crashes, and the mixer
  // never exceeds its channels.
  for (int i = 0; i < 48; ++i) SoundClip(kShortClip).play();
  EXPECT_LE(playing(), SoundSystem::kChannelCount);
  EXPECT_GT(playing(), 0);
  system_->shutdown();
  EXPECT_EQ(playing(), 0);
}

TEST_F(SoundSystemTest, ASecondSystemAfterTheFirstOneWorks) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  system_->shutdown();
  start("dummy");  // made while the first still exists, which is then destroyed
  ASSERT_TRUE(system_->isAvailable());
  SoundClip(kShortClip).play();
  EXPECT_EQ(playing(), 1);
}

TEST_F(SoundSystemTest, ClipsMayOutliveTheSystem) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  auto clip = std::make_unique<SoundClip>(kShortClip);
  ASSERT_TRUE(clip->isLoaded());
  clip->play();
  system_->shutdown();
  soundSystem = nullptr;
  system_.reset();
  clip->play();
  EXPECT_EQ(countPlayed(kShortClip), 2);
  clip.reset();
}

TEST_F(SoundSystemTest, WithoutADriverEveryCallIsHarmlessAndItsClipsStaySilentLater) {
  start("no_such_audio_driver");
  EXPECT_FALSE(system_->isAvailable());
  SoundClip clip(kLongClip);
  EXPECT_FALSE(clip.isLoaded());
  clip.play();
  clip.play();
  EXPECT_EQ(playing(), 0);
  EXPECT_EQ(countPlayed(kLongClip), 2);
  system_->shutdown();
  system_->shutdown();
  EXPECT_FALSE(system_->isAvailable());
  // A clip made while unavailable stays silent when a device appears.
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  clip.play();
  EXPECT_EQ(playing(), 0);
  EXPECT_EQ(countPlayed(kLongClip), 3);
}

TEST_F(SoundSystemTest, WithoutAnySystemClipsAreSilentButObserved) {
  soundSystem = nullptr;
  SoundClip clip(kShortClip);
  EXPECT_FALSE(clip.isLoaded());
  clip.play();
  EXPECT_EQ(countPlayed(kShortClip), 1);
}

}  // namespace
