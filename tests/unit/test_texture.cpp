// Image readers and textures: byte order, row order, packets across rows, broken files, real files
// written by other programs, and the upload.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "render/image_readers.h"
#include "render/texture.h"
#include "test_render_images.h"

using namespace testimages;

namespace {

std::vector<Rgba> pixelsOf(const PixelImage& image) {
  std::vector<Rgba> out;
  const int bytes = image.bitsPerPixel / 8;
  for (size_t i = 0; i < image.byteSize(); i += bytes) {
    const uint8_t* p = image.pixels.get() + i;
    out.push_back(Rgba{p[0], p[1], p[2], bytes == 4 ? p[3] : uint8_t{255}});
  }
  return out;
}

bool decodeTarga(const Bytes& file, PixelImage& image) {
  return ImageReaders::decodeTarga32(file.data(), file.size(), image);
}

bool samePixels(const std::vector<Rgba>& a, const std::vector<Rgba>& b, bool withAlpha = true) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].r != b[i].r || a[i].g != b[i].g || a[i].b != b[i].b) return false;
    if (withAlpha && a[i].a != b[i].a) return false;
  }
  return true;
}

// --- targa decoding ---

TEST(TargaDecoding, StoresFileOrderBgraAsRgba) {
  Bytes file = targaHeader(1, 1, 32);
  file.insert(file.end(), {0x00, 10, 20, 30, 40});
  PixelImage image;
  ASSERT_TRUE(decodeTarga(file, image));
  EXPECT_EQ(image.width, 1);
  EXPECT_EQ(image.height, 1);
  EXPECT_EQ(image.bitsPerPixel, 32);
  const uint8_t* p = image.pixels.get();
  EXPECT_EQ(p[0], 30);
  EXPECT_EQ(p[1], 20);
  EXPECT_EQ(p[2], 10);
  EXPECT_EQ(p[3], 40);
}

TEST(TargaDecoding, TwentyFourBitFileThroughThe32BitReaderGivesA24BitImage) {
  Bytes file = targaHeader(2, 1, 24);
  file.insert(file.end(), {0x01, 10, 20, 30, 1, 2, 3});
  PixelImage image;
  ASSERT_TRUE(decodeTarga(file, image));
  EXPECT_EQ(image.bitsPerPixel, 24);
  ASSERT_EQ(image.byteSize(), 6u);
  const std::vector<uint8_t> expected = {30, 20, 10, 3, 2, 1};
  EXPECT_EQ(std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + 6), expected);
}

TEST(TargaDecoding, FirstFileRowBecomesTheBottomRow) {
  const std::vector<Rgba> topFirst = {red, green, blue, yellow, white, black};
  PixelImage image;
  ASSERT_TRUE(decodeTarga(targaFromRows(3, 2, topFirst), image));
  EXPECT_TRUE(samePixels(pixelsOf(image), topFirst));

  PixelImage image24;
  ASSERT_TRUE(decodeTarga(targaFromRows(3, 2, topFirst, 24), image24));
  EXPECT_TRUE(samePixels(pixelsOf(image24), topFirst));
}

TEST(TargaDecoding, RunOf128StartingTenBeforeARowEndFillsTheRowAbove) {
  // 128 wide, 3 high: 118 raw pixels open the bottom row, then a run of 128 takes its last 10 and the
  // first 118 of the middle row, and a run of 10 ends the middle row.
  const Rgba a = {1, 2, 3, 4}, b = {50, 60, 70, 80}, c = {9, 8, 7, 6}, d = {200, 100, 0, 255};
  Bytes file = targaHeader(128, 3, 32);
  appendRaw(file, std::vector<Rgba>(118, a));
  appendRun(file, 128, b);
  appendRun(file, 10, c);
  appendRun(file, 128, d);
  PixelImage image;
  ASSERT_TRUE(decodeTarga(file, image));
  const std::vector<Rgba> px = pixelsOf(image);
  auto at = [&](int x, int row) { return px[static_cast<size_t>(row * 128 + x)]; };
  for (int x = 0; x < 128; ++x) {
    const Rgba bottom = at(x, 2), middle = at(x, 1), top = at(x, 0);
    const Rgba wantBottom = x < 118 ? a : b;
    const Rgba wantMiddle = x < 118 ? b : c;
    ASSERT_TRUE(samePixels({bottom, middle, top}, {wantBottom, wantMiddle, d})) << "column " << x;
  }

  PixelImage image24;
  Bytes file24 = targaHeader(128, 2, 24);
  appendRaw(file24, std::vector<Rgba>(118, a), 24);
  appendRun(file24, 128, b, 24);
  appendRun(file24, 10, c, 24);
  ASSERT_TRUE(decodeTarga(file24, image24));
  const std::vector<Rgba> px24 = pixelsOf(image24);
  EXPECT_TRUE(
      samePixels({px24[128 + 117], px24[128 + 118], px24[0], px24[117], px24[118]}, {a, b, b, b, c}, false));
}

