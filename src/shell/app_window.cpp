// Placeholder until the shell lands.
#include "shell/app_window.h"

#include <GL/gl.h>
#include <GL/glu.h>

AppWindow appWindow;
int32_t appRunning = 0;
int32_t wantFullScreen = 0;

bool registerGameWindowClass(AppRecord&) { return true; }
bool switchDisplayMode(int32_t, int32_t, int32_t) { return false; }
bool AppWindow::create() { return false; }
bool AppWindow::destroy() { return true; }

void resizeViewport(int32_t width, int32_t height) {
  if (height <= 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / height, 1.0, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void requestQuit(AppWindow*) { appRunning = 0; }
