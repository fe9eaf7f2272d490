#include "field/corn_field.h"

#include <cmath>
#include <memory>

#include "days/day_director.h"
#include "days/draw_queue.h"
#include "render/sprite.h"
#include "scarecrow/scarecrow.h"
#include "shell/numeric.h"

namespace {
constexpr int spriteCount = 7;
// Standing pictures by ears left (index 3 - ears), then the withering pictures.
constexpr const char* spriteFiles[spriteCount] = {
    "graphics\\stalk3.tga",  "graphics\\stalk2.tga",  "graphics\\stalk1.tga", "graphics\\stalk0.tga",
    "graphics\\stalk0b.tga", "graphics\\stalk0c.tga", "graphics\\stalk0d.tga"};
constexpr float spriteSize = 128;
constexpr float spriteAnchorY = 0.35f;
constexpr int bareStalkSprite = 3;
constexpr int lastWitherSprite = 6;

constexpr int8_t stageEmpty = 0;
constexpr int8_t stageStanding = 1;
constexpr int8_t stageShrinkFrom = 32;
constexpr int8_t stageGone = 82;
constexpr int witherStagesPerSprite = 8;
constexpr float drawSize = 200;
constexpr float shrinkPerStage = 4;

constexpr int8_t maxEars = 3;
constexpr int32_t cowEatLoss = -20;

constexpr int gridStalks = 36;
constexpr float gridStartX = 76.0f / 2 + 90;
constexpr float gridStartY = 50.0f * 3 / 2 + 90;
constexpr float gridStepX = 76;
constexpr float gridStepY = 50;
constexpr float gridRowEndX = 530;

constexpr float tiltRange = 25;
constexpr float tiltOffset = 12;
constexpr float plantRangeX = 540;
constexpr float plantMinX = 50;
constexpr float plantRangeY = 400;
constexpr float plantMinY = 40;

CornStalk stalks[CornField::capacity] = {};
int32_t usedSlots = 0;  // one past the highest slot ever put to use
std::unique_ptr<Sprite> sprites[spriteCount];

bool validSlot(int32_t slot) {
  return slot >= 0 && slot < usedSlots;
}

float randomTilt() {
  return randomFloat(tiltRange) - tiltOffset;
}
}  // namespace

void CornField::load() {
  for (CornStalk& s : stalks) s.stage = stageEmpty;
  usedSlots = 0;
  for (int i = 0; i < spriteCount; ++i) {
    sprites[i] = std::make_unique<Sprite>(spriteFiles[i], spriteSize, spriteSize, 0.0f, spriteAnchorY);
  }
}

void CornField::unload() {
  for (std::unique_ptr<Sprite>& sprite : sprites) sprite.reset();
}

void CornField::layOut() {
  usedSlots = 0;
  float x = gridStartX;
  float y = gridStartY;
  for (int i = 0; i < gridStalks; ++i) {
    CornStalk& s = stalks[i];
    usedSlots += 1;
    s.tilt = randomTilt();
    s.x = x;
    s.y = y;
    s.ears = static_cast<int8_t>(DayDirector::startingCorn());
    s.stage = stageStanding;
    x += gridStepX;
    if (x >= gridRowEndX) {
      x = gridStartX;
      y += gridStepY;
    }
  }
  for (int i = gridStalks; i < capacity; ++i) stalks[i].stage = stageEmpty;
}

bool CornField::tick() {
  bool lost = false;
  for (int32_t i = 0; i < usedSlots; ++i) {
    CornStalk& s = stalks[i];
    if (s.ears == 0 && s.stage != stageEmpty) s.stage += 1;
    if (s.stage == stageGone) {
      s.stage = stageEmpty;
      if (liveStalkCount() == 0) lost = true;
    }
  }
  return lost;
}

void CornField::draw(float light) {
  for (int32_t i = 0; i < usedSlots; ++i) {
    const CornStalk& s = stalks[i];
    if (s.stage <= stageEmpty || s.stage >= stageGone) continue;
    int picture = 0;
    float size = drawSize;
    if (s.stage == stageStanding) {
      const int ears = s.ears < 0 ? 0 : s.ears > maxEars ? maxEars : s.ears;
      picture = bareStalkSprite - ears;
    } else if (s.stage < stageShrinkFrom) {
      picture = bareStalkSprite + s.stage / witherStagesPerSprite;
    } else {
      picture = lastWitherSprite;
      size = drawSize - static_cast<float>(s.stage - stageShrinkFrom) * shrinkPerStage;
    }
    Sprite* sprite = sprites[picture].get();
    if (!sprite) continue;
    DrawQueue::add(sprite, s.x, s.y, 0, s.tilt, size, size, light, 1, DrawKind::Sprite);
  }
}

int32_t CornField::findStalkWithCorn(float x, float y, float radius) {
  // Asked by every arriving bird each tick: the diamond test is written out with a cheap first reject.
  for (int32_t i = 0; i < usedSlots; ++i) {
    const CornStalk& s = stalks[i];
    if (s.ears == 0) continue;
    const float dx = std::fabs(s.x - x);
    if (dx < radius && dx + std::fabs(s.y - y) < radius) return i;
  }
  return -1;
}

bool CornField::takeEar(int32_t slot) {
  if (!validSlot(slot)) return false;
  CornStalk& s = stalks[slot];
  if (s.ears == 0) return false;
  s.ears -= 1;
  if (s.ears == 0) Scarecrow::powerDown();
  return true;
}

bool CornField::eatStalk(int32_t slot) {
  if (!validSlot(slot)) return false;
  CornStalk& s = stalks[slot];
  if (s.ears == 0) return false;
  s.ears = 0;
  Scarecrow::powerDown();
  Scarecrow::award(cowEatLoss);
  return true;
}

int32_t CornField::liveStalkCount() {
  int32_t n = 0;
  for (int32_t i = 0; i < usedSlots; ++i) n += stalks[i].stage > stageEmpty ? 1 : 0;
  return n;
}

void CornField::plantStalk() {
  for (int32_t i = 0; i < capacity; ++i) {
    CornStalk& s = stalks[i];
    if (s.stage != stageEmpty) continue;
    if (i >= usedSlots) usedSlots = i + 1;
    s.stage = stageStanding;
    s.ears = 1;
    // The starting grid keeps its places; stalks beyond it go anywhere on the field.
    if (i >= gridStalks) {
      s.x = randomFloat(plantRangeX) + plantMinX;
      s.y = randomFloat(plantRangeY) + plantMinY;
    }
    s.tilt = randomTilt();
    return;
  }
}

bool CornField::canFertilize() {
  for (int32_t i = 0; i < usedSlots; ++i) {
    if (stalks[i].stage == stageStanding && stalks[i].ears < maxEars) return true;
  }
  return false;
}

void CornField::fertilize() {
  for (CornStalk& s : stalks) {
    if (s.stage == stageStanding && s.ears < maxEars) s.ears += 1;
  }
}

CornStalk& CornField::stalk(int32_t slot) {
  static CornStalk outside{};  // a bad index gets an empty scratch record, never memory beyond the pool
  if (slot < 0 || slot >= capacity) {
    outside = CornStalk{};
    return outside;
  }
  return stalks[slot];
}

int32_t CornField::slotCount() {
  return usedSlots;
}

int32_t CornField::earCount() {
  int32_t n = 0;
  for (int32_t i = 0; i < usedSlots; ++i) n += stalks[i].stage > stageEmpty ? stalks[i].ears : 0;
  return n;
}

Sprite* CornField::stalkSprite(int index) {
  if (index < 0 || index >= spriteCount) return nullptr;
  return sprites[index].get();
}
