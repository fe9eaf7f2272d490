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
#include "spoken_words.h"

namespace {
std::string outputPath(const std::filesystem::path& folder, const char* gameName) {
  std::string relative(gameName);
  for (char& c : relative) {
    if (c == '\\') c = '/';
  }
  return (folder / relative).string();
}

// What the phone recogniser hears in each voiced clip, for the sheet. Without the recogniser
// the sheet simply goes without.
void listen(const std::filesystem::path& folder, std::vector<SheetEntry>& sheet) {
  const std::string command =
      "'" CORNKEEPER_CHECK_VOICES "' --heard '" + (folder / "sound").string() + "' 2>/dev/null";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    // name, verdict, phones; tab-separated
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    const size_t tab1 = text.find('\t');
    const size_t tab2 = tab1 == std::string::npos ? tab1 : text.find('\t', tab1 + 1);
    if (tab2 == std::string::npos) continue;
    const std::string name = "sound\\" + text.substr(0, tab1) + ".wav";
    for (SheetEntry& e : sheet) {
      if (e.name == name)
        e.heard = text.substr(tab2 + 1) + " (" + text.substr(tab1 + 1, tab2 - tab1 - 1) + ")";
    }
  }
  pclose(pipe);
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
    if (samples.empty()) {
      std::fprintf(stderr, "cornkeeper-sing: cannot make %s (is espeak-ng installed?)\n", recipe.fileName);
      return 1;
    }
    masterClip(samples);
    std::vector<int16_t> pcm = toPcm(samples);
    const std::string path = outputPath(folder, recipe.fileName);
    if (!writeWave(path, pcm)) {
      std::fprintf(stderr, "cornkeeper-sing: cannot write %s\n", path.c_str());
      return 1;
    }
    sheet.push_back({recipe.fileName, std::move(pcm)});
  }
  finishSpeaking();
  listen(folder, sheet);
  if (!writeSheet((folder / "sound-sheet.png").string(), sheet)) {
    std::fprintf(stderr, "cornkeeper-sing: cannot write the sound sheet\n");
    return 1;
  }
  return 0;
}
