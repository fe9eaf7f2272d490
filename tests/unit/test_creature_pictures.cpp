// The creature pictures as the game reads them: each figure stands on the point its sprite's
// anchor names, every frame holds a whole figure, the facings are one model turned (mirror facings
// mirror each other), and the frames animate the way the families' frame tables expect.
// Runs in the build folder, where the build has painted graphics/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "../../assets/pictures/picture_list.h"
#include "render/texture.h"

using namespace pictures;  // the generator's own list of families and file names

namespace {
using enum CreatureKind;

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // top row first
  const uint8_t* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  bool solid(int x, int y) const { return at(x, y)[3] >= 128; }  // opaque enough to be the figure
};

const CreatureFamily& family(CreatureKind kind) {
  return *std::ranges::find(kCreatureFamilies, kind, &CreatureFamily::kind);
}

// Every picture is read once through the game's own reader; a missing or unreadable file stays empty.
const Picture& get(CreatureKind kind, int facing, int frame) {
  static std::map<std::string, Picture> cache;
  const std::string name = creatureFileName(family(kind), facing, frame);
  Texture t;
  if (cache.contains(name) || !t.readImageFile(name.c_str()) || t.bitsPerPixel() != 32) return cache[name];
  const size_t bytes = static_cast<size_t>(t.width()) * t.height() * 4;
  return cache[name] = Picture{t.width(), t.height(), {t.pixels(), t.pixels() + bytes}};
}

struct Extent {
  int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
  double count = 0, sumX = 0, sumY = 0;
  double centreX() const { return sumX / count; }
  double centreY() const { return sumY / count; }
  double middleX() const { return (left + right) / 2.0; }
  int width() const { return right - left; }
};

// Where the figure, or a colour-picked part of it, sits, from row `fromY` down.
Extent partOf(const Picture& p, bool (*pick)(int, int, int) = nullptr, int fromY = 0) {
  Extent e;
  for (int i = std::max(0, fromY) * p.width; i < p.width * p.height; ++i) {
    const int x = i % p.width, y = i / p.width;
    const uint8_t* c = p.at(x, y);
    if (!p.solid(x, y) || (pick && !pick(c[0], c[1], c[2]))) continue;
    // Rows come top first: the first row hit is the top, the last the bottom.
    e.left = std::min(e.left, x), e.right = std::max(e.right, x), e.top = std::min(e.top, y), e.bottom = y;
    ++e.count, e.sumX += x, e.sumY += y;
  }
  return e;
}

// How two pictures compare: the share of the figure's pixels that the other figure covers too when
// mirrored left to right, and the pixels that differ visibly (pictures of different sizes differ everywhere).
struct Likeness {
  double mirroredOverlap, differing;
};
Likeness compare(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height) return {0.0, 1e9};
  double both = 0, either = 0, differing = 0;
  for (int i = 0; i < a.width * a.height; ++i) {
    const bool inA = a.solid(i % a.width, i / a.width), inB = b.solid(b.width - 1 - i % a.width, i / a.width);
    both += inA && inB, either += inA || inB;
    differing += !std::equal(&a.rgba[4 * i], &a.rgba[4 * i] + 4, &b.rgba[4 * i],
                             [](int u, int v) { return std::abs(u - v) <= 24; });
  }
  return {either > 0 ? both / either : 0.0, differing};
}

constexpr auto orange = [](int r, int g, int b) { return r > 190 && g > 110 && g < 200 && b < 90; };

// Runs the check on every frame of every facing of the given families.
void eachFrame(std::initializer_list<CreatureKind> kinds, auto check) {
  for (CreatureKind kind : kinds) {
    const CreatureFamily& fam = family(kind);
    for (int i = 0; i < fam.facings * fam.frames; ++i) {
      SCOPED_TRACE(creatureFileName(fam, i / fam.frames, i % fam.frames));
      check(get(kind, i / fam.frames, i % fam.frames), fam, i / fam.frames, i % fam.frames);
    }
  }
}

