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
  for (const uint8_t* p = image.pixels.get(); p < image.pixels.get() + image.byteSize(); p += bytes)
    out.push_back(Rgba{p[0], p[1], p[2], bytes == 4 ? p[3] : uint8_t{255}});
  return out;
}

bool decodeTarga(const Bytes& file, PixelImage& image) {
  return ImageReaders::decodeTarga32(file.data(), file.size(), image);
}

// The file with `bytes` appended, or with bytes from `at` on replaced.
Bytes patched(Bytes file, const Bytes& bytes, size_t at = SIZE_MAX) {
  if (at == SIZE_MAX) at = file.size(), file.resize(file.size() + bytes.size());
  for (uint8_t b : bytes) file[at++] = b;
  return file;
}

// Decodes with the reader given and checks size, depth and the pixels, top row first.
template <class Decode>
void expectDecoded(Decode decode, const char* what, const Bytes& file, int width, int height, int bits,
                   const std::vector<Rgba>& want) {
  SCOPED_TRACE(what);
  PixelImage image;
  ASSERT_TRUE(decode(file.data(), file.size(), image));
  EXPECT_EQ(image.width, width);
  EXPECT_EQ(image.height, height);
  EXPECT_EQ(image.bitsPerPixel, bits);
  ASSERT_EQ(image.byteSize(), static_cast<size_t>(width * height * bits / 8));
  EXPECT_EQ(pixelsOf(image), want);
}

TEST(TargaDecoding, ByteOrderRowOrderPacketsAndSkippedFields) {
  const auto tga = ImageReaders::decodeTarga32;
  expectDecoded(tga, "BGRA held as RGBA", patched(targaHeader(1, 1, 32), {0, 10, 20, 30, 40}), 1, 1, 32,
                {{30, 20, 10, 40}});
  expectDecoded(tga, "24 bits", patched(targaHeader(2, 1, 24), {1, 10, 20, 30, 1, 2, 3}), 2, 1, 24,
                {{30, 20, 10, 255}, {3, 2, 1, 255}});
  // 2 x 2: a raw packet of 3 crosses from the bottom row into the top; a run of 128 covers the
  // single pixel left and stops there; trailing bytes (a footer) are ignored.
  Bytes across = targaHeader(2, 2, 32);
  appendPacket(across, 0, {red, green, blue});
  appendPacket(across, 128, {yellow});
  expectDecoded(tga, "raw packet across a row, run past the end", patched(across, {'T', 'R', 'U', 'E'}), 2, 2,
                32, {blue, yellow, red, green});
  // A raw packet longer than what is left needs only the bytes of the pixels that fit.
  expectDecoded(tga, "raw packet past the end", patched(targaHeader(1, 1, 32), {5, 1, 2, 3, 4}), 1, 1, 32,
                {{3, 2, 1, 4}});
  // An ID of 3 bytes and a colour map of two 24-bit entries before the packets.
  Bytes idAndMap = patched(targaHeader(1, 1, 32), {'a', 'b', 'c', 9, 9, 9, 9, 9, 9, 0x80, 11, 22, 33, 44});
  expectDecoded(tga, "image ID and colour map skipped", patched(patched(idAndMap, {3, 1}, 0), {2, 0, 24}, 5),
                1, 1, 32, {{33, 22, 11, 44}});
  const int maxSide = ImageReaders::maxSide;
  expectDecoded(tga, "widest", solidTarga(maxSide, 1, red), maxSide, 1, 32, std::vector<Rgba>(maxSide, red));
  // 128 wide: 118 raw pixels open the bottom row, then a run of 128 takes its last 10 and the first
  // 118 of the row above, and a run of 10 ends that row.
  const Rgba a = {1, 2, 3, 4}, b = {50, 60, 70, 80}, c = {9, 8, 7, 6}, d = {200, 100, 0, 255};
  Bytes crossing = targaHeader(128, 3, 32);
  appendPacket(crossing, 0, std::vector<Rgba>(118, a));
  for (auto [n, colour] : {std::pair{128, b}, {10, c}, {128, d}}) appendPacket(crossing, n, {colour});
  std::vector<Rgba> want(128, d);
  for (auto [n, colour] : {std::pair{118, b}, {10, c}, {118, a}, {10, b}}) want.insert(want.end(), n, colour);
  expectDecoded(tga, "run of 128 from ten before a row end", crossing, 128, 3, 32, want);
}

