#include "screens/store.h"

#include <memory>

#include "days/day_director.h"
#include "field/corn_field.h"
#include "field/crow_flock.h"
#include "render/digit_sprites.h"
#include "render/sprite.h"
#include "scarecrow/scarecrow.h"
#include "screens/fixed_step.h"
#include "shell/key_state.h"
#include "sound/sound_clip.h"

namespace {
constexpr float fullTurn = 360.0f;
constexpr float cursorSpin = 1.0f;
constexpr float shopkeeperStartY = 608.0f;
constexpr float shopkeeperRestY = 480.0f;
constexpr float shopkeeperRise = 1.0f;
constexpr float keysOpenBelowY = 520.0f;  // keys pressed before this are dropped
constexpr float shopkeeperX = 48.0f;
constexpr float exitX = 147.0f;
constexpr float exitY = 70.0f;
constexpr float firstColumnX = 148.0f;
constexpr float columnSpacing = 168.0f;
constexpr float firstRowY = 200.0f;
constexpr float rowSpacing = 100.0f;
constexpr int columns = 3;
constexpr float backgroundX = 320.0f;
constexpr float backgroundY = 256.0f;
constexpr float strutRightX = 576.0f;
constexpr float strutSpacing = 64.0f;
constexpr int strutCount = 8;
constexpr float itemSize = 128.0f;
constexpr float unofferedAlpha = 0.5f;
constexpr float cursorSize = 128.0f;
constexpr float cursorAlpha = 0.6f;

constexpr int32_t fieldCapacity = 50;
constexpr float weightStep = 0.1f;
constexpr float lightestCarry = 0.1f;
constexpr uint8_t mostLetters = 8;
constexpr int32_t longestRange = 100;
constexpr int32_t rangeStep = 10;
constexpr float biggestLung = 256.0f;
constexpr float lungStep = 32.0f;
constexpr uint8_t mostMasks = 5;
constexpr int turnBackDays = 7;
constexpr float fastestSpeed = 4.0f;
constexpr float rocketStep = 1.0f;

bool seedOffered() {
  return CornField::liveStalkCount() < fieldCapacity;
}
void buySeed() {
  CornField::plantStalk();
}
bool fertilizerOffered() {
  return CornField::canFertilize();
}
void buyFertilizer() {
  CornField::fertilize();
}
bool weightOffered() {
  return CrowFlock::carrySpeedFactor() > lightestCarry;
}
void buyWeight() {
  CrowFlock::lightenCarry(weightStep);
}
bool letterOffered() {
  return Scarecrow::state().booLetters < mostLetters;
}
void buyLetter() {
  Scarecrow::addLetter();
}
bool breathOffered() {
  return Scarecrow::state().booRange < longestRange;
}
void buyBreath() {
  Scarecrow::lengthenShout(rangeStep);
}
bool lungOffered() {
  return Scarecrow::state().maxBreath < biggestLung;
}
void buyLung() {
  Scarecrow::growLungs(lungStep);
}
bool maskOffered() {
  return Scarecrow::state().masks < mostMasks;
}
void buyMask() {
  Scarecrow::addMask();
}
bool timeOffered() {
  return DayDirector::day() >= turnBackDays;
}
void buyTime() {
  DayDirector::turnBackTime();
}
bool rocketOffered() {
  return Scarecrow::state().maxSpeed < fastestSpeed;
}
void buyRocket() {
  Scarecrow::quicken(rocketStep);
}

struct Item {
  const char* file;
  int32_t price;
  bool (*offered)();  // besides the money check
  void (*buy)();
};

// By selection: slot 0 is the exit button.
const Item items[Store::slotCount] = {
    {"graphics\\shop_exit.tga", 0, nullptr, nullptr},
    {"graphics\\itm_seed.tga", 500, seedOffered, buySeed},
    {"graphics\\itm_fertilizer.tga", 1200, fertilizerOffered, buyFertilizer},
    {"graphics\\itm_weight.tga", 300, weightOffered, buyWeight},
    {"graphics\\itm_o.tga", 200, letterOffered, buyLetter},
    {"graphics\\itm_breath.tga", 350, breathOffered, buyBreath},
    {"graphics\\itm_lung.tga", 475, lungOffered, buyLung},
    {"graphics\\itm_mask.tga", 250, maskOffered, buyMask},
    {"graphics\\itm_time.tga", 2800, timeOffered, buyTime},
    {"graphics\\itm_rocket.tga", 400, rocketOffered, buyRocket},
};

bool loaded = false;
int selected = Store::exitSlot;
bool offered[Store::slotCount];
float cursorPosX = exitX;
float cursorPosY = exitY;
float cursorTurn = 0.0f;
float shopkeeper = shopkeeperStartY;
FixedStep stepper;  // kept between visits
bool leaving = false;

std::unique_ptr<SoundClip> refusalClip;
std::unique_ptr<SoundClip> purchaseClip;
std::unique_ptr<SoundClip> greetingClip;
std::unique_ptr<Sprite> shopkeeperSprite;
std::unique_ptr<Sprite> backgroundSprite;
std::unique_ptr<Sprite> strutSprite;
std::unique_ptr<Sprite> itemSprites[Store::slotCount];  // slot 0 unused: the exit has its own
std::unique_ptr<Sprite> exitSprite;
std::unique_ptr<Sprite> cursorSprite;

void play(const std::unique_ptr<SoundClip>& clip) {
  if (clip) clip->play();
}

float slotX(int slot) {
  return firstColumnX + columnSpacing * static_cast<float>((slot - 1) % columns);
}
float slotY(int slot) {
  return firstRowY + rowSpacing * static_cast<float>((slot - 1) / columns);
}

bool inTopRow(int slot) {
  return slot >= 1 && slot <= 3;
}
bool inBottomRow(int slot) {
  return slot >= 7 && slot <= 9;
}
bool inLeftColumn(int slot) {
  return (slot - 1) % columns == 0;
}
bool inRightColumn(int slot) {
  return (slot - 1) % columns == columns - 1;
}

void leave() {
  leaving = true;
}

void buyOrRefuse() {
  if (!offered[selected]) {
    play(refusalClip);
    return;
  }
  const Item& item = items[selected];
  item.buy();
  Scarecrow::spend(item.price);
  play(purchaseClip);
  Store::refreshOffers();
}

void step() {
  cursorTurn += cursorSpin;
  if (cursorTurn >= fullTurn) cursorTurn -= fullTurn;
  if (shopkeeper > shopkeeperRestY) shopkeeper -= shopkeeperRise;
}

void readKeys() {
  if (KeyState::wasPressed(vkUp)) {
    if (selected == Store::exitSlot) {
      selected = 7;
    } else if (inTopRow(selected)) {
      selected = Store::exitSlot;
    } else {
      selected -= columns;
    }
  }
  if (KeyState::wasPressed(vkDown)) {
    if (selected == Store::exitSlot) {
      selected = 1;
    } else if (inBottomRow(selected)) {
      selected = Store::exitSlot;
    } else {
      selected += columns;
    }
  }
  if (KeyState::wasPressed(vkLeft) && selected != Store::exitSlot) {
    selected = inLeftColumn(selected) ? selected + 2 : selected - 1;
  }
  if (KeyState::wasPressed(vkRight) && selected != Store::exitSlot) {
    selected = inRightColumn(selected) ? selected - 2 : selected + 1;
  }
  if (KeyState::wasPressed(vkControl)) {
    if (selected == Store::exitSlot) {
      leave();
    } else {
      buyOrRefuse();
    }
  }
  if (selected == Store::exitSlot) {
    cursorPosX = exitX;
    cursorPosY = exitY;
  } else {
    cursorPosX = slotX(selected);
    cursorPosY = slotY(selected);
  }
  // Read even after Ctrl left: both together leave twice.
  if (KeyState::wasPressed(vkEscape)) leave();
}
}  // namespace

