// The generated pictures: every listed file exists with its size and reads in the game, nothing is left
// over, two runs give the same bytes, and the compositions the game relies on hold on the pixels.
// Runs in the build folder, where the build has painted graphics/.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "../../assets/pictures/picture_list.h"
#include "../../assets/pictures/targa_codec.h"
#include "render/texture.h"
#include "test_render_images.h"

using testimages::readFile;

using pictures::DecodedTarga;
using pictures::diskPath;
using pictures::PictureFile;
using pictures::PictureGroup;

namespace {

// A picture by its name under graphics\ without the extension, e.g. "chooser\\banner".
DecodedTarga load(const std::string& name) {
  const std::vector<uint8_t> bytes = readFile(diskPath("graphics\\" + name + ".tga"));
  auto decoded = pictures::decodeTarga(bytes.data(), bytes.size());
  return decoded ? *decoded : DecodedTarga{};
}

const uint8_t* at(const DecodedTarga& p, int x, int y) {
  return &p.rgba[(static_cast<size_t>(y) * p.width + x) * 4];
}
int alphaAt(const DecodedTarga& p, int x, int y) {
  return at(p, x, y)[3];
}
double luminanceAt(const DecodedTarga& p, int x, int y) {
  const uint8_t* q = at(p, x, y);
  return (0.299 * q[0] + 0.587 * q[1] + 0.114 * q[2]) / 255.0;
}

struct Ink {
  int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
  bool any() const { return right >= 0; }
};

// Calls f(x, y) for every pixel.
template <class F>
void eachPixel(const DecodedTarga& p, F f) {
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) f(x, y);
}

Ink inkOf(const DecodedTarga& p, int alphaAbove = 0) {
  Ink ink;
  eachPixel(p, [&](int x, int y) {
    if (alphaAt(p, x, y) > alphaAbove)
      ink = {std::min(ink.left, x), std::max(ink.right, x), std::min(ink.top, y), std::max(ink.bottom, y)};
  });
  return ink;
}

// Mean x of the solid pixels of one row.
double rowCentre(const DecodedTarga& p, int y) {
  double sum = 0;
  int n = 0;
  for (int x = 0; x < p.width; ++x) {
    if (alphaAt(p, x, y) > 128) sum += x, ++n;
  }
  return n ? sum / n : -1;
}

const std::vector<PictureFile>& files() {
  static const std::vector<PictureFile> list = pictures::allPictureFiles();
  return list;
}

}  // namespace

TEST(PictureList, NamesAreUniqueAndCoverTheGamesFiles) {
  std::set<std::string> names;
  int game = 0, creatures = 0;
  for (const PictureFile& f : files()) {
    EXPECT_TRUE(names.insert(f.name).second) << f.name << " listed twice";
    EXPECT_EQ(f.name.rfind("graphics\\", 0), 0u) << f.name;
    game += f.group == PictureGroup::Game;
    creatures += f.group == PictureGroup::Creature;
  }
  EXPECT_EQ(game + creatures, 262);
  EXPECT_EQ(creatures, 56 + 64 + 64 + 20);
  // Names the game builds from its frame tables, spelled as it spells them.
  for (const char* name : {"scarecrow\\Sca20002", "crow\\cro30013", "pelican\\pel70014", "cow\\cow30007",
                           "text_9", "itm_rocket", "stalk0d"}) {
    EXPECT_TRUE(names.count("graphics\\" + std::string(name) + ".tga")) << name;
  }
}

