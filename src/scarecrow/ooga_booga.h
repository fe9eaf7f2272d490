// The ooga-booga power: scares every creature at once while the words fly in.
#pragma once

namespace OogaBooga {
void start(float x, float y);
bool isActive();
void update();
void draw();
void end();
}  // namespace OogaBooga
