// The creature pictures as the game reads them: each figure stands on the point its sprite's
// anchor names, every frame holds a whole figure, the facings are one model turned (mirror facings
// mirror each other), and the frames animate the way the families' frame tables expect.
// Runs in the build folder, where the build has painted graphics/.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "../../assets/pictures/picture_list.h"
#include "render/texture.h"

using pictures::CreatureFamily;
using pictures::CreatureKind;
using pictures::kCreatureFamilies;

namespace {

constexpr int kOpaque = 128;  // alpha at which a pixel counts as part of the figure

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // top row first

  bool loaded() const { return width > 0; }
  const uint8_t* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  bool solid(int x, int y) const { return at(x, y)[3] >= kOpaque; }
};

const CreatureFamily& family(CreatureKind kind) {
  for (const CreatureFamily& f : kCreatureFamilies) {
    if (f.kind == kind) return f;
  }
  return kCreatureFamilies[0];
}

// Read through the game's own reader.
Picture load(const CreatureFamily& fam, int facing, int frame) {
  Picture p;
  Texture texture;
  std::string name = pictures::creatureFileName(fam, facing, frame);
  if (!texture.readImageFile(name.c_str()) || texture.bitsPerPixel() != 32) return p;
  p.width = texture.width();
  p.height = texture.height();
  p.rgba.assign(texture.pixels(), texture.pixels() + static_cast<size_t>(p.width) * p.height * 4);
  return p;
}

struct Extent {
  int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
  long count = 0;
  double sumX = 0, sumY = 0;
  bool any() const { return count > 0; }
  double centreX() const { return sumX / count; }
  double centreY() const { return sumY / count; }
};

// Where the figure, or a colour-picked part of it, sits.
template <typename Pick>
Extent partOf(const Picture& p, Pick pick) {
  Extent e;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const uint8_t* c = p.at(x, y);
      if (c[3] < kOpaque || !pick(c[0], c[1], c[2])) continue;
      e.left = std::min(e.left, x);
      e.right = std::max(e.right, x);
      e.top = std::min(e.top, y);
      e.bottom = std::max(e.bottom, y);
      ++e.count;
      e.sumX += x;
      e.sumY += y;
    }
  }
  return e;
}

Extent extentOf(const Picture& p) {
  return partOf(p, [](int, int, int) { return true; });
}

// The horizontal middle of the figure's lowest `band` rows: where it stands.
double footMiddle(const Picture& p, const Extent& e, int band) {
  int left = p.width;
  int right = -1;
  for (int y = std::max(0, e.bottom - band); y <= e.bottom; ++y) {
    for (int x = 0; x < p.width; ++x) {
      if (!p.solid(x, y)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  return (left + right) / 2.0;
}

// Share of the figure's pixels that the other figure covers too, one of them mirrored left to right.
double mirroredOverlap(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height) return 0.0;
  long both = 0;
  long either = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      bool inA = a.solid(x, y);
      bool inB = b.solid(b.width - 1 - x, y);
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
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      const uint8_t* p = a.at(x, y);
      const uint8_t* q = b.at(x, y);
      int d = 0;
      for (int c = 0; c < 4; ++c) d = std::max(d, std::abs(p[c] - q[c]));
      n += d > 24;
    }
  }
  return n;
}

bool orange(int r, int g, int b) {
  return r > 190 && g > 110 && g < 200 && b < 90;
}
bool eyeWhite(int r, int g, int b) {
  return r > 225 && g > 225 && b > 215;
}

class CreaturePictures : public testing::Test {
 protected:
  static const Picture& get(CreatureKind kind, int facing, int frame) {
    static std::vector<Picture> cache[4];
    const CreatureFamily& fam = family(kind);
    std::vector<Picture>& pictures = cache[static_cast<int>(kind)];
    if (pictures.empty()) {
      for (int f = 0; f < fam.facings; ++f) {
        for (int k = 0; k < fam.frames; ++k) pictures.push_back(load(fam, f, k));
      }
    }
    return pictures[static_cast<size_t>(facing) * fam.frames + frame];
  }
  // Runs the check on every frame of every facing of one family.
  template <typename Check>
  static void eachFrame(CreatureKind kind, Check check) {
    const CreatureFamily& fam = family(kind);
    for (int facing = 0; facing < fam.facings; ++facing) {
      for (int frame = 0; frame < fam.frames; ++frame) {
        SCOPED_TRACE(pictures::creatureFileName(fam, facing, frame));
        check(get(kind, facing, frame), facing);
      }
    }
  }
};