void Store::load() {
  if (loaded) return;
  refusalClip = std::make_unique<SoundClip>("sound\\nobuy.wav");
  purchaseClip = std::make_unique<SoundClip>("sound\\buy.wav");
  greetingClip = std::make_unique<SoundClip>("sound\\hello.wav");
  shopkeeperSprite = std::make_unique<Sprite>("graphics\\mumbly.tga", 128.0f, 128.0f, 0.0f, 0.5f);
  backgroundSprite = std::make_unique<Sprite>("graphics\\store.tga", 512.0f, 512.0f, 0.0f, 0.0f);
  strutSprite = std::make_unique<Sprite>("graphics\\store_strut.tga", 64.0f, 64.0f, -0.5f, -0.5f);
  for (int slot = 1; slot < slotCount; ++slot) {
    itemSprites[slot] = std::make_unique<Sprite>(items[slot].file, itemSize, itemSize, 0.0f, 0.0f);
  }
  exitSprite = std::make_unique<Sprite>(items[exitSlot].file, 128.0f, 64.0f, 0.0f, 0.0f);
  cursorSprite = std::make_unique<Sprite>("graphics\\shop_target.tga", 64.0f, 64.0f, 0.0f, 0.0f);
  shopkeeper = shopkeeperStartY;
  leaving = false;
  selected = exitSlot;
  cursorPosX = exitX;
  cursorPosY = exitY;
  cursorTurn = 0.0f;
  KeyState::clearPressed();
  loaded = true;
  play(greetingClip);
  refreshOffers();
}