TEST(Pictures, EveryListedFileIsATypeTenTargaOfItsSizeThatTheGameReads) {
  for (const PictureFile& f : files()) {
    SCOPED_TRACE(f.name);
    const std::vector<uint8_t> bytes = readFile(diskPath(f.name));
    ASSERT_GE(bytes.size(), 18u) << "missing or empty";
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[2], 10);
    EXPECT_EQ(bytes[16], 32);
    const auto ours = pictures::decodeTarga(bytes.data(), bytes.size());
    ASSERT_TRUE(ours.has_value());
    EXPECT_EQ(ours->width, f.width);
    EXPECT_EQ(ours->height, f.height);
    Texture texture;
    ASSERT_TRUE(texture.readImageFile(f.name.c_str()));
    EXPECT_EQ(texture.width(), f.width);
    EXPECT_EQ(texture.height(), f.height);
    EXPECT_EQ(texture.bitsPerPixel(), 32);
    ASSERT_NE(texture.pixels(), nullptr);
    EXPECT_TRUE(std::equal(ours->rgba.begin(), ours->rgba.end(), texture.pixels()));
    // Something is drawn in every picture except a creature whose model is still empty.
    EXPECT_TRUE(f.group == PictureGroup::Creature || inkOf(*ours).any());
  }
}

TEST(Pictures, NoFileInTheGraphicsFolderIsLeftOutOfTheList) {
  std::set<std::string> listed;
  for (const PictureFile& f : files()) listed.insert(diskPath(f.name));
  ASSERT_TRUE(std::filesystem::is_directory("graphics"));
  int seen = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator("graphics")) {
    if (!entry.is_regular_file() || entry.path().filename() == ".stamp") continue;
    ++seen;
    EXPECT_TRUE(listed.count(entry.path().generic_string())) << entry.path() << " is not in the list";
  }
  EXPECT_EQ(seen, static_cast<int>(listed.size()));
}

TEST(Pictures, TwoGeneratorRunsWriteIdenticalBytes) {
  const std::filesystem::path base =
      std::filesystem::temp_directory_path() / ("cornkeeper_paint_" + std::to_string(getpid()));
  for (const char* run : {"a", "b"}) {
    std::filesystem::create_directories(base / run);
    const std::string command =
        CORNKEEPER_BUILD_DIR "/assets/cornkeeper-paint '" + (base / run).string() + "'";
    ASSERT_EQ(std::system((command + " > /dev/null").c_str()), 0);
  }
  for (const PictureFile& f : files()) {
    const std::vector<uint8_t> a = readFile(base / "a" / diskPath(f.name));
    ASSERT_FALSE(a.empty()) << f.name;
    EXPECT_TRUE(a == readFile(base / "b" / diskPath(f.name))) << f.name << " differs between runs";
  }
  EXPECT_TRUE(readFile(base / "a/contact-sheet.png") == readFile(base / "b/contact-sheet.png"));
  std::filesystem::remove_all(base);
}

TEST(PictureComposition, DigitsStayInTheLeftOfTheirCellAndTheDayWordEndsBeforeThem) {
  for (int d = 0; d <= 9; ++d) {
    SCOPED_TRACE(d);
    const DecodedTarga p = load("text_" + std::to_string(d));
    ASSERT_EQ(p.width, 64);
    const Ink ink = inkOf(p);
    ASSERT_TRUE(ink.any());
    // The game steps 32-px digits every 24 px: ink past 68 % of the cell would touch the next digit.
    EXPECT_LT(ink.right, 0.68 * p.width);
    EXPECT_GT(ink.bottom - ink.top, p.height / 2) << "too small to read at 32 px";
  }
  // The day number's first digit cell starts 10 px left of the word picture's right edge, and a
  // digit's ink starts at least 2 px into its cell.
  const DecodedTarga day = load("text_day");
  const Ink word = inkOf(day);
  ASSERT_TRUE(word.any());
  EXPECT_LT(word.right, day.width - 10 + inkOf(load("text_0")).left);
}

TEST(PictureComposition, SettingButtonLabelsEndLeftOfTheNumber) {
  // Label lettering is much lighter than the wooden plate; the game draws the setting's number on
  // buttons 1 and 2 from x 198 of the picture.
  auto labelRight = [](const DecodedTarga& p) {
    int right = -1;
    eachPixel(p, [&](int x, int y) {
      const bool label =
          y >= 14 && y < p.height - 14 && alphaAt(p, x, y) == 255 && luminanceAt(p, x, y) > 0.75;
      if (label) right = std::max(right, x);
    });
    return right;
  };
  for (int b : {1, 2}) {
    const int right = labelRight(load("title_btn" + std::to_string(b)));
    EXPECT_GT(right, 40) << "no label found on button " << b;
    EXPECT_LT(right, 185) << b;
  }
  // The same measure does see a long centred label cross that line.
  EXPECT_GT(labelRight(load("title_btn3")), 185);
}

