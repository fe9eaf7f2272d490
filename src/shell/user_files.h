// The player's own files: where they live (the XDG folders) and how they are read and replaced.
// Plain POSIX calls with caller buffers, so saving at the end of a game allocates nothing.
#pragma once

#include <cstddef>

enum class UserFolder { Config, Data };

// "$XDG_CONFIG_HOME/cornkeeper/<name>" or "$XDG_DATA_HOME/cornkeeper/<name>", falling back to
// ~/.config and ~/.local/share when the variable is unset, empty or not absolute. False when there
// is no home either or the path does not fit.
bool userFilePath(UserFolder folder, const char* name, char* out, size_t size);

// Reads the whole file into buffer (at most capacity - 1 bytes, then a terminating zero).
// Returns the length, or -1 when the file is missing or unreadable. *cut says the file was longer.
long readSmallFile(const char* path, char* buffer, size_t capacity, bool* cut = nullptr);

// Replaces the file without ever leaving it half-written: the bytes go to "<path>.tmp" in the same
// folder (made if missing), are flushed to disk, and the temporary file is renamed over the old one.
// On failure errno tells why and the old file is untouched.
bool writeFileSafely(const char* path, const char* bytes, size_t size);

// The two halves of writeFileSafely, for callers that stop between them (and tests that do).
bool writeTemporaryFile(const char* path, const char* bytes, size_t size);
bool commitTemporaryFile(const char* path);

// Today's local date as "YYYY-MM-DD" (size at least 11).
void localDate(char* out, size_t size);
