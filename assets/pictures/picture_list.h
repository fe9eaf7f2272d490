// Every picture file the generator writes: the names the game opens (with their backslashes, as the
// game stores them), the creature frame tables, and the start-up chooser's pictures. The generator and
// the tests both read this list, so a file can neither be forgotten nor left over.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace pictures {

enum class PictureGroup : uint8_t { Game, Creature, Chooser, Comfort };
enum class CreatureKind : uint8_t { Scarecrow, Crow, Pelican, Cow };

struct SinglePicture {
  const char* name;
  int width;
  int height;
};

struct CreatureFamily {
  CreatureKind kind;
  const char* format;  // facing, then frame suffix
  int facings;
  const char* const* suffixes;
  int frames;
  int size;
};

inline constexpr SinglePicture kGamePictures[] = {
    {"graphics\\grass.tga", 512, 512},         {"graphics\\stalk3.tga", 128, 128},
    {"graphics\\stalk2.tga", 128, 128},        {"graphics\\stalk1.tga", 128, 128},
    {"graphics\\stalk0.tga", 128, 128},        {"graphics\\stalk0b.tga", 128, 128},
    {"graphics\\stalk0c.tga", 128, 128},       {"graphics\\stalk0d.tga", 128, 128},
    {"graphics\\corn.tga", 128, 128},          {"graphics\\shadow.tga", 32, 32},
    {"graphics\\title.tga", 512, 256},         {"graphics\\title2.tga", 512, 256},
    {"graphics\\titlecorn.tga", 256, 256},     {"graphics\\ministalk.tga", 128, 256},
    {"graphics\\title_btn0.tga", 256, 64},     {"graphics\\title_btn1.tga", 256, 64},
    {"graphics\\title_btn2.tga", 256, 64},     {"graphics\\title_btn3.tga", 256, 64},
    {"graphics\\title_btn4.tga", 256, 64},     {"graphics\\instructions1.tga", 512, 512},
    {"graphics\\instructions2.tga", 512, 512}, {"graphics\\instr_arrows.tga", 32, 32},
    {"graphics\\store_strut.tga", 64, 64},     {"graphics\\store.tga", 512, 512},
    {"graphics\\itm_seed.tga", 128, 128},      {"graphics\\itm_fertilizer.tga", 128, 128},
    {"graphics\\itm_weight.tga", 128, 128},    {"graphics\\itm_o.tga", 128, 128},
    {"graphics\\itm_breath.tga", 128, 128},    {"graphics\\itm_lung.tga", 128, 128},
    {"graphics\\itm_mask.tga", 128, 128},      {"graphics\\itm_time.tga", 128, 128},
    {"graphics\\itm_rocket.tga", 128, 128},    {"graphics\\mumbly.tga", 128, 128},
    {"graphics\\shop_exit.tga", 128, 64},      {"graphics\\shop_target.tga", 64, 64},
    {"graphics\\text_0.tga", 64, 64},          {"graphics\\text_1.tga", 64, 64},
    {"graphics\\text_2.tga", 64, 64},          {"graphics\\text_3.tga", 64, 64},
    {"graphics\\text_4.tga", 64, 64},          {"graphics\\text_5.tga", 64, 64},
    {"graphics\\text_6.tga", 64, 64},          {"graphics\\text_7.tga", 64, 64},
    {"graphics\\text_8.tga", 64, 64},          {"graphics\\text_9.tga", 64, 64},
    {"graphics\\text_day.tga", 128, 64},       {"graphics\\sun.tga", 256, 256},
    {"graphics\\rooster.tga", 256, 256},       {"graphics\\scurvy.tga", 256, 64},
    {"graphics\\moomania.tga", 256, 64},       {"graphics\\gameover.tga", 256, 64},
    {"graphics\\ooga.tga", 512, 128},          {"graphics\\booga.tga", 512, 128},
    {"graphics\\oogamask.tga", 64, 64},        {"graphics\\breathmeter.tga", 256, 64},
    {"graphics\\boo_b.tga", 32, 32},           {"graphics\\boo_o.tga", 32, 32},
};

inline constexpr const char* kScarecrowSuffixes[] = {"0002", "0003", "0004", "0007", "0008", "0012", "0013"};
inline constexpr const char* kBirdSuffixes[] = {"0002", "0003", "0004", "0005",
                                                "0008", "0009", "0013", "0014"};
inline constexpr const char* kCowSuffixes[] = {"0001", "0002", "0003", "0006", "0007"};