TEST(TargaDecoding, RawPacketAcrossARowAndPacketsPastTheEnd) {
  // 2 x 2: one raw packet of 3 crosses from the bottom row into the top; a run of 128 covers the
  // single pixel left and stops there; trailing bytes (a footer) are ignored.
  Bytes file = targaHeader(2, 2, 32);
  appendRaw(file, {red, green, blue});
  appendRun(file, 128, yellow);
  file.insert(file.end(), {'T', 'R', 'U', 'E', 'V', 'I', 'S', 'I', 'O', 'N'});
  PixelImage image;
  ASSERT_TRUE(decodeTarga(file, image));
  EXPECT_TRUE(samePixels(pixelsOf(image), {blue, yellow, red, green}));

  // A raw packet longer than what is left needs only the bytes of the pixels that fit.
  Bytes rawPast = targaHeader(1, 1, 32);
  rawPast.push_back(0x05);
  rawPast.insert(rawPast.end(), {1, 2, 3, 4});
  PixelImage one;
  ASSERT_TRUE(decodeTarga(rawPast, one));
  EXPECT_TRUE(samePixels(pixelsOf(one), {{3, 2, 1, 4}}));
}

TEST(TargaDecoding, ImageIdAndColourMapAreSkipped) {
  Bytes file = targaHeader(1, 1, 32);
  file[0] = 3;   // image ID length
  file[1] = 1;   // a colour map is present
  file[5] = 2;   // of two entries
  file[7] = 24;  // of three bytes each
  file.insert(file.end(), {'a', 'b', 'c'});
  file.insert(file.end(), {9, 9, 9, 9, 9, 9});
  appendRun(file, 1, {11, 22, 33, 44});
  PixelImage image;
  ASSERT_TRUE(decodeTarga(file, image));
  EXPECT_TRUE(samePixels(pixelsOf(image), {{11, 22, 33, 44}}));
}

TEST(TargaDecoding, LargestAcceptedSide) {
  PixelImage wide;
  ASSERT_TRUE(decodeTarga(solidTarga(ImageReaders::maxSide, 1, red), wide));
  EXPECT_EQ(wide.width, ImageReaders::maxSide);
  PixelImage tooWide;
  EXPECT_FALSE(decodeTarga(solidTarga(ImageReaders::maxSide + 1, 1, red), tooWide));
  PixelImage tooHigh;
  EXPECT_FALSE(decodeTarga(solidTarga(1, ImageReaders::maxSide + 1, red, 24), tooHigh));
}

// --- broken targa files: refused, image left as it was ---

TEST(TargaBroken, RefusedKindsAndSizes) {
  struct Case {
    const char* what;
    Bytes file;
  };
  Bytes uncompressed = targaHeader(1, 1, 32, 2);
  uncompressed.insert(uncompressed.end(), {1, 2, 3, 4});
  Bytes depth16 = targaHeader(1, 1, 16);
  depth16.insert(depth16.end(), {0x80, 1, 2});
  Bytes idPastEnd = solidTarga(1, 1, red);
  idPastEnd[0] = 200;
  const Bytes whole = solidTarga(1, 1, red);
  Bytes hugeClaim = targaHeader(65535, 65535, 32);
  for (int i = 0; i < 64; ++i) appendRun(hugeClaim, 128, red);
  const Case cases[] = {
      {"empty", {}},
      {"header cut short", Bytes(whole.begin(), whole.begin() + 17)},
      {"uncompressed type 2", uncompressed},
      {"16 bits per pixel", depth16},
      {"zero width", solidTarga(0, 4, red)},
      {"zero height", solidTarga(4, 0, red)},
      {"largest 16-bit sides", hugeClaim},
      {"image ID running past the end", idPastEnd},
  };
  for (const Case& c : cases) {
    PixelImage image;
    EXPECT_FALSE(ImageReaders::decodeTarga32(c.file.data(), c.file.size(), image)) << c.what;
    EXPECT_TRUE(image.pixels == nullptr) << c.what;
    EXPECT_EQ(image.width, 0) << c.what;
  }
  PixelImage none;
  EXPECT_FALSE(ImageReaders::decodeTarga32(nullptr, 0, none));
}

