#include "screens/game_over_place.h"

#include <cstdio>
#include <memory>

#include "render/sprite.h"
#include "shell/app_window.h"
#include "shell/best_games.h"
#include "shell/demo_session.h"
#include "shell/user_files.h"

namespace {
// Under the score of the game-over presentation.
constexpr float lineX = 320.0f;
constexpr float lineY = 392.0f;

int recordedPlace = -1;
std::unique_ptr<Sprite> lines[BestGames::capacity];
}  // namespace

void GameOverPlace::load() {
  recordedPlace = -1;
  for (int i = 0; i < BestGames::capacity; ++i) {
    char name[48];
    std::snprintf(name, sizeof name, "graphics\\comfort\\rank%d.tga", i);
    lines[i] = std::make_unique<Sprite>(name, 256.0f, 64.0f, 0.0f, 0.0f);
  }
}

void GameOverPlace::unload() {
  for (std::unique_ptr<Sprite>& line : lines) line.reset();
  recordedPlace = -1;
}

void GameOverPlace::record(int32_t score, int32_t shownDay, const AppWindow* window) {
  // A game played back from a demo was already counted when it was played.
  if (DemoSession::mode() == DemoSession::Mode::Playing) {
    recordedPlace = -1;
    return;
  }
  BestGame game{};
  game.score = score;
  game.day = shownDay;
  localDate(game.date, sizeof game.date);
  const AppWindow defaults;
  const AppWindow& mode = window ? *window : defaults;
  game.width = mode.width;
  game.height = mode.height;
  game.bitsPerPixel = mode.bitsPerPixel;
  game.fullScreen = mode.fullScreen;
  recordedPlace = bestGames.record(game);
}

int GameOverPlace::place() {
  return recordedPlace;
}

void GameOverPlace::draw() {
  if (recordedPlace < 0 || !lines[recordedPlace]) return;
  lines[recordedPlace]->draw(lineX, lineY);
}