TEST_F(CreaturePictures, EveryFrameHoldsOneWholeFigureInsideTheCanvas) {
  for (const CreatureFamily& fam : kCreatureFamilies) {
    eachFrame(fam.kind, [&](const Picture& p, int) {
      ASSERT_TRUE(p.loaded());
      EXPECT_EQ(p.width, fam.size);
      EXPECT_EQ(p.height, fam.size);
      const Extent e = extentOf(p);
      ASSERT_TRUE(e.any());
      // A figure, not a speck and not a filled square.
      const double area = static_cast<double>(p.width) * p.height;
      EXPECT_GT(e.count / area, 0.03);
      EXPECT_LT(e.count / area, 0.5);
      // Nothing is cut off by the picture's edge.
      EXPECT_GT(e.left, 0);
      EXPECT_GT(e.top, 0);
      EXPECT_LT(e.right, p.width - 1);
      EXPECT_LT(e.bottom, p.height - 1);
      // The corners stay fully transparent, so the sprite's square never shows.
      EXPECT_EQ(p.at(0, 0)[3], 0);
      EXPECT_EQ(p.at(p.width - 1, p.height - 1)[3], 0);
    });
  }
}

TEST_F(CreaturePictures, ScarecrowStandsOnItsPoleFootInEveryFrame) {
  eachFrame(CreatureKind::Scarecrow, [](const Picture& p, int) {
    const Extent e = extentOf(p);
    ASSERT_TRUE(e.any());
    // The pole's foot is the lowest point, at 50 %, 80 %; the figure rises well above it.
    EXPECT_NEAR(e.bottom / static_cast<double>(p.height), 0.80, 0.025);
    EXPECT_NEAR(footMiddle(p, e, 3) / p.width, 0.5, 0.02);
    EXPECT_LT(e.top / static_cast<double>(p.height), 0.3);
  });
}

TEST_F(CreaturePictures, BirdsPerchOnTheirFeetAtTheGroundPoint) {
  // Seen from the side, a pecking bird's feet are its lowest part; the near foot stands a little
  // in front of the ground point, so a little lower in the picture.
  for (CreatureKind kind : {CreatureKind::Crow, CreatureKind::Pelican}) {
    const CreatureFamily& fam = family(kind);
    for (int facing : {0, 4}) {
      for (int frame : {4, 5}) {
        SCOPED_TRACE(pictures::creatureFileName(fam, facing, frame));
        const Picture& p = get(kind, facing, frame);
        Extent e = extentOf(p);
        ASSERT_TRUE(e.any());
        EXPECT_GE(e.bottom / static_cast<double>(p.height), 0.80);
        EXPECT_LE(e.bottom / static_cast<double>(p.height), 0.875);
        EXPECT_NEAR(footMiddle(p, e, p.height / 64) / p.width, 0.5, 0.04);
      }
    }
  }
}

TEST_F(CreaturePictures, FiguresLookingAlongTheScreenAreCentredOnTheGroundPoint) {
  // Facing the viewer or away, a figure is built the same on its left and right, so it stands
  // centred on the anchor's vertical line (a stride swings it only a little to one side).
  struct Case {
    CreatureKind kind;
    int facings[2];
  };
  for (Case c : {Case{CreatureKind::Scarecrow, {2, 6}}, Case{CreatureKind::Crow, {2, 6}},
                 Case{CreatureKind::Pelican, {2, 6}}, Case{CreatureKind::Cow, {1, 3}}}) {
    const CreatureFamily& fam = family(c.kind);
    for (int facing : c.facings) {
      for (int frame = 0; frame < fam.frames; ++frame) {
        SCOPED_TRACE(pictures::creatureFileName(fam, facing, frame));
        const Picture& p = get(c.kind, facing, frame);
        Extent e = extentOf(p);
        ASSERT_TRUE(e.any());
        EXPECT_NEAR(e.centreX() / p.width, 0.5, 0.03);
        EXPECT_NEAR((e.left + e.right) / 2.0 / p.width, 0.5, 0.04);
      }
    }
  }
}