// Broken files are refused and leave the image as it was.
TEST(TargaBroken, RefusedKindsSizesShortFilesAndDepths) {
  // Uncompressed type 2, 16 bits, zero and oversized sides, largest sides claimed by a few bytes, an
  // ID past the end.
  const int over = ImageReaders::maxSide + 1;
  std::vector<Bytes> cases = {
      patched(targaHeader(1, 1, 32, 2), {1, 2, 3, 4}), patched(targaHeader(1, 1, 16), {0x80, 1, 2}),
      patched(targaHeader(8192, 8192, 32), {0xFF, 1, 2, 3, 4}), patched(solidTarga(1, 1, red), {200}, 0)};
  for (auto [w, h, depth] : {std::tuple{0, 4, 32}, {4, 0, 32}, {over, 1, 32}, {1, over, 24}})
    cases.push_back(solidTarga(w, h, red, depth));
  // A file ending early fails wherever it is cut, the header included.
  Bytes file = targaHeader(3, 3, 32);
  appendPacket(file, 0, {red, green, blue, yellow});
  appendPacket(file, 5, {white});
  for (size_t cut = 0; cut < file.size(); ++cut) cases.emplace_back(file.begin(), file.begin() + cut);
  for (size_t i = 0; i < cases.size(); ++i) {
    PixelImage image;
    EXPECT_FALSE(decodeTarga(cases[i], image)) << "case " << i;
    EXPECT_TRUE(image.pixels == nullptr && image.width == 0) << "case " << i;
  }
  PixelImage none, uncut;
  EXPECT_FALSE(ImageReaders::decodeTarga32(nullptr, 0, none));
  EXPECT_TRUE(decodeTarga(file, uncut));
  // The 24-bit reader refuses 32-bit files, and a failed decode keeps the image it was given.
  const Bytes file32 = solidTarga(2, 2, red, 32), file24 = solidTarga(2, 2, red, 24);
  EXPECT_FALSE(ImageReaders::decodeTarga24(file32.data(), file32.size(), uncut));
  EXPECT_TRUE(ImageReaders::decodeTarga24(file24.data(), file24.size(), uncut));
  ASSERT_TRUE(decodeTarga(solidTarga(2, 1, green), uncut));
  EXPECT_FALSE(decodeTarga(Bytes(file32.begin(), file32.end() - 1), uncut));
  EXPECT_EQ(pixelsOf(uncut), std::vector<Rgba>(2, green));
}

TEST(BitmapDecoding, RowOrderAndPadding) {
  const std::vector<Rgba> six = {red, green, blue, yellow, white, {10, 20, 30, 255}},
                          four(six.begin(), six.end() - 2);
  Bytes unpaddedEnd = bitmapFromRows(1, 4, four);
  unpaddedEnd.pop_back();  // the last row's padding may be missing
  const auto bmp = ImageReaders::decodeBitmap;
  expectDecoded(bmp, "bottom-up rows padded to 4 bytes", bitmapFromRows(3, 2, six), 3, 2, 24, six);
  expectDecoded(bmp, "negative height: top-down rows", bitmapFromRows(2, 3, six, true), 2, 3, 24, six);
  expectDecoded(bmp, "last row without padding", unpaddedEnd, 1, 4, 24, four);
}

TEST(BitmapBroken, RefusedHeadersAndShortFiles) {
  const Bytes good = bitmapFromRows(2, 2, std::vector<Rgba>(4, red));
  // Cut headers and a missing last row, then 4-byte fields at offsets: 32 bits, compression, zero and
  // negative width, zero and most negative height, a width over the cap, pixels said to start past the
  // end or inside the headers, and too small an information header.
  std::vector<Bytes> cases = {{good.begin(), good.begin() + 53}, {good.begin(), good.end() - 6}};
  const uint32_t fields[] = {28, 32,         30, 1,    18, 0,      18, 0xFFFFFFFE, 22, 0,
                             22, 0x80000000, 18, 8193, 10, 0xFFFF, 10, 20,         14, 12};
  for (size_t i = 0; i < std::size(fields); i += 2) {
    const uint32_t v = fields[i + 1];
    cases.push_back(
        patched(good, {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}, fields[i]));
  }
  for (const Bytes& file : cases) {
    PixelImage image;
    const bool decoded = ImageReaders::decodeBitmap(file.data(), file.size(), image);
    EXPECT_TRUE(!decoded && image.pixels == nullptr) << "case " << &file - cases.data();
  }
  PixelImage image;
  EXPECT_TRUE(ImageReaders::decodeBitmap(good.data(), good.size(), image));
}

