// The settings file: where it lives, a faithful round trip, and defaults from anything damaged.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "shell/settings.h"
#include "shell/user_files.h"

namespace {

namespace fs = std::filesystem;

class SettingsFile : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("cornkeeper-settings-" + std::to_string(getpid()));
    fs::remove_all(folder_);
    path_ = (folder_ / "cornkeeper" / "settings").string();
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, ignored);
    fs::remove_all(folder_);
  }
  void writeRaw(const std::string& bytes) {
    fs::create_directories(fs::path(path_).parent_path());
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  std::string readRaw() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path folder_;
  std::string path_;
};

void expectDefaults(const Settings& s, const std::string& why) {
  auto fields = [](const Settings& f) {
    return std::tuple(f.width, f.height, f.bitsPerPixel, f.fullScreen, f.volume, f.muted);
  };
  EXPECT_EQ(fields(s), fields(Settings{})) << why;
}

TEST_F(SettingsFile, FollowsTheXdgFoldersAndTheirFallbacks) {
  struct Case {
    const char* config;
    const char* data;
    const char* expectConfig;
    const char* expectData;
  } cases[] = {
      {"/cfg", "/dat", "/cfg/cornkeeper/settings", "/dat/cornkeeper/settings"},
      {nullptr, nullptr, "/home/p/.config/cornkeeper/settings", "/home/p/.local/share/cornkeeper/settings"},
      {"", "", "/home/p/.config/cornkeeper/settings", "/home/p/.local/share/cornkeeper/settings"},
      // Relative values are not XDG folders.
      {"rel/cfg", "rel", "/home/p/.config/cornkeeper/settings", "/home/p/.local/share/cornkeeper/settings"},
  };
  setenv("HOME", "/home/p", 1);
  for (const Case& c : cases) {
    c.config ? setenv("XDG_CONFIG_HOME", c.config, 1) : unsetenv("XDG_CONFIG_HOME");
    c.data ? setenv("XDG_DATA_HOME", c.data, 1) : unsetenv("XDG_DATA_HOME");
    char path[256];
    ASSERT_TRUE(userFilePath(UserFolder::Config, "settings", path, sizeof path));
    EXPECT_STREQ(path, c.expectConfig);
    ASSERT_TRUE(userFilePath(UserFolder::Data, "settings", path, sizeof path));
    EXPECT_STREQ(path, c.expectData);
  }
  char tiny[12];
  EXPECT_FALSE(userFilePath(UserFolder::Config, "settings", tiny, sizeof tiny));
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  char path[256];
  EXPECT_FALSE(userFilePath(UserFolder::Config, "settings", path, sizeof path));
}

// A save made in a folder that does not exist yet comes back identical, with the lines another
// version wrote kept in their order; a known key with a bad value is corrected on the way.
TEST_F(SettingsFile, RoundTripKeepsUnknownLines) {
  writeRaw("# my notes\nwidth=1024\nheight=768\nlanguage=fr\ndepth=24\nvolume=3\nfuture.key=a=b\n");
  Settings read;
  ASSERT_TRUE(read.load(path_.c_str()));
  EXPECT_EQ(read.width, 1024);
  EXPECT_EQ(read.height, 768);
  EXPECT_EQ(read.bitsPerPixel, 16) << "24 is not a depth the chooser offers";
  EXPECT_EQ(read.volume, 3);
  read.fullScreen = 1;
  read.muted = true;
  read.bitsPerPixel = 32;
  fs::remove_all(folder_);
  ASSERT_TRUE(read.save(path_.c_str()));
  const std::string text = readRaw();
  EXPECT_EQ(text,
            "width=1024\nheight=768\ndepth=32\nfullscreen=1\nvolume=3\nmuted=1\n"
            "# my notes\nlanguage=fr\nfuture.key=a=b\n");
  EXPECT_FALSE(fs::exists(path_ + ".tmp"));
  Settings again;
  ASSERT_TRUE(again.load(path_.c_str()));
  char first[Settings::fileCapacity], second[Settings::fileCapacity];
  ASSERT_GT(read.format(first, sizeof first), 0u);
  ASSERT_GT(again.format(second, sizeof second), 0u);
  EXPECT_STREQ(first, second);
}

TEST_F(SettingsFile, DamagedFilesGiveDefaults) {
  Settings s;
  s.volume = 2;
  EXPECT_FALSE(s.load(path_.c_str()));
  expectDefaults(s, "missing");

  std::string garbage;
  for (int i = 0; i < 3000; ++i) garbage += static_cast<char>((i * 7919 + 13) % 256);
  std::string huge = "volume=4\n" + std::string(9000, 'x') + "\nvolume=5\n";
  const std::pair<std::string, std::string> damaged[] = {
      {"empty", ""},
      {"binary garbage", garbage},
      {"half-written pair", "width=1024\nhei"},
      {"half-written number", "width=800\nheight=600\nvolume=1"},
      {"mismatched pair", "width=800\nheight=768\n"},
      {"out of range", "volume=11\nfullscreen=2\nmuted=-1\ndepth=8\nwidth=99999999999\n"},
      {"signs and spaces", "volume=+3\nvolume= 3\nvolume=-0\nwidth =800\n"},
      {"nul inside", std::string("volume=4\0\n", 10)},
      {"cut past the buffer", huge},
  };
  for (const auto& [why, bytes] : damaged) {
    writeRaw(bytes);
    Settings loaded;
    loaded.width = 800;
    EXPECT_TRUE(loaded.load(path_.c_str())) << why;
    if (why == "half-written number") {
      // Whatever was whole is taken: the cut value is still a valid level.
      EXPECT_EQ(loaded.width, 800);
      EXPECT_EQ(loaded.volume, 1);
    } else if (why == "cut past the buffer") {
      EXPECT_EQ(loaded.volume, 4);
      EXPECT_EQ(loaded.keptLineCount(), 0) << "an overlong line is not kept";
    } else {
      expectDefaults(loaded, why);
    }
    char text[Settings::fileCapacity];
    EXPECT_GT(loaded.format(text, sizeof text), 0u) << why;
  }
}

// A folder that refuses writes: the save reports one line and the game goes on with its settings.
TEST_F(SettingsFile, ReadOnlyFolderIsSurvivedWithOneLine) {
  std::string path;
  if (geteuid() == 0) {
    path = "/sys/cornkeeper/settings";  // refuses even root
  } else {
    fs::create_directories(folder_);
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    path = path_;
  }
  Settings s;
  s.volume = 6;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(s.save(path.c_str()));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find(path), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(s.volume, 6);
  EXPECT_FALSE(fs::exists(path));
}

}  // namespace
