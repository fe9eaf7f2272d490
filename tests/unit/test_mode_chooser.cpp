// The start-up chooser: what its controls mean for the window record, how the keyboard and the mouse
// move through them, its layout, and what it draws.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "render/texture.h"
#include "shell/app_window.h"
#include "shell/mode_chooser.h"
#include "test_render_images.h"
#include "test_support.h"

namespace {

using C = ChooserControl;
using F = ChooserFocus;
using O = ChooserOutcome;

SDL_Point centreOf(ChooserControl control) {
  const ChooserRect rect = chooserControlRect(control);
  return {rect.x + rect.width / 2, rect.y + rect.height / 2};
}

class ModeChooserTest : public testing::Test {
 protected:
  ChooserOutcome press(SDL_Keycode key, uint16_t mod = 0, bool repeat = false, Uint32 type = SDL_KEYDOWN) {
    SDL_Event event{};
    event.key = {type, 0, 0, 0, static_cast<Uint8>(repeat), 0, 0, {SDL_SCANCODE_UNKNOWN, key, mod, 0}};
    return chooser.handleEvent(event);
  }
  ChooserOutcome pad(Uint8 button, Uint32 type = SDL_CONTROLLERBUTTONDOWN) {
    SDL_Event event{};
    event.cbutton = {type, 0, 0, button, SDL_PRESSED, 0, 0};
    return chooser.handleEvent(event);
  }
  ChooserOutcome mouse(Uint32 type, SDL_Point at, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event event{};
    event.button = {type, 0, 0, 0, button, 0, 0, 0, at.x, at.y};
    return chooser.handleEvent(event);
  }
  // A button goes down at `down` and comes up at `up`; returns the outcome of the up.
  ChooserOutcome downUp(SDL_Point down, SDL_Point up, Uint8 button = SDL_BUTTON_LEFT) {
    mouse(SDL_MOUSEBUTTONDOWN, down, button);
    return mouse(SDL_MOUSEBUTTONUP, up, button);
  }
  ChooserOutcome click(ChooserControl control) { return downUp(centreOf(control), centreOf(control)); }
  void expectMode(int32_t width, int32_t height, int32_t bits, int32_t fullScreen) {
    const ScreenMode m = chooser.chosenMode();
    EXPECT_EQ(std::tie(m.width, m.height, m.bitsPerPixel, m.fullScreen),
              std::tie(width, height, bits, fullScreen));
  }
  ModeChooser chooser;
};

// --- from the controls to the record ---

// Untouched: 640 x 480, 16 bits, windowed, and the banner, label and button never check. By keyboard:
// 1024x768, 32bpp and FullScreen.
TEST_F(ModeChooserTest, DefaultsAndTheLargestDeepestFullScreenByKeyboard) {
  expectMode(640, 480, 16, 0);
  EXPECT_TRUE(chooser.isChecked(C::Radio640) && chooser.isChecked(C::Radio16));
  for (C never : {C::FullScreen, C::Banner, C::Label, C::Ok})
    EXPECT_FALSE(chooser.isChecked(never)) << static_cast<int>(never);
  for (SDL_Keycode key : {SDLK_RIGHT, SDLK_RIGHT, SDLK_TAB, SDLK_DOWN, SDLK_TAB, SDLK_SPACE}) press(key);
  EXPECT_EQ(press(SDLK_RETURN), O::Confirmed);
  expectMode(1024, 768, 32, 1);
}

// Choices made by mouse one after another, each confirmed with OK, reach the record's four mode
// fields; every button and both states of the check box are clicked at least once.
TEST_F(ModeChooserTest, ChoicesByMouseReachTheRecord) {
  const struct {
    ChooserControl resolution, depth;
    int32_t width, height, bits, fullScreen;  // the check box is clicked on every row
  } rows[] = {{C::Radio800, C::Radio32, 800, 600, 32, 1},
              {C::Radio1024, C::Radio16, 1024, 768, 16, 0},
              {C::Radio640, C::Radio32, 640, 480, 32, 1}};
  for (const auto& r : rows) {
    for (C control : {r.resolution, r.depth, C::FullScreen}) EXPECT_EQ(click(control), O::Open) << r.width;
    EXPECT_EQ(click(C::Ok), O::Confirmed);
    AppWindow record{};
    chooser.applyTo(record);
    EXPECT_EQ(std::tie(record.width, record.height, record.bitsPerPixel, record.fullScreen),
              std::tie(r.width, r.height, r.bits, r.fullScreen));
  }
}

// --- keyboard ---

// Tab visits both groups, the check box and the button in turn, either Shift reverses it, and Enter
// confirms wherever the focus is.
TEST_F(ModeChooserTest, TabCyclesTheStopsAndEnterConfirmsAtEach) {
  const std::pair<uint16_t, ChooserFocus> steps[] = {
      {0, F::Depth},          {0, F::FullScreen},   {0, F::Ok},
      {0, F::Resolution},     {KMOD_LSHIFT, F::Ok}, {KMOD_LSHIFT, F::FullScreen},
      {KMOD_RSHIFT, F::Depth}};
  for (const auto& [modifiers, expected] : steps) {
    SCOPED_TRACE(static_cast<int>(expected));
    EXPECT_EQ(press(SDLK_TAB, modifiers), O::Open);
    EXPECT_EQ(chooser.focus(), expected);
    EXPECT_EQ(press(SDLK_RETURN), O::Confirmed);
    EXPECT_EQ(press(SDLK_KP_ENTER), O::Confirmed);
  }
  expectMode(640, 480, 16, 0);  // moving the focus changes no choice
}

// Arrows move within the focused group and wrap at both ends; the other group keeps its choice. On the
// check box and the button they do nothing.
TEST_F(ModeChooserTest, ArrowsMoveWithinTheFocusedGroupAndWrap) {
  const struct {
    SDL_Keycode key;
    ChooserControl resolution, depth;
  } rows[] = {{SDLK_RIGHT, C::Radio800, C::Radio16}, {SDLK_DOWN, C::Radio1024, C::Radio16},
              {SDLK_RIGHT, C::Radio640, C::Radio16}, {SDLK_LEFT, C::Radio1024, C::Radio16},
              {SDLK_UP, C::Radio800, C::Radio16},    {SDLK_TAB, C::Radio800, C::Radio16},
              {SDLK_LEFT, C::Radio800, C::Radio32},  {SDLK_UP, C::Radio800, C::Radio16}};
  for (const auto& r : rows) {
    press(r.key);
    EXPECT_TRUE(chooser.isChecked(r.resolution) && chooser.isChecked(r.depth)) << r.key;
    // The focus sits on the checked button of the focused group.
    EXPECT_EQ(chooser.focusedControl(), chooser.focus() == F::Depth ? r.depth : r.resolution) << r.key;
  }
  for (int stop = 0; stop < 2; ++stop) {
    press(SDLK_TAB);
    for (SDL_Keycode key : {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN}) EXPECT_EQ(press(key), O::Open);
    expectMode(800, 600, 16, 0);
  }
}

// Space keeps a radio group's choice, toggles the check box (not again while held) and presses OK
// (not by a held repeat).
TEST_F(ModeChooserTest, SpaceTogglesTheCheckBoxAndPressesTheButton) {
  EXPECT_EQ(press(SDLK_SPACE), O::Open);
  press(SDLK_TAB);
  EXPECT_EQ(press(SDLK_SPACE), O::Open);
  expectMode(640, 480, 16, 0);
  press(SDLK_TAB);
  for (bool checked : {true, false, true}) {
    press(SDLK_SPACE);
    EXPECT_EQ(chooser.isChecked(C::FullScreen), checked);
  }
  EXPECT_EQ(press(SDLK_SPACE, 0, true), O::Open);
  EXPECT_TRUE(chooser.isChecked(C::FullScreen));
  press(SDLK_TAB);
  EXPECT_EQ(press(SDLK_SPACE, 0, true), O::Open);
  EXPECT_EQ(press(SDLK_SPACE), O::Confirmed);
  expectMode(640, 480, 16, 1);
}

// There is no cancel: Escape, other keys, key-ups and mouse motion change nothing. Only a close request
// ends the chooser, without a choice.
TEST_F(ModeChooserTest, EscapeAndStrayEventsAreIgnoredAndOnlyACloseEndsIt) {
  press(SDLK_RIGHT);
  press(SDLK_TAB);
  for (SDL_Keycode key : {SDLK_ESCAPE, SDLK_a, SDLK_F4, SDLK_LCTRL, SDLK_BACKSPACE})
    EXPECT_EQ(press(key), O::Open) << key;
  EXPECT_EQ(press(SDLK_RETURN, 0, false, SDL_KEYUP), O::Open);
  const std::tuple<Uint32, Uint8, O> events[] = {{SDL_MOUSEMOTION, 0, O::Open},
                                                 {SDL_WINDOWEVENT, SDL_WINDOWEVENT_EXPOSED, O::Open},
                                                 {SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE, O::Closed},
                                                 {SDL_QUIT, 0, O::Closed}};
  for (const auto& [type, windowEvent, outcome] : events) {
    SDL_Event event{};
    event.type = type;
    event.window.event = windowEvent;
    EXPECT_EQ(chooser.handleEvent(event), outcome) << type;
  }
  EXPECT_EQ(chooser.focus(), F::Depth);
  expectMode(800, 600, 16, 0);
}

// A pad alone: left and right pick within a group, up and down go between the stops and wrap, A toggles
// the check box and presses OK, Start confirms from anywhere; button releases and other buttons do nothing.
TEST_F(ModeChooserTest, PadMovesTogglesAndConfirms) {
  const std::tuple<Uint8, F, O> steps[] = {
      {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, F::Resolution, O::Open},
      {SDL_CONTROLLER_BUTTON_DPAD_DOWN, F::Depth, O::Open},
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, F::Depth, O::Open},
      {SDL_CONTROLLER_BUTTON_DPAD_DOWN, F::FullScreen, O::Open},
      {SDL_CONTROLLER_BUTTON_A, F::FullScreen, O::Open},
      {SDL_CONTROLLER_BUTTON_B, F::FullScreen, O::Open},
      {SDL_CONTROLLER_BUTTON_BACK, F::FullScreen, O::Open},
      {SDL_CONTROLLER_BUTTON_Y, F::FullScreen, O::Open},
      {SDL_CONTROLLER_BUTTON_DPAD_UP, F::Depth, O::Open},
      {SDL_CONTROLLER_BUTTON_DPAD_UP, F::Resolution, O::Open},
      {SDL_CONTROLLER_BUTTON_DPAD_UP, F::Ok, O::Open},
  };
  for (const auto& [button, focus, outcome] : steps) {
    EXPECT_EQ(pad(button), outcome) << int{button};
    EXPECT_EQ(chooser.focus(), focus) << int{button};
  }
  EXPECT_EQ(pad(SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLERBUTTONUP), O::Open);
  EXPECT_EQ(pad(SDL_CONTROLLER_BUTTON_A), O::Confirmed);
  expectMode(800, 600, 32, 1);
  EXPECT_EQ(pad(SDL_CONTROLLER_BUTTON_DPAD_DOWN), O::Open);
  EXPECT_EQ(pad(SDL_CONTROLLER_BUTTON_START), O::Confirmed);
}

