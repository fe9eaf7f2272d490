// The creature pictures as the game reads them: each figure stands on the point its sprite's
// anchor names, every frame holds a whole figure, the facings are one model turned (mirror facings
// mirror each other), and the frames animate the way the families' frame tables expect.
// Runs in the build folder, where the build has painted graphics/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "../../assets/pictures/picture_list.h"
#include "render/texture.h"

using pictures::CreatureFamily;
using pictures::CreatureKind;
using pictures::kCreatureFamilies;

namespace {

constexpr int kOpaque = 128;  // alpha at which a pixel counts as part of the figure

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;  // top row first
  const uint8_t* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  bool solid(int x, int y) const { return at(x, y)[3] >= kOpaque; }
};

const CreatureFamily& family(CreatureKind kind) {
  return *std::find_if(std::begin(kCreatureFamilies), std::end(kCreatureFamilies),
                       [&](const CreatureFamily& f) { return f.kind == kind; });
}

std::string nameOf(CreatureKind kind, int facing, int frame) {
  return pictures::creatureFileName(family(kind), facing, frame);
}

// Every picture of a family, read once through the game's own reader; a missing or unreadable
// file stays an empty picture.
const Picture& get(CreatureKind kind, int facing, int frame) {
  static std::vector<Picture> cache[4];
  const CreatureFamily& fam = family(kind);
  std::vector<Picture>& all = cache[static_cast<int>(kind)];
  for (int i = static_cast<int>(all.size()); i < fam.facings * fam.frames; ++i) {
    Picture& p = all.emplace_back();
    Texture texture;
    if (!texture.readImageFile(nameOf(kind, i / fam.frames, i % fam.frames).c_str()) ||
        texture.bitsPerPixel() != 32) {
      continue;
    }
    p.width = texture.width(), p.height = texture.height();
    p.rgba.assign(texture.pixels(), texture.pixels() + static_cast<size_t>(p.width) * p.height * 4);
  }
  return all[static_cast<size_t>(facing) * fam.frames + frame];
}

struct Extent {
  int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
  long count = 0;
  double sumX = 0, sumY = 0;
  bool any() const { return count > 0; }
  double centreX() const { return sumX / count; }
  double centreY() const { return sumY / count; }
  int width() const { return right - left; }
};

// Where the figure, or a colour-picked part of it, sits.
Extent partOf(const Picture& p, bool (*pick)(int, int, int) = nullptr) {
  Extent e;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const uint8_t* c = p.at(x, y);
      if (c[3] < kOpaque || (pick && !pick(c[0], c[1], c[2]))) continue;
      e.left = std::min(e.left, x), e.right = std::max(e.right, x);
      e.top = std::min(e.top, y), e.bottom = std::max(e.bottom, y);
      ++e.count, e.sumX += x, e.sumY += y;
    }
  }
  return e;
}

// The horizontal middle of the figure's lowest `band` rows, as a share of the width: where it stands.
double footMiddle(const Picture& p, const Extent& e, int band) {
  int left = p.width, right = -1;
  for (int y = std::max(0, e.bottom - band); y <= e.bottom; ++y) {
    for (int x = 0; x < p.width; ++x) {
      if (p.solid(x, y)) left = std::min(left, x), right = std::max(right, x);
    }
  }
  return (left + right) / 2.0 / p.width;
}

// Share of the figure's pixels that the other figure covers too, one of them mirrored left to right.
double mirroredOverlap(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height) return 0.0;
  long both = 0, either = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      const bool inA = a.solid(x, y), inB = b.solid(b.width - 1 - x, y);
      both += inA && inB;
      either += inA || inB;
    }
  }
  return either > 0 ? static_cast<double>(both) / either : 0.0;
}

