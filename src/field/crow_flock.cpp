#include "field/crow_flock.h"

#include <cmath>
#include <memory>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "field/corn_field.h"
#include "field/creature_frames.h"
#include "field/world_box.h"
#include "render/sprite.h"
#include "scarecrow/boo_shout.h"
#include "scarecrow/scarecrow.h"
#include "shell/numeric.h"
#include "sound/sound_clip.h"

namespace {
constexpr int facingCount = 8;
constexpr int frameCount = 8;
constexpr const char* frameSuffixes[frameCount] = {"0002", "0003", "0004", "0005",
                                                   "0008", "0009", "0013", "0014"};
constexpr CreatureFrameSet frameSet = {
    "graphics\\crow\\cro%d%s.tga", facingCount, frameSuffixes, frameCount, 128, 128, 0, 0.3f};

constexpr int flapLength = 12;
constexpr uint8_t flapFrames[flapLength] = {0, 0, 1, 1, 2, 2, 3, 3, 2, 2, 1, 1};
constexpr int scaredLength = 25;
constexpr uint8_t scaredFrames[scaredLength] = {6, 6, 7, 7, 6, 6, 7, 7, 6, 6, 7, 7, 7,
                                                7, 7, 7, 7, 7, 6, 7, 6, 7, 6, 6, 4};
constexpr int peckLength = 21;
constexpr uint8_t peckFrames[peckLength] = {4, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 4, 4, 4, 4, 4};

constexpr float flightHeight = 48;
constexpr float peckLowest = 0;
constexpr float peckStep = 4;
constexpr uint8_t peckRiseTick = 10;       // sinks before this tick of the peck, rises from it
constexpr uint8_t beakFullAfterTick = 10;  // the ear shows in the beak after this tick
constexpr float landingReach = 24;
constexpr float scareReach = 16;
constexpr uint8_t oogaScareStartTick = 5;  // the power's fright is shorter than a shout's

constexpr float fleeSpeed = 4;
constexpr float carrySpeed = 1;
constexpr float flySpeed = 2;
constexpr float halfTurn = 180;
constexpr float fullTurn = 360;
constexpr float facingSpan = 45;

// The escape box: a carrying crow that leaves it has got away with the ear.
constexpr float escapeMinX = -20;
constexpr float escapeMaxX = 660;
constexpr float escapeMinY = -20;
constexpr float escapeMaxY = 540;

constexpr int32_t scareReward = 10;
constexpr int32_t earTakenLoss = -5;
constexpr int32_t escapeLoss = -10;

// Where a new crow comes from: four edges, each heading into the screen within 75 degrees of straight in.
constexpr int edgeCount = 4;
constexpr float screenWidth = 640;
constexpr float screenHeight = 480;
constexpr float topEdgeY = -60;
constexpr float rightEdgeX = 700;
constexpr float bottomEdgeY = 608;
constexpr float leftEdgeX = -60;
constexpr float headingSpread = 150;
constexpr float topHeading = 15;
constexpr float rightHeading = 105;
constexpr float bottomHeading = 195;
constexpr float leftHeading = 285;

constexpr float cornSize = 128;
constexpr float cornAnchorY = 0.5f;
constexpr float cornInBeakSize = 40;
constexpr float cornDepthLead = 0.01f;  // just in front of the crow in the depth order, so the crow covers it
constexpr float crowSize = 128;
constexpr float shadowSize = 48;

Crow crows[CrowFlock::capacity] = {};
Sprite* frames[facingCount * frameCount] = {};
std::unique_ptr<Sprite> corn;
std::unique_ptr<SoundClip> arrivalClip;
std::unique_ptr<SoundClip> landingClip;
std::unique_ptr<SoundClip> fearClip;
std::unique_ptr<SoundClip> laughClip;
float carryFactor = 1;

void play(const std::unique_ptr<SoundClip>& clip) {
  if (clip) clip->play();
}

void turnAbout(Crow& c) {
  c.angle += halfTurn;
  if (c.angle >= fullTurn) c.angle -= fullTurn;
}

void advanceLoop(Crow& c, int length) {
  c.animTick += 1;
  if (c.animTick >= length) c.animTick = 0;
}

void frighten(Crow& c, uint8_t startTick) {
  c.target = static_cast<int32_t>(c.state);
  if (c.state == CrowState::Carrying) BooShout::spawn(ShoutParticleKind::DroppedCorn, c.x, c.y, 0);
  c.state = CrowState::Fleeing;
  c.vx = 0;
  c.vy = 0;
  c.animSet = AnimSet::Scared;
  c.animTick = startTick;
  Scarecrow::award(scareReward);
  play(fearClip);
}

bool canBeScared(const Crow& c) {
  return c.state != CrowState::Free && c.state != CrowState::Fleeing;
}

void tickArriving(Crow& c) {
  c.target = CornField::findStalkWithCorn(c.x, c.y, landingReach);
  if (c.target >= 0) {
    play(landingClip);
    c.state = CrowState::Pecking;
    c.animSet = AnimSet::Peck;
    c.animTick = 0;
    c.vx = 0;  // it hovers over its own ground point, not over the stalk
    c.vy = 0;
  }
  advanceLoop(c, flapLength);
}

void tickPecking(Crow& c, int index) {
  c.animTick += 1;
  if (c.animTick < peckRiseTick) {
    c.height -= peckStep;
    if (c.height < peckLowest) c.height = peckLowest;
  } else {
    c.height += peckStep;
    if (c.height > flightHeight) c.height = flightHeight;
  }
  if (c.animTick < peckLength) return;
  c.animSet = AnimSet::Flap;
  c.animTick = 0;
  if (CornField::takeEar(c.target)) {
    Scarecrow::award(earTakenLoss);
    c.state = CrowState::Carrying;
    turnAbout(c);  // back out along the way it came
  } else {
    c.state = CrowState::Arriving;  // someone else emptied the stalk: fly on
  }
  CrowFlock::aim(index);
}

void tickFleeing(Crow& c, int index) {
  c.animTick += 1;
  if (c.animSet != AnimSet::Scared) {
    if (c.animTick >= flapLength) c.animTick = 0;
    return;
  }
  if (c.animTick < scaredLength) return;
  c.animTick = 0;
  c.animSet = AnimSet::Flap;
  // A crow scared with an ear was already heading out; the others turn back.
  if (c.target != static_cast<int32_t>(CrowState::Carrying)) turnAbout(c);
  CrowFlock::aim(index);
}

int frameOf(const Crow& c) {
  switch (c.animSet) {
    case AnimSet::Scared:
      return scaredFrames[c.animTick % scaredLength];
    case AnimSet::Peck:
      return peckFrames[c.animTick % peckLength];
    case AnimSet::Flap:
    default:
      return flapFrames[c.animTick % flapLength];
  }
}
}  // namespace

