#include "shell/user_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {
constexpr const char* gameFolder = "cornkeeper";
constexpr size_t pathCapacity = 1024;

bool temporaryPath(const char* path, char* out) {
  const int written = std::snprintf(out, pathCapacity, "%s.tmp", path);
  return written > 0 && static_cast<size_t>(written) < pathCapacity;
}

// Makes every folder above the file, like mkdir -p on its dirname.
bool makeParentFolders(const char* path) {
  char folder[pathCapacity];
  const size_t length = std::strlen(path);
  if (length >= sizeof folder) {
    errno = ENAMETOOLONG;
    return false;
  }
  std::memcpy(folder, path, length + 1);
  for (size_t i = 1; i < length; ++i) {
    if (folder[i] != '/') continue;
    folder[i] = '\0';
    if (mkdir(folder, 0700) != 0 && errno != EEXIST) return false;
    folder[i] = '/';
  }
  return true;
}

bool writeAll(int fd, const char* bytes, size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// The rename itself is only durable once the folder's entry is on disk too.
void syncParentFolder(const char* path) {
  char folder[pathCapacity];
  std::snprintf(folder, sizeof folder, "%s", path);
  char* slash = std::strrchr(folder, '/');
  if (slash == nullptr) return;
  *slash = '\0';
  const int fd = open(folder[0] != '\0' ? folder : "/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}
}  // namespace

bool userFilePath(UserFolder folder, const char* name, char* out, size_t size) {
  const char* variable = folder == UserFolder::Config ? "XDG_CONFIG_HOME" : "XDG_DATA_HOME";
  const char* fallback = folder == UserFolder::Config ? ".config" : ".local/share";
  const char* base = std::getenv(variable);
  int written = 0;
  // The XDG rules ignore a relative value.
  if (base != nullptr && base[0] == '/') {
    written = std::snprintf(out, size, "%s/%s/%s", base, gameFolder, name);
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return false;
    written = std::snprintf(out, size, "%s/%s/%s/%s", home, fallback, gameFolder, name);
  }
  return written > 0 && static_cast<size_t>(written) < size;
}

long readSmallFile(const char* path, char* buffer, size_t capacity, bool* cut) {
  if (cut != nullptr) *cut = false;
  if (capacity == 0) return -1;
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  size_t length = 0;
  while (length + 1 < capacity) {
    const ssize_t got = read(fd, buffer + length, capacity - 1 - length);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      close(fd);
      return -1;
    }
    if (got == 0) break;
    length += static_cast<size_t>(got);
  }
  if (length + 1 == capacity && cut != nullptr) {
    char extra = 0;
    *cut = read(fd, &extra, 1) == 1;
  }
  close(fd);
  buffer[length] = '\0';
  return static_cast<long>(length);
}

bool writeTemporaryFile(const char* path, const char* bytes, size_t size) {
  char temporary[pathCapacity];
  if (!temporaryPath(path, temporary)) {
    errno = ENAMETOOLONG;
    return false;
  }
  if (!makeParentFolders(path)) return false;
  const int fd = open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = writeAll(fd, bytes, size) && fsync(fd) == 0;
  const int savedErrno = errno;
  ok = close(fd) == 0 && ok;
  if (!ok) {
    unlink(temporary);
    errno = savedErrno;
  }
  return ok;
}

bool commitTemporaryFile(const char* path) {
  char temporary[pathCapacity];
  if (!temporaryPath(path, temporary)) {
    errno = ENAMETOOLONG;
    return false;
  }
  if (rename(temporary, path) != 0) return false;
  syncParentFolder(path);
  return true;
}

bool writeFileSafely(const char* path, const char* bytes, size_t size) {
  return writeTemporaryFile(path, bytes, size) && commitTemporaryFile(path);
}

void localDate(char* out, size_t size) {
  const time_t now = time(nullptr);
  tm parts{};
  if (localtime_r(&now, &parts) == nullptr || std::snprintf(out, size, "%04d-%02d-%02d", parts.tm_year + 1900,
                                                            parts.tm_mon + 1, parts.tm_mday) != 10) {
    std::snprintf(out, size, "0000-00-00");
  }
}