// Pixels that differ visibly; pictures of different sizes differ everywhere.
long differingPixels(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height) return std::max(a.width * a.height, b.width * b.height);
  long n = 0;
  for (size_t i = 0; i < a.rgba.size(); i += 4) {
    int d = 0;
    for (size_t c = i; c < i + 4; ++c) d = std::max(d, std::abs(a.rgba[c] - b.rgba[c]));
    n += d > 24;
  }
  return n;
}

bool orange(int r, int g, int b) {
  return r > 190 && g > 110 && g < 200 && b < 90;
}

// Runs the check on every frame of every facing of one family.
template <typename Check>
void eachFrame(CreatureKind kind, Check check) {
  for (int facing = 0; facing < family(kind).facings; ++facing) {
    for (int frame = 0; frame < family(kind).frames; ++frame) {
      SCOPED_TRACE(nameOf(kind, facing, frame));
      check(get(kind, facing, frame), facing, frame);
    }
  }
}

TEST(CreaturePictures, EveryFrameHoldsOneWholeFigureInsideTheCanvas) {
  for (const CreatureFamily& fam : kCreatureFamilies) {
    eachFrame(fam.kind, [&](const Picture& p, int, int) {
      ASSERT_EQ(std::make_pair(p.width, p.height), std::make_pair(fam.size, fam.size));
      const Extent e = partOf(p);
      // A figure, not a dot and not a filled square.
      const double share = e.count / (static_cast<double>(p.width) * p.height);
      EXPECT_TRUE(share > 0.03 && share < 0.5) << share;
      // Nothing is cut off by the picture's edge.
      EXPECT_TRUE(e.left > 0 && e.top > 0 && e.right < p.width - 1 && e.bottom < p.height - 1);
      // The corners stay fully transparent, so the sprite's square never shows.
      EXPECT_EQ(p.at(0, 0)[3] + p.at(p.width - 1, p.height - 1)[3], 0);
    });
  }
}

TEST(CreaturePictures, FiguresStandOnTheirGroundPoints) {
  // The scarecrow's pole foot is its lowest point, at 50 %, 80 %; the figure rises well above it.
  eachFrame(CreatureKind::Scarecrow, [](const Picture& p, int, int) {
    const Extent e = partOf(p);
    EXPECT_NEAR(e.bottom / static_cast<double>(p.height), 0.80, 0.025);
    EXPECT_NEAR(footMiddle(p, e, 3), 0.5, 0.02);
    EXPECT_LT(e.top / static_cast<double>(p.height), 0.3);
  });
  // Seen from the side, a pecking bird's feet are its lowest part; the near foot stands a little
  // in front of the ground point, so a little lower in the picture.
  for (CreatureKind kind : {CreatureKind::Crow, CreatureKind::Pelican}) {
    eachFrame(kind, [](const Picture& p, int facing, int frame) {
      if (facing % 4 != 0 || (frame != 4 && frame != 5)) return;
      const Extent e = partOf(p);
      EXPECT_GE(e.bottom / static_cast<double>(p.height), 0.80);
      EXPECT_LE(e.bottom / static_cast<double>(p.height), 0.875);
      EXPECT_NEAR(footMiddle(p, e, p.height / 64), 0.5, 0.04);
    });
  }
  eachFrame(CreatureKind::Cow, [](const Picture& p, int facing, int) {
    const bool sideways = facing % 2 == 0;
    const Extent e = partOf(p);
    const double ground = 0.60 * p.height;
    // The near hooves stand in front of the ground point at 50 %, 60 %, so a little below it in the
    // picture: half the body's width from the side, half its length (plus a stride) end on.
    EXPECT_GT(e.bottom, ground + (sideways ? 0.02 : 0.12) * p.height);
    EXPECT_LT(e.bottom, ground + (sideways ? 0.12 : 0.25) * p.height);
    // From the side the lowest hooves, front and back, straddle the ground point.
    if (sideways) {
      EXPECT_NEAR(footMiddle(p, e, p.height / 32), 0.5, 0.05);
    }
    // The body hangs above the ground point: the column through it is covered higher up.
    bool covered = false;
    for (int y = static_cast<int>(0.3 * p.height); y < ground; ++y)
      covered = covered || p.solid(p.width / 2, y);
    EXPECT_TRUE(covered);
  });
  // Facing the viewer or away, a figure is built the same on its left and right, so it stands
  // centred on the anchor's vertical line (a stride swings it only a little to one side).
  for (const CreatureFamily& fam : kCreatureFamilies) {
    eachFrame(fam.kind, [&](const Picture& p, int facing, int) {
      if (facing != fam.facings / 4 && facing != 3 * fam.facings / 4) return;
      const Extent e = partOf(p);
      EXPECT_NEAR(e.centreX() / p.width, 0.5, 0.03);
      EXPECT_NEAR((e.left + e.right) / 2.0 / p.width, 0.5, 0.04);
    });
  }
}

