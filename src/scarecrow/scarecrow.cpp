#include "scarecrow/scarecrow.h"

#include <memory>

#include "days/draw_queue.h"
#include "field/creature_frames.h"
#include "render/sprite.h"
#include "scarecrow/boo_shout.h"
#include "scarecrow/ooga_booga.h"
#include "scarecrow/scarecrow_testing.h"
#include "shell/key_state.h"
#include "shell/numeric.h"
#include "sound/sound_clip.h"

namespace {
constexpr int directionCount = 8;
constexpr int frameCount = 7;

// Facing angle of each direction code: right, down-right, down, down-left, left, up-left, up, up-right.
constexpr float directionFacing[directionCount] = {0, 45, 90, 135, 180, 225, 270, 315};

constexpr const char* frameSuffixes[frameCount] = {"0002", "0003", "0004", "0007", "0008", "0012", "0013"};
constexpr CreatureFrameSet frameSet = {
    "graphics\\scarecrow\\Sca%d%s.tga", directionCount, frameSuffixes, frameCount, 256, 256, 0, 0.3f};

constexpr int walkTableLength = 28;
constexpr uint8_t walkFrames[walkTableLength] = {1, 1, 1, 1, 2, 2, 2, 1, 1, 1, 1, 0, 0, 0,
                                                 3, 3, 3, 3, 4, 4, 4, 3, 3, 3, 3, 0, 0, 0};
constexpr int actionTableLength = 12;
constexpr uint8_t actionFrames[actionTableLength] = {5, 5, 6, 6, 6, 6, 6, 6, 5, 5, 5, 5};

constexpr uint8_t directionRight = 0;
constexpr uint8_t directionDownRight = 1;
constexpr uint8_t directionDown = 2;
constexpr uint8_t directionDownLeft = 3;
constexpr uint8_t directionLeft = 4;
constexpr uint8_t directionUpLeft = 5;
constexpr uint8_t directionUp = 6;
constexpr uint8_t directionUpRight = 7;

constexpr float startX = 320;
constexpr float startY = 240;
constexpr float keyPush = 2;
constexpr float friction = 0.5f;
constexpr float minX = 10;
constexpr float maxX = 630;
constexpr float minY = 30;
constexpr float maxY = 480;

constexpr float startBreath = 32;
constexpr float breathRecoveryShare = 256;
constexpr float breathRecoveryBase = 0.2f;
constexpr uint8_t actionPeakTick = 5;  // the boo, cough or ooga comes on this tick of the action
constexpr uint8_t actionEndTick = 12;

constexpr uint8_t startMasks = 1;
constexpr uint8_t startBooLetters = 2;
constexpr float startMaxSpeed = 1;
constexpr int32_t startBooRange = 40;

constexpr float pickUpReach = 24;
constexpr int32_t earPickUpReward = 50;

constexpr int powerDownChoices = 5;
constexpr int32_t booRangeFloor = 40;
constexpr int32_t booRangeStep = 10;
constexpr uint8_t booLettersFloor = 2;
constexpr float maxBreathFloor = 32;
constexpr float maxBreathStep = 32;
constexpr float maxSpeedFloor = 1;
constexpr float maxSpeedStep = 1;

constexpr float figureSize = 200;
constexpr float shadowSize = 64;

ScarecrowState scarecrow{};
Sprite* frames[directionCount * frameCount] = {};
std::unique_ptr<SoundClip> powerDownClip;
std::unique_ptr<SoundClip> booClip;
std::unique_ptr<SoundClip> cornClip;
std::unique_ptr<SoundClip> coughClip;

void play(const std::unique_ptr<SoundClip>& clip) {
  if (clip) clip->play();
}

void endAction() {
  scarecrow.action = ScarecrowAction::None;
  scarecrow.animMode = AnimMode::Idle;
  scarecrow.animTick = 0;
}

void startAction(ScarecrowAction action) {
  scarecrow.action = action;
  scarecrow.animMode = AnimMode::Act;
  scarecrow.animTick = 0;
}

void readControls() {
  const bool up = KeyState::isHeld(vkUp);
  if (up) scarecrow.vy -= keyPush;
  const bool down = KeyState::isHeld(vkDown);
  if (down) scarecrow.vy += keyPush;
  const bool left = KeyState::isHeld(vkLeft);
  if (left) scarecrow.vx -= keyPush;
  const bool right = KeyState::isHeld(vkRight);
  if (right) scarecrow.vx += keyPush;

  // Right wins over left and up over down for the picture, though their pushes cancel.
  if (right) {
    scarecrow.direction = up ? directionUpRight : down ? directionDownRight : directionRight;
  } else if (left) {
    scarecrow.direction = up ? directionUpLeft : down ? directionDownLeft : directionLeft;
  } else if (up) {
    scarecrow.direction = directionUp;
  } else if (down) {
    scarecrow.direction = directionDown;
  }
  scarecrow.facing = directionFacing[scarecrow.direction];

  if (up || down || left || right) {
    if (scarecrow.animMode == AnimMode::Walk) {
      scarecrow.animTick = static_cast<uint8_t>((scarecrow.animTick + 1) % walkTableLength);
    } else {
      scarecrow.animMode = AnimMode::Walk;
      scarecrow.animTick = 0;
    }
  } else {
    scarecrow.animMode = AnimMode::Idle;
  }

  if (KeyState::wasPressed(vkControl)) startAction(ScarecrowAction::Shout);
  // Shift is read, and so forgotten, even without a charge; it overrides a Ctrl of the same tick.
  if (KeyState::wasPressed(vkShift) && scarecrow.masks != 0) {
    startAction(ScarecrowAction::Ooga);
    scarecrow.direction = directionDown;
    scarecrow.facing = directionFacing[directionDown];
    scarecrow.masks -= 1;
  }
}

void advanceShout() {
  scarecrow.animTick += 1;
  if (scarecrow.animTick == actionPeakTick) {
    if (scarecrow.breath >= Scarecrow::shoutBreath) {
      play(booClip);
      scarecrow.breath -= Scarecrow::shoutBreath;
      BooShout::shout(scarecrow.x, scarecrow.y, scarecrow.facing);
    } else {
      play(coughClip);
    }
  }
  if (scarecrow.animTick == actionEndTick) endAction();
}

void advanceOoga() {
  scarecrow.animTick += 1;
  if (scarecrow.animTick == actionPeakTick) OogaBooga::start(scarecrow.x, scarecrow.y);
  if (scarecrow.animTick == actionEndTick) endAction();
}

void resetPlace() {
  scarecrow.x = startX;
  scarecrow.y = startY;
  scarecrow.vx = 0;
  scarecrow.vy = 0;
  scarecrow.direction = directionDown;
  scarecrow.facing = directionFacing[directionDown];
  scarecrow.animTick = 0;
  scarecrow.animMode = AnimMode::Idle;
  scarecrow.action = ScarecrowAction::None;
}
}  // namespace