TEST(TargaBroken, FileEndingEarlyFailsWherever) {
  Bytes file = targaHeader(3, 3, 32);
  appendRaw(file, {red, green, blue, yellow});
  appendRun(file, 5, white);
  for (size_t cut = 18; cut < file.size(); ++cut) {
    PixelImage image;
    EXPECT_FALSE(ImageReaders::decodeTarga32(file.data(), cut, image)) << "cut at " << cut;
  }
  PixelImage whole;
  EXPECT_TRUE(ImageReaders::decodeTarga32(file.data(), file.size(), whole));

  // A huge picture claimed by a few bytes.
  Bytes huge = targaHeader(8192, 8192, 32);
  appendRun(huge, 128, red);
  PixelImage image;
  EXPECT_FALSE(ImageReaders::decodeTarga32(huge.data(), huge.size(), image));
}

TEST(TargaBroken, The24BitReaderRefuses32BitFiles) {
  const Bytes file = solidTarga(2, 2, red, 32);
  PixelImage image;
  EXPECT_FALSE(ImageReaders::decodeTarga24(file.data(), file.size(), image));
  const Bytes file24 = solidTarga(2, 2, red, 24);
  EXPECT_TRUE(ImageReaders::decodeTarga24(file24.data(), file24.size(), image));
}

TEST(TargaBroken, AFailedDecodeKeepsTheImageItWasGiven) {
  PixelImage image;
  ASSERT_TRUE(decodeTarga(solidTarga(2, 1, green), image));
  Bytes truncated = solidTarga(4, 4, red);
  truncated.pop_back();
  EXPECT_FALSE(decodeTarga(truncated, image));
  EXPECT_EQ(image.width, 2);
  EXPECT_TRUE(samePixels(pixelsOf(image), {green, green}));
}

// --- bitmaps ---

TEST(BitmapDecoding, BottomUpRowsWithPadding) {
  // Width 3: 9 bytes of pixels, 3 of padding in every file row.
  const std::vector<Rgba> topFirst = {red, green, blue, yellow, white, {10, 20, 30, 255}};
  const Bytes file = bitmapFromRows(3, 2, topFirst);
  PixelImage image;
  ASSERT_TRUE(ImageReaders::decodeBitmap(file.data(), file.size(), image));
  EXPECT_EQ(image.bitsPerPixel, 24);
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_TRUE(samePixels(pixelsOf(image), topFirst, false));
}

TEST(BitmapDecoding, NegativeHeightMeansTopDownRows) {
  const std::vector<Rgba> topFirst = {red, green, blue, yellow, white, black, {1, 2, 3, 255}, {4, 5, 6, 255}};
  const Bytes file = bitmapFromRows(2, 4, topFirst, true);
  PixelImage image;
  ASSERT_TRUE(ImageReaders::decodeBitmap(file.data(), file.size(), image));
  EXPECT_EQ(image.height, 4);
  EXPECT_TRUE(samePixels(pixelsOf(image), topFirst, false));
}

TEST(BitmapDecoding, MissingPaddingOnTheLastRowIsAccepted) {
  const std::vector<Rgba> topFirst = {red, green, blue, yellow};
  Bytes file = bitmapFromRows(1, 4, topFirst);
  file.resize(file.size() - 1);
  PixelImage image;
  ASSERT_TRUE(ImageReaders::decodeBitmap(file.data(), file.size(), image));
  EXPECT_TRUE(samePixels(pixelsOf(image), topFirst, false));
}

