// Placeholder: replaced by the real module.
#include "screens/title_screen.h"

void TitleScreen::load() {}
void TitleScreen::unload() {}
void TitleScreen::update(uint32_t ) {}
void TitleScreen::draw() {}
bool TitleScreen::isLoaded() { return false; }