void Scarecrow::load() {
  powerDownClip = std::make_unique<SoundClip>("sound\\powerdown.wav");
  booClip = std::make_unique<SoundClip>("sound\\boo.wav");
  cornClip = std::make_unique<SoundClip>("sound\\corn_get.wav");
  coughClip = std::make_unique<SoundClip>("sound\\cough.wav");
  unloadCreatureFrames(frameSet, frames);  // a repeated load must not leak the previous pictures
  loadCreatureFrames(frameSet, frames);

  resetPlace();
  scarecrow.money = 0;
  scarecrow.score = 0;
  scarecrow.masks = startMasks;
  scarecrow.booLetters = startBooLetters;
  scarecrow.maxSpeed = startMaxSpeed;
  scarecrow.maxBreath = startBreath;
  scarecrow.booRange = startBooRange;
  scarecrow.breath = scarecrow.maxBreath;
}

void Scarecrow::unload() {
  powerDownClip.reset();
  unloadCreatureFrames(frameSet, frames);
  coughClip.reset();
  booClip.reset();
  cornClip.reset();
}

void Scarecrow::startDay() {
  resetPlace();
  scarecrow.breath = scarecrow.maxBreath;
}

void Scarecrow::update() {
  // Breath above the capacity (left by a power-down) is kept until shouts spend it.
  if (scarecrow.breath < scarecrow.maxBreath) {
    scarecrow.breath = scarecrow.maxBreath / breathRecoveryShare + breathRecoveryBase + scarecrow.breath;
    if (scarecrow.breath >= scarecrow.maxBreath) scarecrow.breath = scarecrow.maxBreath;
  }

  // The tick that reads a press only starts the action; its count begins with the next tick.
  if (scarecrow.action == ScarecrowAction::None) {
    readControls();
  } else if (scarecrow.action == ScarecrowAction::Shout) {
    advanceShout();
  } else if (scarecrow.action == ScarecrowAction::Ooga) {
    advanceOoga();
  }

  scarecrow.x += scarecrow.vx;
  scarecrow.y += scarecrow.vy;

  // A bound stops the figure but not its push, so it keeps pressing against the edge.
  if (scarecrow.x < minX) scarecrow.x = minX;
  if (scarecrow.x > maxX) scarecrow.x = maxX;
  if (scarecrow.y < minY) scarecrow.y = minY;
  if (scarecrow.y > maxY) scarecrow.y = maxY;

  approachZero(scarecrow.vx, friction);
  approachZero(scarecrow.vy, friction);
  clampMagnitude(scarecrow.vx, scarecrow.maxSpeed);
  clampMagnitude(scarecrow.vy, scarecrow.maxSpeed);
}

