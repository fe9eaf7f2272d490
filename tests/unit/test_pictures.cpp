// The generated pictures: every listed file exists with its size and reads in the game, nothing is left
// over, two runs give the same bytes, and the compositions the game relies on hold on the pixels.
// Runs in the build folder, where the build has painted graphics/.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "../../assets/pictures/picture_list.h"
#include "../../assets/pictures/targa_codec.h"
#include "render/texture.h"

using pictures::allPictureFiles;
using pictures::DecodedTarga;
using pictures::diskPath;
using pictures::PictureFile;
using pictures::PictureGroup;

namespace {

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

DecodedTarga load(const std::string& name) {
  const std::vector<uint8_t> bytes = readBytes(diskPath(name));
  auto decoded = pictures::decodeTarga(bytes.data(), bytes.size());
  return decoded ? *decoded : DecodedTarga{};
}

int alphaAt(const DecodedTarga& p, int x, int y) {
  return p.rgba[(static_cast<size_t>(y) * p.width + x) * 4 + 3];
}

double luminanceAt(const DecodedTarga& p, int x, int y) {
  const uint8_t* q = &p.rgba[(static_cast<size_t>(y) * p.width + x) * 4];
  return (0.299 * q[0] + 0.587 * q[1] + 0.114 * q[2]) / 255.0;
}

struct Ink {
  int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
  bool any() const { return right >= 0; }
};

Ink inkOf(const DecodedTarga& p, int alphaAbove = 0) {
  Ink ink;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      if (alphaAt(p, x, y) > alphaAbove) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
      }
    }
  }
  return ink;
}

// Mean x of the solid pixels of one row.
double rowCentre(const DecodedTarga& p, int y) {
  double sum = 0;
  int n = 0;
  for (int x = 0; x < p.width; ++x) {
    if (alphaAt(p, x, y) > 128) {
      sum += x;
      ++n;
    }
  }
  return n ? sum / n : -1;
}

const std::vector<PictureFile>& files() {
  static const std::vector<PictureFile> list = allPictureFiles();
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
  for (const char* name : {"graphics\\scarecrow\\Sca20002.tga", "graphics\\crow\\cro30013.tga",
                           "graphics\\pelican\\pel70014.tga", "graphics\\cow\\cow30007.tga",
                           "graphics\\text_9.tga", "graphics\\itm_rocket.tga", "graphics\\stalk0d.tga"}) {
    EXPECT_TRUE(names.count(name)) << name;
  }
}

TEST(Pictures, EveryListedFileIsATypeTenTargaOfItsSizeThatTheGameReads) {
  for (const PictureFile& f : files()) {
    SCOPED_TRACE(f.name);
    const std::vector<uint8_t> bytes = readBytes(diskPath(f.name));
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
    if (f.group != PictureGroup::Creature) {
      EXPECT_TRUE(inkOf(*ours).any());
    }
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
  const std::filesystem::path first = base / "a", second = base / "b";
  std::filesystem::create_directories(first);
  std::filesystem::create_directories(second);
  const std::string painter = CORNKEEPER_BUILD_DIR "/assets/cornkeeper-paint";
  ASSERT_EQ(std::system((painter + " '" + first.string() + "' > /dev/null").c_str()), 0);
  ASSERT_EQ(std::system((painter + " '" + second.string() + "' > /dev/null").c_str()), 0);
  for (const PictureFile& f : files()) {
    const std::vector<uint8_t> a = readBytes(first / diskPath(f.name));
    ASSERT_FALSE(a.empty()) << f.name;
    EXPECT_TRUE(a == readBytes(second / diskPath(f.name))) << f.name << " differs between runs";
  }
  EXPECT_TRUE(readBytes(first / "contact-sheet.png") == readBytes(second / "contact-sheet.png"));
  std::filesystem::remove_all(base);
}

TEST(PictureComposition, DigitsStayInTheLeftOfTheirCellAndTheDayWordEndsBeforeThem) {
  for (int d = 0; d <= 9; ++d) {
    SCOPED_TRACE(d);
    const DecodedTarga p = load("graphics\\text_" + std::to_string(d) + ".tga");
    ASSERT_EQ(p.width, 64);
    const Ink ink = inkOf(p);
    ASSERT_TRUE(ink.any());
    // The game steps 32-px digits every 24 px: ink past 68 % of the cell would touch the next digit.
    EXPECT_LT(ink.right, 0.68 * p.width);
    EXPECT_GE(ink.left, 0);
    EXPECT_GT(ink.bottom - ink.top, p.height / 2) << "too small to read at 32 px";
  }
  // The day number's first digit cell starts 10 px left of the word picture's right edge, and a
  // digit's ink starts at least 2 px into its cell.
  const DecodedTarga day = load("graphics\\text_day.tga");
  const Ink word = inkOf(day);
  ASSERT_TRUE(word.any());
  EXPECT_LT(word.right, day.width - 10 + inkOf(load("graphics\\text_0.tga")).left);
}

TEST(PictureComposition, SettingButtonLabelsEndLeftOfTheNumber) {
  // Label lettering is much lighter than the wooden plate; the game draws the setting's number on
  // buttons 1 and 2 from x 198 of the picture.
  auto labelRight = [](const DecodedTarga& p) {
    int right = -1;
    for (int y = 14; y < p.height - 14; ++y) {
      for (int x = 0; x < p.width; ++x) {
        if (alphaAt(p, x, y) == 255 && luminanceAt(p, x, y) > 0.75) right = std::max(right, x);
      }
    }
    return right;
  };
  for (int b : {1, 2}) {
    SCOPED_TRACE(b);
    const int right = labelRight(load("graphics\\title_btn" + std::to_string(b) + ".tga"));
    EXPECT_GT(right, 40) << "no label found";
    EXPECT_LT(right, 185);
  }
  // The same measure does see a long centred label cross that line.
  EXPECT_GT(labelRight(load("graphics\\title_btn3.tga")), 185);
}

TEST(PictureComposition, ShadowIsASoftCentredEllipseWiderThanTall) {
  const DecodedTarga s = load("graphics\\shadow.tga");
  ASSERT_EQ(s.width, 32);
  double sum = 0, sx = 0, sy = 0;
  std::set<int> levels;
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      const int a = alphaAt(s, x, y);
      sum += a;
      sx += a * (x + 0.5);
      sy += a * (y + 0.5);
      levels.insert(a);
    }
  }
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
  for (int x = 17; x < s.width; ++x) EXPECT_LE(alphaAt(s, x, 16), alphaAt(s, x - 1, 16));
  for (int y = 17; y < s.height; ++y) EXPECT_LE(alphaAt(s, 16, y), alphaAt(s, 16, y - 1));
}

