#include "field/cow_herd.h"

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
constexpr int facingCount = 4;
constexpr int frameCount = 5;
const char* const frameSuffixes[frameCount] = {"0001", "0002", "0003", "0006", "0007"};
const CreatureFrameSet cowFrames{
    "graphics\\cow\\cow%d%s.tga", facingCount, frameSuffixes, frameCount, 256.0f, 256.0f, 0.0f, 0.1f};

// Frame numbers into the suffix table, indexed by animTick.
constexpr uint8_t walkFrames[] = {0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1, 1, 0, 0,
                                  0, 0, 3, 3, 3, 3, 3, 4, 4, 4, 3, 3, 3, 0};
constexpr uint8_t walkTicks = std::size(walkFrames);

constexpr float walkSpeed = 0.7f;  // times the day's speed factor
constexpr float quarterTurn = 90.0f;
constexpr uint8_t mooCooldownTicks = 60;
constexpr float grazeLookAhead = 4.0f;  // moves ahead of the cow where it eats
constexpr float grazeReach = 32.0f;
constexpr float booReach = 32.0f;
constexpr int32_t leavingReward = 100;
constexpr float drawSize = 140.0f;
constexpr float shadowSize = 48.0f;

// Newcomers appear just off one edge and walk straight in along a screen axis.
struct SpawnEdge {
  bool alongWidth;  // x random across the screen and y fixed, or the other way round
  float x;
  float y;
  float heading;
};
constexpr SpawnEdge spawnEdges[] = {
    {true, 0.0f, -60.0f, 90.0f},    // top, walking down
    {false, 700.0f, 0.0f, 180.0f},  // right, walking left
    {true, 0.0f, 608.0f, 270.0f},   // bottom, walking up
    {false, -60.0f, 0.0f, 0.0f},    // left, walking right
};
constexpr float screenWidth = 640.0f;
constexpr float screenHeight = 480.0f;

Cow cows[CowHerd::capacity];
Sprite* frames[facingCount * frameCount] = {};
bool loaded = false;
std::unique_ptr<SoundClip> helloClip;
std::unique_ptr<SoundClip> mooClip;
std::unique_ptr<SoundClip> moogaClip;

void play(const std::unique_ptr<SoundClip>& clip) {
  if (clip) clip->play();
}

void clearSlots() {
  for (Cow& c : cows) c = Cow{};
}

void turn(int index, const std::unique_ptr<SoundClip>& clip) {
  Cow& c = cows[index];
  play(clip);
  c.mooCooldown = mooCooldownTicks;
  // A quarter turn clockwise on the screen or anticlockwise.
  const int step = randomInt(2) == 0 ? 1 : facingCount - 1;  // facing + 3 is a quarter back
  c.facing = static_cast<uint8_t>((c.facing + step) % facingCount);
  c.angle = c.facing * quarterTurn;
  CowHerd::aim(index);
}
}  // namespace

void CowHerd::load() {
  if (loaded) unload();
  clearSlots();
  loadCreatureFrames(cowFrames, frames);
  helloClip = std::make_unique<SoundClip>("sound\\cow_hello.wav");
  mooClip = std::make_unique<SoundClip>("sound\\cow_moo.wav");
  moogaClip = std::make_unique<SoundClip>("sound\\cow_mooga.wav");
  loaded = true;
}

void CowHerd::unload() {
  unloadCreatureFrames(cowFrames, frames);
  helloClip.reset();
  mooClip.reset();
  moogaClip.reset();
  clearSlots();
  loaded = false;
}

void CowHerd::aim(int index) {
  if (index < 0 || index >= capacity) return;
  Cow& c = cows[index];
  const float speed = DayDirector::creatureSpeedFactor() * walkSpeed;
  c.vx = cosDeg(c.angle) * speed;
  c.vy = sinDeg(c.angle) * speed;
  int facing = static_cast<int>((c.angle + quarterTurn / 2) / quarterTurn);
  if (facing > facingCount - 1) facing -= facingCount;
  // Headings outside 0..360 only come from hand-set records; keep the sprite row in range anyway.
  facing = ((facing % facingCount) + facingCount) % facingCount;
  c.facing = static_cast<uint8_t>(facing);
}

void CowHerd::spawn(bool announce) {
  int index = 0;
  while (index < capacity && cows[index].active != 0) ++index;
  if (index == capacity) return;
  if (announce) play(helloClip);

  Cow& c = cows[index];
  c.active = 1;
  c.mooCooldown = 0;
  const SpawnEdge& edge = spawnEdges[randomInt(static_cast<int32_t>(std::size(spawnEdges)))];
  c.x = edge.alongWidth ? randomFloat(screenWidth) : edge.x;
  c.y = edge.alongWidth ? edge.y : randomFloat(screenHeight);
  c.angle = edge.heading;
  c.target = -1;
  aim(index);
  c.animTick = 0;
}

void CowHerd::tick() {
  for (Cow& c : cows) {
    if (c.active == 0) continue;
    if (c.mooCooldown > 0) --c.mooCooldown;
    c.x += c.vx;
    c.y += c.vy;
    if (!worldBox.contains(c.x, c.y)) {
      c.active = 0;
      Scarecrow::award(leavingReward);
      continue;
    }
    // The cow eats what lies where it will be a few steps on, before it walks over it.
    c.target =
        CornField::findStalkWithCorn(c.x + grazeLookAhead * c.vx, c.y + grazeLookAhead * c.vy, grazeReach);
    if (c.target >= 0) CornField::eatStalk(c.target);
    ++c.animTick;
    if (c.animTick >= walkTicks) c.animTick = 0;
  }
}

void CowHerd::draw(float light) {
  for (int i = 0; i < capacity; ++i) {
    const Cow& c = cows[i];
    if (c.active == 0) continue;
    const int facing = c.facing < facingCount ? c.facing : 0;
    const int frame = shownFrame(i);
    DrawQueue::add(frames[facing * frameCount + frame], c.x, c.y, 0.0f, 0.0f, drawSize, drawSize, light, 1.0f,
                   DrawKind::Sprite);
    DrawQueue::add(nullptr, c.x, c.y, 0.0f, 0.0f, shadowSize, shadowSize, light, 1.0f, DrawKind::Shadow);
  }
}

bool CowHerd::scareAt(float x, float y) {
  for (int i = 0; i < capacity; ++i) {
    const Cow& c = cows[i];
    if (c.active != 0 && c.mooCooldown == 0 && distance(c.x, c.y, x, y) < booReach) {
      turn(i, mooClip);
      return true;
    }
  }
  return false;
}

void CowHerd::scareAll() {
  for (int i = 0; i < capacity; ++i) {
    if (cows[i].active != 0) turn(i, moogaClip);
  }
}

bool CowHerd::isEmpty() {
  for (const Cow& c : cows) {
    if (c.active != 0) return false;
  }
  return true;
}

Cow& CowHerd::cow(int index) {
  // Out-of-range requests land on a scratch record rather than outside the pool.
  static Cow scratch{};
  if (index < 0 || index >= capacity) return scratch;
  return cows[index];
}

int CowHerd::shownFrame(int index) {
  const Cow& c = cow(index);
  return walkFrames[c.animTick < walkTicks ? c.animTick : 0];
}

int CowHerd::countInUse() {
  int count = 0;
  for (const Cow& c : cows) {
    if (c.active != 0) ++count;
  }
  return count;
}
