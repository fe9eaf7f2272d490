// The best-games table: its order, its file, and that no interrupted save ever loses it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "shell/best_games.h"
#include "shell/user_files.h"

namespace {

namespace fs = std::filesystem;

BestGame game(int32_t score, int32_t day, const char* date = "2026-12-07") {
  BestGame g{score, day, {}, 800, 600, 32, 0};
  std::snprintf(g.date, sizeof g.date, "%s", date);
  return g;
}

class BestGamesFile : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("cornkeeper-best-" + std::to_string(getpid()));
    fs::remove_all(folder_);
    path_ = (folder_ / "cornkeeper" / "best-games").string();
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string readRaw(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void writeRaw(const std::string& bytes) {
    fs::create_directories(fs::path(path_).parent_path());
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  fs::path folder_;
  std::string path_;
};

// Higher score first, then the later day; a game equal to one already there goes below it; the
// eleventh is dropped, whether it is the newcomer or the old last.
TEST(BestGamesOrder, ScoreThenDayAndOnlyTen) {
  BestGames table;
  table.open("");
  struct Step {
    int32_t score, day;
    int expectedPlace;
  } steps[] = {
      {500, 3, 0}, {900, 2, 0}, {500, 5, 1}, {500, 3, 3},  // the tie goes below the first 500/3
      {100, 1, 4}, {700, 4, 1}, {0, 1, 6},   {1000, 9, 0},
      {300, 2, 6}, {300, 2, 7}, {0, 1, -1},  // full, and no better than the last: dropped
      {600, 1, 3},                           // pushes the last one out
  };
  for (const Step& s : steps) {
    EXPECT_EQ(table.add(game(s.score, s.day)), s.expectedPlace) << s.score << "/" << s.day;
  }
  ASSERT_EQ(table.count(), BestGames::capacity);
  const int32_t expected[][2] = {{1000, 9}, {900, 2}, {700, 4}, {600, 1}, {500, 5},
                                 {500, 3},  {500, 3}, {300, 2}, {300, 2}, {100, 1}};
  for (int i = 0; i < table.count(); ++i) {
    EXPECT_EQ(table.entry(i).score, expected[i][0]) << i;
    EXPECT_EQ(table.entry(i).day, expected[i][1]) << i;
  }
  EXPECT_EQ(table.add(game(100, 1)), -1) << "equal to the last does not push it out";
}

TEST_F(BestGamesFile, SavesAndReadsBackAndSetsDamageAside) {
  {
    BestGames table;
    EXPECT_TRUE(table.open(path_.c_str())) << "no table yet is not damage";
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(table.record(game(250, 4, "2026-01-31")), 0);
    BestGame full = game(90, 2);
    full.width = 1024, full.height = 768, full.bitsPerPixel = 16, full.fullScreen = 1;
    EXPECT_EQ(table.record(full), 1);
  }
  const std::string saved = readRaw(path_);
  EXPECT_EQ(saved, "cornkeeper best games 1\n250 4 2026-01-31 800x600 32 0\n90 2 2026-12-07 1024x768 16 1\n");
  // Read back, every field is written out again as it was saved.
  BestGames table;
  ASSERT_TRUE(table.open(path_.c_str()));
  char text[BestGames::fileCapacity];
  EXPECT_EQ(std::string(text, table.format(text, sizeof text)), saved);

  const std::string good = "cornkeeper best games 1\n250 4 2026-01-31 800x600 32 0\n";
  std::string eleven = "cornkeeper best games 1\n";
  for (int i = 0; i < 11; ++i) eleven += "5 1 2026-01-31 800x600 32 0\n";
  const std::pair<const char*, std::string> damaged[] = {
      {"empty", ""},
      {"cut mid-line", good.substr(0, good.size() - 5)},
      {"wrong header", "cornkeeper best games 2\n250 4 2026-01-31 800x600 32 0\n"},
      {"out of order", good + "900 4 2026-01-31 800x600 32 0\n"},
      {"bad date", "cornkeeper best games 1\n250 4 2026-1-31 800x600 32 0\n"},
      {"extra field", "cornkeeper best games 1\n250 4 2026-01-31 800x600 32 0 7\n"},
      {"negative score", "cornkeeper best games 1\n-5 4 2026-01-31 800x600 32 0\n"},
      {"eleven rows", eleven},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
      {"too big", good + std::string(BestGames::fileCapacity, '\n')},
  };
  for (const auto& [why, bytes] : damaged) {
    fs::remove(path_ + ".bad");
    writeRaw(bytes);
    testing::internal::CaptureStderr();
    BestGames fresh;
    EXPECT_FALSE(fresh.open(path_.c_str())) << why;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << why << ": " << said;
    EXPECT_EQ(fresh.count(), 0) << why;
    EXPECT_EQ(readRaw(path_ + ".bad"), bytes) << why << ": set aside unchanged";
    EXPECT_FALSE(fs::exists(path_)) << why;
    EXPECT_EQ(fresh.record(game(10, 1)), 0) << why;
    BestGames reread;
    EXPECT_TRUE(reread.open(path_.c_str())) << why;
    EXPECT_EQ(reread.count(), 1) << why;
  }
}

// A save that stops after the temporary file is written leaves the old table in place, and the
// next save goes through.
TEST_F(BestGamesFile, AStoppedSaveLeavesTheOldTable) {
  BestGames table;
  table.open(path_.c_str());
  table.record(game(300, 3));
  table.record(game(200, 2));
  const std::string before = readRaw(path_);
  char text[BestGames::fileCapacity];
  BestGames next = table;
  next.add(game(900, 9));
  const size_t length = next.format(text, sizeof text);
  ASSERT_TRUE(writeTemporaryFile(path_.c_str(), text, length));
  EXPECT_EQ(readRaw(path_), before);
  BestGames reread;
  ASSERT_TRUE(reread.open(path_.c_str()));
  EXPECT_EQ(reread.count(), 2);
  EXPECT_EQ(reread.record(game(50, 1)), 2);
  EXPECT_FALSE(fs::exists(path_ + ".tmp"));
  EXPECT_FALSE(fs::exists(path_ + ".bad"));
}

// A real crash: a child saves over and over and is killed at a random moment; every time the table
// reads back whole, never smaller than before, and nothing is ever set aside as damaged.
TEST_F(BestGamesFile, KilledMidSaveNeverLosesTheTable) {
  constexpr int tries = 300;
  int previousCount = 0;
  int32_t previousBest = 0;
  unsigned seed = 12345;
  int killedMidRun = 0;
  for (int attempt = 0; attempt < tries; ++attempt) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      BestGames mine;
      if (!mine.open(path_.c_str())) _exit(3);
      const int32_t from = mine.count() > 0 ? mine.entry(0).score : 0;
      for (int32_t i = 1; i < 200000; ++i) mine.record(game(from + i, 1 + i % 7));
      _exit(0);
    }
    seed = seed * 1103515245u + 12345u;
    usleep((seed >> 8) % 20000);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (WIFSIGNALED(status)) ++killedMidRun;
    ASSERT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << "the child found a damaged table";
    BestGames table;
    ASSERT_TRUE(table.open(path_.c_str())) << "attempt " << attempt;
    ASSERT_FALSE(fs::exists(path_ + ".bad")) << "attempt " << attempt;
    ASSERT_GE(table.count(), previousCount) << "attempt " << attempt;
    if (table.count() > 0) {
      ASSERT_GE(table.entry(0).score, previousBest) << "attempt " << attempt;
      previousBest = table.entry(0).score;
    }
    previousCount = table.count();
  }
  EXPECT_EQ(killedMidRun, tries);
  EXPECT_EQ(previousCount, BestGames::capacity) << "the children did save";
}

}  // namespace