TEST(BitmapBroken, RefusedHeadersAndShortFiles) {
  const std::vector<Rgba> four(4, red);
  const Bytes good = bitmapFromRows(2, 2, four);
  auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) {
    Bytes file = good;
    size_t i = at;
    for (uint8_t b : bytes) file[i++] = b;
    return file;
  };
  struct Case {
    const char* what;
    Bytes file;
  };
  const Case cases[] = {
      {"headers cut short", Bytes(good.begin(), good.begin() + 53)},
      {"last row missing", Bytes(good.begin(), good.end() - 6)},
      {"32 bits per pixel", with(28, {32, 0})},
      {"8 bits per pixel", with(28, {8, 0})},
      {"compressed", with(30, {1, 0, 0, 0})},
      {"zero width", with(18, {0, 0, 0, 0})},
      {"negative width", with(18, {0xFE, 0xFF, 0xFF, 0xFF})},
      {"zero height", with(22, {0, 0, 0, 0})},
      {"most negative height", with(22, {0x00, 0x00, 0x00, 0x80})},
      {"width over the cap", with(18, {0x01, 0x20, 0, 0})},
      {"height over the cap", with(22, {0x01, 0x20, 0, 0})},
      {"pixels said to start past the end", with(10, {0xFF, 0xFF, 0, 0})},
      {"pixels said to start inside the headers", with(10, {20, 0, 0, 0})},
      {"information header too small", with(14, {12, 0, 0, 0})},
  };
  for (const Case& c : cases) {
    PixelImage image;
    EXPECT_FALSE(ImageReaders::decodeBitmap(c.file.data(), c.file.size(), image)) << c.what;
    EXPECT_TRUE(image.pixels == nullptr) << c.what;
  }
  PixelImage image;
  EXPECT_TRUE(ImageReaders::decodeBitmap(good.data(), good.size(), image));
}

// --- reading through Texture: the file name picks the reader ---

class TextureFiles : public testing::Test {
 protected:
  ScratchFolder folder;
};

TEST_F(TextureFiles, ExtensionComparedWithoutCaseAndNameLengthChecked) {
  ASSERT_TRUE(folder.ok());
  const Bytes targa = solidTarga(2, 2, red);
  writeFile("graphics/STALK0.TGA", targa);
  writeFile("x.tga", targa);
  writeFile("xtga", targa);
  writeFile("x_tga", targa);
  writeFile("x.png", targa);
  writeFile("x.BmP", bitmapFromRows(1, 1, {blue}));

  struct Case {
    const char* name;
    bool reads;
  };
  const Case cases[] = {
      {"graphics\\STALK0.TGA", true},
      {"x.tga", true},
      {"xtga", false},
      {"x_tga", true},
      {"x.png", false},
      {"x.BmP", true},
      {"missing.tga", false},
      {"", false},
  };
  for (const Case& c : cases) {
    Texture texture;
    EXPECT_EQ(texture.readImageFile(c.name), c.reads) << c.name;
    EXPECT_EQ(texture.pixels() != nullptr, c.reads) << c.name;
  }
  Texture none;
  EXPECT_FALSE(none.readImageFile(nullptr));

  Texture bitmap;
  ASSERT_TRUE(bitmap.readImageFile("x.BmP"));
  EXPECT_EQ(bitmap.bitsPerPixel(), 24);
  EXPECT_EQ(bitmap.pixels()[2], 255);  // blue
}

TEST_F(TextureFiles, TwentyFourBitTargaByNameYields24Bits) {
  ASSERT_TRUE(folder.ok());
  writeFile("graphics/flat.tga", solidTarga(3, 1, {7, 8, 9, 255}, 24));
  Texture texture;
  ASSERT_TRUE(texture.readTarga32("graphics\\flat.tga"));
  EXPECT_EQ(texture.bitsPerPixel(), 24);
  EXPECT_EQ(texture.width(), 3);
  EXPECT_EQ(texture.pixels()[0], 7);
  EXPECT_EQ(texture.pixels()[8], 9);
}

TEST_F(TextureFiles, AFailedReadLeavesNoImage) {
  ASSERT_TRUE(folder.ok());
  writeFile("good.tga", solidTarga(2, 2, red));
  Bytes broken = solidTarga(2, 2, red);
  broken.resize(20);
  writeFile("broken.tga", broken);
  Texture texture;
  ASSERT_TRUE(texture.readImageFile("good.tga"));
  EXPECT_FALSE(texture.readImageFile("broken.tga"));
  EXPECT_EQ(texture.pixels(), nullptr);
  EXPECT_EQ(texture.width(), 0);
  EXPECT_EQ(texture.height(), 0);
}

// --- upload ---

