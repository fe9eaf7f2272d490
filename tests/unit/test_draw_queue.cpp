// The depth-ordered draw queue and the grass: list order, capacity, and what a flush puts on screen.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "days/draw_queue.h"
#include "days/ground.h"
#include "test_render_images.h"

using namespace testimages;

namespace {

class DrawQueueTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    writeFile("graphics/shadow.tga", solidTarga(4, 4, white));
    writeFile("graphics/red.tga", solidTarga(4, 4, red));
    writeFile("graphics/green.tga", solidTarga(4, 4, green));
    writeFile("graphics/white.tga", solidTarga(4, 4, white));
    setGameGlState();
    DrawQueue::load();
    redSprite = std::make_unique<Sprite>("graphics\\red.tga", 40.0f, 40.0f, 0.0f, 0.0f);
    greenSprite = std::make_unique<Sprite>("graphics\\green.tga", 40.0f, 40.0f, 0.0f, 0.0f);
    whiteSprite = std::make_unique<Sprite>("graphics\\white.tga", 40.0f, 40.0f, 0.0f, 0.0f);
  }

  void TearDown() override {
    DrawQueue::reset();
    DrawQueue::unload();
  }

  // Queues a sprite entry whose x identifies it in the drawn order.
  void sprite(float id, float y, Sprite* s = nullptr) {
    DrawQueue::add(s ? s : whiteSprite.get(), id, y, 0.0f, 0.0f, 40.0f, 40.0f, 1.0f, 1.0f, DrawKind::Sprite);
  }
  void shadow(float id, float y = 0.0f) {
    DrawQueue::add(nullptr, id, y, 0.0f, 0.0f, 48.0f, 48.0f, 1.0f, 1.0f, DrawKind::Shadow);
  }

  // The ids in drawing order, after checking that the backward links agree with the forward ones.
  static std::vector<float> drawnOrder() {
    std::vector<float> ids;
    int32_t previous = -1;
    for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next) {
      const DrawEntry& entry = DrawQueue::entryAt(i);
      EXPECT_EQ(entry.prev, previous) << "entry " << i;
      EXPECT_NE(entry.kind, DrawKind::Empty);
      ids.push_back(entry.x);
      previous = i;
      if (ids.size() > DrawQueue::capacity) {
        ADD_FAILURE() << "the list loops";
        break;
      }
    }
    return ids;
  }

  static void frame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    beginOverlay2D();
  }

  ScratchFolder folder;
  std::unique_ptr<Sprite> redSprite;
  std::unique_ptr<Sprite> greenSprite;
  std::unique_ptr<Sprite> whiteSprite;
};

using Order = std::vector<float>;

// --- order ---

TEST_F(DrawQueueTest, LoadLeavesItEmptyAndAnEntryWithoutAKindIsIgnored) {
  EXPECT_EQ(DrawQueue::headIndex(), -1);
  EXPECT_EQ(DrawQueue::freeIndex(), 0);
  DrawQueue::add(whiteSprite.get(), 1, 1, 0, 0, 1, 1, 1, 1, DrawKind::Empty);
  EXPECT_EQ(DrawQueue::headIndex(), -1);
  EXPECT_EQ(DrawQueue::freeIndex(), 0);
  sprite(1, 10);
  shadow(2);
  EXPECT_EQ(DrawQueue::freeIndex(), 2);
  DrawQueue::unload();
  DrawQueue::load();
  EXPECT_EQ(DrawQueue::headIndex(), -1);
  EXPECT_EQ(DrawQueue::freeIndex(), 0);
  EXPECT_EQ(DrawQueue::entryAt(0).kind, DrawKind::Empty);
  EXPECT_EQ(DrawQueue::entryAt(1).kind, DrawKind::Empty);
}

TEST_F(DrawQueueTest, ShadowsLatestFirstThenSpritesFromBackToFrontLaterFirstAtEqualY) {
  struct Add {
    float id, y;
    bool isShadow;
  };
  struct Case {
    const char* what;
    std::vector<Add> adds;
    Order drawn;
  };
  const Case cases[] = {
      {"shadow, then y 100, then y 200", {{1, 200, false}, {2, 100, false}, {3, 0, true}}, {3, 2, 1}},
      {"equal y: the later first", {{1, 50, false}, {2, 50, false}}, {2, 1}},
      {"equal y among others",
       {{1, 50, false}, {2, 50, false}, {3, 50, false}, {4, 60, false}, {5, 40, false}, {6, 60, false}},
       {5, 3, 2, 1, 6, 4}},
      // A shadow's y does not order it.
      {"shadows latest first",
       {{1, 0, true}, {2, 0, true}, {3, 10, false}, {4, 500, true}, {5, 5, false}},
       {4, 2, 1, 5, 3}},
      {"sprites queued before any shadow",
       {{1, 300, false}, {2, 0, false}, {3, 0, true}, {4, -20, false}, {5, 1000, false}},
       {3, 4, 2, 1, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DrawQueue::reset();
    for (const Add& add : c.adds) add.isShadow ? shadow(add.id, add.y) : sprite(add.id, add.y);
    EXPECT_EQ(drawnOrder(), c.drawn);
  }
}

// --- capacity ---

TEST_F(DrawQueueTest, The513thAddIsIgnoredAndAFlushMakesRoomFor512Again) {
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < DrawQueue::capacity; ++i) {
      if (i % 7 == 0) {
        shadow(static_cast<float>(i));
      } else {
        sprite(static_cast<float>(i), static_cast<float>((i * 37) % 101));
      }
      EXPECT_EQ(DrawQueue::freeIndex(), i + 1 < DrawQueue::capacity ? i + 1 : -1);
    }
    sprite(-1, -1000);  // would go to the front of the sprites
    shadow(-2);         // would go to the very front
    const Order order = drawnOrder();
    ASSERT_EQ(order.size(), static_cast<size_t>(DrawQueue::capacity)) << "round " << round;
    EXPECT_EQ(std::count(order.begin(), order.end(), -1.0f), 0);
    EXPECT_EQ(std::count(order.begin(), order.end(), -2.0f), 0);
    // Sprites are in ascending y after all the shadows.
    bool inSprites = false;
    float lastY = -1e9f;
    for (int32_t i = DrawQueue::headIndex(); i != -1; i = DrawQueue::entryAt(i).next) {
      const DrawEntry& e = DrawQueue::entryAt(i);
      if (e.kind == DrawKind::Shadow) {
        ASSERT_FALSE(inSprites) << "shadow after a sprite";
      } else {
        inSprites = true;
        ASSERT_GE(e.y, lastY);
        lastY = e.y;
      }
    }
    frame();
    DrawQueue::flush();
    endOverlay2D();
    EXPECT_EQ(DrawQueue::headIndex(), -1);
    EXPECT_EQ(DrawQueue::freeIndex(), 0);
  }
}

