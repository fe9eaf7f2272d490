// Image readers and textures: byte order, row order, packets across rows, broken files, real files
// written by other programs, and the upload.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "render/image_readers.h"
#include "render/texture.h"
#include "test_render_images.h"

using namespace testimages;

namespace {

std::vector<Rgba> pixelsOf(const uint8_t* pixels, size_t size, int bitsPerPixel) {
  std::vector<Rgba> out;
  const int bytes = bitsPerPixel / 8;
  for (const uint8_t* p = pixels; p < pixels + size; p += bytes) {
    out.push_back(Rgba{p[0], p[1], p[2], bytes == 4 ? p[3] : uint8_t{255}});
  }
  return out;
}

std::vector<Rgba> pixelsOf(const PixelImage& image) {
  return pixelsOf(image.pixels.get(), image.byteSize(), image.bitsPerPixel);
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

Bytes withBytes(Bytes file, std::initializer_list<uint8_t> bytes) {
  file.insert(file.end(), bytes);
  return file;
}

// --- targa decoding ---

TEST(TargaDecoding, ByteOrderRowOrderPacketsAndSkippedFields) {
  const std::vector<Rgba> topFirst = {red, green, blue, yellow, white, black};
  // 2 x 2: one raw packet of 3 crosses from the bottom row into the top; a run of 128 covers the
  // single pixel left and stops there; trailing bytes (a footer) are ignored.
  Bytes across = targaHeader(2, 2, 32);
  appendRaw(across, {red, green, blue});
  appendRun(across, 128, yellow);
  across.insert(across.end(), {'T', 'R', 'U', 'E', 'V', 'I', 'S', 'I', 'O', 'N'});
  Bytes idAndMap = targaHeader(1, 1, 32);
  idAndMap[0] = 3;   // image ID length
  idAndMap[1] = 1;   // a colour map is present
  idAndMap[5] = 2;   // of two entries
  idAndMap[7] = 24;  // of three bytes each
  idAndMap.insert(idAndMap.end(), {'a', 'b', 'c', 9, 9, 9, 9, 9, 9});
  appendRun(idAndMap, 1, {11, 22, 33, 44});
  struct Case {
    const char* what;
    Bytes file;
    int width, height, bits;
    std::vector<Rgba> want;  // top row first
  };
  const Case cases[] = {
      {"file order BGRA held as RGBA",
       withBytes(targaHeader(1, 1, 32), {0x00, 10, 20, 30, 40}),
       1,
       1,
       32,
       {{30, 20, 10, 40}}},
      {"24-bit file through the 32-bit reader",
       withBytes(targaHeader(2, 1, 24), {0x01, 10, 20, 30, 1, 2, 3}),
       2,
       1,
       24,
       {{30, 20, 10, 255}, {3, 2, 1, 255}}},
      {"first file row is the bottom row", targaFromRows(3, 2, topFirst), 3, 2, 32, topFirst},
      {"first file row is the bottom row, 24 bits", targaFromRows(3, 2, topFirst, 24), 3, 2, 24, topFirst},
      {"raw packet across a row, run past the end", across, 2, 2, 32, {blue, yellow, red, green}},
      // A raw packet longer than what is left needs only the bytes of the pixels that fit.
      {"raw packet past the end",
       withBytes(targaHeader(1, 1, 32), {0x05, 1, 2, 3, 4}),
       1,
       1,
       32,
       {{3, 2, 1, 4}}},
      {"image ID and colour map skipped", idAndMap, 1, 1, 32, {{11, 22, 33, 44}}},
      {"largest accepted width", solidTarga(ImageReaders::maxSide, 1, red), ImageReaders::maxSide, 1, 32,
       std::vector<Rgba>(ImageReaders::maxSide, red)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PixelImage image;
    ASSERT_TRUE(decodeTarga(c.file, image));
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(image.bitsPerPixel, c.bits);
    ASSERT_EQ(image.byteSize(), static_cast<size_t>(c.width * c.height * c.bits / 8));
    EXPECT_TRUE(samePixels(pixelsOf(image), c.want));
  }
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
  for (int x = 0; x < 128; ++x) {
    ASSERT_TRUE(samePixels({px[256 + x], px[128 + x], px[x]}, {x < 118 ? a : b, x < 118 ? b : c, d})) << x;
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

// --- broken targa files: refused, image left as it was ---

TEST(TargaBroken, RefusedKindsSizesAndShortFiles) {
  Bytes idPastEnd = solidTarga(1, 1, red);
  idPastEnd[0] = 200;
  const Bytes whole = solidTarga(1, 1, red);
  Bytes hugeClaim = targaHeader(65535, 65535, 32);
  for (int i = 0; i < 64; ++i) appendRun(hugeClaim, 128, red);
  Bytes largestClaim = targaHeader(8192, 8192, 32);  // within the cap, claimed by a few bytes
  appendRun(largestClaim, 128, red);
  struct Case {
    const char* what;
    Bytes file;
  };
  std::vector<Case> cases = {
      {"empty", {}},
      {"header cut short", Bytes(whole.begin(), whole.begin() + 17)},
      {"uncompressed type 2", withBytes(targaHeader(1, 1, 32, 2), {1, 2, 3, 4})},
      {"16 bits per pixel", withBytes(targaHeader(1, 1, 16), {0x80, 1, 2})},
      {"zero width", solidTarga(0, 4, red)},
      {"zero height", solidTarga(4, 0, red)},
      {"too wide", solidTarga(ImageReaders::maxSide + 1, 1, red)},
      {"too high", solidTarga(1, ImageReaders::maxSide + 1, red, 24)},
      {"largest 16-bit sides", hugeClaim},
      {"largest accepted sides, few bytes", largestClaim},
      {"image ID running past the end", idPastEnd},
  };
  // A file ending early fails wherever it is cut.
  Bytes file = targaHeader(3, 3, 32);
  appendRaw(file, {red, green, blue, yellow});
  appendRun(file, 5, white);
  for (size_t cut = 18; cut < file.size(); ++cut)
    cases.push_back({"cut short", Bytes(file.begin(), file.begin() + cut)});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what + std::string(" ") + std::to_string(c.file.size()));
    PixelImage image;
    EXPECT_FALSE(ImageReaders::decodeTarga32(c.file.data(), c.file.size(), image));
    EXPECT_TRUE(image.pixels == nullptr);
    EXPECT_EQ(image.width, 0);
  }
  PixelImage none, uncut;
  EXPECT_FALSE(ImageReaders::decodeTarga32(nullptr, 0, none));
  EXPECT_TRUE(decodeTarga(file, uncut));
}

TEST(TargaBroken, The24BitReaderRefuses32BitFilesAndAFailedDecodeKeepsTheImage) {
  const Bytes file = solidTarga(2, 2, red, 32), file24 = solidTarga(2, 2, red, 24);
  PixelImage image;
  EXPECT_FALSE(ImageReaders::decodeTarga24(file.data(), file.size(), image));
  EXPECT_TRUE(ImageReaders::decodeTarga24(file24.data(), file24.size(), image));

  ASSERT_TRUE(decodeTarga(solidTarga(2, 1, green), image));
  Bytes truncated = solidTarga(4, 4, red);
  truncated.pop_back();
  EXPECT_FALSE(decodeTarga(truncated, image));
  EXPECT_EQ(image.width, 2);
  EXPECT_TRUE(samePixels(pixelsOf(image), {green, green}));
}

// --- bitmaps ---

TEST(BitmapDecoding, RowOrderAndPadding) {
  const std::vector<Rgba> six = {red, green, blue, yellow, white, {10, 20, 30, 255}};
  const std::vector<Rgba> eight = {red, green, blue, yellow, white, black, {1, 2, 3, 255}, {4, 5, 6, 255}};
  Bytes unpaddedEnd = bitmapFromRows(1, 4, {red, green, blue, yellow});
  unpaddedEnd.pop_back();  // the last row's padding may be missing
  struct Case {
    const char* what;
    Bytes file;
    int width, height;
    std::vector<Rgba> want;
  };
  const Case cases[] = {
      {"bottom-up rows padded to 4 bytes", bitmapFromRows(3, 2, six), 3, 2, six},
      {"negative height: top-down rows", bitmapFromRows(2, 4, eight, true), 2, 4, eight},
      {"last row without padding", unpaddedEnd, 1, 4, {red, green, blue, yellow}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PixelImage image;
    ASSERT_TRUE(ImageReaders::decodeBitmap(c.file.data(), c.file.size(), image));
    EXPECT_EQ(image.bitsPerPixel, 24);
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_TRUE(samePixels(pixelsOf(image), c.want, false));
  }
}

TEST(BitmapBroken, RefusedHeadersAndShortFiles) {
  const Bytes good = bitmapFromRows(2, 2, std::vector<Rgba>(4, red));
  auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) {
    Bytes file = good;
    for (uint8_t b : bytes) file[at++] = b;
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
  for (const char* name : {"graphics/STALK0.TGA", "x.tga", "xtga", "x_tga", "x.png"}) writeFile(name, targa);
  writeFile("x.BmP", bitmapFromRows(1, 1, {blue}));
  auto expectRead = [](const char* name, bool reads) {
    Texture texture;
    EXPECT_EQ(texture.readImageFile(name), reads) << name;
    EXPECT_EQ(texture.pixels() != nullptr, reads) << name;
  };
  for (const char* name : {"graphics\\STALK0.TGA", "x.tga", "x_tga", "x.BmP"}) expectRead(name, true);
  for (const char* name : {"xtga", "x.png", "missing.tga", ""}) expectRead(name, false);
  Texture none;
  EXPECT_FALSE(none.readImageFile(nullptr));

  Texture bitmap;
  ASSERT_TRUE(bitmap.readImageFile("x.BmP"));
  EXPECT_EQ(bitmap.bitsPerPixel(), 24);
  EXPECT_EQ(bitmap.pixels()[2], 255);  // blue
}

TEST_F(TextureFiles, TwentyFourBitTargaByNameThenAFailedReadLeavesNoImage) {
  ASSERT_TRUE(folder.ok());
  writeFile("graphics/flat.tga", solidTarga(3, 1, {7, 8, 9, 255}, 24));
  Bytes broken = solidTarga(2, 2, red);
  broken.resize(20);
  writeFile("broken.tga", broken);
  Texture texture;
  ASSERT_TRUE(texture.readTarga32("graphics\\flat.tga"));
  EXPECT_EQ(texture.bitsPerPixel(), 24);
  EXPECT_EQ(texture.width(), 3);
  EXPECT_EQ(texture.pixels()[0], 7);
  EXPECT_EQ(texture.pixels()[8], 9);
  EXPECT_FALSE(texture.readImageFile("broken.tga"));
  EXPECT_EQ(texture.pixels(), nullptr);
  EXPECT_EQ(texture.width(), 0);
  EXPECT_EQ(texture.height(), 0);
}

// --- upload ---

TEST_F(TextureFiles, UploadKeepsTightRowsAndLinearFilters) {
  ASSERT_TRUE(folder.ok());
  // 3 x 2 at 24 bits: rows of 9 bytes, which a 4-byte unpack alignment would skew.
  writeFile("odd.tga", targaFromRows(3, 2, {red, green, blue, yellow, white, {10, 20, 30, 255}}, 24));
  Texture texture("odd.tga");
  ASSERT_TRUE(texture.uploaded());
  ASSERT_NE(texture.pixels(), nullptr);
  texture.bind();
  auto level = [](GLenum what) {
    GLint v = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &v);
    return v;
  };
  auto parameter = [](GLenum what) {
    GLint v = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, what, &v);
    return v;
  };
  EXPECT_EQ(level(GL_TEXTURE_WIDTH), 3);
  EXPECT_EQ(level(GL_TEXTURE_HEIGHT), 2);
  EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
  EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
  std::vector<uint8_t> back(18, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  EXPECT_EQ(back, std::vector<uint8_t>(texture.pixels(), texture.pixels() + 18));
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4) << "the upload leaves the unpack alignment as it found it";

  // Release deletes the GL texture; a second release does nothing.
  const GLuint name = texture.name();
  ASSERT_TRUE(glIsTexture(name));
  texture.release();
  EXPECT_FALSE(texture.uploaded());
  EXPECT_EQ(texture.pixels(), nullptr);
  EXPECT_FALSE(glIsTexture(name));
  texture.release();
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

TEST(RealTargaFiles, FilesFromOtherWritersMatchTheirPngReferences) {
  struct Case {
    const char* targa;
    const char* png;  // none: only the size is known
    int bits, width, height;
  };
  const Case cases[] = {{"200x32_rgb_bl_rle.tga", "200x32_rgb.png", 24, 200, 32},
                        {"200x32_rgba_bl_rle.tga", "200x32_rgba.png", 32, 200, 32},
                        {"rgb32rle.tga", nullptr, 32, 199, 199}};  // mixed packets
  for (const Case& c : cases) {
    SCOPED_TRACE(c.targa);
    const Bytes file = readFile(testdata(c.targa));
    ASSERT_FALSE(file.empty());
    PixelImage image;
    ASSERT_TRUE(decodeTarga(file, image));
    EXPECT_EQ(image.bitsPerPixel, c.bits);
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    if (c.png == nullptr) continue;
    std::vector<Rgba> reference;
    int width = 0, height = 0;
    ASSERT_TRUE(readPng(testdata(c.png), c.bits == 32, reference, width, height)) << c.png;
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
    EXPECT_TRUE(samePixels(pixelsOf(image), reference));
  }
}

}  // namespace