TEST_F(TextureFiles, UploadKeepsTightRowsAndLinearFilters) {
  ASSERT_TRUE(folder.ok());
  // 3 x 2 at 24 bits: rows of 9 bytes, which a 4-byte unpack alignment would skew.
  const std::vector<Rgba> topFirst = {red, green, blue, yellow, white, {10, 20, 30, 255}};
  writeFile("odd.tga", targaFromRows(3, 2, topFirst, 24));
  Texture texture("odd.tga");
  ASSERT_TRUE(texture.uploaded());
  ASSERT_NE(texture.pixels(), nullptr);

  texture.bind();
  GLint width = 0, height = 0, minFilter = 0, magFilter = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);
  EXPECT_EQ(minFilter, GL_LINEAR);
  EXPECT_EQ(magFilter, GL_LINEAR);

  std::vector<uint8_t> back(18, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  EXPECT_EQ(back, std::vector<uint8_t>(texture.pixels(), texture.pixels() + 18));

  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4) << "the upload leaves the unpack alignment as it found it";
}

TEST_F(TextureFiles, AFileThatFailsUploadsOneTransparentTexel) {
  ASSERT_TRUE(folder.ok());
  Texture texture("nothing-here.tga");
  EXPECT_TRUE(texture.uploaded());
  EXPECT_EQ(texture.pixels(), nullptr);
  texture.bind();
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 1);
  uint8_t texel[4] = {1, 1, 1, 1};
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  EXPECT_EQ(texel[3], 0);
}

TEST_F(TextureFiles, ReleaseDeletesTheGlTexture) {
  ASSERT_TRUE(folder.ok());
  writeFile("a.tga", solidTarga(2, 2, red));
  Texture texture("a.tga");
  const GLuint name = texture.name();
  ASSERT_TRUE(glIsTexture(name));
  texture.release();
  EXPECT_FALSE(texture.uploaded());
  EXPECT_EQ(texture.pixels(), nullptr);
  EXPECT_FALSE(glIsTexture(name));
  texture.release();  // a second release does nothing
}

// --- real files written by other programs ---

std::string testdata(const char* name) {
  return std::string(CORNKEEPER_TESTDATA_DIR) + "/tga/" + name;
}

// A PNG decoded by libpng, top row first.
bool readPng(const std::string& path, bool alpha, std::vector<Rgba>& out, int& width, int& height) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr)) return false;
  width = static_cast<int>(png.width);
  height = static_cast<int>(png.height);
  out.clear();
  for (size_t i = 0; i < bytes.size(); i += 4) {
    out.push_back(Rgba{bytes[i], bytes[i + 1], bytes[i + 2], alpha ? bytes[i + 3] : uint8_t{255}});
  }
  return true;
}

TEST(RealTargaFiles, TwoHundredByThirtyTwoMatchTheirPngReferences) {
  struct Case {
    const char* targa;
    const char* png;
    int bits;
  };
  const Case cases[] = {{"200x32_rgb_bl_rle.tga", "200x32_rgb.png", 24},
                        {"200x32_rgba_bl_rle.tga", "200x32_rgba.png", 32}};
  for (const Case& c : cases) {
    const Bytes file = readFile(testdata(c.targa));
    ASSERT_FALSE(file.empty()) << c.targa;
    PixelImage image;
    ASSERT_TRUE(decodeTarga(file, image)) << c.targa;
    EXPECT_EQ(image.bitsPerPixel, c.bits);
    std::vector<Rgba> reference;
    int width = 0, height = 0;
    ASSERT_TRUE(readPng(testdata(c.png), c.bits == 32, reference, width, height)) << c.png;
    EXPECT_EQ(image.width, width);
    EXPECT_EQ(image.height, height);
    EXPECT_TRUE(samePixels(pixelsOf(image), reference)) << c.targa;
  }
}

TEST(RealTargaFiles, MixedPacketsFromAnotherWriterDecode) {
  const Bytes file = readFile(testdata("rgb32rle.tga"));
  ASSERT_FALSE(file.empty());
  PixelImage image;
  ASSERT_TRUE(decodeTarga(file, image));
  EXPECT_EQ(image.width, 199);
  EXPECT_EQ(image.height, 199);
  EXPECT_EQ(image.bitsPerPixel, 32);
}

// --- files that ImageMagick writes, compared with ImageMagick's own decoding ---

int runCommand(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str());
}

// ImageMagick's decoding as raw RGBA bytes, top row first in its own view.
bool imageMagickDecode(const std::string& path, std::vector<Rgba>& out) {
  const std::string raw = path + ".rgba";
  if (runCommand("convert '" + path + "' -depth 8 rgba:'" + raw + "'") != 0) return false;
  const Bytes bytes = readFile(raw);
  out.clear();
  for (size_t i = 0; i + 3 < bytes.size(); i += 4)
    out.push_back(Rgba{bytes[i], bytes[i + 1], bytes[i + 2], bytes[i + 3]});
  return !out.empty();
}