TEST(CreaturePictures, EveryFrameHoldsOneWholeFigureOfItsOwnAndMirrorFacingsMirrorEachOther) {
  // Facing right and facing left (and the diagonals either side of straight up or down) are one
  // model turned: their outlines mirror each other, while the light stays on the upper left. A
  // mirror swaps left and right, so a stride with one leg mirrors the stride with the other.
  const int mirroredFrame[4][8] = {
      {0, 3, 4, 1, 2, 5, 6}, {0, 1, 2, 3, 4, 5, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7}, {0, 3, 4, 1, 2}};
  eachFrame({Scarecrow, Crow, Pelican, Cow}, [&](const Picture& p, const CreatureFamily& fam, int facing,
                                                 int frame) {
    ASSERT_EQ(std::make_pair(p.width, p.height), std::make_pair(fam.size, fam.size));
    const Extent e = partOf(p);
    // A figure, not a dot and not a filled square, cut off nowhere by the picture's edge; the
    // corners stay fully transparent, so the sprite's square never shows.
    EXPECT_TRUE(e.count > 0.03 * p.width * p.height && e.count < 0.5 * p.width * p.height) << e.count;
    EXPECT_TRUE(e.left > 0 && e.top > 0 && e.right < p.width - 1 && e.bottom < p.height - 1);
    EXPECT_EQ(p.at(0, 0)[3] + p.at(p.width - 1, p.height - 1)[3], 0);
    // No frame or facing repeats another.
    for (int other = frame + 1; other < fam.frames; ++other)
      EXPECT_GT(compare(p, get(fam.kind, facing, other)).differing, 40) << "against frame " << other;
    for (int turned = facing + 1; turned < fam.facings; ++turned)
      EXPECT_GT(compare(p, get(fam.kind, turned, frame)).differing, 200) << "against facing " << turned;
    // Facing the viewer or away, a figure is built the same on its left and right, so it stands
    // centred on the anchor's vertical line (a stride swings it only a little to one side).
    if (facing == fam.facings / 4 || facing == 3 * fam.facings / 4) {
      EXPECT_NEAR(e.centreX() / p.width, 0.5, 0.03);
      EXPECT_NEAR(e.middleX() / p.width, 0.5, 0.04);
    }
    const int mirrored = (fam.facings * 3 / 2 - facing) % fam.facings;  // 0-4, 1-3, 5-7; cows 0-2
    if (mirrored <= facing) return;
    const Picture& other = get(fam.kind, mirrored, mirroredFrame[static_cast<int>(fam.kind)][frame]);
    EXPECT_GT(compare(p, other).mirroredOverlap, 0.85);
    EXPECT_GT(compare(p, other).differing, 50);
  });
}

TEST(CreaturePictures, FiguresStandOnTheirGroundPoints) {
  // The scarecrow's pole foot is its lowest point, at 50 %, 80 %; the figure rises well above it.
  eachFrame({Scarecrow}, [](const Picture& p, const CreatureFamily&, int, int) {
    const Extent e = partOf(p);
    EXPECT_NEAR(e.bottom / static_cast<double>(p.height), 0.80, 0.025);
    EXPECT_NEAR(partOf(p, nullptr, e.bottom - 3).middleX() / p.width, 0.5, 0.02);
    EXPECT_LT(e.top / static_cast<double>(p.height), 0.3);
  });
  // Seen from the side, a pecking bird's feet are its lowest part; the near foot stands a little
  // in front of the ground point, so a little lower in the picture.
  eachFrame({Crow, Pelican}, [](const Picture& p, const CreatureFamily&, int facing, int frame) {
    if (facing % 4 != 0 || frame < 4 || frame > 5) return;
    const Extent e = partOf(p);
    EXPECT_TRUE(e.bottom >= 0.80 * p.height && e.bottom <= 0.875 * p.height) << e.bottom;
    EXPECT_NEAR(partOf(p, nullptr, e.bottom - p.height / 64).middleX() / p.width, 0.5, 0.04);
  });
  eachFrame({Cow}, [](const Picture& p, const CreatureFamily&, int facing, int) {
    const Extent e = partOf(p);
    const double ground = 0.60 * p.height;
    // The near hooves stand in front of the ground point at 50 %, 60 %, so a little below it in the
    // picture: half the body's width from the side, half its length (plus a stride) end on.
    EXPECT_GT(e.bottom, ground + (facing % 2 ? 0.12 : 0.02) * p.height);
    EXPECT_LT(e.bottom, ground + (facing % 2 ? 0.25 : 0.12) * p.height);
    // The body hangs above the ground point: the column through it is covered higher up.
    int y = static_cast<int>(0.3 * p.height);
    while (y < ground && !p.solid(p.width / 2, y)) ++y;
    EXPECT_LT(y, ground);
    // From the side the lowest hooves, front and back, straddle the ground point.
    if (facing % 2) return;
    EXPECT_NEAR(partOf(p, nullptr, e.bottom - p.height / 32).middleX() / p.width, 0.5, 0.05);
  });
}