// --- mouse ---

// A click counts only with the left button, released over the control it went down on, and only on a
// control that reacts; an up without a down does nothing. A completed click selects its button and
// takes the focus.
TEST_F(ModeChooserTest, OnlyACompletedLeftClickOnAControlReactsAndTakesTheFocus) {
  const SDL_Point ok = centreOf(C::Ok);
  EXPECT_EQ(downUp(ok, centreOf(C::Banner)), O::Open);
  downUp(centreOf(C::FullScreen), centreOf(C::Radio800));
  EXPECT_EQ(mouse(SDL_MOUSEBUTTONUP, ok), O::Open);
  EXPECT_EQ(downUp(ok, ok, SDL_BUTTON_RIGHT), O::Open);
  for (C passive : {C::Banner, C::Label}) EXPECT_EQ(click(passive), O::Open);
  // Outside every control, and outside the window.
  const SDL_Point corner{chooserWindowWidth() - 1, chooserWindowHeight() - 1}, outside{-5, 9999};
  downUp(corner, corner);
  downUp(outside, outside);
  expectMode(640, 480, 16, 0);
  EXPECT_EQ(chooser.focus(), F::Resolution);

  click(C::Radio32);
  EXPECT_EQ(chooser.focus(), F::Depth);
  click(C::Radio800);
  EXPECT_EQ(chooser.focus(), F::Resolution);
  click(C::FullScreen);
  EXPECT_EQ(chooser.focus(), F::FullScreen);
  click(C::FullScreen);
  EXPECT_FALSE(chooser.isChecked(C::FullScreen)) << "a second click clears the box";
  // The label of a button is part of it: a click near its right end still selects it.
  const ChooserRect rect = chooserControlRect(C::Radio1024);
  const SDL_Point labelEnd{rect.x + rect.width - 2, rect.y + rect.height / 2};
  mouse(SDL_MOUSEBUTTONDOWN, labelEnd);
  EXPECT_EQ(chooser.pressedControl(), C::Radio1024);
  EXPECT_TRUE(chooser.isChecked(C::Radio800)) << "nothing happens until the button comes up";
  mouse(SDL_MOUSEBUTTONUP, labelEnd);
  EXPECT_EQ(chooser.pressedControl(), C::None);
  expectMode(1024, 768, 32, 0);
}

