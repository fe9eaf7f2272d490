#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "shell/demo.h"
#include "shell/demo_session.h"
#include "shell/key_state.h"

namespace {
FILE* fileWith(const std::string& text) {
  FILE* file = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  return file;
}

std::string scratchPath(const char* name) {
  return std::string(::testing::TempDir()) + "demo_test_" + std::to_string(getpid()) + "_" + name;
}

const char* goodHeader = "cornkeeper-demo 1\ngame 1.2.3\nstarting-day 20\nstarting-corn 3\n";

// What is written reads back the same: header, seeds in order, frame times, key bytes per frame,
// including a frame with no change, the largest time, and the highest key.
TEST(DemoTest, WriteThenReadGivesTheSameDemo) {
  Demo written(8, 16, 4);
  written.setHeader("1.2.3", 30, 2);
  ASSERT_TRUE(written.addSeed(41));
  ASSERT_TRUE(written.addSeed(4294967295u));
  const std::pair<uint32_t, std::vector<DemoKeyChange>> frames[] = {
      {16, {{17, 2}, {37, 3}}}, {0, {}}, {Demo::maxFrameMs, {{37, 1}, {255, 0}}}};
  for (const auto& [ms, changes] : frames) ASSERT_TRUE(written.addFrame(ms, changes.data(), changes.size()));

  FILE* file = std::tmpfile();
  ASSERT_TRUE(written.write(file));
  std::rewind(file);
  Demo read(8, 16, 4);
  char error[256] = "";
  ASSERT_TRUE(read.read(file, "round.demo", error, sizeof error)) << error;
  std::fclose(file);

  EXPECT_STREQ(read.gameVersion(), "1.2.3");
  EXPECT_EQ(read.startingDay(), 30);
  EXPECT_EQ(read.startingCorn(), 2);
  ASSERT_EQ(read.seedCount(), 2u);
  EXPECT_EQ(read.seed(0), 41u);
  EXPECT_EQ(read.seed(1), 4294967295u);
  ASSERT_EQ(read.frameCount(), 3u);
  for (size_t f = 0; f < 3; ++f) {
    const DemoFrame& frame = read.frame(f);
    const auto& [ms, changes] = frames[f];
    EXPECT_EQ(frame.ms, ms) << f;
    ASSERT_EQ(frame.changeCount, changes.size()) << f;
    for (size_t c = 0; c < changes.size(); ++c) {
      EXPECT_EQ(read.changesOf(frame)[c].key, changes[c].key) << f;
      EXPECT_EQ(read.changesOf(frame)[c].bits, changes[c].bits) << f;
    }
  }
}

// A full demo takes nothing more, and a file that holds more than the reader keeps is refused.
TEST(DemoTest, FullDemoRefusesMore) {
  Demo demo(2, 2, 1);
  const DemoKeyChange three[] = {{1, 1}, {2, 1}, {3, 1}};
  EXPECT_FALSE(demo.addFrame(16, three, 3)) << "more changes than room";
  EXPECT_FALSE(demo.addFrame(Demo::maxFrameMs + 1, nullptr, 0)) << "a time past the limit";
  EXPECT_TRUE(demo.addFrame(16, three, 2));
  EXPECT_FALSE(demo.addFrame(16, three, 1)) << "the changes are used up";
  EXPECT_TRUE(demo.addFrame(16, nullptr, 0));
  EXPECT_FALSE(demo.addFrame(16, nullptr, 0)) << "the frames are used up";
  EXPECT_TRUE(demo.addSeed(5));
  EXPECT_FALSE(demo.addSeed(6));
  EXPECT_EQ(demo.frameCount(), 2u);
  EXPECT_EQ(demo.seedCount(), 1u);
}

// Every kind of bad file is refused whole, with one line naming the file, the line and the fault.
TEST(DemoTest, BadFilesAreRefusedWithTheirLine) {
  const std::string header(goodHeader);
  const struct {
    std::string text;
    int line;
    const char* says;
  } cases[] = {
      {"", 1, "empty file"},
      {std::string("\177ELF\2\1\1\0\0\0", 10), 1, "not a line of text"},
      {"P6\n640 480\n255\n", 1, "not a Cornkeeper demo"},
      {"cornkeeper-demo one\n", 1, "not a Cornkeeper demo"},
      {"cornkeeper-demo 2\ngame 9\n", 1, "format version 2"},
      {"cornkeeper-demo 1\ngame 1.0\nstarting-day 0\n", 4, "ends inside the header"},
      {"cornkeeper-demo 1\ngame 1.0\nstarting-day 5x\n", 3, "whole number"},
      {"cornkeeper-demo 1\ngame 1.0\nstarting-corn 0\n", 3, "starting corn 0 out of range"},
      {"cornkeeper-demo 1\ngame 1.0\ngame 1.1\n", 3, "given twice"},
      {"cornkeeper-demo 1\ngame 1.0\nstarting-corn 1\nframes 1\n", 4, "lacks 'starting-day'"},
      {"cornkeeper-demo 1\ngame 1.0\nspeed 3\n", 3, "unknown header line"},
      {header + "seed 4294967296\n", 5, "seed 4294967296 out of range"},
      {header + "seed 1\nseed 2\nseed 3\n", 7, "more seeds"},
      {header + "frames 99\n", 5, "frame count 99 out of range"},
      {header + "frames 3\n16\n17 37=3\n", 8, "ends after 2 of 3 frames"},
      {header + "frames 2\n16\n60001\nend\n", 7, "frame time 60001 out of range"},
      {header + "frames 2\n16\n16 256=1\nend\n", 7, "key 256 out of range"},
      {header + "frames 1\n16 37=4\nend\n", 6, "key bits 4 out of range"},
      {header + "frames 1\n16 37=1 17=1\nend\n", 6, "rising order"},
      {header + "frames 1\n16 37=1 37=0\nend\n", 6, "rising order"},
      {header + "frames 1\n16 37\nend\n", 6, "expected 'MS KEY=BITS"},
      {header + "frames 1\n-16\nend\n", 6, "expected 'MS KEY=BITS"},
      {header + "frames 1\n16 37=1 \nend\n", 6, "expected 'MS KEY=BITS"},
      {header + "frames 1\n16\n", 7, "without its 'end'"},
      {header + "frames 1\n16\n16\nend\n", 7, "expected 'end' after 1 frames"},
      {header + "frames 1\n16\nend\nmore\n", 8, "text after 'end'"},
      {header + "frames 1\n" + std::string(5000, '7') + "\nend\n", 6, "line longer than"},
      {header + "frames 1\n16\rx\nend\n", 6, "not a line of text"},
  };
  for (const auto& bad : cases) {
    FILE* file = fileWith(bad.text);
    Demo demo(4, 4, 2);
    char error[256] = "";
    EXPECT_FALSE(demo.read(file, "bad.demo", error, sizeof error)) << bad.says;
    std::fclose(file);
    const std::string expectedStart = "bad.demo:" + std::to_string(bad.line) + ": ";
    EXPECT_EQ(std::string(error).rfind(expectedStart, 0), 0u) << error << " | wanted line " << bad.line;
    EXPECT_NE(std::strstr(error, bad.says), nullptr) << error << " | wanted " << bad.says;
    EXPECT_EQ(std::strchr(error, '\n'), nullptr) << "one line: " << error;
    EXPECT_EQ(demo.frameCount(), 0u) << bad.says;
    EXPECT_EQ(demo.seedCount(), 0u) << bad.says;
  }
}

// A file from another editor (CR LF line ends, no newline after 'end') is still a demo.
TEST(DemoTest, ToleratesCrLfAndAMissingLastNewline) {
  FILE* file = fileWith(
      "cornkeeper-demo 1\r\ngame 1.0\r\nstarting-day 0\r\nstarting-corn 1\r\nframes 1\r\n16 17=2\r\nend");
  Demo demo(4, 4, 2);
  char error[256] = "";
  EXPECT_TRUE(demo.read(file, "crlf.demo", error, sizeof error)) << error;
  std::fclose(file);
  ASSERT_EQ(demo.frameCount(), 1u);
  EXPECT_EQ(demo.changesOf(demo.frame(0))[0].key, 17);
}

// A recording notes each frame's time and the key-table bytes the player changed since the last
// frame ended (not those the game cleared itself), and each world's seed; playback sets the same
// bytes before the same frames, returns the same times and seeds, and leaves an empty table behind.
TEST(DemoSessionTest, RecordedKeysTimesAndSeedsPlayBack) {
  const std::string path = scratchPath("session.demo");
  KeyState::clearAll();
  ASSERT_TRUE(DemoSession::startRecording(path.c_str(), "test"));
  DemoSession::noteStartingSettings(40, 2);

  struct Step {
    void (*input)();
    uint32_t elapsed;
    uint32_t gameReads;  // the key whose press the frame's update reads, or 0
    bool loadsWorld;
  };
  const Step steps[] = {
      {[] {}, 700, 0, false},
      {[] { KeyState::keyDown(vkLeft); }, 16, vkLeft, false},
      {[] {}, 17, 0, true},
      {[] {
         KeyState::keyDown(vkControl);
         KeyState::keyUp(vkControl);
       },
       16, vkControl, false},
      {[] { KeyState::keyUp(vkLeft); }, 90000, 0, true},
      {[] { KeyState::keyDown(vkControl); }, 0, 0, false},
  };
  uint8_t tableBeforeUpdate[6][256];
  uint32_t seeds[2];
  int seedIndex = 0;
  uint32_t timer = 1000;
  for (size_t i = 0; i < 6; ++i) {
    steps[i].input();
    EXPECT_EQ(DemoSession::beginFrame(steps[i].elapsed), i == 4 ? Demo::maxFrameMs : steps[i].elapsed);
    for (uint32_t key = 0; key < 256; ++key) tableBeforeUpdate[i][key] = KeyState::rawByte(key);
    EXPECT_TRUE(!steps[i].gameReads || KeyState::wasPressed(steps[i].gameReads)) << "frame " << i;
    if (steps[i].loadsWorld) {
      timer += 333;
      seeds[seedIndex++] = DemoSession::worldSeed(timer);
    }
    DemoSession::endFrame();
  }
  ASSERT_TRUE(DemoSession::finishRecording());
  EXPECT_EQ(DemoSession::mode(), DemoSession::Mode::Off);

  KeyState::clearAll();
  KeyState::keyDown(vkUp);  // the player's key from before playback must not leak into it
  ASSERT_TRUE(DemoSession::startPlayback(path.c_str(), "test"));
  int day = 0, corn = 0;
  ASSERT_TRUE(DemoSession::playbackStartingSettings(day, corn));
  EXPECT_EQ(day, 40);
  EXPECT_EQ(corn, 2);
  seedIndex = 0;
  for (size_t i = 0; i < 6; ++i) {
    ASSERT_FALSE(DemoSession::playbackDone());
    const uint32_t expectedMs = i == 4 ? Demo::maxFrameMs : steps[i].elapsed;
    EXPECT_EQ(DemoSession::nextFrameMs(), expectedMs);
    EXPECT_EQ(DemoSession::beginFrame(5), expectedMs) << "frame " << i;
    for (uint32_t key = 0; key < 256; ++key) {
      ASSERT_EQ(KeyState::rawByte(key), tableBeforeUpdate[i][key]) << "frame " << i << " key " << key;
    }
    EXPECT_TRUE(!steps[i].gameReads || KeyState::wasPressed(steps[i].gameReads)) << "frame " << i;
    if (steps[i].loadsWorld) {
      EXPECT_EQ(DemoSession::worldSeed(7), seeds[seedIndex++]);
    }
    DemoSession::endFrame();
  }
  EXPECT_TRUE(DemoSession::playbackDone());
  EXPECT_EQ(DemoSession::worldSeed(7), 7u) << "past the recorded seeds the timer's seed stands";
  DemoSession::stopPlayback();
  EXPECT_EQ(DemoSession::mode(), DemoSession::Mode::Off);
  EXPECT_EQ(KeyState::rawByte(vkControl), 0) << "live play starts from an empty table";
  std::remove(path.c_str());
}

// A demo that cannot be used leaves the game as it was: nothing plays, no file is half-written.
TEST(DemoSessionTest, UnusableFilesChangeNothing) {
  const std::string bad = scratchPath("bad.demo");
  FILE* file = std::fopen(bad.c_str(), "w");
  std::fputs("cornkeeper-demo 1\ngame x\nstarting-day 0\nstarting-corn 1\nframes 2\n16\n", file);
  std::fclose(file);
  KeyState::clearAll();
  KeyState::keyDown(vkLeft);
  EXPECT_FALSE(DemoSession::startPlayback(bad.c_str(), "x"));
  EXPECT_FALSE(DemoSession::startPlayback(scratchPath("missing.demo").c_str(), "x"));
  EXPECT_FALSE(DemoSession::startRecording("/nonexistent-folder/a.demo", "x"));
  EXPECT_EQ(DemoSession::mode(), DemoSession::Mode::Off);
  EXPECT_EQ(DemoSession::beginFrame(16), 16u);
  EXPECT_EQ(KeyState::rawByte(vkLeft), 3) << "a refused demo must not touch the key table";
  KeyState::clearAll();
  std::remove(bad.c_str());
}
}  // namespace
