// Frozen frames of the real game for measuring and comparing the renderer: the title with its field
// of rising stalks, and a running day with a full field, ten crows and the scarecrow.
#pragma once

namespace FrameScenes {
enum class Scene { Title, MidDay };

// Starts the game on the current context and brings it to the scene; false if it never got there.
// Nothing moves afterwards, so every draw of the scene gives the same frame.
bool start(Scene scene);
const char* name(Scene scene);
// gameShutdown: every picture released while the context still exists.
void stop();
}  // namespace FrameScenes