void CrowFlock::load() {
  carryFactor = 1;
  for (Crow& c : crows) c.state = CrowState::Free;
  unloadCreatureFrames(frameSet, frames);  // a repeated load must not leak the previous pictures
  loadCreatureFrames(frameSet, frames);
  corn = std::make_unique<Sprite>("graphics\\corn.tga", cornSize, cornSize, 0.0f, cornAnchorY);
  arrivalClip = std::make_unique<SoundClip>("sound\\crow_go.wav");
  landingClip = std::make_unique<SoundClip>("sound\\crow_corn.wav");
  fearClip = std::make_unique<SoundClip>("sound\\crow_fear.wav");
  laughClip = std::make_unique<SoundClip>("sound\\crow_haha.wav");
}

void CrowFlock::unload() {
  unloadCreatureFrames(frameSet, frames);
  corn.reset();
  arrivalClip.reset();
  landingClip.reset();
  fearClip.reset();
  laughClip.reset();
}

void CrowFlock::aim(int index) {
  if (index < 0 || index >= capacity) return;
  Crow& c = crows[index];
  float speed = flySpeed * DayDirector::creatureSpeedFactor();
  if (c.state == CrowState::Fleeing) {
    speed = fleeSpeed;
  } else if (c.state == CrowState::Carrying) {
    speed = DayDirector::creatureSpeedFactor() * carrySpeed * carryFactor;
  }
  c.vx = cosDeg(c.angle) * speed;
  c.vy = sinDeg(c.angle) * speed;
  int facing = static_cast<int>((c.angle + facingSpan / 2) / facingSpan);
  if (facing > facingCount - 1) facing -= facingCount;
  if (facing < 0 || facing > facingCount - 1) facing = 0;  // only an angle outside 0..360 lands here
  c.facing = static_cast<uint8_t>(facing);
}

