// The game's window record and its OpenGL context (SDL2).
#pragma once

#include <cstdint>

struct SDL_Window;

struct AppRecord {
  const char* className = "OpenGL";
};

struct AppWindow {
  SDL_Window* window = nullptr;
  void* deviceContext = nullptr;  // SDL has none; kept for the record's shape
  void* glContext = nullptr;      // SDL_GLContext
  AppRecord* app = nullptr;
  const char* title = nullptr;
  int32_t width = 640;
  int32_t height = 480;
  int32_t bitsPerPixel = 16;
  int32_t fullScreen = 0;
  int32_t visible = 0;
  uint32_t lastTickCount = 0;

  bool create();
  bool destroy();
};

extern AppWindow appWindow;
extern int32_t appRunning;
extern int32_t wantFullScreen;

bool registerGameWindowClass(AppRecord& app);
bool switchDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel);
void resizeViewport(int32_t width, int32_t height);
void requestQuit(AppWindow* window);
