// Recording a game into a demo, or playing one back, around the frame loop: the loop asks it for
// each frame's milliseconds, the world load for its seed, and it keeps the key table in step.
#pragma once

#include <cstdint>

class Demo;

namespace DemoSession {
enum class Mode : uint8_t { Off, Recording, Playing };

// Before the loop. False, with one line on stderr, when the file cannot be used; nothing changes.
bool startRecording(const char* path, const char* gameVersion);
bool startPlayback(const char* path, const char* gameVersion);
Mode mode();
const Demo* demo();

// The screens hand a recording the title settings it starts from, and take a playback's.
void noteStartingSettings(int day, int corn);
bool playbackStartingSettings(int& day, int& corn);

// Just before the frame's update: returns the milliseconds the frame is given. Recording notes them
// (at most the demo's limit) and the key-table bytes changed since the last frame ended; playing sets
// the recorded bytes and returns the recorded time.
uint32_t beginFrame(uint32_t elapsedMs);
// After the frame's update and draw.
void endFrame();

// Playing: true once every frame has run; the next frame's milliseconds (0 when done).
bool playbackDone();
uint32_t nextFrameMs();
// Leaves playback: live keys again, starting from an empty key table.
void stopPlayback();

// The seed of a world load: noted while recording, the recorded one while playing.
uint32_t worldSeed(uint32_t timerSeed);

// Writes the recording to its file; false, with one line on stderr, when that fails.
bool finishRecording();
}  // namespace DemoSession