void Store::unload() {
  if (loaded) {
    refusalClip.reset();
    purchaseClip.reset();
    greetingClip.reset();
    shopkeeperSprite.reset();
    backgroundSprite.reset();
    strutSprite.reset();
    exitSprite.reset();
    cursorSprite.reset();
    for (std::unique_ptr<Sprite>& item : itemSprites) item.reset();
    loaded = false;
  }
  leaving = false;
}

ScreenId Store::update(uint32_t elapsedMs) {
  stepper.run(elapsedMs, step);
  if (shopkeeper == keysOpenBelowY) KeyState::clearPressed();
  if (shopkeeper < keysOpenBelowY) readKeys();
  return leaving ? ScreenId::Play : ScreenId::None;
}

void Store::draw(float light) {
  if (!loaded) return;
  backgroundSprite->draw(backgroundX, backgroundY);
  for (int i = 0; i < strutCount; ++i) {
    const float y = strutSpacing * static_cast<float>(i);
    strutSprite->draw(0.0f, y);
    strutSprite->draw(strutRightX, y);
  }
  exitSprite->draw(exitX, exitY);
  for (int column = 0; column < columns; ++column) {
    for (int row = 0; row < columns; ++row) {
      const int slot = row * columns + column + 1;
      if (offered[slot]) {
        itemSprites[slot]->draw(slotX(slot), slotY(slot));
      } else {
        itemSprites[slot]->drawBlended(slotX(slot), slotY(slot), 0.0f, itemSize, itemSize, 1.0f, 1.0f, 1.0f,
                                       unofferedAlpha);
      }
    }
  }
  if (selected != exitSlot) drawNumberSmallCentred(slotX(selected), slotY(selected), items[selected].price);
  shopkeeperSprite->draw(shopkeeperX, shopkeeper);
  cursorSprite->drawBlended(cursorPosX, cursorPosY, cursorTurn, cursorSize, cursorSize, 1.0f, 1.0f, 1.0f,
                            cursorAlpha);
  drawSixDigitsBottom(Scarecrow::money(), light);  // the real money, not the HUD's chasing figure
}

void Store::refreshOffers() {
  offered[exitSlot] = true;
  const int32_t money = Scarecrow::money();
  for (int slot = 1; slot < slotCount; ++slot) {
    offered[slot] = money >= items[slot].price && items[slot].offered();
  }
}

bool Store::isLoaded() {
  return loaded;
}
int Store::selection() {
  return selected;
}
bool Store::isOffered(int slot) {
  return slot >= 0 && slot < slotCount && offered[slot];
}
int32_t Store::price(int slot) {
  return slot >= 0 && slot < slotCount ? items[slot].price : 0;
}
float Store::cursorX() {
  return cursorPosX;
}
float Store::cursorY() {
  return cursorPosY;
}
float Store::cursorAngle() {
  return cursorTurn;
}
float Store::shopkeeperY() {
  return shopkeeper;
}
