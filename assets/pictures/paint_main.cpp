// cornkeeper-paint <output folder>: draws every picture of the game into <output>/graphics/ as run-length
// targa files, a labelled contact sheet of all of them into <output>/contact-sheet.png, and the
// launcher icons into <output>/icons/.
#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "creatures/creatures.h"
#include "pictures/painters.h"
#include "pictures/picture_list.h"
#include "pictures/targa_codec.h"

namespace pictures {
namespace {

struct PainterEntry {
  const char* name;
  Painter painter;
};

// One painter per single picture, in the order of the picture list.
constexpr PainterEntry kPainters[] = {
    {"graphics\\grass.tga", paintGrass},
    {"graphics\\stalk3.tga", paintStalk3},
    {"graphics\\stalk2.tga", paintStalk2},
    {"graphics\\stalk1.tga", paintStalk1},
    {"graphics\\stalk0.tga", paintStalk0},
    {"graphics\\stalk0b.tga", paintStalk0b},
    {"graphics\\stalk0c.tga", paintStalk0c},
    {"graphics\\stalk0d.tga", paintStalk0d},
    {"graphics\\corn.tga", paintCorn},
    {"graphics\\shadow.tga", paintShadow},
    {"graphics\\title.tga", paintTitle},
    {"graphics\\title2.tga", paintTitle2},
    {"graphics\\titlecorn.tga", paintTitleCorn},
    {"graphics\\ministalk.tga", paintMiniStalk},
    {"graphics\\title_btn0.tga", paintButton0},
    {"graphics\\title_btn1.tga", paintButton1},
    {"graphics\\title_btn2.tga", paintButton2},
    {"graphics\\title_btn3.tga", paintButton3},
    {"graphics\\title_btn4.tga", paintButton4},
    {"graphics\\instructions1.tga", paintInstructions1},
    {"graphics\\instructions2.tga", paintInstructions2},
    {"graphics\\instr_arrows.tga", paintInstrArrows},
    {"graphics\\store_strut.tga", paintStoreStrut},
    {"graphics\\store.tga", paintStore},
    {"graphics\\itm_seed.tga", paintItemSeed},
    {"graphics\\itm_fertilizer.tga", paintItemFertilizer},
    {"graphics\\itm_weight.tga", paintItemWeight},
    {"graphics\\itm_o.tga", paintItemO},
    {"graphics\\itm_breath.tga", paintItemBreath},
    {"graphics\\itm_lung.tga", paintItemLung},
    {"graphics\\itm_mask.tga", paintItemMask},
    {"graphics\\itm_time.tga", paintItemTime},
    {"graphics\\itm_rocket.tga", paintItemRocket},
    {"graphics\\mumbly.tga", paintMumbly},
    {"graphics\\shop_exit.tga", paintShopExit},
    {"graphics\\shop_target.tga", paintShopTarget},
    {"graphics\\text_0.tga", paintDigit0},
    {"graphics\\text_1.tga", paintDigit1},
    {"graphics\\text_2.tga", paintDigit2},
    {"graphics\\text_3.tga", paintDigit3},
    {"graphics\\text_4.tga", paintDigit4},
    {"graphics\\text_5.tga", paintDigit5},
    {"graphics\\text_6.tga", paintDigit6},
    {"graphics\\text_7.tga", paintDigit7},
    {"graphics\\text_8.tga", paintDigit8},
    {"graphics\\text_9.tga", paintDigit9},
    {"graphics\\text_day.tga", paintTextDay},
    {"graphics\\sun.tga", paintSun},
    {"graphics\\rooster.tga", paintRooster},
    {"graphics\\scurvy.tga", paintScurvy},
    {"graphics\\moomania.tga", paintMoomania},
    {"graphics\\gameover.tga", paintGameOver},
    {"graphics\\ooga.tga", paintOoga},
    {"graphics\\booga.tga", paintBooga},
    {"graphics\\oogamask.tga", paintOogaMask},
    {"graphics\\breathmeter.tga", paintBreathMeter},
    {"graphics\\boo_b.tga", paintBooB},
    {"graphics\\boo_o.tga", paintBooO},
    {"graphics\\chooser\\banner.tga", paintChooserBanner},
    {"graphics\\chooser\\banner512.tga", paintChooserBanner512},
    {"graphics\\chooser\\label_mode.tga", paintLabelMode},
    {"graphics\\chooser\\opt_640.tga", paintOpt640},
    {"graphics\\chooser\\opt_800.tga", paintOpt800},
    {"graphics\\chooser\\opt_1024.tga", paintOpt1024},
    {"graphics\\chooser\\opt_16.tga", paintOpt16},
    {"graphics\\chooser\\opt_32.tga", paintOpt32},
    {"graphics\\chooser\\opt_full.tga", paintOptFull},
    {"graphics\\chooser\\btn_ok.tga", paintButtonOk},
    {"graphics\\chooser\\radio_off.tga", paintRadioOff},
    {"graphics\\chooser\\radio_on.tga", paintRadioOn},
    {"graphics\\chooser\\check_off.tga", paintCheckOff},
    {"graphics\\chooser\\check_on.tga", paintCheckOn},
    {"graphics\\chooser\\focus.tga", paintFocus},
    {"graphics\\chooser\\panel.tga", paintPanel},
    // The player's comforts.
    {"graphics\\comfort\\paused.tga", paintPaused},
    {"graphics\\comfort\\resume.tga", paintResumeHint},
    {"graphics\\comfort\\speaker.tga", paintSpeaker},
    {"graphics\\comfort\\speaker_muted.tga", paintSpeakerMuted},
    {"graphics\\comfort\\level_on.tga", paintLevelOn},
    {"graphics\\comfort\\level_off.tga", paintLevelOff},
    {"graphics\\comfort\\rank0.tga", paintRank<0>},
    {"graphics\\comfort\\rank1.tga", paintRank<1>},
    {"graphics\\comfort\\rank2.tga", paintRank<2>},
    {"graphics\\comfort\\rank3.tga", paintRank<3>},
    {"graphics\\comfort\\rank4.tga", paintRank<4>},
    {"graphics\\comfort\\rank5.tga", paintRank<5>},
    {"graphics\\comfort\\rank6.tga", paintRank<6>},
    {"graphics\\comfort\\rank7.tga", paintRank<7>},
    {"graphics\\comfort\\rank8.tga", paintRank<8>},
    {"graphics\\comfort\\rank9.tga", paintRank<9>},
    {"graphics\\comfort\\best_title.tga", paintBestTitle},
    {"graphics\\comfort\\best_headings.tga", paintBestHeadings},
    {"graphics\\comfort\\no_games.tga", paintNoGames},
    {"graphics\\comfort\\back_hint.tga", paintBackHint},
    {"graphics\\comfort\\dash.tga", paintDash},
};

Painter findPainter(const std::string& name) {
  for (const PainterEntry& entry : kPainters) {
    if (name == entry.name) return entry.painter;
  }
  return nullptr;
}

void paintCreature(cairo_t* cr, const PictureFile& file) {
  switch (file.family->kind) {
    case CreatureKind::Scarecrow:
      paintScarecrow(cr, file.width, file.facing, file.frame);
      break;
    case CreatureKind::Crow:
      paintCrow(cr, file.width, file.facing, file.frame);
      break;
    case CreatureKind::Pelican:
      paintPelican(cr, file.width, file.facing, file.frame);
      break;
    case CreatureKind::Cow:
      paintCow(cr, file.width, file.facing, file.frame);
      break;
  }
}

// Cairo keeps colour premultiplied by alpha; targa files keep it straight.
std::vector<uint8_t> straightBgra(cairo_surface_t* surface) {
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const uint8_t* data = cairo_image_surface_get_data(surface);
  std::vector<uint8_t> out(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = data + static_cast<size_t>(y) * stride + x * 4;
      uint8_t* q = out.data() + (static_cast<size_t>(y) * w + x) * 4;
      const int a = p[3];
      for (int c = 0; c < 3; ++c)
        q[c] = a == 0 ? 0 : static_cast<uint8_t>(std::min(255, (p[c] * 255 + a / 2) / a));
      q[3] = static_cast<uint8_t>(a);
    }
  }
  return out;
}

bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

struct Job {
  const PictureFile* file;
  Painter painter;
  cairo_surface_t* surface = nullptr;
  bool written = false;
};

void runJob(Job& job, const std::filesystem::path& root) {
  const PictureFile& file = *job.file;
  job.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, file.width, file.height);
  cairo_t* cr = cairo_create(job.surface);
  if (file.group == PictureGroup::Creature) {
    paintCreature(cr, file);
  } else {
    job.painter(cr, file.width, file.height);
  }
  cairo_destroy(cr);
  cairo_surface_flush(job.surface);
  const std::vector<uint8_t> pixels = straightBgra(job.surface);
  job.written = writeFile(root / diskPath(file.name), encodeTarga(pixels.data(), file.width, file.height));
}

