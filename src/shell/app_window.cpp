#include "shell/app_window.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>

#include "shell/platform.h"
#include "shell/window_procedure.h"
#include "sound/sound_system.h"

AppWindow appWindow;
int32_t appRunning = 0;
int32_t wantFullScreen = 0;

namespace {
void setPixelFormat(int32_t bitsPerPixel) {
  const int channel = bitsPerPixel >= 24 ? 8 : 5;
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, bitsPerPixel >= 24 ? 8 : 6);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_BUFFER_SIZE, bitsPerPixel);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

void releaseWindow(AppWindow& record) {
  if (record.glContext) {
    SDL_GL_MakeCurrent(record.window, nullptr);
    SDL_GL_DeleteContext(record.glContext);
    record.glContext = nullptr;
  }
  if (record.window) {
    SDL_DestroyWindow(record.window);
    record.window = nullptr;
  }
}
}  // namespace

bool registerGameWindowClass(AppRecord&) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  // With no display SDL falls back to drivers nobody can see; unless asked for by name, that is
  // no display at all, not a window to wait on.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  const bool invisible = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
  if (invisible && !(asked && SDL_strcmp(asked, driver) == 0)) {
    SDL_SetError("no display found (only the '%s' video driver is available)", driver);
    return false;
  }
  SDL_DisableScreenSaver();
  return true;
}

bool switchDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) {
  SDL_Window* window = appWindow.window;
  if (!window) return false;
  SDL_DisplayMode wanted{};
  wanted.w = width;
  wanted.h = height;
  wanted.format = bitsPerPixel >= 24 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
  SDL_DisplayMode closest{};
  const int display = SDL_GetWindowDisplayIndex(window);
  if (SDL_GetClosestDisplayMode(display < 0 ? 0 : display, &wanted, &closest) && closest.w == width &&
      closest.h == height && SDL_SetWindowDisplayMode(window, &closest) == 0 &&
      SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0) {
    return true;
  }
  // The display has no mode of that size: full screen at the desktop's own mode instead of a window
  // hanging over the screen's edges; the viewport keeps the picture 4:3 with black bars. The window
  // is first made as large as the display, since without a window manager nobody else resizes it.
  SDL_Rect bounds{};
  if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) == 0) {
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, bounds.w, bounds.h);
  }
  return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

bool AppWindow::create() {
  setPixelFormat(bitsPerPixel);
  const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
  if (!window && bitsPerPixel != 16) {
    // The closest format will do: some displays have no deeper visual than the default.
    setPixelFormat(16);
    window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
  }
  if (!window) return false;

  if (fullScreen == 1 && !switchDisplayMode(width, height, bitsPerPixel)) {
    platformShowError("Mode Switch Failed.\nRunning In Windowed Mode.");
    fullScreen = 0;
  }

  glContext = SDL_GL_CreateContext(window);
  if (!glContext) {
    releaseWindow(*this);
    return false;
  }
  if (SDL_GL_MakeCurrent(window, glContext) != 0) {
    releaseWindow(*this);
    return false;
  }
  // Vsync where the driver grants it; the main loop paces itself where it does not.
  SDL_GL_SetSwapInterval(1);

  SDL_ShowWindow(window);
  visible = 1;
  fitViewport(*this);
  lastTickCount = platformTicks();

  soundSystem = new SoundSystem();
  SDL_ShowCursor(SDL_DISABLE);
  return true;
}

bool AppWindow::destroy() {
  if (soundSystem) {
    soundSystem->shutdown();
    delete soundSystem;
    soundSystem = nullptr;
  }
  if (window) releaseWindow(*this);
  if (fullScreen) SDL_ShowCursor(SDL_ENABLE);
  return true;
}

void resizeViewport(int32_t width, int32_t height) {
  if (height <= 0) height = 1;  // a minimised or collapsed window must not divide by zero
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 1.0, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void requestQuit(AppWindow*) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  appRunning = 0;
}
