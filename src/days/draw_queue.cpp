// Placeholder: replaced by the real module.
#include "days/draw_queue.h"

void DrawQueue::load() {}
void DrawQueue::unload() {}
void DrawQueue::reset() {}
void DrawQueue::flush() {}
void DrawQueue::add(Sprite*, float, float, float, float, float, float, float, float, DrawKind) {}
