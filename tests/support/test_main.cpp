#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "shell/platform.h"
#include "sound/sound_clip.h"
#include "test_support.h"

namespace {
OffscreenContext* context = nullptr;
std::vector<std::string> played;

void recordPlay(const char* fileName) {
  played.emplace_back(fileName);
}
}  // namespace

OffscreenContext& testContext() {
  return *context;
}
const std::vector<std::string>& playedClips() {
  return played;
}
void clearPlayedClips() {
  played.clear();
}
int countPlayed(const std::string& fileName) {
  int n = 0;
  for (const std::string& name : played) n += name == fileName ? 1 : 0;
  return n;
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  platformUseVirtualClock(true);
  platformSetErrorBoxesEnabled(false);
  SoundClip::setPlayObserver(recordPlay);
  context = new OffscreenContext(640, 480);
  if (!context->ok()) {
    std::fprintf(stderr, "no OSMesa context\n");
    return 1;
  }
  int result = RUN_ALL_TESTS();
  delete context;
  return result;
}