TEST(CreaturePictures, FacingsLookWhereTheirAnglesPoint) {
  for (CreatureKind kind : {Crow, Pelican}) {
    // The beak points the way the bird faces: right at facing 0, left at 4, and in flight down the
    // picture at 2 (towards the viewer) and up it at 6.
    const int looks[][3] = {{0, 1, 0}, {4, -1, 0}, {2, 0, 1}, {6, 0, -1}};  // facing, then its direction
    for (const auto& [facing, dx, dy] : looks) {
      const Extent beak = partOf(get(kind, facing, 0), orange), body = partOf(get(kind, facing, 0));
      const double lead = (beak.centreX() - body.centreX()) * dx + (beak.centreY() - body.centreY()) * dy;
      EXPECT_GT(lead, 0.03 * family(kind).size) << family(kind).format << " facing " << facing;
    }
  }
  // The scarecrow's sack-cloth face shows when it looks towards the viewer; from behind its hat
  // and straw hide most of the sack.
  auto sack = [](int r, int g, int b) { return r > 190 && g > 160 && g < 215 && b > 100 && b < 160; };
  EXPECT_GT(partOf(get(Scarecrow, 2, 0), sack).count, partOf(get(Scarecrow, 6, 0), sack).count * 2);
}

TEST(CreaturePictures, BirdWingsBeatFromUpToDownAndFlingUpInFright) {
  for (CreatureKind kind : {Crow, Pelican}) {
    SCOPED_TRACE(family(kind).format);
    const double step = 0.04 * family(kind).size;
    // Seen from the front (facing 2) and from the side (facing 0).
    const auto view = [&](int facing, int frame) { return partOf(get(kind, facing, frame)); };
    // From the front: raised wings make the top of frame 0; spread level they make frame 1 widest.
    for (int later : {1, 2, 3}) EXPECT_LT(view(2, 0).top + step, view(2, later).top);
    EXPECT_GT(view(2, 1).width(), view(2, 0).width() + step);
    // From the side the near wing sweeps down past the body on the down stroke.
    EXPECT_GT(view(0, 3).bottom, view(0, 1).bottom + step);
    EXPECT_LT(view(0, 0).top + step, view(0, 2).top);
    // Pecking folds the wings: narrower than any flap frame.
    for (int flap = 0; flap < 4; ++flap) EXPECT_LT(view(2, 4).width() + step, view(2, flap).width());
    // Scared: wings thrown up high, unlike the perched bird.
    for (int scared : {6, 7}) EXPECT_LT(view(2, scared).top + step, view(2, 4).top);
    // Pecking puts the head, and its beak, down into the stalk.
    EXPECT_GT(partOf(get(kind, 0, 5), orange).centreY(), partOf(get(kind, 0, 4), orange).centreY() + step);
  }
}

TEST(CreaturePictures, StridesAreMirroredPairsAndTheScarecrowShoutsWithArmsUp) {
  // Towards the viewer the second stride is the first one mirrored.
  const std::tuple<CreatureKind, int, double, int> walks[] = {{Scarecrow, 2, 0.9, 200}, {Cow, 1, 0.85, 100}};
  for (auto [kind, facing, overlap, differing] : walks) {
    for (int frame : {1, 2}) {
      SCOPED_TRACE(creatureFileName(family(kind), facing, frame));
      const Likeness strides = compare(get(kind, facing, frame), get(kind, facing, frame + 2));
      EXPECT_TRUE(strides.mirroredOverlap > overlap && strides.differing > differing)
          << strides.mirroredOverlap << " " << strides.differing;
    }
  }
  // Arms up: the hands, at the figure's left and right ends, rise above where they rest.
  const auto handHeight = [](const Picture& p, int y = 0) {
    for (const Extent e = partOf(p); y < p.height && !p.solid(e.left, y) && !p.solid(e.right, y);) ++y;
    return y;
  };
  const Picture& shout = get(Scarecrow, 2, 6);
  EXPECT_LT(handHeight(shout) + 0.08 * shout.height, handHeight(get(Scarecrow, 2, 0)));
}

}  // namespace