TEST_F(CreaturePictures, CowsStandWithTheirLegsAroundTheGroundPoint) {
  eachFrame(CreatureKind::Cow, [](const Picture& p, int facing) {
    const bool sideways = facing % 2 == 0;
    const Extent e = extentOf(p);
    ASSERT_TRUE(e.any());
    const double ground = 0.60 * p.height;
    // The near hooves stand in front of the ground point, so a little below it in the picture:
    // half the body's width from the side, half its length (plus a stride) end on.
    EXPECT_GT(e.bottom, ground + (sideways ? 0.02 : 0.12) * p.height);
    EXPECT_LT(e.bottom, ground + (sideways ? 0.12 : 0.25) * p.height);
    // From the side the lowest hooves, front and back, straddle the ground point.
    if (sideways) {
      EXPECT_NEAR(footMiddle(p, e, p.height / 32) / p.width, 0.5, 0.05);
    }
    // The body hangs above the ground point: the column through it is covered higher up.
    bool covered = false;
    for (int y = static_cast<int>(0.3 * p.height); y < ground; ++y)
      covered = covered || p.solid(p.width / 2, y);
    EXPECT_TRUE(covered);
  });
}

TEST_F(CreaturePictures, MirrorFacingsShowTheSameFigureMirrored) {
  // Facing right and facing left (and the diagonals either side of straight up or down) are one
  // model turned: their outlines mirror each other, while the light stays on the upper left. A
  // mirror swaps left and right, so a stride with one leg mirrors the stride with the other.
  struct Pair {
    int a;
    int b;
  };
  const int birdFrames[] = {0, 1, 2, 3, 4, 5, 6, 7};
  const int scarecrowFrames[] = {0, 3, 4, 1, 2, 5, 6};
  const int cowFrames[] = {0, 3, 4, 1, 2};
  struct Case {
    CreatureKind kind;
    const int* mirroredFrame;
  };
  for (Case c : {Case{CreatureKind::Scarecrow, scarecrowFrames}, Case{CreatureKind::Crow, birdFrames},
                 Case{CreatureKind::Pelican, birdFrames}, Case{CreatureKind::Cow, cowFrames}}) {
    const CreatureFamily& fam = family(c.kind);
    bool quarterTurns = fam.facings == 4;
    for (Pair pair : quarterTurns ? std::vector<Pair>{{0, 2}} : std::vector<Pair>{{0, 4}, {1, 3}, {5, 7}}) {
      for (int frame = 0; frame < fam.frames; ++frame) {
        SCOPED_TRACE(pictures::creatureFileName(fam, pair.a, frame));
        const Picture& a = get(c.kind, pair.a, frame);
        const Picture& b = get(c.kind, pair.b, c.mirroredFrame[frame]);
        EXPECT_GT(mirroredOverlap(a, b), 0.85);
        EXPECT_GT(differingPixels(a, b), 50);
      }
    }
  }
}

TEST_F(CreaturePictures, EveryFacingAndEveryFrameIsItsOwnPicture) {
  for (const CreatureFamily& fam : kCreatureFamilies) {
    for (int facing = 0; facing < fam.facings; ++facing) {
      for (int frame = 0; frame < fam.frames; ++frame) {
        const Picture& p = get(fam.kind, facing, frame);
        for (int other = frame + 1; other < fam.frames; ++other) {
          SCOPED_TRACE(pictures::creatureFileName(fam, facing, frame) + " against frame " +
                       std::to_string(other));
          EXPECT_GT(differingPixels(p, get(fam.kind, facing, other)), 40);
        }
        for (int turned = facing + 1; turned < fam.facings; ++turned) {
          SCOPED_TRACE(pictures::creatureFileName(fam, facing, frame) + " against facing " +
                       std::to_string(turned));
          EXPECT_GT(differingPixels(p, get(fam.kind, turned, frame)), 200);
        }
      }
    }
  }
}

