// The generator's targa encoder against its own decoder, the game's reader and ImageMagick.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "../../assets/pictures/targa_codec.h"
#include "render/texture.h"
#include "test_render_images.h"

using pictures::decodeTarga;
using pictures::encodeTarga;
using testimages::readFile;
using testimages::writeFile;

namespace {

// Pictures as blue, green, red, alpha, top row first, the encoder's input order.
std::vector<uint8_t> noisePicture(int w, int h, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4);
  for (uint8_t& b : px) b = static_cast<uint8_t>(random());
  return px;
}

// Long runs of one colour, runs that end exactly at 128 and 129, single odd pixels between them.
std::vector<uint8_t> blockyPicture(int w, int h, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4);
  size_t i = 0;
  while (i < px.size() / 4) {
    const int lengths[] = {1, 2, 3, 127, 128, 129, 300};
    const size_t run = static_cast<size_t>(lengths[random() % 7]);
    const uint8_t c[4] = {static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                          static_cast<uint8_t>(random()), static_cast<uint8_t>(random() % 3 == 0 ? 0 : 255)};
    for (size_t k = 0; k < run && i < px.size() / 4; ++k, ++i) std::copy(c, c + 4, px.begin() + i * 4);
  }
  return px;
}

// Encoder input is BGRA; decoders give RGBA.
std::vector<uint8_t> toRgba(std::vector<uint8_t> bgra) {
  for (size_t i = 0; i < bgra.size(); i += 4) std::swap(bgra[i], bgra[i + 2]);
  return bgra;
}

int countRunPackets(const std::vector<uint8_t>& file, int w, int h) {
  size_t at = pictures::kTargaHeaderSize, pixels = 0;
  int runs = 0;
  while (pixels < static_cast<size_t>(w) * h && at < file.size()) {
    const uint8_t header = file[at++];
    const size_t count = (header & 0x7F) + 1u;
    pixels += count;
    runs += header >> 7;
    at += (header & 0x80) ? 4 : count * 4;
  }
  return runs;
}

// Runs ImageMagick's convert, which is optional.
bool convert(const std::string& arguments) {
  return std::system(("convert " + arguments + " > /dev/null 2>&1").c_str()) == 0;
}

}  // namespace

TEST(TargaEncoder, HeaderIsRunLengthTrueColourWithAlphaBottomUpAndNoIdField) {
  const std::vector<uint8_t> file = encodeTarga(noisePicture(300, 260, 9).data(), 300, 260);
  ASSERT_GE(file.size(), 18u);
  // No ID field or colour map; type 10; 300 x 260; 32 bits, eight of them alpha, rows bottom-up.
  const std::vector<uint8_t> want = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 44, 1, 4, 1, 32, 8};
  EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 18), want);
}

TEST(TargaEncoder, RepeatsBecomeRunPacketsAndNoiseStaysRaw) {
  const std::vector<uint8_t> flat(512 * 4 * 4, 200);
  const std::vector<uint8_t> flatFile = encodeTarga(flat.data(), 512, 4);
  // Each 512-pixel row of one colour takes four 128-pixel runs of 5 bytes.
  EXPECT_EQ(countRunPackets(flatFile, 512, 4), 16);
  EXPECT_EQ(flatFile.size(), 18u + 16u * 5u);
  std::vector<uint8_t> noise = noisePicture(64, 64, 11);
  for (size_t i = 4; i < noise.size(); i += 4) {
    if (std::equal(noise.begin() + i, noise.begin() + i + 4, noise.begin() + i - 4)) noise[i] ^= 1;
  }
  EXPECT_EQ(countRunPackets(encodeTarga(noise.data(), 64, 64), 64, 64), 0);
  const std::vector<uint8_t> blocks = blockyPicture(256, 64, 12);
  const std::vector<uint8_t> blockFile = encodeTarga(blocks.data(), 256, 64);
  EXPECT_GT(countRunPackets(blockFile, 256, 64), 0);
  EXPECT_LT(blockFile.size(), blocks.size() / 2);
}