std::vector<Rgba> flipRows(const std::vector<Rgba>& pixels, int width, int height) {
  std::vector<Rgba> flipped;
  for (int row = height - 1; row >= 0; --row) {
    flipped.insert(flipped.end(), pixels.begin() + row * width, pixels.begin() + (row + 1) * width);
  }
  return flipped;
}

class ImageMagickTarga : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok());
    ASSERT_EQ(runCommand("convert -version"), 0) << "ImageMagick's convert is needed";
    // Some ImageMagick releases put a targa file's first row at the top whatever its origin bit says.
    // Learn which way this one reads from a bottom-up file whose true picture is known.
    std::vector<Rgba> magick, reference;
    int width = 0, height = 0;
    ASSERT_TRUE(imageMagickDecode(testdata("200x32_rgba_bl_rle.tga"), magick));
    ASSERT_TRUE(readPng(testdata("200x32_rgba.png"), true, reference, width, height));
    if (samePixels(magick, reference)) {
      magickReversesRows = false;
    } else {
      ASSERT_TRUE(samePixels(flipRows(magick, width, height), reference));
      magickReversesRows = true;
    }
  }

  // A picture with long runs (crossing the row ends in the source) and noisy stretches.
  static std::vector<Rgba> pattern(int width, int height, bool alpha) {
    std::vector<Rgba> pixels;
    uint32_t state = 12345;
    for (int i = 0; i < width * height; ++i) {
      state = state * 1103515245u + 12345u;
      const bool band = (i / 50) % 3 == 0;
      const uint8_t noise = static_cast<uint8_t>(state >> 16);
      pixels.push_back(band ? Rgba{40, 90, 200, static_cast<uint8_t>(alpha ? 128 : 255)}
                            : Rgba{noise, static_cast<uint8_t>(i), static_cast<uint8_t>(noise ^ 0x5A),
                                   static_cast<uint8_t>(alpha ? noise : 255)});
    }
    return pixels;
  }

  void checkAgainstImageMagick(int width, int height, bool alpha) {
    const std::vector<Rgba> source = pattern(width, height, alpha);
    Bytes raw;
    for (const Rgba& p : source) raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
    writeFile("source.rgba", raw);
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    ASSERT_EQ(runCommand("convert -size " + size + " -depth 8 rgba:source.rgba " +
                         (alpha ? "" : "-alpha off ") + "-compress RLE written.tga"),
              0);
    const Bytes file = readFile("written.tga");
    ASSERT_GT(file.size(), 18u);
    ASSERT_EQ(file[2], 10) << "ImageMagick wrote a run-length file";
    ASSERT_EQ(file[16], alpha ? 32 : 24);

    Texture texture;
    ASSERT_TRUE(texture.readImageFile("written.tga")) << size;
    ASSERT_EQ(texture.width(), width);
    ASSERT_EQ(texture.height(), height);
    ASSERT_EQ(texture.bitsPerPixel(), alpha ? 32 : 24);
    PixelImage ours;
    ours.width = width;
    ours.height = height;
    ours.bitsPerPixel = texture.bitsPerPixel();
    ours.pixels.reset(new uint8_t[ours.byteSize()]);
    std::copy(texture.pixels(), texture.pixels() + ours.byteSize(), ours.pixels.get());

    std::vector<Rgba> magick;
    ASSERT_TRUE(imageMagickDecode("written.tga", magick));
    if (magickReversesRows) magick = flipRows(magick, width, height);
    EXPECT_TRUE(samePixels(pixelsOf(ours), magick, alpha))
        << size << (alpha ? " with alpha" : " without alpha");
  }

  ScratchFolder folder;
  bool magickReversesRows = false;
};

TEST_F(ImageMagickTarga, OddSizes32Bit) {
  checkAgainstImageMagick(37, 23, true);
  checkAgainstImageMagick(1, 1, true);
  checkAgainstImageMagick(131, 5, true);  // rows longer than one packet
}

TEST_F(ImageMagickTarga, OddSizes24Bit) {
  checkAgainstImageMagick(37, 23, false);
  checkAgainstImageMagick(257, 3, false);
}

}  // namespace
