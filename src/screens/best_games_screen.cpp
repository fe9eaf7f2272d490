#include "screens/best_games_screen.h"

#include <memory>

#include "days/ground.h"
#include "render/digit_sprites.h"
#include "render/sprite.h"
#include "screens/screen_machine.h"
#include "shell/best_games.h"
#include "shell/key_state.h"

namespace {
constexpr float centreX = 320.0f;
constexpr float titleY = 40.0f;
constexpr float headingsY = 84.0f;
constexpr float firstRowY = 104.0f;  // top of the first row's digit cells
constexpr float rowStep = 30.0f;
constexpr float backY = 452.0f;
constexpr float grassBrightness = 0.45f;
// Column centres and starts under the headings strip (512 wide, from x = 64).
constexpr float rankX = 88.0f;
constexpr float dayX = 180.0f;
constexpr float scoreX = 286.0f;
constexpr float dateX = 388.0f;
constexpr float dateDigitStep = 19.0f;
constexpr float dashSize = 32.0f;

bool loaded = false;
std::unique_ptr<Sprite> title;
std::unique_ptr<Sprite> headings;
std::unique_ptr<Sprite> noGames;
std::unique_ptr<Sprite> back;
std::unique_ptr<Sprite> dash;

void drawDate(const char* date, float y) {
  float x = dateX;
  for (int i = 0; i < 10; ++i) {
    if (date[i] == '-') {
      dash->drawTinted(x, y, 0.0f, dashSize, dashSize, 1.0f, 1.0f, 1.0f);
      x += dateDigitStep * 0.7f;
    } else {
      drawDigitSmall(x, y, date[i] - '0');
      x += dateDigitStep;
    }
  }
}
}  // namespace

void BestGamesScreen::load() {
  if (loaded) return;
  title = std::make_unique<Sprite>("graphics\\comfort\\best_title.tga", 512.0f, 64.0f, 0.0f, 0.0f);
  headings = std::make_unique<Sprite>("graphics\\comfort\\best_headings.tga", 512.0f, 32.0f, 0.0f, 0.0f);
  noGames = std::make_unique<Sprite>("graphics\\comfort\\no_games.tga", 512.0f, 32.0f, 0.0f, 0.0f);
  back = std::make_unique<Sprite>("graphics\\comfort\\back_hint.tga", 256.0f, 32.0f, 0.0f, 0.0f);
  // Placed like a digit: by the top-left of its cell.
  dash = std::make_unique<Sprite>("graphics\\comfort\\dash.tga", dashSize, dashSize, -0.5f, -0.5f);
  Ground::load();
  KeyState::clearPressed();
  loaded = true;
}

void BestGamesScreen::unload() {
  if (!loaded) return;
  title.reset();
  headings.reset();
  noGames.reset();
  back.reset();
  dash.reset();
  Ground::unload();
  loaded = false;
}

bool BestGamesScreen::isLoaded() {
  return loaded;
}

ScreenId BestGamesScreen::update(uint32_t) {
  const bool ctrl = KeyState::wasPressed(vkControl);
  const bool escape = KeyState::wasPressed(vkEscape);
  return ctrl || escape ? ScreenId::Title : ScreenId::None;
}

void BestGamesScreen::draw() {
  if (!loaded) return;
  Ground::draw(grassBrightness);
  title->draw(centreX, titleY);
  if (bestGames.count() == 0) {
    noGames->draw(centreX, firstRowY + rowStep * 2.0f);
  } else {
    headings->draw(centreX, headingsY);
  }
  for (int i = 0; i < bestGames.count(); ++i) {
    const BestGame& game = bestGames.entry(i);
    const float y = firstRowY + rowStep * static_cast<float>(i);
    drawNumberSmallCentred(rankX, y, i + 1);
    drawNumberSmallCentred(dayX, y, game.day);
    drawNumberSmallCentred(scoreX, y, game.score);
    drawDate(game.date, y);
  }
  back->draw(centreX, backY);
}