// --- contact sheet ---

constexpr int kSheetWidth = 2200;
constexpr int kSheetMargin = 16;
constexpr int kLabelHeight = 16;
constexpr double kMaxShown = 256;
constexpr double kCreatureCell = 112;
constexpr double kSheetGrey = 0.5;

std::string shortName(const std::string& name) {
  const size_t slash = name.find_last_of('\\');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

void label(cairo_t* cr, const std::string& text, double x, double y, double size) {
  const TextStyle style{"DejaVu Sans", size, false, {0.05, 0.05, 0.05}, {0, 0, 0}, 0, {0.05, 0.05, 0.05}};
  drawText(cr, text.c_str(), style, x, y, Align::Left);
}

void showSurface(cairo_t* cr, cairo_surface_t* surface, double x, double y, double scale) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, surface, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
}

// Lays the sheet out; draws only when cr is given. Returns the height used.
double layoutSheet(cairo_t* cr, const std::vector<Job>& jobs) {
  double y = kSheetMargin;
  for (PictureGroup group : {PictureGroup::Game, PictureGroup::Chooser, PictureGroup::Comfort}) {
    double x = kSheetMargin, rowHeight = 0;
    for (const Job& job : jobs) {
      if (job.file->group != group) continue;
      const double scale = std::min(1.0, kMaxShown / std::max(job.file->width, job.file->height));
      const double w = std::max(job.file->width * scale, 120.0), h = job.file->height * scale + kLabelHeight;
      if (x + w > kSheetWidth - kSheetMargin) {
        x = kSheetMargin;
        y += rowHeight + 12;
        rowHeight = 0;
      }
      if (cr) {
        showSurface(cr, job.surface, x, y, scale);
        label(cr, shortName(job.file->name), x, y + job.file->height * scale + kLabelHeight / 2.0, 11);
      }
      x += w + 12;
      rowHeight = std::max(rowHeight, h);
    }
    y += rowHeight + 28;
  }
  // Creature families side by side while they fit: facings down, frames across.
  double x = kSheetMargin, rowHeight = 0;
  for (const CreatureFamily& family : kCreatureFamilies) {
    const double blockWidth = family.frames * (kCreatureCell + 4);
    const double blockHeight = family.facings * (kCreatureCell + kLabelHeight);
    if (x + blockWidth > kSheetWidth - kSheetMargin) {
      x = kSheetMargin;
      y += rowHeight + 28;
      rowHeight = 0;
    }
    const double scale = kCreatureCell / family.size;
    for (const Job& job : jobs) {
      if (job.file->family != &family) continue;
      const double cx = x + job.file->frame * (kCreatureCell + 4);
      const double cy = y + job.file->facing * (kCreatureCell + kLabelHeight);
      if (cr) {
        showSurface(cr, job.surface, cx, cy, scale);
        label(cr, shortName(job.file->name), cx, cy + kCreatureCell + kLabelHeight / 2.0 - 2, 9);
      }
    }
    x += blockWidth + 40;
    rowHeight = std::max(rowHeight, blockHeight);
  }
  y += rowHeight + kSheetMargin;
  return y;
}

