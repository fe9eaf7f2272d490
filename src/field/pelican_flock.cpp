#include "field/pelican_flock.h"

#include <cstddef>
#include <iterator>
#include <memory>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "field/corn_field.h"
#include "field/creature_frames.h"
#include "field/world_box.h"
#include "render/sprite.h"
#include "scarecrow/scarecrow.h"
#include "shell/numeric.h"
#include "sound/sound_clip.h"

namespace {
constexpr int facingCount = 8;
constexpr int frameCount = 8;
const char* const frameSuffixes[frameCount] = {"0002", "0003", "0004", "0005",
                                               "0008", "0009", "0013", "0014"};
const CreatureFrameSet pelicanFrames{
    "graphics\\pelican\\pel%d%s.tga", facingCount, frameSuffixes, frameCount, 256.0f, 256.0f, 0.0f, 0.3f};

// Frame numbers into the suffix table, indexed by animTick.
constexpr uint8_t flapFrames[] = {0, 0, 1, 1, 2, 2, 3, 3, 2, 2, 1, 1};
constexpr uint8_t scaredFrames[] = {6, 6, 7, 7, 6, 6, 7, 7, 6, 6, 7, 7, 7,
                                    7, 7, 7, 7, 7, 6, 7, 6, 7, 6, 6, 4};
constexpr uint8_t peckFrames[] = {4, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 4, 4, 4, 4, 4};

constexpr float flightHeight = 48.0f;
constexpr float heightStep = 4.0f;
constexpr int sinkingTicks = 10;  // below this animTick an eating pelican goes down, then back up
constexpr int eatTicks = 21;
constexpr int scaredTicks = 25;
constexpr int flapTicks = 12;
constexpr float flyingSpeed = 1.5f;  // times the day's speed factor
constexpr float fleeingSpeed = 3.0f;
constexpr float landingReach = 24.0f;
constexpr float scareReach = 16.0f;
constexpr int32_t earEatenCost = -10;
constexpr int32_t scareReward = 50;
constexpr uint8_t oogaBoogaScaredStart = 5;  // the power catches them a few frames into the fright
constexpr float drawSize = 140.0f;
constexpr float shadowSize = 48.0f;

constexpr float fullTurn = 360.0f;
constexpr float halfTurn = 180.0f;
constexpr float facingSpan = 45.0f;  // of the heading, per sprite row

Pelican pelicans[PelicanFlock::capacity];
Sprite* frames[facingCount * frameCount] = {};
bool loaded = false;
std::unique_ptr<SoundClip> goClip;
std::unique_ptr<SoundClip> eatClip;
std::unique_ptr<SoundClip> fearClip;

void play(const std::unique_ptr<SoundClip>& clip) {
  if (clip) clip->play();
}

void clearSlots() {
  for (Pelican& p : pelicans) p = Pelican{};
}

float turnedAbout(float angle) {
  angle += halfTurn;
  if (angle >= fullTurn) angle -= fullTurn;
  return angle;
}

void scare(Pelican& p, uint8_t startTick) {
  p.state = PelicanState::Fleeing;
  p.vx = 0.0f;
  p.vy = 0.0f;
  p.animSet = AnimSet::Scared;
  p.animTick = startTick;
  Scarecrow::award(scareReward);
  play(fearClip);
}

bool isScareable(const Pelican& p) {
  return p.state != PelicanState::Free && p.state != PelicanState::Fleeing;
}

uint8_t frameFor(const Pelican& p) {
  const uint8_t* table = flapFrames;
  std::size_t size = std::size(flapFrames);
  if (p.animSet == AnimSet::Scared) {
    table = scaredFrames;
    size = std::size(scaredFrames);
  } else if (p.animSet == AnimSet::Peck) {
    table = peckFrames;
    size = std::size(peckFrames);
  }
  return table[p.animTick < size ? p.animTick : size - 1];
}

void tickEating(Pelican& p, int index) {
  ++p.animTick;
  if (p.animTick < sinkingTicks) {
    p.height -= heightStep;
    if (p.height < 0.0f) p.height = 0.0f;
  } else {
    p.height += heightStep;
    if (p.height > flightHeight) p.height = flightHeight;
  }
  if (p.animTick < eatTicks) return;
  p.animSet = AnimSet::Flap;
  p.animTick = 0;
  if (CornField::takeEar(p.target)) Scarecrow::award(earEatenCost);
  // Still hungry: off in any direction, which may lead straight back to the same stalk.
  p.angle = randomFloat(fullTurn);
  p.state = PelicanState::Flying;
  PelicanFlock::aim(index);
}

void tickFleeing(Pelican& p, int index) {
  ++p.animTick;
  if (p.animSet == AnimSet::Scared) {
    if (p.animTick >= scaredTicks) {
      p.animTick = 0;
      p.animSet = AnimSet::Flap;
      p.angle = turnedAbout(p.angle);
      PelicanFlock::aim(index);
    }
  } else if (p.animTick >= flapTicks) {
    p.animTick = 0;
  }
}
}  // namespace

