// The grass under everything, stretched over the whole logical screen.
#pragma once

namespace Ground {
void load();
void unload();
void draw(float brightness);
}  // namespace Ground