bool writeContactSheet(const std::vector<Job>& jobs, const std::filesystem::path& path) {
  const int height = static_cast<int>(layoutSheet(nullptr, jobs));
  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSheetWidth, height);
  cairo_t* cr = cairo_create(sheet);
  cairo_set_source_rgb(cr, kSheetGrey, kSheetGrey, kSheetGrey);
  cairo_paint(cr);
  layoutSheet(cr, jobs);
  cairo_destroy(cr);
  const bool ok = cairo_surface_write_to_png(sheet, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(sheet);
  return ok;
}

}  // namespace
}  // namespace pictures

int main(int argc, char** argv) {
  using namespace pictures;
  if (argc != 2) {
    std::fprintf(stderr, "usage: cornkeeper-paint <output folder>\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const std::vector<PictureFile> files = allPictureFiles();
  std::vector<Job> jobs;
  jobs.reserve(files.size());
  for (const PictureFile& file : files) {
    Painter painter = file.group == PictureGroup::Creature ? nullptr : findPainter(file.name);
    if (file.group != PictureGroup::Creature && !painter) {
      std::fprintf(stderr, "cornkeeper-paint: nothing paints %s\n", file.name.c_str());
      return 1;
    }
    jobs.push_back({&file, painter});
  }
  // Font set-up happens once here, before the workers share it.
  cairo_surface_t* warmSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
  cairo_t* warm = cairo_create(warmSurface);
  measureText(warm, "Cornkeeper", digitStyle(12));
  cairo_destroy(warm);
  cairo_surface_destroy(warmSurface);
  // Two workers take jobs in turn; each picture's bytes depend only on its own painter.
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t i = next++; i < jobs.size(); i = next++) runJob(jobs[i], root);
  };
  std::thread helper(worker);
  worker();
  helper.join();
  int failures = 0;
  for (const Job& job : jobs) {
    if (!job.written) {
      std::fprintf(stderr, "cornkeeper-paint: could not write %s\n", job.file->name.c_str());
      ++failures;
    }
  }
  if (!writeContactSheet(jobs, root / "contact-sheet.png")) {
    std::fprintf(stderr, "cornkeeper-paint: could not write the contact sheet\n");
    ++failures;
  }
  if (!writeIcons(root / "icons")) ++failures;
  for (Job& job : jobs) cairo_surface_destroy(job.surface);
  return failures == 0 ? 0 : 1;
}