TEST(PictureComposition, PicturesStandOnTheirAnchorPoint) {
  // Stalks' anchor (0, 0.35): the base at 50 %, 85 %, and a stalk is tall.
  for (const char* name :
       {"graphics\\stalk3.tga", "graphics\\stalk2.tga", "graphics\\stalk1.tga", "graphics\\stalk0.tga",
        "graphics\\stalk0b.tga", "graphics\\stalk0c.tga", "graphics\\stalk0d.tga"}) {
    SCOPED_TRACE(name);
    const DecodedTarga p = load(name);
    const Ink ink = inkOf(p, 128);
    ASSERT_TRUE(ink.any());
    EXPECT_NEAR(ink.bottom, 0.85 * p.height, 3);
    EXPECT_NEAR(rowCentre(p, ink.bottom - 1), p.width / 2.0, 4);
    EXPECT_LT(ink.top, p.height / 4);
  }
  // Bottom-anchored pictures rest on their bottom centre.
  for (const char* name : {"graphics\\titlecorn.tga", "graphics\\ministalk.tga", "graphics\\mumbly.tga"}) {
    SCOPED_TRACE(name);
    const DecodedTarga p = load(name);
    const Ink ink = inkOf(p, 128);
    ASSERT_TRUE(ink.any());
    EXPECT_GE(ink.bottom, p.height - 4);
    EXPECT_NEAR(rowCentre(p, ink.bottom - 1), p.width / 2.0, p.width / 16.0);
  }
  const DecodedTarga corn = load("graphics\\corn.tga"), rooster = load("graphics\\rooster.tga");
  const Ink ear = inkOf(corn, 128);
  EXPECT_GE(ear.bottom, corn.height * 0.9);
  EXPECT_NEAR((ear.left + ear.right) / 2.0, corn.width / 2.0, corn.width / 8.0);
  EXPECT_GE(inkOf(rooster, 128).bottom, rooster.height - 8);
}

TEST(PictureComposition, SpinningPicturesStayInsideTheirCircle) {
  // The sun and the cursor rotate: anything outside the inscribed circle would swing into view cut off.
  for (const char* name : {"graphics\\sun.tga", "graphics\\shop_target.tga"}) {
    SCOPED_TRACE(name);
    const DecodedTarga p = load(name);
    const double c = p.width / 2.0;
    int outside = 0;
    for (int y = 0; y < p.height; ++y) {
      for (int x = 0; x < p.width; ++x) {
        if (alphaAt(p, x, y) > 0 && std::hypot(x + 0.5 - c, y + 0.5 - c) > c) ++outside;
      }
    }
    EXPECT_EQ(outside, 0);
  }
}

