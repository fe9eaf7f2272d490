// The generator's targa encoder against its own decoder, the game's reader and ImageMagick.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <tuple>

#include "../../assets/pictures/targa_codec.h"
#include "render/texture.h"
#include "test_render_images.h"

using pictures::decodeTarga;
using pictures::encodeTarga;
using testimages::Bytes;

namespace {

// Blue, green, red, alpha, top row first, the encoder's input order: noise, or (blocky) runs of one
// colour that end exactly at 128 and 129 with single odd pixels between them, a third of them clear.
Bytes picture(int w, int h, uint32_t seed, bool blocky) {
  std::mt19937 random(seed);
  Bytes px(static_cast<size_t>(w) * h * 4);
  for (size_t i = 0; i < px.size();) {
    const int lengths[] = {1, 2, 3, 127, 128, 129, 300};
    const size_t run = blocky ? static_cast<size_t>(lengths[random() % 7]) : 1;
    const uint8_t alpha = uint8_t(random()), c[4] = {uint8_t(random()), uint8_t(random()), uint8_t(random()),
                                                     uint8_t(blocky ? 255 * (alpha % 3 != 0) : alpha)};
    for (size_t k = 0; k < run && i < px.size(); ++k, i += 4) std::copy(c, c + 4, px.begin() + i);
  }
  return px;
}

// Encoder input is BGRA; decoders give RGBA.
Bytes toRgba(Bytes bgra) {
  for (size_t i = 0; i < bgra.size(); i += 4) std::swap(bgra[i], bgra[i + 2]);
  return bgra;
}

int countRunPackets(const Bytes& file, int w, int h) {
  size_t at = pictures::kTargaHeaderSize, pixels = 0;
  int runs = 0;
  while (pixels < static_cast<size_t>(w) * h && at < file.size()) {
    const uint8_t header = file[at++];
    pixels += (header & 0x7F) + 1u;
    runs += header >> 7;
    at += (header & 0x80) ? 4 : ((header & 0x7F) + 1u) * 4;
  }
  return runs;
}

// Runs ImageMagick's convert, which is optional.
bool convert(const std::string& arguments) {
  return std::system(("convert " + arguments + " > /dev/null 2>&1").c_str()) == 0;
}

}  // namespace

TEST(TargaEncoder, HeaderRunPacketsAndDamagedFilesRefusedByItsDecoder) {
  // Each 512-pixel row of one colour takes four 128-pixel runs of 5 bytes, after a header with no ID
  // field or colour map; type 10; 512 x 4; 32 bits, eight of them alpha, rows bottom-up.
  const Bytes flat(512 * 4 * 4, 200), flatFile = encodeTarga(flat.data(), 512, 4);
  EXPECT_EQ(Bytes(flatFile.begin(), flatFile.begin() + 18),
            Bytes({0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 4, 0, 32, 8}));
  EXPECT_EQ(flatFile.size(), 18u + 16u * 5u);
  const Bytes blocks = picture(256, 64, 12, true), blockFile = encodeTarga(blocks.data(), 256, 64);
  EXPECT_LT(blockFile.size(), blocks.size() / 2);  // runs: raw packets alone would be larger
  // Not type 10, 16 bits, a run of 128 pixels into a 2x2 picture (past its end), and cut short.
  Bytes notTen = blockFile, sixteen = blockFile;
  notTen[2] = 2, sixteen[16] = 16;
  std::vector<Bytes> damaged = {
      notTen, sixteen, {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 8, 0xFF, 1, 2, 3, 4}};
  for (size_t cut : {size_t{0}, size_t{17}, size_t{18}, blockFile.size() / 2, blockFile.size() - 1})
    damaged.emplace_back(blockFile.begin(), blockFile.begin() + cut);
  for (size_t i = 0; i < damaged.size(); ++i)
    EXPECT_FALSE(decodeTarga(damaged[i].data(), damaged[i].size()).has_value()) << "case " << i;
}

TEST(TargaEncoder, ItsDecoderTheGamesReaderAndImageMagickReadWhatItWrites) {
  testimages::ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  // Noise, blocks with runs of 128 and 129, and one flat colour.
  for (const auto& [kind, w, h] :
       {std::tuple{'n', 37, 23}, {'n', 1, 1}, {'b', 256, 64}, {'b', 1, 200}, {'f', 512, 3}}) {
    SCOPED_TRACE(std::string(1, kind) + " " + std::to_string(w) + "x" + std::to_string(h));
    const Bytes px =
        kind == 'f' ? Bytes(static_cast<size_t>(w) * h * 4, 77) : picture(w, h, w * h, kind == 'b');
    const Bytes file = encodeTarga(px.data(), w, h), expected = toRgba(px);
    const auto decoded = decodeTarga(file.data(), file.size());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(std::tuple(decoded->width, decoded->height, decoded->rgba), std::tuple(w, h, expected));
    testimages::writeFile("ours.tga", file);
    Texture texture;
    ASSERT_TRUE(texture.readImageFile("ours.tga"));
    EXPECT_EQ(std::tuple(texture.width(), texture.height(), texture.bitsPerPixel()), std::tuple(w, h, 32));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), texture.pixels()));
    // ImageMagick (optional) keeps a file's bottom-up rows as they are and only notes the orientation.
    EXPECT_TRUE(!convert("-version") || (convert("ours.tga -auto-orient -depth 8 rgba:ours.rgba") &&
                                         testimages::readFile("ours.rgba") == expected));
  }
}

TEST(TargaEncoder, DecoderReadsRunLengthFilesWrittenByImageMagick) {
  if (!convert("-version")) GTEST_SKIP() << "ImageMagick convert is not installed";
  Bytes rgba = toRgba(picture(70, 40, 21, true));
  // ImageMagick drops the colour of fully transparent pixels; keep every pixel visible.
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] |= 1;
  testimages::ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  testimages::writeFile("theirs.rgba", rgba);
  ASSERT_TRUE(convert("-size 70x40 -depth 8 rgba:theirs.rgba -compress RLE tga:theirs.tga"));
  const Bytes file = testimages::readFile("theirs.tga");
  ASSERT_TRUE(file.size() >= 18 && file[2] == 10 && file[16] == 32) << "not a 32-bit run-length file";
  if ((file[17] & 0x20) != 0) GTEST_SKIP() << "top-down files are outside what the game reads";
  // Whatever row order ImageMagick chose, its own reading of the file is the picture the file holds.
  ASSERT_TRUE(convert("tga:theirs.tga -auto-orient -depth 8 rgba:back.rgba"));
  EXPECT_EQ(decodeTarga(file.data(), file.size()).value_or(pictures::DecodedTarga{}).rgba,
            testimages::readFile("back.rgba"));
  // The file really used run packets for the long single-colour stretches.
  EXPECT_GT(countRunPackets(file, 70, 40), 0);
}
