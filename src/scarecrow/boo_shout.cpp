#include "scarecrow/boo_shout.h"

#include <memory>

#include "days/draw_queue.h"
#include "field/cow_herd.h"
#include "field/crow_flock.h"
#include "field/pelican_flock.h"
#include "render/sprite.h"
#include "scarecrow/scarecrow.h"
#include "shell/numeric.h"

namespace {
constexpr float letterSpeed = 3;
constexpr float letterFullSize = 32;
constexpr float letterGrowth = 2;
constexpr int32_t letterFadeLife = 20;
constexpr float letterFade = 0.05f;
constexpr float letterElevation = 64;
constexpr float letterSpacing = 10;  // degrees between two letters of the fan
// The b goes last in the fan only for facings strictly between these two angles.
constexpr float bLastAbove = 10;
constexpr float bLastBelow = 200;

constexpr float earDropHeight = 48;
constexpr float earFallStep = 4;
constexpr int32_t earLife = 300;
constexpr float earSize = 40;
constexpr int32_t earBlinkLife = 60;  // below this the ear shows only on odd ticks

constexpr float letterSpriteSize = 32;

ShoutParticle particles[BooShout::capacity] = {};
std::unique_ptr<Sprite> letterB;
std::unique_ptr<Sprite> letterO;

bool isLetter(const ShoutParticle& p) {
  return p.kind == ShoutParticleKind::LetterB || p.kind == ShoutParticleKind::LetterO;
}

void updateLetter(ShoutParticle& p) {
  p.x += p.vx;
  p.y += p.vy;
  p.life -= 1;
  if (p.life == 0) p.kind = ShoutParticleKind::Free;
  if (p.size < letterFullSize) p.size += letterGrowth;
  if (p.life < letterFadeLife) p.alpha -= letterFade;
  // Every family gets its test, even after an earlier one was scared or the life ran out.
  if (CrowFlock::scareAt(p.x, p.y)) p.kind = ShoutParticleKind::Free;
  if (PelicanFlock::scareAt(p.x, p.y)) p.kind = ShoutParticleKind::Free;
  if (CowHerd::scareAt(p.x, p.y)) p.kind = ShoutParticleKind::Free;
}

void updateEar(ShoutParticle& p) {
  if (p.height > 0) {
    p.height -= earFallStep;
    if (p.height < 0) p.height = 0;
  }
  p.life -= 1;
  if (p.life == 0) p.kind = ShoutParticleKind::Free;
  // The scarecrow may still grab it on the tick it runs out, even in mid-fall.
  if (Scarecrow::tryPickUp(p.x, p.y)) p.kind = ShoutParticleKind::Free;
}
}  // namespace

void BooShout::load() {
  letterB = std::make_unique<Sprite>("graphics\\boo_b.tga", letterSpriteSize, letterSpriteSize, 0.0f, 0.0f);
  letterO = std::make_unique<Sprite>("graphics\\boo_o.tga", letterSpriteSize, letterSpriteSize, 0.0f, 0.0f);
  clear();
}

void BooShout::unload() {
  letterB.reset();
  letterO.reset();
}

void BooShout::clear() {
  for (ShoutParticle& p : particles) p.kind = ShoutParticleKind::Free;
}

void BooShout::spawn(ShoutParticleKind kind, float x, float y, float angle) {
  if (kind == ShoutParticleKind::Free) return;
  for (ShoutParticle& p : particles) {
    if (p.kind != ShoutParticleKind::Free) continue;
    p.kind = kind;
    p.x = x;
    p.y = y;
    p.angle = angle;
    if (kind == ShoutParticleKind::DroppedCorn) {
      p.vx = 0;
      p.vy = 0;
      p.height = earDropHeight;
      p.life = earLife;
      p.size = earSize;
    } else {
      p.vx = cosDeg(angle) * letterSpeed;
      p.vy = sinDeg(angle) * letterSpeed;
      p.height = 0;
      p.size = 0;
      p.alpha = 1;
      p.life = Scarecrow::state().booRange;
    }
    return;
  }
}

void BooShout::shout(float x, float y, float facing) {
  const int letters = Scarecrow::state().booLetters;
  const bool bLast = facing > bLastAbove && facing < bLastBelow;
  // The fan is centred half a spacing below the facing.
  float angle = facing - static_cast<float>(letters + 1) * letterSpacing / 2;
  if (!bLast) {
    spawn(ShoutParticleKind::LetterB, x, y, angle);
    angle += letterSpacing;
  }
  for (int i = 0; i < letters; ++i) {
    spawn(ShoutParticleKind::LetterO, x, y, angle);
    angle += letterSpacing;
  }
  if (bLast) spawn(ShoutParticleKind::LetterB, x, y, angle);
}

void BooShout::update() {
  for (ShoutParticle& p : particles) {
    if (isLetter(p)) {
      updateLetter(p);
    } else if (p.kind == ShoutParticleKind::DroppedCorn) {
      updateEar(p);
    }
  }
}

void BooShout::draw(float light) {
  Sprite* corn = CrowFlock::cornSprite();
  for (const ShoutParticle& p : particles) {
    if (isLetter(p)) {
      Sprite* letter = (p.kind == ShoutParticleKind::LetterB ? letterB : letterO).get();
      if (!letter) continue;
      DrawQueue::add(letter, p.x, p.y, letterElevation, 0, p.size, p.size, light, p.alpha, DrawKind::Sprite);
    } else if (p.kind == ShoutParticleKind::DroppedCorn) {
      const bool shown = p.life > earBlinkLife || p.life % 2 != 0;
      if (!shown || !corn) continue;
      DrawQueue::add(corn, p.x, p.y, p.height, 0, p.size, p.size, light, 1, DrawKind::Sprite);
    }
  }
}

ShoutParticle& BooShout::particle(int slot) {
  static ShoutParticle outside{};  // a bad index gets a free scratch record, never memory beyond the table
  if (slot < 0 || slot >= capacity) {
    outside = ShoutParticle{};
    return outside;
  }
  return particles[slot];
}

int BooShout::countInUse() {
  int n = 0;
  for (const ShoutParticle& p : particles) n += p.kind != ShoutParticleKind::Free ? 1 : 0;
  return n;
}

Sprite* BooShout::letterSprite(ShoutParticleKind kind) {
  if (kind == ShoutParticleKind::LetterB) return letterB.get();
  if (kind == ShoutParticleKind::LetterO) return letterO.get();
  return nullptr;
}
