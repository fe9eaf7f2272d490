// Placeholder: the start-up chooser is being written; the defaults stand.
#include "shell/app_window.h"
#include "shell/main_loop.h"

void runModeChooser(AppWindow&) {}