TEST(CreaturePictures, MirrorFacingsShowTheSameFigureMirrored) {
  // Facing right and facing left (and the diagonals either side of straight up or down) are one
  // model turned: their outlines mirror each other, while the light stays on the upper left. A
  // mirror swaps left and right, so a stride with one leg mirrors the stride with the other.
  const int mirroredFrame[4][8] = {
      {0, 3, 4, 1, 2, 5, 6}, {0, 1, 2, 3, 4, 5, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7}, {0, 3, 4, 1, 2}};
  for (const CreatureFamily& fam : kCreatureFamilies) {
    eachFrame(fam.kind, [&](const Picture& p, int facing, int frame) {
      const int mirrored = (fam.facings * 3 / 2 - facing) % fam.facings;  // 0-4, 1-3, 5-7; cows 0-2
      if (mirrored <= facing) return;
      const Picture& other = get(fam.kind, mirrored, mirroredFrame[static_cast<int>(fam.kind)][frame]);
      EXPECT_GT(mirroredOverlap(p, other), 0.85);
      EXPECT_GT(differingPixels(p, other), 50);
    });
  }
}

TEST(CreaturePictures, EveryFacingAndEveryFrameIsItsOwnPicture) {
  for (const CreatureFamily& fam : kCreatureFamilies) {
    eachFrame(fam.kind, [&](const Picture& p, int facing, int frame) {
      for (int other = frame + 1; other < fam.frames; ++other) {
        EXPECT_GT(differingPixels(p, get(fam.kind, facing, other)), 40) << "against frame " << other;
      }
      for (int turned = facing + 1; turned < fam.facings; ++turned) {
        EXPECT_GT(differingPixels(p, get(fam.kind, turned, frame)), 200) << "against facing " << turned;
      }
    });
  }
}

TEST(CreaturePictures, FacingsLookWhereTheirAnglesPoint) {
  for (CreatureKind kind : {CreatureKind::Crow, CreatureKind::Pelican}) {
    SCOPED_TRACE(family(kind).format);
    const double margin = 0.03 * family(kind).size;
    // The beak points the way the bird faces: right at facing 0, left at 4, and in flight down the
    // picture at 2 (towards the viewer) and up it at 6.
    for (int frame : {0, 4}) {
      const Extent right = partOf(get(kind, 0, frame), orange), left = partOf(get(kind, 4, frame), orange);
      ASSERT_TRUE(right.any() && left.any());
      EXPECT_GT(right.centreX(), partOf(get(kind, 0, frame)).centreX() + margin);
      EXPECT_LT(left.centreX(), partOf(get(kind, 4, frame)).centreX() - margin);
    }
    const Extent down = partOf(get(kind, 2, 0), orange), up = partOf(get(kind, 6, 0), orange);
    ASSERT_TRUE(down.any() && up.any());
    EXPECT_GT(down.centreY(), partOf(get(kind, 2, 0)).centreY() + margin);
    EXPECT_LT(up.centreY(), partOf(get(kind, 6, 0)).centreY() - margin);
  }
  // A crow's white eyes show towards the viewer, never from behind.
  auto eyeWhite = [](int r, int g, int b) { return r > 225 && g > 225 && b > 215; };
  EXPECT_GT(partOf(get(CreatureKind::Crow, 2, 0), eyeWhite).count, 6);
  EXPECT_EQ(partOf(get(CreatureKind::Crow, 6, 0), eyeWhite).count, 0);
  // The scarecrow's sack-cloth face shows when it looks towards the viewer; from behind its hat
  // and straw hide most of the sack.
  auto sackCloth = [](int r, int g, int b) { return r > 190 && g > 160 && g < 215 && b > 100 && b < 160; };
  EXPECT_GT(partOf(get(CreatureKind::Scarecrow, 2, 0), sackCloth).count,
            partOf(get(CreatureKind::Scarecrow, 6, 0), sackCloth).count * 2);
}

