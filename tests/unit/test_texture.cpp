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

// The decoded pixels, top row first; alpha 255 for 24-bit images.
std::vector<Rgba> pixelsOf(const PixelImage& image) {
  std::vector<Rgba> out;
  const size_t bytes = static_cast<size_t>(image.bitsPerPixel / 8);
  for (size_t i = 0; i < image.byteSize(); i += bytes) {
    const uint8_t* p = image.pixels.get() + i;
    out.push_back(Rgba{p[0], p[1], p[2], bytes == 4 ? p[3] : uint8_t{255}});
  }
  return out;
}

bool decodeTarga(const Bytes& file, PixelImage& image) {
  return ImageReaders::decodeTarga32(file.data(), file.size(), image);
}

Bytes withBytes(Bytes file, std::initializer_list<uint8_t> bytes) {
  file.insert(file.end(), bytes);
  return file;
}

// The file with bytes from `at` on replaced.
Bytes patched(Bytes file, size_t at, std::initializer_list<uint8_t> bytes) {
  for (uint8_t b : bytes) file[at++] = b;
  return file;
}

// Pixels from {count, colour} spans, optionally made opaque (as a 24-bit file reads).
std::vector<Rgba> spans(std::initializer_list<std::pair<int, Rgba>> list, bool opaque = false) {
  std::vector<Rgba> out;
  for (auto [n, c] : list) out.insert(out.end(), n, opaque ? Rgba{c.r, c.g, c.b, 255} : c);
  return out;
}