// --- reading through Texture: the file name picks the reader ---

TEST(TextureFiles, ExtensionComparedWithoutCaseNameLengthCheckedAndAFailedReadLeavesNoImage) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
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
  // Only the last three letters are compared: "x_tga" reads, "xtga" is too short.
  for (const char* name : {"graphics\\STALK0.TGA", "x.tga", "x_tga", "x.BmP"}) expectRead(name, true);
  for (const char* name : {"xtga", "x.png", "missing.tga", ""}) expectRead(name, false);
  Texture texture;
  EXPECT_FALSE(texture.readImageFile(nullptr));
  ASSERT_TRUE(texture.readImageFile("x.BmP"));
  EXPECT_EQ(texture.bitsPerPixel(), 24);
  ASSERT_TRUE(texture.readTarga32("graphics\\flat.tga"));
  EXPECT_EQ(texture.bitsPerPixel(), 24);
  EXPECT_EQ(texture.width(), 3);
  EXPECT_FALSE(texture.readImageFile("broken.tga"));
  EXPECT_EQ(texture.pixels(), nullptr);
  EXPECT_EQ(texture.width() + texture.height(), 0);
}

// A value of the bound texture: of its first level, or (level false) one of its parameters.
GLint boundTexture(GLenum what, bool level = true) {
  GLint v = 0;
  level ? glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &v) : glGetTexParameteriv(GL_TEXTURE_2D, what, &v);
  return v;
}

TEST(TextureFiles, UploadKeepsTightRowsAndLinearFiltersReleaseDeletesItAndAFailedReadIsTransparent) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  // 3 x 2 at 24 bits: rows of 9 bytes, which a 4-byte unpack alignment would skew.
  const std::vector<Rgba> six = {red, green, blue, yellow, white, {10, 20, 30, 255}};
  writeFile("odd.tga", targaFromRows(3, 2, six, 24));
  Texture texture("odd.tga");
  texture.bind();
  EXPECT_EQ(boundTexture(GL_TEXTURE_WIDTH), 3);
  EXPECT_EQ(boundTexture(GL_TEXTURE_HEIGHT), 2);
  for (GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER})
    EXPECT_EQ(boundTexture(filter, false), GL_LINEAR);
  std::vector<Rgba> back(6);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, back.data());
  EXPECT_EQ(back, six);
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
  // Nothing read: one fully transparent texel.
  Texture missing("nothing-here.tga");
  EXPECT_TRUE(missing.uploaded());
  missing.bind();
  EXPECT_EQ(boundTexture(GL_TEXTURE_WIDTH), 1);
  uint8_t texel[4] = {1, 1, 1, 1};
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  EXPECT_EQ(texel[3], 0);
}

// --- real files written by other programs, against PNGs decoded by libpng ---

TEST(RealTargaFiles, FilesFromOtherWritersMatchTheirPngReferences) {
  const std::string dir = CORNKEEPER_TESTDATA_DIR "/tga/";
  for (auto [targa, png, bits] : {std::tuple{"200x32_rgb_bl_rle.tga", "200x32_rgb.png", 24},
                                  {"200x32_rgba_bl_rle.tga", "200x32_rgba.png", 32}}) {
    SCOPED_TRACE(targa);
    PixelImage image;
    ASSERT_TRUE(decodeTarga(readFile(dir + targa), image));
    EXPECT_EQ(image.bitsPerPixel, bits);
    EXPECT_EQ(image.width, 200);
    EXPECT_EQ(image.height, 32);
    png_image reference{};
    reference.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&reference, (dir + png).c_str()));
    reference.format = PNG_FORMAT_RGBA;
    std::vector<Rgba> pixels(PNG_IMAGE_SIZE(reference) / 4);
    ASSERT_TRUE(png_image_finish_read(&reference, nullptr, pixels.data(), 0, nullptr));
    EXPECT_TRUE(pixelsOf(image) == pixels);
  }
}

}  // namespace
