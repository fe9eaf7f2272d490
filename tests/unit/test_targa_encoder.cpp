// The generator's targa encoder against its own decoder, the game's reader and ImageMagick.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "../../assets/pictures/targa_codec.h"
#include "render/texture.h"

using pictures::decodeTarga;
using pictures::encodeTarga;

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
std::vector<uint8_t> toRgba(const std::vector<uint8_t>& bgra) {
  std::vector<uint8_t> rgba(bgra.size());
  for (size_t i = 0; i < bgra.size(); i += 4) {
    rgba[i] = bgra[i + 2];
    rgba[i + 1] = bgra[i + 1];
    rgba[i + 2] = bgra[i];
    rgba[i + 3] = bgra[i + 3];
  }
  return rgba;
}

int countRunPackets(const std::vector<uint8_t>& file, int w, int h) {
  size_t at = pictures::kTargaHeaderSize;
  int runs = 0;
  size_t pixels = 0;
  while (pixels < static_cast<size_t>(w) * h && at < file.size()) {
    const uint8_t header = file[at++];
    const size_t count = (header & 0x7F) + 1u;
    pixels += count;
    if (header & 0x80) {
      ++runs;
      at += 4;
    } else {
      at += count * 4;
    }
  }
  return runs;
}

std::filesystem::path scratchFile(const std::string& name) {
  return std::filesystem::temp_directory_path() / ("cornkeeper_tga_" + std::to_string(getpid()) + "_" + name);
}

void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool haveImageMagick() {
  return std::system("convert -version > /dev/null 2>&1") == 0;
}

struct Case {
  const char* what;
  int w, h;
  std::vector<uint8_t> px;
};

std::vector<Case> roundTripCases() {
  return {{"noise 37x23", 37, 23, noisePicture(37, 23, 1)},
          {"noise 1x1", 1, 1, noisePicture(1, 1, 2)},
          {"noise 300x2", 300, 2, noisePicture(300, 2, 3)},
          {"blocks 256x64", 256, 64, blockyPicture(256, 64, 4)},
          {"blocks 129x9", 129, 9, blockyPicture(129, 9, 5)},
          {"blocks 1x200", 1, 200, blockyPicture(1, 200, 6)},
          {"flat 512x3", 512, 3, std::vector<uint8_t>(512 * 3 * 4, 77)}};
}

}  // namespace

TEST(TargaEncoder, HeaderIsRunLengthTrueColourWithAlphaAndNoIdField) {
  const std::vector<uint8_t> file = encodeTarga(noisePicture(300, 260, 9).data(), 300, 260);
  ASSERT_GE(file.size(), 18u);
  EXPECT_EQ(file[0], 0) << "no ID field";
  EXPECT_EQ(file[1], 0) << "no colour map";
  EXPECT_EQ(file[2], 10) << "run-length true colour";
  EXPECT_EQ(file[12] | (file[13] << 8), 300);
  EXPECT_EQ(file[14] | (file[15] << 8), 260);
  EXPECT_EQ(file[16], 32);
  EXPECT_EQ(file[17] & 0x0F, 8) << "eight alpha bits";
  EXPECT_EQ(file[17] & 0x20, 0) << "rows run bottom-up";
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
  const bool magick = haveImageMagick();
  const std::filesystem::path tga = scratchFile("ours.tga"), raw = scratchFile("ours.rgba");
  for (const Case& c : roundTripCases()) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> file = encodeTarga(c.px.data(), c.w, c.h), expected = toRgba(c.px);
    const auto decoded = decodeTarga(file.data(), file.size());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->width, c.w);
    EXPECT_EQ(decoded->height, c.h);
    EXPECT_EQ(decoded->rgba, expected);

    writeBytes(tga, file);
    Texture texture;
    ASSERT_TRUE(texture.readImageFile(tga.c_str()));
    EXPECT_EQ(texture.width(), c.w);
    EXPECT_EQ(texture.height(), c.h);
    EXPECT_EQ(texture.bitsPerPixel(), 32);
    ASSERT_NE(texture.pixels(), nullptr);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), texture.pixels()));

    if (!magick) continue;  // ImageMagick's convert is optional
    // ImageMagick keeps a file's bottom-up rows as they are and only notes the orientation.
    const std::string command =
        "convert '" + tga.string() + "' -auto-orient -depth 8 'rgba:" + raw.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readBytes(raw), expected);
  }
  std::filesystem::remove(tga);
  std::filesystem::remove(raw);
}

