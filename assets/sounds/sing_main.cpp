// cornkeeper-sing <output folder> [name part]: synthesises every wave file of the game into
// <folder>/sound/ and a review sheet of their waveforms and spectrograms into
// <folder>/sound-sheet.png. With a name part, only the clips whose names contain it (for review).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "clips.h"
#include "master.h"
#include "sheet.h"

namespace {
std::string outputPath(const std::filesystem::path& folder, const char* gameName) {
  std::string relative(gameName);
  for (char& c : relative) {
    if (c == '\\') c = '/';
  }
  return (folder / relative).string();
}
}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder = argc > 1 ? argv[1] : ".";
  std::error_code ec;
  std::filesystem::create_directories(folder / "sound", ec);
  if (ec) {
    std::fprintf(stderr, "cornkeeper-sing: cannot create %s/sound\n", folder.string().c_str());
    return 1;
  }
  const char* only = argc > 2 ? argv[2] : nullptr;
  std::vector<SheetEntry> sheet;
  for (const ClipRecipe& recipe : kClipRecipes) {
    if (only != nullptr && std::strstr(recipe.fileName, only) == nullptr) continue;
    Samples samples = recipe.make();
    masterClip(samples);
    std::vector<int16_t> pcm = toPcm(samples);
    const std::string path = outputPath(folder, recipe.fileName);
    if (!writeWave(path, pcm)) {
      std::fprintf(stderr, "cornkeeper-sing: cannot write %s\n", path.c_str());
      return 1;
    }
    sheet.push_back({recipe.fileName, std::move(pcm)});
  }
  if (!writeSheet((folder / "sound-sheet.png").string(), sheet)) {
    std::fprintf(stderr, "cornkeeper-sing: cannot write the sound sheet\n");
    return 1;
  }
  return 0;
}
