// Pause, the sound keys, Enter and Space on the menus, the best-games screen and the game-over line,
// driven through the screen machine and the window procedure as the running game drives them.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>

#include "days/day_director.h"
#include "scarecrow/scarecrow.h"
#include "screens/best_games_screen.h"
#include "screens/game_over_place.h"
#include "screens/play_pause.h"
#include "screens/play_screen.h"
#include "screens/play_screen_testing.h"
#include "screens/screen_machine.h"
#include "screens/title_screen.h"
#include "screens/volume_control.h"
#include "shell/app_window.h"
#include "shell/best_games.h"
#include "shell/demo_session.h"
#include "shell/key_state.h"
#include "shell/mode_chooser.h"
#include "shell/settings.h"
#include "shell/window_procedure.h"
#include "sound/sound_system.h"
#include "test_support.h"

namespace {

class PlayerComforts : public testing::Test {
 protected:
  void SetUp() override {
    KeyState::clearAll();
    DayDirector::resetForTests();
    settings = Settings{};
    bestGames = BestGames{};
    gameStartup(&window_);
    gameUpdate(0);
  }
  void TearDown() override {
    gameShutdown();
    soundSystem = nullptr;
    sound_.reset();
    bestGames = BestGames{};
  }
  void tap(uint32_t key, uint32_t elapsedMs = 16) {
    KeyState::keyDown(key);
    KeyState::keyUp(key);
    gameUpdate(elapsedMs);
  }
  void switchTo(ScreenId screen) { screenMachine->requestScreen(screen), gameUpdate(0); }
  void enterPlay() {
    DayDirector::beginGame();
    switchTo(ScreenId::Play);
    ASSERT_TRUE(isWorldLoaded());
  }
  void sendWindow(Uint8 event) {
    windowProcedure(window_, {.window = {SDL_WINDOWEVENT, 0, 0, event, 0, 0, 0, 0, 0}});
  }
  void click() {
    windowProcedure(window_,
                    {.button = {SDL_MOUSEBUTTONDOWN, 0, 0, 0, SDL_BUTTON_LEFT, SDL_PRESSED, 1, 0, 0, 0}});
  }
  // Of the band below the pause card's lettering.
  float meanBrightness() {
    gameDraw();
    const std::vector<uint8_t> pixels = testContext().readPixels();
    double sum = 0;
    const size_t from = 340 * 640 * 4, to = 470 * 640 * 4;
    for (size_t i = from; i < to; i += 4) sum += pixels[i] + pixels[i + 1] + pixels[i + 2];
    return static_cast<float>(sum / ((to - from) / 4 * 3));
  }
  AppWindow window_;
  std::unique_ptr<SoundSystem> sound_;
};

// P pauses at once: no tick runs and the backlog neither grows nor drains, however long the pause;
// presses made meanwhile are dropped; P again resumes from the same backlog. The frame is dimmed.
TEST_F(PlayerComforts, PauseRunsNoTickAndResumesWithoutAJump) {
  enterPlay();
  for (int i = 0; i < 300; ++i) gameUpdate(16);  // into the lit day
  gameUpdate(40);                                // two ticks and 8 ms carried
  const uint32_t ticks = PlayTesting::ticksRun(), backlog = playBacklog();
  ASSERT_EQ(backlog, 8u);
  const float lit = meanBrightness();
  tap(vkP, 40);
  EXPECT_TRUE(PlayPause::isPaused());
  for (int frame = 0; frame < 50; ++frame) gameUpdate(frame % 2 ? 1000 : 16);
  KeyState::keyDown(vkControl);
  KeyState::keyDown(vkShift);
  KeyState::keyDown(vkReturn);
  gameUpdate(16);
  EXPECT_EQ(PlayTesting::ticksRun(), ticks);
  EXPECT_EQ(playBacklog(), backlog);
  EXPECT_EQ(KeyState::rawByte(vkControl), 1) << "still held, its press dropped";
  EXPECT_EQ(KeyState::rawByte(vkShift), 1);
  EXPECT_LT(meanBrightness(), lit * 0.7f);
  KeyState::keyUp(vkControl);
  KeyState::keyUp(vkShift);
  tap(vkPause, 16);
  EXPECT_FALSE(PlayPause::isPaused());
  EXPECT_EQ(PlayTesting::ticksRun(), ticks + 1) << "8 carried + 16: one tick, as if the pause never was";
  EXPECT_EQ(playBacklog(), 8u);
  EXPECT_NEAR(meanBrightness(), lit, lit * 0.1f);
}

// Losing the keyboard or being minimised pauses play (and only play); getting the keyboard back
// does not resume, a click does; Escape while paused leaves for the title like Escape in play, and
// the next game starts unpaused.
TEST_F(PlayerComforts, FocusLossPausesAndOnlyAClickOrPResumes) {
  sendWindow(SDL_WINDOWEVENT_FOCUS_LOST);
  EXPECT_FALSE(PlayPause::isPaused()) << "the title waits for keys anyway";
  enterPlay();
  sendWindow(SDL_WINDOWEVENT_FOCUS_LOST);
  EXPECT_TRUE(PlayPause::isPaused());
  sendWindow(SDL_WINDOWEVENT_FOCUS_GAINED);
  gameUpdate(16);
  EXPECT_TRUE(PlayPause::isPaused());
  click();
  EXPECT_FALSE(PlayPause::isPaused());
  sendWindow(SDL_WINDOWEVENT_MINIMIZED);
  EXPECT_EQ(window_.visible, 0);
  EXPECT_TRUE(PlayPause::isPaused());
  sendWindow(SDL_WINDOWEVENT_RESTORED);
  const uint32_t ticks = PlayTesting::ticksRun();
  gameUpdate(5000);  // the long gap of a minimised window
  EXPECT_EQ(PlayTesting::ticksRun(), ticks);
  tap(vkP);
  EXPECT_FALSE(PlayPause::isPaused());
  tap(vkP);
  tap(vkEscape);
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Title);
  gameUpdate(0);
  EXPECT_FALSE(PlayPause::isPaused());
  EXPECT_TRUE(TitleScreen::isLoaded());
  KeyState::keyDown(vkP);  // a stray P on the title does not pause the coming game
  enterPlay();
  gameUpdate(16);
  EXPECT_FALSE(PlayPause::isPaused());
}