// --- layout ---

// Each control lies inside the window and is found by the hit test at its corners (so none overlaps the
// corner of another).
TEST_F(ModeChooserTest, ControlsLieInsideTheWindowAndAreHitAtTheirCorners) {
  for (int i = 0; i < chooserControlCount; ++i) {
    const ChooserControl control = static_cast<ChooserControl>(i);
    const ChooserRect a = chooserControlRect(control);
    SCOPED_TRACE(static_cast<int>(control));
    EXPECT_EQ(chooserControlAt(a.x, a.y), control);
    EXPECT_EQ(chooserControlAt(a.x + a.width - 1, a.y + a.height - 1), control);
    EXPECT_TRUE(a.width > 0 && a.height > 0 && a.x >= 0 && a.y >= 0 &&
                a.x + a.width <= chooserWindowWidth() && a.y + a.height <= chooserWindowHeight());
  }
  EXPECT_EQ(chooserControlAt(-1, 0), C::None);
  EXPECT_EQ(chooserControlAt(0, chooserWindowHeight()), C::None);
}

// --- drawing ---

// The chooser draws into the bottom-left corner of the larger offscreen frame; y counts down its window.
testimages::Rgba readPixel(int x, int y) {
  return testimages::pixelAt(x, testContext().height() - chooserWindowHeight() + y);
}

