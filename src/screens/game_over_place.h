// The game's place among the best, recorded at game over and drawn as one line under the game-over
// presentation ("New best!", "3rd best").
#pragma once

#include <cstdint>

struct AppWindow;

namespace GameOverPlace {
// With the world: the ten lines are ready before the game can end.
void load();
void unload();

// Enters the finished game in the table (a no-op when the table is not open) and keeps its place.
void record(int32_t score, int32_t shownDay, const AppWindow* window);
// 0 for the best, -1 when the game did not make the table or none is recorded yet.
int place();
void draw();
}  // namespace GameOverPlace
