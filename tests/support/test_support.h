// Shared by every unit test: an OSMesa context made current before any test runs, the virtual
// clock, and a log of the clips the game plays.
#pragma once

#include <string>
#include <vector>

#include "offscreen_context.h"

OffscreenContext& testContext();

// Clips played since the last clearPlayedClips(), by file name as the game gives it.
const std::vector<std::string>& playedClips();
void clearPlayedClips();
int countPlayed(const std::string& fileName);