// Pixels passing `test` in the control's rectangle grown by `grow`, or in its widget (the square at its
// left) when `widgetOnly`.
int countPixels(ChooserControl control, bool widgetOnly, int grow, bool (*test)(testimages::Rgba)) {
  ChooserRect r = chooserControlRect(control);
  r = widgetOnly ? ChooserRect{r.x, r.y, r.height, r.height}
                 : ChooserRect{r.x - grow, r.y - grow, r.width + 2 * grow, r.height + 2 * grow};
  int count = 0;
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x) count += test(readPixel(x, y)) ? 1 : 0;
  return count;
}

class ModeChooserDrawing : public ModeChooserTest {
 protected:
  void SetUp() override {
    pictures_.load();
    ASSERT_TRUE(pictures_.complete()) << "run from the build folder, after the pictures are generated";
  }
  void TearDown() override {
    pictures_.unload();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
  void draw() { pictures_.draw(chooser, chooserWindowWidth(), chooserWindowHeight()); }
  ChooserPictures pictures_;
};

// Only the checked widgets show the blue mark: the defaults, then after clicking 1024, 32 and FullScreen.
TEST_F(ModeChooserDrawing, CheckedButtonsShowTheirMark) {
  for (int round = 0; round < 2; ++round) {
    draw();
    for (C widget : {C::Radio640, C::Radio800, C::Radio1024, C::Radio16, C::Radio32, C::FullScreen}) {
      const int blue = countPixels(widget, true, 0, [](auto p) { return p.b > p.r + 60 && p.b > 120; });
      SCOPED_TRACE(testing::Message() << "round " << round << ", " << static_cast<int>(widget));
      EXPECT_TRUE(chooser.isChecked(widget) ? blue > 8 : blue == 0) << blue << " blue pixels";
    }
    for (C c : {C::Radio1024, C::Radio32, C::FullScreen}) click(c);
  }
}

// The orange focus glow sits around the focused stop only.
TEST_F(ModeChooserDrawing, FocusFrameFollowsTheKeyboard) {
  const ChooserControl stops[] = {C::Radio640, C::Radio16, C::FullScreen, C::Ok};
  for (ChooserControl focused : stops) {
    draw();
    for (ChooserControl other : stops) {
      const int glow = countPixels(
          other, false, 2, [](auto p) { return p.r > 180 && p.g > 100 && p.b < 120 && p.r > p.b + 100; });
      SCOPED_TRACE(testing::Message()
                   << static_cast<int>(focused) << " focused, at " << static_cast<int>(other));
      EXPECT_TRUE(other == focused ? glow > 20 : glow == 0) << glow << " glowing pixels";
    }
    chooser.pressKey(ChooserKey::Tab);
  }
}

// The frame round a focused word leaves the word's own pixels exactly as they are unfocused.
TEST_F(ModeChooserDrawing, FocusFrameLeavesTheWordItSurroundsUntouched) {
  // The word's ink box in window pixels: its lettering is shown at half its picture's size, right of
  // the 16-px mark, centred on the control's height.
  auto wordBox = [](ChooserControl c) {
    Texture t;
    EXPECT_TRUE(t.readImageFile(chooserLayout[static_cast<int>(c)].picture));
    int left = t.width(), right = -1;
    for (int y = 0; y < t.height(); ++y)
      for (int x = 0; x < t.width(); ++x)
        if (t.pixels()[(static_cast<size_t>(y) * t.width() + x) * 4 + 3] != 0)
          left = std::min(left, x), right = std::max(right, x);
    const ChooserRect r = chooserControlRect(c);
    return ChooserRect{r.x + 16 + left / 2, r.y + (r.height - 16) / 2, (right - left) / 2 + 1, 16};
  };
  const ChooserControl words[] = {C::Radio640, C::Radio16, C::FullScreen};
  std::vector<testimages::Rgba> unfocused[3], focused[3];
  auto grab = [&](std::vector<testimages::Rgba>* into) {
    draw();
    for (int i = 0; i < 3; ++i) {
      const ChooserRect b = wordBox(words[i]);
      for (int y = b.y; y < b.y + b.height; ++y)
        for (int x = b.x; x < b.x + b.width; ++x) into[i].push_back(readPixel(x, y));
    }
  };
  for (int i = 0; i < 3; ++i) chooser.pressKey(ChooserKey::Tab);  // on OK: no word is framed
  grab(unfocused);
  for (int i = 0; i < 3; ++i) {
    chooser.pressKey(ChooserKey::Tab);
    std::vector<testimages::Rgba> now[3];
    grab(now);
    focused[i] = now[i];
    EXPECT_TRUE(!focused[i].empty() && focused[i] == unfocused[i]) << "the frame touches word " << i;
  }
}

TEST_F(ModeChooserDrawing, DrawingLeavesTheCallersStateAlone) {
  glViewport(10, 20, 300, 200);
  glEnable(GL_DEPTH_TEST);
  draw();
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_TRUE(viewport[0] == 10 && viewport[2] == 300);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && !glIsEnabled(GL_SCISSOR_TEST));
  glDisable(GL_DEPTH_TEST);
  glViewport(0, 0, 640, 480);
}

// Missing pictures leave the chooser incomplete, and drawing and unloading it stay harmless.
TEST(ModeChooserPictures, MissingPicturesMakeTheChooserIncomplete) {
  testimages::ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  ChooserPictures pictures;
  pictures.load();
  EXPECT_TRUE(pictures.isLoaded());
  EXPECT_FALSE(pictures.complete());
  pictures.draw(ModeChooser{}, chooserWindowWidth(), chooserWindowHeight());
  pictures.draw(ModeChooser{}, 0, 0);
  pictures.unload();
  pictures.unload();
  EXPECT_FALSE(pictures.isLoaded());
}

}  // namespace
