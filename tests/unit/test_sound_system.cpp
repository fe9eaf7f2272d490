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

void useAudioDriver(const char* driver) {
  setenv("SDL_AUDIODRIVER", driver, 1);
}

// Installs a sound system as the game's global one for the test and removes it afterwards.
class SoundSystemTest : public testing::Test {
 protected:
  void start(const char* driver) {
    useAudioDriver(driver);
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
  std::unique_ptr<SoundSystem> system_;
};

TEST_F(SoundSystemTest, DummyDeviceMakesTheSystemAvailableAndAClipPlays) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  SoundClip clip(kLongClip);
  ASSERT_TRUE(clip.isLoaded());
  EXPECT_EQ(system_->playingCount(), 0);
  clip.play();
  EXPECT_EQ(system_->playingCount(), 1);
  EXPECT_EQ(countPlayed(kLongClip), 1);
}

TEST_F(SoundSystemTest, TwoPlaysOfOneClipOverlapOnTwoChannels) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  SoundClip clip(kLongClip);
  clip.play();
  clip.play();
  EXPECT_EQ(system_->playingCount(), 2);
}

TEST_F(SoundSystemTest, ABurstOfOverlappingClipsIsNotCutOff) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  SoundClip crowArrives("sound\\crow_go.wav");
  SoundClip crowLaughs("sound\\crow_haha.wav");
  SoundClip boo(kShortClip);
  SoundClip tune(kLongClip);
  tune.play();
  for (int crow = 0; crow < 3; ++crow) crowArrives.play();
  for (int crow = 0; crow < 3; ++crow) crowLaughs.play();
  boo.play();
  EXPECT_EQ(system_->playingCount(), 8);
  // Past the channel count the newest sound still starts, in place of the oldest.
  for (int i = 0; i < SoundSystem::kChannelCount; ++i) tune.play();
  EXPECT_EQ(system_->playingCount(), SoundSystem::kChannelCount);
  EXPECT_GE(SoundSystem::kChannelCount, 32);
}

TEST_F(SoundSystemTest, ShutdownStopsEverySoundAtOnce) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  SoundClip tune(kLongClip);
  SoundClip boo(kShortClip);
  tune.play();
  tune.play();
  boo.play();
  ASSERT_EQ(system_->playingCount(), 3);
  finishedChannels = 0;
  Mix_ChannelFinished(countFinished);
  system_->shutdown();
  EXPECT_EQ(finishedChannels, 3);
  EXPECT_FALSE(system_->isAvailable());
  EXPECT_EQ(system_->playingCount(), 0);
  // The device is given back, so a re-created window can open it again.
  EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
  // Shutting down twice and playing afterwards are harmless; the observer still hears the play.
  system_->shutdown();
  tune.play();
  EXPECT_EQ(system_->playingCount(), 0);
  EXPECT_EQ(countPlayed(kLongClip), 3);
}

TEST_F(SoundSystemTest, MissingOrUnreadableFileGivesASilentClip) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  namespace fs = std::filesystem;
  fs::create_directories("sound_test_scratch");
  {
    std::FILE* f = std::fopen("sound_test_scratch/garbage.wav", "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("RIFF\x10\x00\x00\x00WAVEjunk that is not a wave file", f);
    std::fclose(f);
    std::FILE* empty = std::fopen("sound_test_scratch/empty.wav", "wb");
    ASSERT_NE(empty, nullptr);
    std::fclose(empty);
  }
  const char* names[] = {"sound\\no_such_clip.wav", "sound_test_scratch\\garbage.wav",
                         "sound_test_scratch\\empty.wav", ""};
  for (const char* name : names) {
    SoundClip clip(name);
    EXPECT_FALSE(clip.isLoaded()) << name;
    clip.play();
    EXPECT_EQ(system_->playingCount(), 0) << name;
    EXPECT_EQ(countPlayed(name), 1) << name;
  }
  fs::remove_all("sound_test_scratch");
}

TEST_F(SoundSystemTest, ReleasingASoundingClipLetsItRingOut) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  {
    SoundClip tune(kLongClip);
    tune.play();
  }
  EXPECT_EQ(system_->playingCount(), 1);
  // More released clips still sounding than the system keeps aside: none crashes, and the mixer
  // never exceeds its channels.
  for (int i = 0; i < 48; ++i) {
    SoundClip clip(kShortClip);
    clip.play();
  }
  EXPECT_LE(system_->playingCount(), SoundSystem::kChannelCount);
  EXPECT_GT(system_->playingCount(), 0);
  system_->shutdown();
  EXPECT_EQ(system_->playingCount(), 0);
}

TEST_F(SoundSystemTest, ASecondSystemAfterTheFirstOneWorks) {
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  system_->shutdown();
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  SoundClip clip(kShortClip);
  clip.play();
  EXPECT_EQ(system_->playingCount(), 1);
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

TEST_F(SoundSystemTest, NoUsableDriverLeavesTheSystemUnavailableAndEveryCallHarmless) {
  start("no_such_audio_driver");
  EXPECT_FALSE(system_->isAvailable());
  SoundClip clip(kLongClip);
  EXPECT_FALSE(clip.isLoaded());
  clip.play();
  clip.play();
  EXPECT_EQ(system_->playingCount(), 0);
  EXPECT_EQ(countPlayed(kLongClip), 2);
  system_->shutdown();
  system_->shutdown();
  EXPECT_FALSE(system_->isAvailable());
}

TEST_F(SoundSystemTest, AClipMadeWhileUnavailableStaysSilentWhenADeviceAppears) {
  start("no_such_audio_driver");
  ASSERT_FALSE(system_->isAvailable());
  SoundClip clip(kLongClip);
  system_->shutdown();
  start("dummy");
  ASSERT_TRUE(system_->isAvailable());
  clip.play();
  EXPECT_EQ(system_->playingCount(), 0);
  EXPECT_EQ(countPlayed(kLongClip), 1);
}

TEST_F(SoundSystemTest, WithoutAnySystemClipsAreSilentButObserved) {
  soundSystem = nullptr;
  SoundClip clip(kShortClip);
  EXPECT_FALSE(clip.isLoaded());
  clip.play();
  EXPECT_EQ(countPlayed(kShortClip), 1);
}

}  // namespace
