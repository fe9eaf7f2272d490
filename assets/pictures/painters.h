// Every painter of a single picture. A painter draws into a transparent width x height canvas.
#pragma once

#include <cairo.h>

#include <filesystem>

#include "pictures/paint_kit.h"

namespace pictures {

// Field
void paintGrass(cairo_t* cr, int w, int h);
void paintStalk3(cairo_t* cr, int w, int h);
void paintStalk2(cairo_t* cr, int w, int h);
void paintStalk1(cairo_t* cr, int w, int h);
void paintStalk0(cairo_t* cr, int w, int h);
void paintStalk0b(cairo_t* cr, int w, int h);
void paintStalk0c(cairo_t* cr, int w, int h);
void paintStalk0d(cairo_t* cr, int w, int h);
void paintCorn(cairo_t* cr, int w, int h);
void paintShadow(cairo_t* cr, int w, int h);
void paintTitleCorn(cairo_t* cr, int w, int h);
void paintMiniStalk(cairo_t* cr, int w, int h);

// An ear of corn whose husked base is at (x, y), pointing along angle degrees clockwise from up.
void drawEar(cairo_t* cr, double x, double y, double length, double width, double angle, uint32_t seed);

// Lettering
void paintTitle(cairo_t* cr, int w, int h);
void paintTitle2(cairo_t* cr, int w, int h);
void paintButton0(cairo_t* cr, int w, int h);
void paintButton1(cairo_t* cr, int w, int h);
void paintButton2(cairo_t* cr, int w, int h);
void paintButton3(cairo_t* cr, int w, int h);
void paintButton4(cairo_t* cr, int w, int h);
void paintDigit0(cairo_t* cr, int w, int h);
void paintDigit1(cairo_t* cr, int w, int h);
void paintDigit2(cairo_t* cr, int w, int h);
void paintDigit3(cairo_t* cr, int w, int h);
void paintDigit4(cairo_t* cr, int w, int h);
void paintDigit5(cairo_t* cr, int w, int h);
void paintDigit6(cairo_t* cr, int w, int h);
void paintDigit7(cairo_t* cr, int w, int h);
void paintDigit8(cairo_t* cr, int w, int h);
void paintDigit9(cairo_t* cr, int w, int h);
void paintTextDay(cairo_t* cr, int w, int h);
void paintScurvy(cairo_t* cr, int w, int h);
void paintMoomania(cairo_t* cr, int w, int h);
void paintGameOver(cairo_t* cr, int w, int h);
void paintOoga(cairo_t* cr, int w, int h);
void paintBooga(cairo_t* cr, int w, int h);
void paintBooB(cairo_t* cr, int w, int h);
void paintBooO(cairo_t* cr, int w, int h);

// The digits' lettering, shared with pictures that show prices or numbers.
TextStyle digitStyle(double pixelSize);

// Sky and HUD
void paintSun(cairo_t* cr, int w, int h);
void paintRooster(cairo_t* cr, int w, int h);
void paintOogaMask(cairo_t* cr, int w, int h);
void paintBreathMeter(cairo_t* cr, int w, int h);

// Store
void paintStore(cairo_t* cr, int w, int h);
void paintStoreStrut(cairo_t* cr, int w, int h);
void paintInstrArrows(cairo_t* cr, int w, int h);
void paintItemSeed(cairo_t* cr, int w, int h);
void paintItemFertilizer(cairo_t* cr, int w, int h);
void paintItemWeight(cairo_t* cr, int w, int h);
void paintItemO(cairo_t* cr, int w, int h);
void paintItemBreath(cairo_t* cr, int w, int h);
void paintItemLung(cairo_t* cr, int w, int h);
void paintItemMask(cairo_t* cr, int w, int h);
void paintItemTime(cairo_t* cr, int w, int h);
void paintItemRocket(cairo_t* cr, int w, int h);
void paintMumbly(cairo_t* cr, int w, int h);
void paintShopExit(cairo_t* cr, int w, int h);
void paintShopTarget(cairo_t* cr, int w, int h);

// Instructions
void paintInstructions1(cairo_t* cr, int w, int h);
void paintInstructions2(cairo_t* cr, int w, int h);

// Start-up chooser
void paintChooserBanner(cairo_t* cr, int w, int h);
void paintChooserBanner512(cairo_t* cr, int w, int h);
void paintLabelMode(cairo_t* cr, int w, int h);
void paintOpt640(cairo_t* cr, int w, int h);
void paintOpt800(cairo_t* cr, int w, int h);
void paintOpt1024(cairo_t* cr, int w, int h);
void paintOpt16(cairo_t* cr, int w, int h);
void paintOpt32(cairo_t* cr, int w, int h);
void paintOptFull(cairo_t* cr, int w, int h);
void paintButtonOk(cairo_t* cr, int w, int h);
void paintRadioOff(cairo_t* cr, int w, int h);
void paintRadioOn(cairo_t* cr, int w, int h);
void paintCheckOff(cairo_t* cr, int w, int h);
void paintCheckOn(cairo_t* cr, int w, int h);
void paintFocus(cairo_t* cr, int w, int h);
void paintPanel(cairo_t* cr, int w, int h);

// The player's comforts: pause card, sound level, best-games table.
void paintPaused(cairo_t* cr, int w, int h);
void paintResumeHint(cairo_t* cr, int w, int h);
void paintSpeaker(cairo_t* cr, int w, int h);
void paintSpeakerMuted(cairo_t* cr, int w, int h);
void paintLevelOn(cairo_t* cr, int w, int h);
void paintLevelOff(cairo_t* cr, int w, int h);
// "New best!" for place 0, "2nd best" ... "10th best" after it.
template <int place>
void paintRank(cairo_t* cr, int w, int h);
void paintBestTitle(cairo_t* cr, int w, int h);
void paintBestHeadings(cairo_t* cr, int w, int h);
void paintNoGames(cairo_t* cr, int w, int h);
void paintBackHint(cairo_t* cr, int w, int h);
void paintDash(cairo_t* cr, int w, int h);

// The launcher icon, and every size of it (PNG, and SVG) written into a folder of its own.
void paintIcon(cairo_t* cr, int w, int h);
bool writeIcons(const std::filesystem::path& folder);

}  // namespace pictures