TEST(PictureComposition, ShadowIsASoftCentredEllipseWiderThanTall) {
  const DecodedTarga s = load("shadow");
  ASSERT_EQ(s.width, 32);
  double sum = 0, sx = 0, sy = 0;
  std::set<int> levels;
  eachPixel(s, [&](int x, int y) {
    const int a = alphaAt(s, x, y);
    sum += a, sx += a * (x + 0.5), sy += a * (y + 0.5);
    levels.insert(a);
  });
  ASSERT_GT(sum, 0);
  EXPECT_NEAR(sx / sum, s.width / 2.0, 0.5);
  EXPECT_NEAR(sy / sum, s.height / 2.0, 0.5);
  const Ink ink = inkOf(s);
  EXPECT_GT(ink.right - ink.left, (ink.bottom - ink.top) * 1.3);
  EXPECT_GT(ink.left, 0) << "the edge fades out before the border";
  EXPECT_GT(ink.top, 0);
  EXPECT_GT(alphaAt(s, 16, 16), 150);
  EXPECT_GT(levels.size(), 12u) << "a soft edge has many alpha levels";
  // Fading outwards from the centre along both axes.
  for (int i = 17; i < 32; ++i) {
    EXPECT_LE(alphaAt(s, i, 16), alphaAt(s, i - 1, 16));
    EXPECT_LE(alphaAt(s, 16, i), alphaAt(s, 16, i - 1));
  }
}

TEST(PictureComposition, PicturesStandOnTheirAnchorPoint) {
  // Stalks' anchor (0, 0.35) puts the base at 50 %, 85 %, and a stalk is tall; bottom-anchored pictures
  // rest on their bottom centre.
  for (const char* name : {"stalk3", "stalk2", "stalk1", "stalk0", "stalk0b", "stalk0c", "stalk0d",
                           "titlecorn", "ministalk", "mumbly"}) {
    SCOPED_TRACE(name);
    const bool stalk = std::string(name).starts_with("stalk");
    const DecodedTarga p = load(name);
    const Ink ink = inkOf(p, 128);
    ASSERT_TRUE(ink.any());
    if (stalk) {
      EXPECT_NEAR(ink.bottom, 0.85 * p.height, 3);
      EXPECT_LT(ink.top, p.height / 4);
    } else {
      EXPECT_GE(ink.bottom, p.height - 4);
    }
    EXPECT_NEAR(rowCentre(p, ink.bottom - 1), p.width / 2.0, stalk ? 4 : p.width / 16.0);
  }
  const DecodedTarga corn = load("corn"), rooster = load("rooster");
  const Ink ear = inkOf(corn, 128);
  EXPECT_GE(ear.bottom, corn.height * 0.9);
  EXPECT_NEAR((ear.left + ear.right) / 2.0, corn.width / 2.0, corn.width / 8.0);
  EXPECT_GE(inkOf(rooster, 128).bottom, rooster.height - 8);
}

TEST(PictureComposition, SpinningPicturesStayInsideTheirCircle) {
  // The sun and the cursor rotate: anything outside the inscribed circle would swing into view cut off.
  for (const char* name : {"sun", "shop_target"}) {
    const DecodedTarga p = load(name);
    const double c = p.width / 2.0;
    int outside = 0;
    eachPixel(p, [&](int x, int y) {
      outside += alphaAt(p, x, y) > 0 && std::hypot(x + 0.5 - c, y + 0.5 - c) > c;
    });
    EXPECT_EQ(outside, 0) << name;
  }
}