// M mutes and unmutes, - and + step in tenths and clamp at 0 and 10, on any screen; the mixer follows
// and the indicator shows for a second after each change.
TEST_F(PlayerComforts, SoundKeysStepClampMuteAndShowForASecond) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  sound_ = std::make_unique<SoundSystem>();
  soundSystem = sound_.get();
  ASSERT_TRUE(soundSystem->isAvailable());
  VolumeControl::apply();
  const int full = soundSystem->mixerVolume();
  settings.volume = 7;
  VolumeControl::apply();
  tap(vkM);
  EXPECT_EQ(soundSystem->mixerVolume(), 0);
  EXPECT_TRUE(settings.muted);
  EXPECT_EQ(VolumeControl::shownFor(), 1000u);
  gameUpdate(600);
  EXPECT_EQ(VolumeControl::shownFor(), 400u);
  gameUpdate(600);
  EXPECT_EQ(VolumeControl::shownFor(), 0u);
  tap(vkM);
  EXPECT_EQ(soundSystem->mixerVolume(), full * 7 / 10);
  enterPlay();
  for (int i = 0; i < 9; ++i) tap(vkMinus);
  EXPECT_EQ(settings.volume, 0);
  EXPECT_EQ(soundSystem->volume(), 0);
  EXPECT_EQ(soundSystem->mixerVolume(), 0);
  tap(vkM);
  tap(vkPlus);
  EXPECT_FALSE(settings.muted) << "asking for a level unmutes";
  for (int i = 0; i < 14; ++i) tap(vkPlus);
  EXPECT_EQ(settings.volume, Settings::volumeSteps);
  EXPECT_EQ(soundSystem->mixerVolume(), full);
  tap(vkP);
  tap(vkMinus);
  EXPECT_EQ(settings.volume, 9) << "the level keys work while paused";
}

// Return and Space stand for Ctrl on the title, instructions and store, and on the table screen
// reached with B; in play they do nothing, and B there opens nothing.
TEST_F(PlayerComforts, EnterAndSpaceActAsCtrlOnMenusOnly) {
  for (int frame = 0; frame < 400 && !TitleScreen::menuTakesKeys(); ++frame) gameUpdate(16);
  ASSERT_TRUE(TitleScreen::menuTakesKeys());
  tap(vkB);
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::BestGames);
  gameUpdate(0);
  EXPECT_TRUE(BestGamesScreen::isLoaded());
  EXPECT_FALSE(TitleScreen::isLoaded());
  tap(vkSpace);
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Title);
  gameUpdate(0);
  EXPECT_FALSE(BestGamesScreen::isLoaded());
  for (int frame = 0; frame < 400 && !TitleScreen::menuTakesKeys(); ++frame) gameUpdate(16);
  for (int i = 0; i < 3; ++i) tap(vkDown);  // to the Instructions button
  tap(vkReturn);
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Instructions);
  gameUpdate(0);
  tap(vkSpace);
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Title);

  enterPlay();
  for (int i = 0; i < 300; ++i) gameUpdate(16);  // into the running day
  const int32_t breath = static_cast<int32_t>(Scarecrow::state().breath * 1000);
  tap(vkReturn);
  tap(vkSpace);
  tap(vkB);
  EXPECT_EQ(screenMachine->currentScreen(), ScreenId::Play);
  EXPECT_EQ(static_cast<int32_t>(Scarecrow::state().breath * 1000), breath) << "no shout";
  EXPECT_FALSE(KeyState::wasPressed(vkControl));
}

