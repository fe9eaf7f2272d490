// The depth-ordered draw queue and the grass: list order, capacity, and what a flush puts on screen.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>
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
    for (auto [name, colour, sprite] : {std::tuple{"red", red, &redSprite},
                                        {"green", green, &greenSprite},
                                        {"white", white, &whiteSprite}}) {
      const std::string file = "graphics/" + std::string(name) + ".tga";
      writeFile(file, solidTarga(4, 4, colour));
      *sprite = std::make_unique<Sprite>(file.c_str(), 40.0f, 40.0f, 0.0f, 0.0f);
    }
    setGameGlState();
    DrawQueue::load();
  }
  void TearDown() override { DrawQueue::unload(); }

  // Queues a sprite entry; its x identifies it in the drawn order.
  void add(float x, float y, Sprite* s = nullptr, float lift = 0, float angle = 0, float w = 40, float h = 40,
           float tint = 1, float alpha = 1) {
    DrawQueue::add(s ? s : whiteSprite.get(), x, y, lift, angle, w, h, tint, alpha, DrawKind::Sprite);
  }
  static void shadow(float id, float y = 0.0f) {
    DrawQueue::add(nullptr, id, y, 0.0f, 0.0f, 48.0f, 48.0f, 1.0f, 1.0f, DrawKind::Shadow);
  }

  // The ids in drawing order, after checking that the backward links agree with the forward ones.
  static std::vector<float> drawnOrder() {
    std::vector<float> ids;
    for (int32_t i = DrawQueue::headIndex(), previous = -1; i != -1 && ids.size() <= DrawQueue::capacity;
         previous = i, i = DrawQueue::entryAt(i).next) {
      EXPECT_EQ(DrawQueue::entryAt(i).prev, previous) << "entry " << i;
      ids.push_back(DrawQueue::entryAt(i).x);
    }
    return ids;
  }
  // Draws what is queued on a cleared frame.
  static void flushFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    beginOverlay2D();
    DrawQueue::flush();
    endOverlay2D();
  }

  ScratchFolder folder;
  std::unique_ptr<Sprite> redSprite, greenSprite, whiteSprite;
};

using Order = std::vector<float>;

TEST_F(DrawQueueTest, LoadEmptiesItEntriesWithoutAKindAreIgnoredAndShadowsLatestFirstThenSpritesBackToFront) {
  EXPECT_EQ(std::pair(DrawQueue::headIndex(), DrawQueue::freeIndex()), std::pair(-1, 0));
  DrawQueue::add(whiteSprite.get(), 1, 1, 0, 0, 1, 1, 1, 1, DrawKind::Empty);
  EXPECT_EQ(std::pair(DrawQueue::headIndex(), DrawQueue::freeIndex()), std::pair(-1, 0));
  add(1, 10);
  shadow(2);
  EXPECT_EQ(DrawQueue::freeIndex(), 2);
  DrawQueue::unload();
  DrawQueue::load();
  EXPECT_EQ(std::pair(DrawQueue::headIndex(), DrawQueue::freeIndex()), std::pair(-1, 0));
  EXPECT_EQ(DrawQueue::entryAt(1).kind, DrawKind::Empty);
  // {id, y} with a negative y for a shadow (whose y does not order it).
  for (const auto& [adds, drawn] : {std::pair<Order, Order>{{1, 200, 2, 100, 3, -1}, {3, 2, 1}},
                                    {{1, 50, 2, 50}, {2, 1}},
                                    {{1, -1, 2, -5, 3, 10, 4, -500, 5, 5}, {4, 2, 1, 5, 3}}}) {
    DrawQueue::reset();
    for (size_t i = 0; i < adds.size(); i += 2)
      adds[i + 1] < 0 ? shadow(adds[i], -adds[i + 1]) : add(adds[i], adds[i + 1]);
    EXPECT_EQ(drawnOrder(), drawn);
  }
}