TEST(PictureComposition, StretchedAndTiledPicturesJoinSeamlessly) {
  // The breath bar is stretched to any length: no column may differ (no end caps), and it is opaque.
  const DecodedTarga bar = load("breathmeter");
  for (int y = 0; y < bar.height; ++y) {
    for (int x = 1; x < bar.width; ++x) {
      ASSERT_TRUE(std::equal(at(bar, x, y), at(bar, x, y) + 4, at(bar, 0, y)))
          << "column " << x << " row " << y;
    }
  }
  EXPECT_EQ(inkOf(bar, 254).right, bar.width - 1);
  EXPECT_EQ(inkOf(bar, 254).bottom, bar.height - 1);
  // The strut tiles down the screen: its top row continues its bottom row.
  const DecodedTarga strut = load("store_strut");
  const size_t row = static_cast<size_t>(strut.width) * 4;
  EXPECT_TRUE(std::equal(strut.rgba.begin(), strut.rgba.begin() + row, strut.rgba.end() - row));
  EXPECT_EQ(inkOf(strut, 254).left, 0);
  EXPECT_EQ(inkOf(strut, 254).right, strut.width - 1);
}

TEST(PictureComposition, StoreShelfSpotsAreAlikeAndItemsStayInsideTheirRow) {
  // Items stand in cubbies centred at x 84, 252, 420 and y 200, 300, 400 of the store picture; wall
  // shows between the columns of cubbies, at x 168 and 336.
  const DecodedTarga store = load("store");
  const double first = luminanceAt(store, 84, 200);
  for (int x : {84, 252, 420}) {
    for (int y : {200, 300, 400}) {
      EXPECT_NEAR(luminanceAt(store, x, y), first, 0.08) << x << "," << y;
      EXPECT_LT(luminanceAt(store, x, y), luminanceAt(store, x < 300 ? 168 : 336, y) - 0.1) << "not a recess";
    }
  }
  // Items are 128 px tall but their rows are 100 px apart: ink beyond the middle 100 rows would
  // reach into the cubby above or below.
  for (const char* name : {"seed", "fertilizer", "weight", "o", "breath", "lung", "mask", "time", "rocket"}) {
    SCOPED_TRACE(name);
    const Ink ink = inkOf(load(std::string("itm_") + name), 32);
    ASSERT_TRUE(ink.any());
    EXPECT_GE(ink.top, 14);
    EXPECT_LE(ink.bottom, 113);
  }
}

TEST(PictureComposition, ChooserBannerSitsTopLeftInItsCanvasAndLetteringIsDark) {
  const DecodedTarga banner = load("chooser\\banner"), canvas = load("chooser\\banner512");
  ASSERT_EQ(banner.width, 291);
  ASSERT_EQ(canvas.width, 512);
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      if (x < banner.width && y < banner.height) {
        ASSERT_TRUE(std::equal(at(banner, x, y), at(banner, x, y) + 4, at(canvas, x, y))) << x << "," << y;
      } else {
        ASSERT_EQ(alphaAt(canvas, x, y), 0) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(inkOf(banner, 254).left, 0) << "the banner is an opaque picture";
  EXPECT_EQ(inkOf(banner, 254).bottom, banner.height - 1);
  // Chooser lettering is left-aligned, dark and about twenty pixels tall.
  for (const char* name : {"label_mode", "opt_640", "opt_800", "opt_1024", "opt_16", "opt_32", "opt_full"}) {
    SCOPED_TRACE(name);
    const DecodedTarga p = load(std::string("chooser\\") + name);
    const Ink ink = inkOf(p, 128);
    ASSERT_TRUE(ink.any());
    EXPECT_LE(ink.left, 6);
    EXPECT_GE(ink.bottom - ink.top + 1, 13);
    EXPECT_LE(ink.bottom - ink.top + 1, 26);
    double darkest = 1;
    eachPixel(p, [&](int x, int y) {
      if (alphaAt(p, x, y) > 200) darkest = std::min(darkest, luminanceAt(p, x, y));
    });
    EXPECT_LT(darkest, 0.2);
  }
}