void Scarecrow::draw(float light) {
  int frame = 0;
  if (scarecrow.animMode == AnimMode::Walk) {
    frame = walkFrames[scarecrow.animTick % walkTableLength];
  } else if (scarecrow.animMode == AnimMode::Act) {
    frame = actionFrames[scarecrow.animTick % actionTableLength];
  }
  Sprite* figure = frames[(scarecrow.direction % directionCount) * frameCount + frame];
  if (figure) {
    DrawQueue::add(figure, scarecrow.x, scarecrow.y, 0, 0, figureSize, figureSize, light, 1,
                   DrawKind::Sprite);
  }
  DrawQueue::add(nullptr, scarecrow.x, scarecrow.y, 0, 0, shadowSize, shadowSize, light, 1, DrawKind::Shadow);
}

int32_t Scarecrow::money() {
  return scarecrow.money;
}

float Scarecrow::breath() {
  return scarecrow.breath;
}

uint8_t Scarecrow::masks() {
  return scarecrow.masks;
}

void Scarecrow::award(int32_t points) {
  // A loss that would empty the purse only empties it; the score keeps what was earned.
  if (scarecrow.money + points > 0) {
    scarecrow.score += points;
    scarecrow.money += points;
  } else {
    scarecrow.money = 0;
  }
}

bool Scarecrow::tryPickUp(float x, float y) {
  if (distance(scarecrow.x, scarecrow.y, x, y) >= pickUpReach) return false;
  scarecrow.money += earPickUpReward;
  scarecrow.score += earPickUpReward;
  play(cornClip);
  return true;
}

void Scarecrow::powerDown() {
  play(powerDownClip);
  switch (randomInt(powerDownChoices)) {
    case 0:
      if (scarecrow.booRange > booRangeFloor) scarecrow.booRange -= booRangeStep;
      break;
    case 1:
      if (scarecrow.booLetters > booLettersFloor) scarecrow.booLetters -= 1;
      break;
    case 2:
      if (scarecrow.maxBreath > maxBreathFloor) scarecrow.maxBreath -= maxBreathStep;
      break;
    case 3:
      if (scarecrow.maxSpeed > maxSpeedFloor) scarecrow.maxSpeed -= maxSpeedStep;
      break;
    default:
      break;  // the lucky draw: nothing is lost
  }
}

const ScarecrowState& Scarecrow::state() {
  return scarecrow;
}

ScarecrowState& Scarecrow::testing::state() {
  return scarecrow;
}

void Scarecrow::spend(int32_t amount) {
  scarecrow.money -= amount;
}

void Scarecrow::addLetter() {
  scarecrow.booLetters += 1;
}

void Scarecrow::lengthenShout(int32_t range) {
  scarecrow.booRange += range;
}

void Scarecrow::growLungs(float capacity) {
  scarecrow.maxBreath += capacity;
  scarecrow.breath = scarecrow.maxBreath;
}

void Scarecrow::addMask() {
  scarecrow.masks += 1;
}

void Scarecrow::quicken(float speed) {
  scarecrow.maxSpeed += speed;
}

Sprite* Scarecrow::frameSprite(int direction, int frame) {
  if (direction < 0 || direction >= directionCount || frame < 0 || frame >= frameCount) return nullptr;
  return frames[direction * frameCount + frame];
}