inline constexpr CreatureFamily kCreatureFamilies[] = {
    {CreatureKind::Scarecrow, "graphics\\scarecrow\\Sca%d%s.tga", 8, kScarecrowSuffixes, 7, 256},
    {CreatureKind::Crow, "graphics\\crow\\cro%d%s.tga", 8, kBirdSuffixes, 8, 128},
    {CreatureKind::Pelican, "graphics\\pelican\\pel%d%s.tga", 8, kBirdSuffixes, 8, 256},
    {CreatureKind::Cow, "graphics\\cow\\cow%d%s.tga", 4, kCowSuffixes, 5, 256},
};

// The start-up chooser draws itself with these; the banner also comes in a power-of-two canvas.
inline constexpr SinglePicture kChooserPictures[] = {
    {"graphics\\chooser\\banner.tga", 291, 165},    {"graphics\\chooser\\banner512.tga", 512, 256},
    {"graphics\\chooser\\label_mode.tga", 256, 32}, {"graphics\\chooser\\opt_640.tga", 256, 32},
    {"graphics\\chooser\\opt_800.tga", 256, 32},    {"graphics\\chooser\\opt_1024.tga", 256, 32},
    {"graphics\\chooser\\opt_16.tga", 256, 32},     {"graphics\\chooser\\opt_32.tga", 256, 32},
    {"graphics\\chooser\\opt_full.tga", 256, 32},   {"graphics\\chooser\\btn_ok.tga", 128, 32},
    {"graphics\\chooser\\radio_off.tga", 32, 32},   {"graphics\\chooser\\radio_on.tga", 32, 32},
    {"graphics\\chooser\\check_off.tga", 32, 32},   {"graphics\\chooser\\check_on.tga", 32, 32},
    {"graphics\\chooser\\focus.tga", 32, 32},       {"graphics\\chooser\\panel.tga", 512, 512},
};

// The player's comforts: the pause card, the sound level and the best-games table.
inline constexpr SinglePicture kComfortPictures[] = {
    {"graphics\\comfort\\paused.tga", 512, 128},    {"graphics\\comfort\\resume.tga", 256, 64},
    {"graphics\\comfort\\speaker.tga", 64, 64},     {"graphics\\comfort\\speaker_muted.tga", 64, 64},
    {"graphics\\comfort\\level_on.tga", 16, 32},    {"graphics\\comfort\\level_off.tga", 16, 32},
    {"graphics\\comfort\\rank0.tga", 256, 64},      {"graphics\\comfort\\rank1.tga", 256, 64},
    {"graphics\\comfort\\rank2.tga", 256, 64},      {"graphics\\comfort\\rank3.tga", 256, 64},
    {"graphics\\comfort\\rank4.tga", 256, 64},      {"graphics\\comfort\\rank5.tga", 256, 64},
    {"graphics\\comfort\\rank6.tga", 256, 64},      {"graphics\\comfort\\rank7.tga", 256, 64},
    {"graphics\\comfort\\rank8.tga", 256, 64},      {"graphics\\comfort\\rank9.tga", 256, 64},
    {"graphics\\comfort\\best_title.tga", 512, 64}, {"graphics\\comfort\\best_headings.tga", 512, 32},
    {"graphics\\comfort\\no_games.tga", 512, 32},   {"graphics\\comfort\\back_hint.tga", 256, 32},
    {"graphics\\comfort\\dash.tga", 64, 64},
};

inline std::string creatureFileName(const CreatureFamily& family, int facing, int frame) {
  char name[64];
  std::snprintf(name, sizeof name, family.format, facing, family.suffixes[frame]);
  return name;
}

// The game keeps backslashes in its names; on disk they are folders.
inline std::string diskPath(const std::string& name) {
  std::string path = name;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

struct PictureFile {
  std::string name;
  int width;
  int height;
  PictureGroup group;
  const CreatureFamily* family;  // creatures only
  int facing;
  int frame;
};

inline std::vector<PictureFile> allPictureFiles() {
  std::vector<PictureFile> files;
  for (const SinglePicture& p : kGamePictures) {
    files.push_back({p.name, p.width, p.height, PictureGroup::Game, nullptr, 0, 0});
  }
  for (const CreatureFamily& family : kCreatureFamilies) {
    for (int facing = 0; facing < family.facings; ++facing) {
      for (int frame = 0; frame < family.frames; ++frame) {
        files.push_back({creatureFileName(family, facing, frame), family.size, family.size,
                         PictureGroup::Creature, &family, facing, frame});
      }
    }
  }
  for (const SinglePicture& p : kChooserPictures) {
    files.push_back({p.name, p.width, p.height, PictureGroup::Chooser, nullptr, 0, 0});
  }
  for (const SinglePicture& p : kComfortPictures) {
    files.push_back({p.name, p.width, p.height, PictureGroup::Comfort, nullptr, 0, 0});
  }
  return files;
}

}  // namespace pictures