void CrowFlock::chooseEntry(float& x, float& y, float& angle) {
  switch (randomInt(edgeCount)) {
    case 0:
      x = randomFloat(screenWidth);
      y = topEdgeY;
      angle = randomFloat(headingSpread) + topHeading;
      break;
    case 1:
      x = rightEdgeX;
      y = randomFloat(screenHeight);
      angle = randomFloat(headingSpread) + rightHeading;
      break;
    case 2:
      x = randomFloat(screenWidth);
      y = bottomEdgeY;
      angle = randomFloat(headingSpread) + bottomHeading;
      break;
    default:
      x = leftEdgeX;
      y = randomFloat(screenHeight);
      angle = randomFloat(headingSpread) + leftHeading;
      if (angle > fullTurn) angle -= fullTurn;
      break;
  }
}

void CrowFlock::spawn(bool announce) {
  for (int i = 0; i < capacity; ++i) {
    Crow& c = crows[i];
    if (c.state != CrowState::Free) continue;
    if (announce) play(arrivalClip);
    c.state = CrowState::Arriving;
    c.target = -1;
    chooseEntry(c.x, c.y, c.angle);
    c.height = flightHeight;
    aim(i);
    c.animSet = AnimSet::Flap;
    c.animTick = 0;
    return;
  }
}

void CrowFlock::tick() {
  for (int i = 0; i < capacity; ++i) {
    Crow& c = crows[i];
    if (c.state == CrowState::Free) continue;
    c.x += c.vx;
    c.y += c.vy;
    if (!worldBox.contains(c.x, c.y)) {
      c.state = CrowState::Free;
      continue;
    }
    if (c.state == CrowState::Carrying &&
        (c.x > escapeMaxX || c.y > escapeMaxY || c.x < escapeMinX || c.y < escapeMinY)) {
      play(laughClip);
      Scarecrow::award(escapeLoss);
      c.state = CrowState::Free;
      continue;
    }
    switch (c.state) {
      case CrowState::Arriving:
        tickArriving(c);
        break;
      case CrowState::Pecking:
        tickPecking(c, i);
        break;
      case CrowState::Carrying:
        advanceLoop(c, flapLength);
        break;
      case CrowState::Fleeing:
        tickFleeing(c, i);
        break;
      default:
        break;
    }
  }
}

void CrowFlock::draw(float light) {
  for (const Crow& c : crows) {
    if (c.state == CrowState::Free) continue;
    const int frame = frameOf(c);
    const bool earInBeak =
        c.state == CrowState::Carrying || (c.state == CrowState::Pecking && c.animTick > beakFullAfterTick);
    if (earInBeak && corn) {
      DrawQueue::add(corn.get(), c.x, c.y - cornDepthLead, c.height, 0, cornInBeakSize, cornInBeakSize, light,
                     1, DrawKind::Sprite);
    }
    Sprite* figure = frames[(c.facing % facingCount) * frameCount + frame];
    if (figure) {
      DrawQueue::add(figure, c.x, c.y, c.height, 0, crowSize, crowSize, light, 1, DrawKind::Sprite);
    }
    DrawQueue::add(nullptr, c.x, c.y, c.height, 0, shadowSize, shadowSize, light, 1, DrawKind::Shadow);
  }
}

bool CrowFlock::scareAt(float x, float y) {
  // Every letter asks every tick, so the diamond test is written out with a cheap first reject.
  for (Crow& c : crows) {
    if (!canBeScared(c)) continue;
    const float dx = std::fabs(c.x - x);
    if (dx >= scareReach || dx + std::fabs(c.y - y) >= scareReach) continue;
    frighten(c, 0);
    return true;
  }
  return false;
}

void CrowFlock::scareAll() {
  for (Crow& c : crows) {
    if (canBeScared(c)) frighten(c, oogaScareStartTick);
  }
}

bool CrowFlock::isEmpty() {
  for (const Crow& c : crows) {
    if (c.state != CrowState::Free) return false;
  }
  return true;
}

Sprite* CrowFlock::cornSprite() {
  return corn.get();
}

float CrowFlock::carrySpeedFactor() {
  return carryFactor;
}

void CrowFlock::lightenCarry(float step) {
  carryFactor -= step;
}

Crow& CrowFlock::crow(int index) {
  static Crow outside{};  // a bad index gets a free scratch record, never memory beyond the pool
  if (index < 0 || index >= capacity) {
    outside = Crow{};
    return outside;
  }
  return crows[index];
}

int CrowFlock::countInUse() {
  int n = 0;
  for (const Crow& c : crows) n += c.state != CrowState::Free ? 1 : 0;
  return n;
}

Sprite* CrowFlock::frameSprite(int facing, int frame) {
  if (facing < 0 || facing >= facingCount || frame < 0 || frame >= frameCount) return nullptr;
  return frames[facing * frameCount + frame];
}