TEST(TargaEncoder, DecoderReadsRunLengthFilesWrittenByImageMagick) {
  if (!haveImageMagick()) GTEST_SKIP() << "ImageMagick convert is not installed";
  const int w = 70, h = 40;
  std::vector<uint8_t> rgba = toRgba(blockyPicture(w, h, 21));
  // ImageMagick drops the colour of fully transparent pixels; keep every pixel visible.
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = static_cast<uint8_t>(rgba[i] | 1);
  const std::filesystem::path raw = scratchFile("theirs.rgba"), tga = scratchFile("theirs.tga"),
                              back = scratchFile("theirs_back.rgba");
  writeBytes(raw, rgba);
  const std::string write = "convert -size " + std::to_string(w) + "x" + std::to_string(h) +
                            " -depth 8 'rgba:" + raw.string() + "' -compress RLE 'tga:" + tga.string() + "'";
  ASSERT_EQ(std::system(write.c_str()), 0);
  const std::vector<uint8_t> file = readBytes(tga);
  ASSERT_GE(file.size(), 18u);
  ASSERT_EQ(file[2], 10);
  ASSERT_EQ(file[16], 32);
  // Whatever row order ImageMagick chose, its own reading of the file is the picture the file holds.
  const std::string read =
      "convert 'tga:" + tga.string() + "' -auto-orient -depth 8 'rgba:" + back.string() + "'";
  ASSERT_EQ(std::system(read.c_str()), 0);
  const std::vector<uint8_t> expected = readBytes(back);
  const auto decoded = decodeTarga(file.data(), file.size());
  ASSERT_TRUE(decoded.has_value());
  if ((file[17] & 0x20) != 0) GTEST_SKIP() << "top-down files are outside what the game reads";
  EXPECT_EQ(decoded->rgba, expected);
  // The file really used run packets for the long single-colour stretches.
  EXPECT_GT(countRunPackets(file, w, h), 0);
  std::filesystem::remove(raw);
  std::filesystem::remove(tga);
  std::filesystem::remove(back);
}

TEST(TargaEncoder, DecoderRejectsDamagedFiles) {
  const std::vector<uint8_t> good = encodeTarga(blockyPicture(40, 30, 31).data(), 40, 30);
  for (size_t cut : {size_t{0}, size_t{17}, size_t{18}, good.size() / 2, good.size() - 1}) {
    SCOPED_TRACE(cut);
    EXPECT_FALSE(decodeTarga(good.data(), cut).has_value());
  }
  std::vector<uint8_t> wrongType = good;
  wrongType[2] = 2;
  EXPECT_FALSE(decodeTarga(wrongType.data(), wrongType.size()).has_value());
  std::vector<uint8_t> wrongDepth = good;
  wrongDepth[16] = 16;
  EXPECT_FALSE(decodeTarga(wrongDepth.data(), wrongDepth.size()).has_value());
  // A run of 128 pixels into a 2x2 picture would write past its end.
  std::vector<uint8_t> overrun(18, 0);
  overrun[2] = 10;
  overrun[12] = 2;
  overrun[14] = 2;
  overrun[16] = 32;
  overrun.insert(overrun.end(), {0xFF, 1, 2, 3, 4});
  EXPECT_FALSE(decodeTarga(overrun.data(), overrun.size()).has_value());
}