TEST(CreaturePictures, BirdWingsBeatFromUpToDownAndFlingUpInFright) {
  for (CreatureKind kind : {CreatureKind::Crow, CreatureKind::Pelican}) {
    SCOPED_TRACE(family(kind).format);
    const double step = 0.04 * family(kind).size;
    std::vector<Extent> front, side;
    for (int frame = 0; frame < family(kind).frames; ++frame) {
      front.push_back(partOf(get(kind, 2, frame)));
      side.push_back(partOf(get(kind, 0, frame)));
    }
    // From the front: raised wings make the top of frame 0; spread level they make frame 1 widest.
    for (int later : {1, 2, 3}) EXPECT_LT(front[0].top + step, front[later].top);
    EXPECT_GT(front[1].width(), front[0].width() + step);
    // From the side the near wing sweeps down past the body on the down stroke.
    EXPECT_GT(side[3].bottom, side[1].bottom + step);
    EXPECT_LT(side[0].top + step, side[2].top);
    // Pecking folds the wings: narrower than any flap frame.
    for (int flap = 0; flap < 4; ++flap) EXPECT_LT(front[4].width() + step, front[flap].width());
    // Scared: wings thrown up high, unlike the perched bird.
    for (int scared : {6, 7}) EXPECT_LT(front[scared].top + step, front[4].top);
    // Pecking puts the head, and its beak, down into the stalk.
    EXPECT_GT(partOf(get(kind, 0, 5), orange).centreY(), partOf(get(kind, 0, 4), orange).centreY() + step);
  }
}

TEST(CreaturePictures, StridesAreMirroredPairsAndTheScarecrowShoutsWithArmsUp) {
  // Towards the viewer the second stride is the first one mirrored.
  const std::tuple<CreatureKind, int, double, long> strides[] = {{CreatureKind::Scarecrow, 2, 0.9, 200},
                                                                 {CreatureKind::Cow, 1, 0.85, 100}};
  for (auto [kind, facing, overlap, differing] : strides) {
    for (int frame : {1, 2}) {
      SCOPED_TRACE(nameOf(kind, facing, frame));
      EXPECT_GT(mirroredOverlap(get(kind, facing, frame), get(kind, facing, frame + 2)), overlap);
      EXPECT_GT(differingPixels(get(kind, facing, frame), get(kind, facing, frame + 2)), differing);
    }
  }
  // Arms up: the hands, at the figure's left and right ends, rise above where they rest.
  auto handHeight = [](const Picture& p) {
    const Extent e = partOf(p);
    for (int y = 0; y < p.height; ++y) {
      if (p.solid(e.left, y) || p.solid(e.right, y)) return y;
    }
    return p.height;
  };
  const Picture& shout = get(CreatureKind::Scarecrow, 2, 6);
  EXPECT_LT(handHeight(shout) + 0.08 * shout.height, handHeight(get(CreatureKind::Scarecrow, 2, 0)));
}

}  // namespace