TEST_F(CreaturePictures, FacingsLookWhereTheirAnglesPoint) {
  for (CreatureKind kind : {CreatureKind::Crow, CreatureKind::Pelican}) {
    const CreatureFamily& fam = family(kind);
    SCOPED_TRACE(fam.format);
    double margin = 0.03 * fam.size;
    // The beak points the way the bird faces: right at facing 0, left at 4, and in flight down the
    // picture at 2 (towards the viewer) and up it at 6.
    for (int frame : {0, 4}) {
      Extent right = partOf(get(kind, 0, frame), orange);
      Extent left = partOf(get(kind, 4, frame), orange);
      ASSERT_TRUE(right.any() && left.any());
      EXPECT_GT(right.centreX(), extentOf(get(kind, 0, frame)).centreX() + margin);
      EXPECT_LT(left.centreX(), extentOf(get(kind, 4, frame)).centreX() - margin);
    }
    Extent down = partOf(get(kind, 2, 0), orange);
    Extent up = partOf(get(kind, 6, 0), orange);
    ASSERT_TRUE(down.any() && up.any());
    EXPECT_GT(down.centreY(), extentOf(get(kind, 2, 0)).centreY() + margin);
    EXPECT_LT(up.centreY(), extentOf(get(kind, 6, 0)).centreY() - margin);
  }
  // A crow's white eyes show towards the viewer, never from behind.
  EXPECT_GT(partOf(get(CreatureKind::Crow, 2, 0), eyeWhite).count, 6);
  EXPECT_EQ(partOf(get(CreatureKind::Crow, 6, 0), eyeWhite).count, 0);
  // The scarecrow's sack-cloth face shows when it looks towards the viewer; from behind its hat
  // and straw hide most of the sack.
  auto sackCloth = [](int r, int g, int b) { return r > 190 && g > 160 && g < 215 && b > 100 && b < 160; };
  EXPECT_GT(partOf(get(CreatureKind::Scarecrow, 2, 0), sackCloth).count,
            partOf(get(CreatureKind::Scarecrow, 6, 0), sackCloth).count * 2);
}

TEST_F(CreaturePictures, BirdWingsBeatFromUpToDownAndFlingUpInFright) {
  for (CreatureKind kind : {CreatureKind::Crow, CreatureKind::Pelican}) {
    const CreatureFamily& fam = family(kind);
    SCOPED_TRACE(fam.format);
    double step = 0.04 * fam.size;
    std::vector<Extent> front;
    std::vector<Extent> side;
    for (int frame = 0; frame < fam.frames; ++frame) {
      front.push_back(extentOf(get(kind, 2, frame)));
      side.push_back(extentOf(get(kind, 0, frame)));
    }
    auto width = [](const Extent& e) { return e.right - e.left; };
    // From the front: raised wings make the top of frame 0; spread level they make frame 1 widest.
    for (int later : {1, 2, 3}) EXPECT_LT(front[0].top + step, front[later].top);
    EXPECT_GT(width(front[1]), width(front[0]) + step);
    // From the side the near wing sweeps down past the body on the down stroke.
    EXPECT_GT(side[3].bottom, side[1].bottom + step);
    EXPECT_LT(side[0].top + step, side[2].top);
    // Pecking folds the wings: narrower than any flap frame.
    for (int flap = 0; flap < 4; ++flap) EXPECT_LT(width(front[4]) + step, width(front[flap]));
    // Scared: wings thrown up high, unlike the perched bird.
    for (int scared : {6, 7}) EXPECT_LT(front[scared].top + step, front[4].top);
    // Pecking puts the head, and its beak, down into the stalk.
    Extent headUp = partOf(get(kind, 0, 4), orange);
    Extent headDown = partOf(get(kind, 0, 5), orange);
    EXPECT_GT(headDown.centreY(), headUp.centreY() + step);
  }
}

TEST_F(CreaturePictures, StridesAreMirroredPairsAndTheScarecrowShoutsWithArmsUp) {
  // Towards the viewer the second stride is the first one mirrored.
  struct Case {
    CreatureKind kind;
    int facing;
    double overlap;
    long differing;
  };
  for (Case c : {Case{CreatureKind::Scarecrow, 2, 0.9, 200}, Case{CreatureKind::Cow, 1, 0.85, 100}}) {
    for (int frame : {1, 2}) {
      SCOPED_TRACE(pictures::creatureFileName(family(c.kind), c.facing, frame));
      const Picture& one = get(c.kind, c.facing, frame);
      const Picture& other = get(c.kind, c.facing, frame + 2);
      EXPECT_GT(mirroredOverlap(one, other), c.overlap);
      EXPECT_GT(differingPixels(one, other), c.differing);
    }
  }
  // Arms up: the hands, at the figure's left and right ends, rise above where they rest.
  auto handHeight = [](const Picture& p) {
    const Extent e = extentOf(p);
    for (int y = 0; y < p.height; ++y) {
      if (p.solid(e.left, y) || p.solid(e.right, y)) return y;
    }
    return p.height;
  };
  const Picture& idle = get(CreatureKind::Scarecrow, 2, 0);
  const Picture& shout = get(CreatureKind::Scarecrow, 2, 6);
  EXPECT_LT(handHeight(shout) + 0.08 * shout.height, handHeight(idle));
}

}  // namespace
