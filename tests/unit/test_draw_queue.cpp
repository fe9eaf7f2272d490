// The depth-ordered draw queue and the grass: list order, capacity, and what a flush puts on screen.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>
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
    for (auto [name, colour] : {std::pair{"shadow", white}, {"red", red}, {"green", green}, {"white", white}})
      writeFile("graphics/" + std::string(name) + ".tga", solidTarga(4, 4, colour));
    setGameGlState();
    DrawQueue::load();
    for (const char* name : {"red", "green", "white"})
      sprites.push_back(std::make_unique<Sprite>(("graphics\\" + std::string(name) + ".tga").c_str(), 40.0f,
                                                 40.0f, 0.0f, 0.0f));
    redSprite = sprites[0].get();
    greenSprite = sprites[1].get();
    whiteSprite = sprites[2].get();
  }

  void TearDown() override {
    DrawQueue::reset();
    DrawQueue::unload();
  }

  // Queues a sprite entry whose x identifies it in the drawn order.
  void sprite(float id, float y, Sprite* s = nullptr) { add(s ? s : whiteSprite, id, y); }
  static void add(Sprite* s, float x, float y, float lift = 0, float angle = 0, float w = 40, float h = 40,
                  float tint = 1, float alpha = 1) {
    DrawQueue::add(s, x, y, lift, angle, w, h, tint, alpha, DrawKind::Sprite);
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
  std::vector<std::unique_ptr<Sprite>> sprites;
  Sprite *redSprite = nullptr, *greenSprite = nullptr, *whiteSprite = nullptr;
};

using Order = std::vector<float>;

TEST_F(DrawQueueTest, LoadLeavesItEmptyAndAnEntryWithoutAKindIsIgnored) {
  auto expectEmpty = [] {
    EXPECT_EQ(DrawQueue::headIndex(), -1);
    EXPECT_EQ(DrawQueue::freeIndex(), 0);
  };
  expectEmpty();
  DrawQueue::add(whiteSprite, 1, 1, 0, 0, 1, 1, 1, 1, DrawKind::Empty);
  expectEmpty();
  sprite(1, 10);
  shadow(2);
  EXPECT_EQ(DrawQueue::freeIndex(), 2);
  DrawQueue::unload();
  DrawQueue::load();
  expectEmpty();
  EXPECT_EQ(DrawQueue::entryAt(0).kind, DrawKind::Empty);
  EXPECT_EQ(DrawQueue::entryAt(1).kind, DrawKind::Empty);
}

TEST_F(DrawQueueTest, ShadowsLatestFirstThenSpritesFromBackToFrontLaterFirstAtEqualY) {
  struct Add {
    float id, y;
    bool isShadow;
  };
  // A shadow's y does not order it.
  const std::pair<std::vector<Add>, Order> cases[] = {
      {{{1, 200, false}, {2, 100, false}, {3, 0, true}}, {3, 2, 1}},
      {{{1, 50, false}, {2, 50, false}}, {2, 1}},
      {{{1, 50, false}, {2, 50, false}, {3, 50, false}, {4, 60, false}, {5, 40, false}, {6, 60, false}},
       {5, 3, 2, 1, 6, 4}},
      {{{1, 0, true}, {2, 0, true}, {3, 10, false}, {4, 500, true}, {5, 5, false}}, {4, 2, 1, 5, 3}},
      {{{1, 300, false}, {2, 0, false}, {3, 0, true}, {4, -20, false}, {5, 1000, false}}, {3, 4, 2, 1, 5}}};
  for (const auto& [adds, drawn] : cases) {
    DrawQueue::reset();
    for (const Add& add : adds) add.isShadow ? shadow(add.id, add.y) : sprite(add.id, add.y);
    EXPECT_EQ(drawnOrder(), drawn);
  }
}

TEST_F(DrawQueueTest, The513thAddIsIgnoredAndAFlushMakesRoomFor512Again) {
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < DrawQueue::capacity; ++i) {
      i % 7 == 0 ? shadow(static_cast<float>(i))
                 : sprite(static_cast<float>(i), static_cast<float>((i * 37) % 101));
      EXPECT_EQ(DrawQueue::freeIndex(), i + 1 < DrawQueue::capacity ? i + 1 : -1);
    }
    sprite(-1, -1000);  // would go to the front of the sprites
    shadow(-2);         // would go to the very front
    const Order order = drawnOrder();
    ASSERT_EQ(order.size(), static_cast<size_t>(DrawQueue::capacity)) << "round " << round;
    EXPECT_EQ(std::count(order.begin(), order.end(), -1.0f) + std::count(order.begin(), order.end(), -2.0f),
              0);
    // All the shadows, then the sprites in ascending y.
    auto key = [](float id) { return static_cast<int>(id) % 7 == 0 ? -1 : static_cast<int>(id) * 37 % 101; };
    EXPECT_TRUE(
        std::is_sorted(order.begin(), order.end(), [&](float a, float b) { return key(a) < key(b); }));
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
  sprite(100, 210, greenSprite);
  sprite(100, 200, redSprite);
  // Red stands at y 300 lifted 64 (drawn centred at 236); green stands at 250 on the ground.
  add(redSprite, 500, 300, 64);
  add(greenSprite, 500, 250);
  // A shadow ignores light, lift and turn.
  DrawQueue::add(whiteSprite, 300, 300, 50, 45, 64, 64, 0.2f, 0.3f, DrawKind::Shadow);
  DrawQueue::flush();
  endOverlay2D();
  EXPECT_EQ(DrawQueue::headIndex(), -1);
  const Rgba half = {128, 128, 128, 255};
  // At (500, 240) the two overlap: red is further front by its ground y. (329, 329) is a corner a
  // turned square would not reach; (300, 245) is where a lifted one would be.
  for (auto [x, y, colour] : {std::tuple{100, 215, green},
                              {100, 185, red},
                              {500, 220, red},
                              {500, 240, red},
                              {500, 265, green},
                              {500, 300, black},
                              {300, 300, half},
                              {329, 329, half},
                              {300, 245, black},
                              {335, 300, black}})
    EXPECT_PIXEL(x, y, colour);
}

TEST_F(DrawQueueTest, OpaqueEntriesAreTintedAndOthersBlended) {
  frame();
  float colour[4];
  add(whiteSprite, 100, 100, 0, 0, 40, 40, 0.5f, 1.0f);
  DrawQueue::flush();
  EXPECT_PIXEL(100, 100, (Rgba{128, 128, 128, 255}));
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], 0.5f) << "an opaque entry is drawn tinted, which leaves the tint current";
  add(whiteSprite, 200, 100, 0, 0, 40, 40, 0.5f, 0.999f);
  DrawQueue::flush();
  EXPECT_PIXEL(200, 100, (Rgba{127, 127, 127, 255}));
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], 1.0f) << "alpha below 1 goes through the blended draw, which resets the colour";
  add(whiteSprite, 300, 100, 0, 0, 40, 40, 1.0f, 0.25f);
  add(whiteSprite, 400, 100, 0, 90, 80, 20);
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
  sprite(300, 100, redSprite);
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