TEST(TargaDecoding, ByteOrderRowOrderPacketsAndSkippedFields) {
  // 2 x 2: a raw packet of 3 crosses from the bottom row into the top; a run of 128 covers the
  // single pixel left and stops there; trailing bytes (a footer) are ignored.
  Bytes across = targaHeader(2, 2, 32);
  appendRaw(across, {red, green, blue});
  appendRun(across, 128, yellow);
  across.insert(across.end(), {'T', 'R', 'U', 'E', 'V', 'I', 'S', 'I', 'O', 'N'});
  // An ID of 3 bytes and a colour map of two 24-bit entries before the packets.
  Bytes idAndMap = patched(withBytes(targaHeader(1, 1, 32), {'a', 'b', 'c', 9, 9, 9, 9, 9, 9}), 0, {3, 1});
  idAndMap = patched(idAndMap, 5, {2, 0, 24});
  appendRun(idAndMap, 1, {11, 22, 33, 44});
  // 128 wide: 118 raw pixels open the bottom row, then a run of 128 takes its last 10 and the first
  // 118 of the row above, and a run of 10 ends that row.
  const Rgba a = {1, 2, 3, 4}, b = {50, 60, 70, 80}, c = {9, 8, 7, 6}, d = {200, 100, 0, 255};
  auto crossing = [&](int height, int depth) {
    Bytes file = targaHeader(128, height, depth);
    appendRaw(file, std::vector<Rgba>(118, a), depth);
    appendRun(file, 128, b, depth);
    appendRun(file, 10, c, depth);
    if (height == 3) appendRun(file, 128, d, depth);
    return file;
  };
  const int maxSide = ImageReaders::maxSide;
  struct Case {
    const char* what;
    Bytes file;
    int width, height, bits;
    std::vector<Rgba> want;  // top row first
  };
  auto bytes = [](int w, int h, int depth, std::initializer_list<uint8_t> packets) {
    return withBytes(targaHeader(w, h, depth), packets);
  };
  const Case cases[] = {
      {"BGRA held as RGBA", bytes(1, 1, 32, {0, 10, 20, 30, 40}), 1, 1, 32, {{30, 20, 10, 40}}},
      {"24 bits", bytes(2, 1, 24, {1, 10, 20, 30, 1, 2, 3}), 2, 1, 24, {{30, 20, 10, 255}, {3, 2, 1, 255}}},
      {"raw packet across a row, run past the end", across, 2, 2, 32, {blue, yellow, red, green}},
      // A raw packet longer than what is left needs only the bytes of the pixels that fit.
      {"raw packet past the end", bytes(1, 1, 32, {5, 1, 2, 3, 4}), 1, 1, 32, {{3, 2, 1, 4}}},
      {"image ID and colour map skipped", idAndMap, 1, 1, 32, {{11, 22, 33, 44}}},
      {"widest", solidTarga(maxSide, 1, red), maxSide, 1, 32, std::vector<Rgba>(maxSide, red)},
      {"run of 128 from ten before a row end", crossing(3, 32), 128, 3, 32,
       spans({{128, d}, {118, b}, {10, c}, {118, a}, {10, b}})},
      {"the same at 24 bits", crossing(2, 24), 128, 2, 24,
       spans({{118, b}, {10, c}, {118, a}, {10, b}}, true)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PixelImage image;
    ASSERT_TRUE(decodeTarga(c.file, image));
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(image.bitsPerPixel, c.bits);
    ASSERT_EQ(image.byteSize(), static_cast<size_t>(c.width * c.height * c.bits / 8));
    EXPECT_EQ(pixelsOf(image), c.want);
  }
}

// Broken files are refused and leave the image as it was.
TEST(TargaBroken, RefusedKindsSizesAndShortFiles) {
  Bytes hugeClaim = targaHeader(65535, 65535, 32);
  for (int i = 0; i < 64; ++i) appendRun(hugeClaim, 128, red);
  Bytes largestClaim = targaHeader(8192, 8192, 32);  // within the cap, claimed by a few bytes
  appendRun(largestClaim, 128, red);
  // Uncompressed type 2, 16 bits, zero and oversized sides, sides the bytes cannot fill, an ID past the end.
  const int over = ImageReaders::maxSide + 1;
  std::vector<Bytes> cases = {withBytes(targaHeader(1, 1, 32, 2), {1, 2, 3, 4}),
                              withBytes(targaHeader(1, 1, 16), {0x80, 1, 2}),
                              solidTarga(0, 4, red),
                              solidTarga(4, 0, red),
                              solidTarga(over, 1, red),
                              solidTarga(1, over, red, 24),
                              hugeClaim,
                              largestClaim,
                              patched(solidTarga(1, 1, red), 0, {200})};
  // A file ending early fails wherever it is cut, the header included.
  Bytes file = targaHeader(3, 3, 32);
  appendRaw(file, {red, green, blue, yellow});
  appendRun(file, 5, white);
  for (size_t cut = 0; cut < file.size(); ++cut) cases.emplace_back(file.begin(), file.begin() + cut);
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE("case " + std::to_string(i) + ", " + std::to_string(cases[i].size()) + " bytes");
    PixelImage image;
    EXPECT_FALSE(decodeTarga(cases[i], image));
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
  EXPECT_EQ(pixelsOf(image), std::vector<Rgba>(2, green));
}

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
    EXPECT_EQ(pixelsOf(image), c.want);
  }
}

TEST(BitmapBroken, RefusedHeadersAndShortFiles) {
  const Bytes good = bitmapFromRows(2, 2, std::vector<Rgba>(4, red));
  auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) { return patched(good, at, bytes); };
  const std::pair<const char*, Bytes> cases[] = {
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
  for (const auto& [what, file] : cases) {
    PixelImage image;
    EXPECT_FALSE(ImageReaders::decodeBitmap(file.data(), file.size(), image)) << what;
    EXPECT_TRUE(image.pixels == nullptr) << what;
  }
  PixelImage image;
  EXPECT_TRUE(ImageReaders::decodeBitmap(good.data(), good.size(), image));
}

// --- reading through Texture: the file name picks the reader ---

class TextureFiles : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.ok()); }
  ScratchFolder folder;
};