TEST(PictureComposition, StretchedAndTiledPicturesJoinSeamlessly) {
  // The breath bar is stretched to any length: no column may differ (no end caps), and it is opaque.
  const DecodedTarga bar = load("graphics\\breathmeter.tga");
  for (int y = 0; y < bar.height; ++y) {
    for (int x = 1; x < bar.width; ++x) {
      ASSERT_TRUE(std::equal(&bar.rgba[(y * bar.width + x) * 4], &bar.rgba[(y * bar.width + x) * 4 + 4],
                             &bar.rgba[(y * bar.width) * 4]))
          << "column " << x << " row " << y;
    }
  }
  EXPECT_EQ(inkOf(bar, 254).right, bar.width - 1);
  EXPECT_EQ(inkOf(bar, 254).bottom, bar.height - 1);
  // The strut tiles down the screen: its top row continues its bottom row.
  const DecodedTarga strut = load("graphics\\store_strut.tga");
  const size_t row = static_cast<size_t>(strut.width) * 4;
  EXPECT_TRUE(std::equal(strut.rgba.begin(), strut.rgba.begin() + row, strut.rgba.end() - row));
  EXPECT_EQ(inkOf(strut, 254).left, 0);
  EXPECT_EQ(inkOf(strut, 254).right, strut.width - 1);
}

TEST(PictureComposition, StoreShelfSpotsAreAlikeAndItemsStayInsideTheirRow) {
  // Items stand in cubbies centred at x 84, 252, 420 and y 200, 300, 400 of the store picture.
  const DecodedTarga store = load("graphics\\store.tga");
  // Wall shows between the columns of cubbies, at x 168 and 336.
  const double first = luminanceAt(store, 84, 200);
  for (int x : {84, 252, 420}) {
    const int wallX = x < 300 ? 168 : 336;
    for (int y : {200, 300, 400}) {
      EXPECT_NEAR(luminanceAt(store, x, y), first, 0.08) << x << "," << y;
      EXPECT_LT(luminanceAt(store, x, y), luminanceAt(store, wallX, y) - 0.1) << "the cubby is a recess";
    }
  }
  // Items are 128 px tall but their rows are 100 px apart: ink beyond the middle 100 rows would
  // reach into the cubby above or below.
  for (const char* name :
       {"graphics\\itm_seed.tga", "graphics\\itm_fertilizer.tga", "graphics\\itm_weight.tga",
        "graphics\\itm_o.tga", "graphics\\itm_breath.tga", "graphics\\itm_lung.tga", "graphics\\itm_mask.tga",
        "graphics\\itm_time.tga", "graphics\\itm_rocket.tga"}) {
    SCOPED_TRACE(name);
    const DecodedTarga p = load(name);
    const Ink ink = inkOf(p, 32);
    ASSERT_TRUE(ink.any());
    EXPECT_GE(ink.top, 14);
    EXPECT_LE(ink.bottom, 113);
  }
}

TEST(PictureComposition, ChooserBannerSitsTopLeftInItsCanvasAndLetteringIsDark) {
  const DecodedTarga banner = load("graphics\\chooser\\banner.tga");
  const DecodedTarga canvas = load("graphics\\chooser\\banner512.tga");
  ASSERT_EQ(banner.width, 291);
  ASSERT_EQ(canvas.width, 512);
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      const uint8_t* c = &canvas.rgba[(static_cast<size_t>(y) * canvas.width + x) * 4];
      if (x < banner.width && y < banner.height) {
        const uint8_t* b = &banner.rgba[(static_cast<size_t>(y) * banner.width + x) * 4];
        ASSERT_TRUE(std::equal(b, b + 4, c)) << x << "," << y;
      } else {
        ASSERT_EQ(c[3], 0) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(inkOf(banner, 254).left, 0) << "the banner is an opaque picture";
  EXPECT_EQ(inkOf(banner, 254).bottom, banner.height - 1);
  // Chooser lettering is left-aligned, dark and about twenty pixels tall.
  for (const char* name :
       {"graphics\\chooser\\label_mode.tga", "graphics\\chooser\\opt_640.tga",
        "graphics\\chooser\\opt_800.tga", "graphics\\chooser\\opt_1024.tga", "graphics\\chooser\\opt_16.tga",
        "graphics\\chooser\\opt_32.tga", "graphics\\chooser\\opt_full.tga"}) {
    SCOPED_TRACE(name);
    const DecodedTarga p = load(name);
    const Ink ink = inkOf(p, 128);
    ASSERT_TRUE(ink.any());
    EXPECT_LE(ink.left, 6);
    EXPECT_GE(ink.bottom - ink.top + 1, 13);
    EXPECT_LE(ink.bottom - ink.top + 1, 26);
    double darkest = 1;
    for (int y = ink.top; y <= ink.bottom; ++y) {
      for (int x = ink.left; x <= ink.right; ++x) {
        if (alphaAt(p, x, y) > 200) darkest = std::min(darkest, luminanceAt(p, x, y));
      }
    }
    EXPECT_LT(darkest, 0.2);
  }
}