void PelicanFlock::load() {
  if (loaded) unload();
  clearSlots();
  loadCreatureFrames(pelicanFrames, frames);
  goClip = std::make_unique<SoundClip>("sound\\peli_go.wav");
  eatClip = std::make_unique<SoundClip>("sound\\peli_eat.wav");
  fearClip = std::make_unique<SoundClip>("sound\\peli_fear.wav");
  loaded = true;
}

void PelicanFlock::unload() {
  unloadCreatureFrames(pelicanFrames, frames);
  goClip.reset();
  eatClip.reset();
  fearClip.reset();
  clearSlots();
  loaded = false;
}

void PelicanFlock::aim(int index) {
  if (index < 0 || index >= capacity) return;
  Pelican& p = pelicans[index];
  const float speed =
      p.state == PelicanState::Fleeing ? fleeingSpeed : DayDirector::creatureSpeedFactor() * flyingSpeed;
  p.vx = cosDeg(p.angle) * speed;
  p.vy = sinDeg(p.angle) * speed;
  int facing = static_cast<int>((p.angle + facingSpan / 2) / facingSpan);
  if (facing > facingCount - 1) facing -= facingCount;
  // Headings outside 0..360 only come from hand-set records; keep the sprite row in range anyway.
  facing = ((facing % facingCount) + facingCount) % facingCount;
  p.facing = static_cast<uint8_t>(facing);
}

void PelicanFlock::spawn(bool announce) {
  int index = 0;
  while (index < capacity && pelicans[index].state != PelicanState::Free) ++index;
  if (index == capacity) return;
  if (announce) play(goClip);

  Pelican& p = pelicans[index];
  p.state = PelicanState::Flying;
  CrowFlock::chooseEntry(p.x, p.y, p.angle);
  p.height = flightHeight;
  p.target = -1;
  aim(index);
  p.animSet = AnimSet::Flap;
  p.animTick = 0;
}

void PelicanFlock::tick() {
  for (int i = 0; i < capacity; ++i) {
    Pelican& p = pelicans[i];
    if (p.state == PelicanState::Free) continue;
    p.x += p.vx;
    p.y += p.vy;
    if (!worldBox.contains(p.x, p.y)) {
      p.state = PelicanState::Free;
      continue;
    }
    switch (p.state) {
      case PelicanState::Flying:
        p.target = CornField::findStalkWithCorn(p.x, p.y, landingReach);
        if (p.target >= 0) {
          play(eatClip);
          p.state = PelicanState::Eating;
          p.animSet = AnimSet::Peck;
          p.animTick = 0;
          p.vx = 0.0f;
          p.vy = 0.0f;
        }
        ++p.animTick;
        if (p.animTick >= flapTicks) p.animTick = 0;
        break;
      case PelicanState::Eating:
        tickEating(p, i);
        break;
      case PelicanState::Fleeing:
        tickFleeing(p, i);
        break;
      default:
        break;
    }
  }
}

void PelicanFlock::draw(float light) {
  for (const Pelican& p : pelicans) {
    if (p.state == PelicanState::Free) continue;
    const int facing = p.facing < facingCount ? p.facing : 0;
    DrawQueue::add(frames[facing * frameCount + frameFor(p)], p.x, p.y, p.height, 0.0f, drawSize, drawSize,
                   light, 1.0f, DrawKind::Sprite);
    DrawQueue::add(nullptr, p.x, p.y, p.height, 0.0f, shadowSize, shadowSize, light, 1.0f, DrawKind::Shadow);
  }
}

bool PelicanFlock::scareAt(float x, float y) {
  for (Pelican& p : pelicans) {
    if (isScareable(p) && distance(p.x, p.y, x, y) < scareReach) {
      scare(p, 0);
      return true;
    }
  }
  return false;
}

void PelicanFlock::scareAll() {
  for (Pelican& p : pelicans) {
    if (isScareable(p)) scare(p, oogaBoogaScaredStart);
  }
}

bool PelicanFlock::isEmpty() {
  for (const Pelican& p : pelicans) {
    if (p.state != PelicanState::Free) return false;
  }
  return true;
}

Pelican& PelicanFlock::pelican(int index) {
  // Out-of-range requests land on a scratch record rather than outside the pool.
  static Pelican scratch{};
  if (index < 0 || index >= capacity) return scratch;
  return pelicans[index];
}

int PelicanFlock::shownFrame(int index) {
  return frameFor(pelican(index));
}

int PelicanFlock::countInUse() {
  int count = 0;
  for (const Pelican& p : pelicans) {
    if (p.state != PelicanState::Free) ++count;
  }
  return count;
}