// The game over enters an open table and draws its place; a table that is not open (the harness
// without a file) records nothing; the mode played in is kept with the game.
TEST_F(PlayerComforts, GameOverEntersTheTableAndShowsItsPlace) {
  window_.width = 800, window_.height = 600, window_.bitsPerPixel = 32, window_.fullScreen = 1;
  enterPlay();
  triggerGameOver();
  EXPECT_EQ(GameOverPlace::place(), -1);
  EXPECT_EQ(bestGames.count(), 0);

  bestGames.open("");
  bestGames.add({500, 9, "2026-01-01", 640, 480, 16, 0});
  switchTo(ScreenId::Title);
  enterPlay();
  gameUpdate(16);
  triggerGameOver();
  triggerGameOver();  // a second report of the same end is not a second game
  ASSERT_EQ(bestGames.count(), 2);
  EXPECT_EQ(GameOverPlace::place(), 1);
  const BestGame& entered = bestGames.entry(1);
  EXPECT_EQ(entered.score, Scarecrow::state().score);
  EXPECT_EQ(entered.day, DayDirector::day() + 1);
  EXPECT_EQ(entered.width, 800);
  EXPECT_EQ(entered.fullScreen, 1);
  EXPECT_EQ(entered.bitsPerPixel, 32);
}

// A demo holds only the key table: while one records, focus and clicks leave the pause alone (P still
// works), and a game played back from one is not entered in the table a second time.
TEST_F(PlayerComforts, DemosKeepPauseToPAndTheTableToLivePlay) {
  const std::string path = std::string(::testing::TempDir()) + "comforts_demo_" + std::to_string(getpid());
  ASSERT_TRUE(DemoSession::startRecording(path.c_str(), "test"));
  enterPlay();
  sendWindow(SDL_WINDOWEVENT_FOCUS_LOST);
  sendWindow(SDL_WINDOWEVENT_MINIMIZED);
  EXPECT_FALSE(PlayPause::isPaused());
  tap(vkP);
  click();
  EXPECT_TRUE(PlayPause::isPaused());
  tap(vkP);
  ASSERT_TRUE(DemoSession::finishRecording());

  FILE* file = std::fopen(path.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs("cornkeeper-demo 1\ngame test\nstarting-day 0\nstarting-corn 3\nframes 1\n16\nend\n", file);
  std::fclose(file);
  ASSERT_TRUE(DemoSession::startPlayback(path.c_str(), "test"));
  bestGames.open("");
  switchTo(ScreenId::Title);
  enterPlay();
  triggerGameOver();
  EXPECT_EQ(bestGames.count(), 0);
  EXPECT_EQ(GameOverPlace::place(), -1);
  DemoSession::stopPlayback();
  std::remove(path.c_str());
}

// The chooser starts on the remembered mode; a mode it does not offer leaves that group's default.
TEST(RememberedMode, ChooserPreselectsTheLastChoice) {
  const ModeChooser remembered(ScreenMode{1024, 768, 32, 1});
  EXPECT_TRUE(remembered.isChecked(ChooserControl::Radio1024));
  EXPECT_TRUE(remembered.isChecked(ChooserControl::Radio32));
  EXPECT_TRUE(remembered.isChecked(ChooserControl::FullScreen));
  auto fields = [](ScreenMode m) { return std::tuple(m.width, m.height, m.bitsPerPixel, m.fullScreen); };
  EXPECT_EQ(fields(remembered.chosenMode()), std::tuple(1024, 768, 32, 1));
  EXPECT_EQ(fields(ModeChooser(ScreenMode{1024, 600, 24, 0}).chosenMode()),
            fields(ModeChooser().chosenMode()));
}

}  // namespace
