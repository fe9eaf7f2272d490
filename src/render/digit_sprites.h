// The ten digit sprites and every layout in which numbers are drawn.
#pragma once

#include <cstdint>

void loadDigitSprites();
void unloadDigitSprites();

void drawDigitSmall(float x, float y, int32_t digit);
void drawDigitFaded(float x, float y, int32_t digit, float alpha);
void drawNumberSmallCentred(float x, float y, int32_t value);
void drawNumberFaded(float x, float y, int32_t value, float alpha);
void drawSixDigitsTop(int32_t value, float shade);
void drawSixDigitsBottom(int32_t value, float shade);
void drawSixDigitsLarge(int32_t value);
