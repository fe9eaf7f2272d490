// Placeholder: replaced by the real module.
#include "render/digit_sprites.h"

void loadDigitSprites() {}
void unloadDigitSprites() {}
void drawDigitSmall(float, float, int32_t) {}
void drawDigitFaded(float, float, int32_t, float) {}
void drawNumberSmallCentred(float, float, int32_t) {}
void drawNumberFaded(float, float, int32_t, float) {}
void drawSixDigitsTop(int32_t) {}
void drawSixDigitsBottom(int32_t) {}
void drawSixDigitsLarge(int32_t) {}