// --- flush: what lands on screen ---

TEST_F(DrawQueueTest, FrontCoversBackLiftKeepsTheOrderAndShadowsAreFlatHalfOpaque) {
  frame();
  // Both cover (100, 215); the one further front wins.
  sprite(100, 210, greenSprite.get());
  sprite(100, 200, redSprite.get());
  // Red stands at y 300 lifted 64 (drawn centred at 236); green stands at 250 on the ground.
  DrawQueue::add(redSprite.get(), 500, 300, 64, 0, 40, 40, 1, 1, DrawKind::Sprite);
  DrawQueue::add(greenSprite.get(), 500, 250, 0, 0, 40, 40, 1, 1, DrawKind::Sprite);
  // A shadow ignores light, lift and turn.
  DrawQueue::add(whiteSprite.get(), 300, 300, 50, 45, 64, 64, 0.2f, 0.3f, DrawKind::Shadow);
  DrawQueue::flush();
  endOverlay2D();
  EXPECT_EQ(DrawQueue::headIndex(), -1);
  EXPECT_PIXEL(100, 215, green);
  EXPECT_PIXEL(100, 185, red);
  EXPECT_PIXEL(500, 220, red);
  EXPECT_PIXEL(500, 240, red);  // overlap: red is further front by its ground y
  EXPECT_PIXEL(500, 265, green);
  EXPECT_PIXEL(500, 300, black);
  const Rgba half = {128, 128, 128, 255};
  EXPECT_PIXEL(300, 300, half);
  EXPECT_PIXEL(329, 329, half);   // a corner a turned square would not reach
  EXPECT_PIXEL(300, 245, black);  // where a lifted one would be
  EXPECT_PIXEL(335, 300, black);
}

TEST_F(DrawQueueTest, OpaqueEntriesAreTintedAndOthersBlended) {
  frame();
  DrawQueue::add(whiteSprite.get(), 100, 100, 0, 0, 40, 40, 0.5f, 1.0f, DrawKind::Sprite);
  DrawQueue::flush();
  EXPECT_PIXEL(100, 100, (Rgba{128, 128, 128, 255}));
  float colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], 0.5f) << "an opaque entry is drawn tinted, which leaves the tint current";

  DrawQueue::add(whiteSprite.get(), 200, 100, 0, 0, 40, 40, 0.5f, 0.999f, DrawKind::Sprite);
  DrawQueue::flush();
  EXPECT_PIXEL(200, 100, (Rgba{127, 127, 127, 255}));
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], 1.0f) << "alpha below 1 goes through the blended draw, which resets the colour";

  DrawQueue::add(whiteSprite.get(), 300, 100, 0, 0, 40, 40, 1.0f, 0.25f, DrawKind::Sprite);
  DrawQueue::add(whiteSprite.get(), 400, 100, 0, 90, 80, 20, 1.0f, 1.0f, DrawKind::Sprite);
  DrawQueue::flush();
  endOverlay2D();
  EXPECT_PIXEL(300, 100, (Rgba{64, 64, 64, 255}));
  EXPECT_PIXEL(400, 135, white);  // turned a quarter: 20 wide, 80 high
  EXPECT_PIXEL(415, 100, black);
}

TEST_F(DrawQueueTest, WithoutItsShadowPictureShadowsAreSkipped) {
  DrawQueue::unload();
  frame();
  shadow(100, 100);
  sprite(300, 100, redSprite.get());
  DrawQueue::flush();
  endOverlay2D();
  EXPECT_PIXEL(100, 100, black);
  EXPECT_PIXEL(300, 100, red);
  DrawQueue::load();
}

// --- the grass ---

class GroundTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    writeFile("graphics/grass.tga", solidTarga(8, 8, white));
    setGameGlState();
    beginOverlay2D();
  }
  void TearDown() override {
    endOverlay2D();
    Ground::unload();
  }
  ScratchFolder folder;
};

TEST_F(GroundTest, CoversTheScreenAtTheGivenBrightnessOnlyWhenLoaded) {
  Ground::draw(1.0f);
  EXPECT_PIXEL(320, 240, black);
  Ground::load();
  Ground::draw(0.2f);
  for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {0, 479}, {639, 479}, {320, 240}}) {
    EXPECT_PIXEL(x, y, (Rgba{51, 51, 51, 255}));
  }
  Ground::draw(0.7f);
  EXPECT_PIXEL(5, 470, (Rgba{178, 178, 178, 255}));
  glClear(GL_COLOR_BUFFER_BIT);
  Ground::load();  // loading again replaces the picture
  Ground::unload();
  Ground::draw(1.0f);
  EXPECT_PIXEL(320, 240, black);
}

}  // namespace