TEST(TargaEncoder, ItsDecoderTheGamesReaderAndImageMagickReadWhatItWrites) {
  const bool magick = convert("-version");
  testimages::ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  // Noise, blocks with runs of 128 and 129, and one flat colour.
  const std::tuple<char, int, int> cases[] = {{'n', 37, 23}, {'n', 1, 1},   {'n', 300, 2}, {'b', 256, 64},
                                              {'b', 129, 9}, {'b', 1, 200}, {'f', 512, 3}};
  uint32_t seed = 0;
  for (const auto& [kind, w, h] : cases) {
    SCOPED_TRACE(std::string(1, kind) + " " + std::to_string(w) + "x" + std::to_string(h));
    const std::vector<uint8_t> px = kind == 'n'   ? noisePicture(w, h, ++seed)
                                    : kind == 'b' ? blockyPicture(w, h, ++seed)
                                                  : std::vector<uint8_t>(static_cast<size_t>(w) * h * 4, 77);
    const std::vector<uint8_t> file = encodeTarga(px.data(), w, h), expected = toRgba(px);
    const auto decoded = decodeTarga(file.data(), file.size());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->width, w);
    EXPECT_EQ(decoded->height, h);
    EXPECT_EQ(decoded->rgba, expected);

    writeFile("ours.tga", file);
    Texture texture;
    ASSERT_TRUE(texture.readImageFile("ours.tga"));
    EXPECT_EQ(texture.width(), w);
    EXPECT_EQ(texture.height(), h);
    EXPECT_EQ(texture.bitsPerPixel(), 32);
    ASSERT_NE(texture.pixels(), nullptr);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), texture.pixels()));

    if (!magick) continue;
    // ImageMagick keeps a file's bottom-up rows as they are and only notes the orientation.
    ASSERT_TRUE(convert("ours.tga -auto-orient -depth 8 rgba:ours.rgba"));
    EXPECT_EQ(readFile("ours.rgba"), expected);
  }
}

TEST(TargaEncoder, DecoderReadsRunLengthFilesWrittenByImageMagick) {
  if (!convert("-version")) GTEST_SKIP() << "ImageMagick convert is not installed";
  const int w = 70, h = 40;
  std::vector<uint8_t> rgba = toRgba(blockyPicture(w, h, 21));
  // ImageMagick drops the colour of fully transparent pixels; keep every pixel visible.
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = static_cast<uint8_t>(rgba[i] | 1);
  testimages::ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  writeFile("theirs.rgba", rgba);
  ASSERT_TRUE(convert("-size 70x40 -depth 8 rgba:theirs.rgba -compress RLE tga:theirs.tga"));
  const std::vector<uint8_t> file = readFile("theirs.tga");
  ASSERT_GE(file.size(), 18u);
  ASSERT_EQ(file[2], 10);
  ASSERT_EQ(file[16], 32);
  // Whatever row order ImageMagick chose, its own reading of the file is the picture the file holds.
  ASSERT_TRUE(convert("tga:theirs.tga -auto-orient -depth 8 rgba:back.rgba"));
  const std::vector<uint8_t> expected = readFile("back.rgba");
  const auto decoded = decodeTarga(file.data(), file.size());
  ASSERT_TRUE(decoded.has_value());
  if ((file[17] & 0x20) != 0) GTEST_SKIP() << "top-down files are outside what the game reads";
  EXPECT_EQ(decoded->rgba, expected);
  // The file really used run packets for the long single-colour stretches.
  EXPECT_GT(countRunPackets(file, w, h), 0);
}

TEST(TargaEncoder, DecoderRejectsDamagedFiles) {
  const std::vector<uint8_t> good = encodeTarga(blockyPicture(40, 30, 31).data(), 40, 30);
  auto with = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> file = good;
    file[at] = value;
    return file;
  };
  // A run of 128 pixels into a 2x2 picture would write past its end.
  std::vector<uint8_t> overrun = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 8, 0xFF, 1, 2, 3, 4};
  std::vector<std::vector<uint8_t>> damaged = {with(2, 2), with(16, 16), overrun};
  for (size_t cut : {size_t{0}, size_t{17}, size_t{18}, good.size() / 2, good.size() - 1})
    damaged.emplace_back(good.begin(), good.begin() + cut);
  for (size_t i = 0; i < damaged.size(); ++i)
    EXPECT_FALSE(decodeTarga(damaged[i].data(), damaged[i].size()).has_value()) << "case " << i;
}