TEST_F(DrawQueueTest, The513thAddIsIgnoredAndAFlushMakesRoomFor512Again) {
  auto key = [](int id) { return id % 7 == 0 ? -1 : id * 37 % 101; };  // a shadow's key is -1
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < DrawQueue::capacity; ++i) {
      key(i) < 0 ? shadow(static_cast<float>(i)) : add(static_cast<float>(i), static_cast<float>(key(i)));
      EXPECT_EQ(DrawQueue::freeIndex(), i + 1 < DrawQueue::capacity ? i + 1 : -1);
    }
    add(-1, -1000);  // would go to the front of the sprites
    shadow(-2);      // would go to the very front
    const Order order = drawnOrder();
    ASSERT_EQ(order.size(), static_cast<size_t>(DrawQueue::capacity)) << "round " << round;
    // All the shadows, then the sprites in ascending y; nothing of the extra two.
    EXPECT_TRUE(
        std::is_sorted(order.begin(), order.end(), [&](float a, float b) { return key(a) < key(b); }));
    EXPECT_GE(*std::min_element(order.begin(), order.end()), 0.0f);
    flushFrame();
    EXPECT_EQ(std::pair(DrawQueue::headIndex(), DrawQueue::freeIndex()), std::pair(-1, 0));
  }
}

// --- flush: what lands on screen ---

TEST_F(DrawQueueTest, FrontCoversBackLiftKeepsTheOrderAndShadowsAreFlatHalfOpaqueWhenLoaded) {
  // Red stands at y 300 lifted 64 (drawn centred at 236); green stands at 250 on the ground, so at
  // (500, 240), where they overlap, red is further front by its ground y.
  add(500, 300, redSprite.get(), 64);
  add(500, 250, greenSprite.get());
  // A shadow ignores light, lift and turn.
  DrawQueue::add(whiteSprite.get(), 300, 300, 50, 45, 64, 64, 0.2f, 0.3f, DrawKind::Shadow);
  flushFrame();
  const Rgba half = {128, 128, 128, 255};
  // (329, 329) is a corner a turned square would not reach; (300, 245) is where a lifted one would be.
  EXPECT_PIXEL(500, 220, red);
  EXPECT_PIXEL(500, 240, red);
  EXPECT_PIXEL(500, 265, green);
  EXPECT_PIXEL(300, 300, half);
  EXPECT_PIXEL(329, 329, half);
  EXPECT_PIXEL(300, 245, black);
  // Without its picture a shadow is skipped.
  DrawQueue::unload();
  shadow(100, 100);
  add(300, 100, redSprite.get());
  flushFrame();
  EXPECT_PIXEL(100, 100, black);
  EXPECT_PIXEL(300, 100, red);
}

TEST_F(DrawQueueTest, OpaqueEntriesAreTintedAndOthersBlended) {
  float colour[4];
  add(100, 100, nullptr, 0, 0, 40, 40, 0.5f, 1.0f);
  flushFrame();
  EXPECT_PIXEL(100, 100, (Rgba{128, 128, 128, 255}));
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], 0.5f) << "an opaque entry is drawn tinted, which leaves the tint current";
  add(200, 100, nullptr, 0, 0, 40, 40, 0.5f, 0.999f);
  add(400, 100, nullptr, 0, 90, 80, 20);
  flushFrame();
  EXPECT_PIXEL(200, 100, (Rgba{127, 127, 127, 255}));
  EXPECT_PIXEL(400, 135, white);  // turned a quarter: 20 wide, 80 high
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], 1.0f) << "alpha below 1 goes through the blended draw, which resets the colour";
}

// --- the grass ---

TEST(Ground, CoversTheScreenAtTheGivenBrightnessOnlyWhenLoaded) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  writeFile("graphics/grass.tga", solidTarga(8, 8, white));
  setGameGlState();
  beginOverlay2D();
  Ground::load();
  Ground::draw(0.2f);  // dawn: a fifth
  for (auto [x, y] : {std::pair{0, 0}, {639, 479}}) EXPECT_PIXEL(x, y, (Rgba{51, 51, 51, 255}));
  Ground::draw(0.7f);  // the title
  EXPECT_PIXEL(5, 470, (Rgba{178, 178, 178, 255}));
  glClear(GL_COLOR_BUFFER_BIT);
  Ground::load();  // loading again replaces the picture
  Ground::unload();
  Ground::draw(1.0f);
  EXPECT_PIXEL(320, 240, black);
  endOverlay2D();
}

}  // namespace