TEST_F(TextureFiles, ExtensionComparedWithoutCaseNameLengthCheckedAndAFailedReadLeavesNoImage) {
  const Bytes targa = solidTarga(2, 2, red);
  for (const char* name : {"graphics/STALK0.TGA", "x.tga", "xtga", "x_tga", "x.png"}) writeFile(name, targa);
  writeFile("x.BmP", bitmapFromRows(1, 1, {blue}));
  writeFile("graphics/flat.tga", solidTarga(3, 1, {7, 8, 9, 255}, 24));
  writeFile("broken.tga", Bytes(targa.begin(), targa.begin() + 20));
  auto expectRead = [](const char* name, bool reads) {
    Texture texture;
    EXPECT_EQ(texture.readImageFile(name), reads) << name;
    EXPECT_EQ(texture.pixels() != nullptr, reads) << name;
  };
  for (const char* name : {"graphics\\STALK0.TGA", "x.tga", "x_tga", "x.BmP"}) expectRead(name, true);
  for (const char* name : {"xtga", "x.png", "missing.tga", ""}) expectRead(name, false);
  Texture texture;
  EXPECT_FALSE(texture.readImageFile(nullptr));
  ASSERT_TRUE(texture.readImageFile("x.BmP"));
  EXPECT_EQ(texture.bitsPerPixel(), 24);
  EXPECT_EQ(texture.pixels()[2], 255);  // blue
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

GLint levelParameter(GLenum what) {
  GLint v = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &v);
  return v;
}

TEST_F(TextureFiles, UploadKeepsTightRowsAndLinearFiltersAndReleaseDeletesIt) {
  // 3 x 2 at 24 bits: rows of 9 bytes, which a 4-byte unpack alignment would skew.
  writeFile("odd.tga", targaFromRows(3, 2, {red, green, blue, yellow, white, {10, 20, 30, 255}}, 24));
  Texture texture("odd.tga");
  ASSERT_TRUE(texture.uploaded());
  ASSERT_NE(texture.pixels(), nullptr);
  texture.bind();
  EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), 3);
  EXPECT_EQ(levelParameter(GL_TEXTURE_HEIGHT), 2);
  for (GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) {
    GLint v = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, filter, &v);
    EXPECT_EQ(v, GL_LINEAR);
  }
  std::vector<uint8_t> back(18, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  EXPECT_EQ(back, std::vector<uint8_t>(texture.pixels(), texture.pixels() + 18));
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4) << "the upload leaves the unpack alignment as it found it";
  // A second release does nothing.
  const GLuint name = texture.name();
  ASSERT_TRUE(glIsTexture(name));
  texture.release();
  EXPECT_FALSE(texture.uploaded());
  EXPECT_EQ(texture.pixels(), nullptr);
  EXPECT_FALSE(glIsTexture(name));
  texture.release();
}

TEST_F(TextureFiles, AFileThatFailsUploadsOneTransparentTexel) {
  Texture texture("nothing-here.tga");
  EXPECT_TRUE(texture.uploaded());
  EXPECT_EQ(texture.pixels(), nullptr);
  texture.bind();
  EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), 1);
  uint8_t texel[4] = {1, 1, 1, 1};
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  EXPECT_EQ(texel[3], 0);
}

// --- real files written by other programs, against PNGs decoded by libpng ---

std::string testdata(const char* name) {
  return std::string(CORNKEEPER_TESTDATA_DIR) + "/tga/" + name;
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
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&png, testdata(c.png).c_str()));
    png.format = PNG_FORMAT_RGBA;
    std::vector<Rgba> reference(PNG_IMAGE_SIZE(png) / 4);
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, reference.data(), 0, nullptr));
    EXPECT_EQ(png.width, static_cast<unsigned>(c.width));
    EXPECT_EQ(png.height, static_cast<unsigned>(c.height));
    if (c.bits == 24)
      for (Rgba& p : reference) p.a = 255;
    EXPECT_TRUE(pixelsOf(image) == reference);
  }
}

}  // namespace
