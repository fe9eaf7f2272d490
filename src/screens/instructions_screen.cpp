// Placeholder: replaced by the real module.
#include "screens/instructions_screen.h"

void InstructionsScreen::load() {}
void InstructionsScreen::unload() {}
void InstructionsScreen::update(uint32_t ) {}
void InstructionsScreen::draw() {}
bool InstructionsScreen::isLoaded() { return false; }
