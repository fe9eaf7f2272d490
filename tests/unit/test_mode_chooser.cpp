// The start-up chooser: what its controls mean for the window record, how the keyboard and the mouse
// move through them, its layout, and what it draws.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "shell/app_window.h"
#include "shell/mode_chooser.h"
#include "test_render_images.h"
#include "test_support.h"

namespace {

using C = ChooserControl;
using F = ChooserFocus;

ChooserOutcome press(ModeChooser& chooser, SDL_Keycode key, uint16_t modifiers = 0, bool repeat = false,
                     Uint32 type = SDL_KEYDOWN) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = key;
  event.key.keysym.mod = modifiers;
  event.key.repeat = repeat ? 1 : 0;
  return chooser.handleEvent(event);
}

ChooserOutcome mouse(ModeChooser& chooser, Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
  SDL_Event event{};
  event.type = type;
  event.button.button = button;
  event.button.x = x;
  event.button.y = y;
  return chooser.handleEvent(event);
}

struct Point {
  int x, y;
};

Point centreOf(ChooserControl control) {
  const ChooserRect rect = chooserControlRect(control);
  return Point{rect.x + rect.width / 2, rect.y + rect.height / 2};
}

// A button goes down at `down` and comes up at `up`; returns the outcome of the up.
ChooserOutcome downUp(ModeChooser& chooser, Point down, Point up, Uint8 button = SDL_BUTTON_LEFT) {
  mouse(chooser, SDL_MOUSEBUTTONDOWN, down.x, down.y, button);
  return mouse(chooser, SDL_MOUSEBUTTONUP, up.x, up.y, button);
}

ChooserOutcome click(ModeChooser& chooser, ChooserControl control) {
  return downUp(chooser, centreOf(control), centreOf(control));
}

void expectMode(const ModeChooser& chooser, int32_t width, int32_t height, int32_t bits, int32_t fullScreen) {
  const ScreenMode m = chooser.chosenMode();
  EXPECT_EQ(std::tie(m.width, m.height, m.bitsPerPixel, m.fullScreen),
            std::tie(width, height, bits, fullScreen));
}

int idOf(ChooserControl control) {
  return chooserLayout[static_cast<int>(control)].id;
}

// --- from the controls to the record ---

// Untouched: 640 x 480, 16 bits, windowed, and the banner, label and button never check. By keyboard:
// 1024x768, 32bpp and FullScreen.
TEST(ModeChooserOutput, DefaultsAndTheLargestDeepestFullScreenByKeyboard) {
  ModeChooser chooser;
  expectMode(chooser, 640, 480, 16, 0);
  EXPECT_TRUE(chooser.isChecked(C::Radio640));
  EXPECT_TRUE(chooser.isChecked(C::Radio16));
  for (C never : {C::FullScreen, C::Banner, C::Label, C::Ok})
    EXPECT_FALSE(chooser.isChecked(never)) << idOf(never);
  for (SDL_Keycode key : {SDLK_RIGHT, SDLK_RIGHT, SDLK_TAB, SDLK_DOWN, SDLK_TAB, SDLK_SPACE})
    press(chooser, key);
  EXPECT_EQ(press(chooser, SDLK_RETURN), ChooserOutcome::Confirmed);
  expectMode(chooser, 1024, 768, 32, 1);
}

// Choices made by mouse one after another, each confirmed with OK, reach the record's four mode fields
// and nothing else; every button and both states of the check box are clicked at least once.
TEST(ModeChooserOutput, ChoicesByMouseReachTheRecord) {
  const struct {
    ChooserControl resolution, depth;
    int32_t width, height, bits, fullScreen;  // the check box is clicked on every row
  } rows[] = {{C::Radio800, C::Radio32, 800, 600, 32, 1},
              {C::Radio1024, C::Radio16, 1024, 768, 16, 0},
              {C::Radio640, C::Radio32, 640, 480, 32, 1}};
  ModeChooser chooser;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.width);
    for (C control : {r.resolution, r.depth, C::FullScreen})
      EXPECT_EQ(click(chooser, control), ChooserOutcome::Open);
    EXPECT_EQ(click(chooser, C::Ok), ChooserOutcome::Confirmed);
    AppWindow record{};
    record.title = "untouched";
    record.visible = 7;
    record.lastTickCount = 12345;
    record.width = record.height = record.bitsPerPixel = record.fullScreen = -1;
    chooser.applyTo(record);
    EXPECT_EQ(std::tie(record.width, record.height, record.bitsPerPixel, record.fullScreen),
              std::tie(r.width, r.height, r.bits, r.fullScreen));
    EXPECT_STREQ(record.title, "untouched");
    EXPECT_EQ(std::tie(record.visible, record.lastTickCount), std::make_tuple(7, 12345u));
  }
  click(chooser, C::Radio16);
  expectMode(chooser, 640, 480, 16, 1);
}

// --- keyboard ---

// Tab visits both groups, the check box and the button in turn, either Shift reverses it, and Enter
// confirms wherever the focus is.
TEST(ModeChooserKeyboard, TabCyclesTheStopsAndEnterConfirmsAtEach) {
  ModeChooser chooser;
  EXPECT_EQ(chooser.focus(), F::Resolution);
  const std::pair<uint16_t, ChooserFocus> steps[] = {
      {0, F::Depth},           {0, F::FullScreen},           {0, F::Ok},
      {0, F::Resolution},      {KMOD_LSHIFT, F::Ok},         {KMOD_LSHIFT, F::FullScreen},
      {KMOD_LSHIFT, F::Depth}, {KMOD_LSHIFT, F::Resolution}, {KMOD_RSHIFT, F::Ok}};
  for (const auto& [modifiers, expected] : steps) {
    SCOPED_TRACE(testing::Message() << "modifiers " << modifiers << ", to " << static_cast<int>(expected));
    EXPECT_EQ(press(chooser, SDLK_TAB, modifiers), ChooserOutcome::Open);
    EXPECT_EQ(chooser.focus(), expected);
    EXPECT_EQ(press(chooser, SDLK_RETURN), ChooserOutcome::Confirmed);
    EXPECT_EQ(press(chooser, SDLK_KP_ENTER), ChooserOutcome::Confirmed);
  }
  expectMode(chooser, 640, 480, 16, 0);  // moving the focus changes no choice
}

// Arrows move within the focused group and wrap at both ends, always with exactly one button of each
// group checked; the other group keeps its choice. On the check box and the button they do nothing.
TEST(ModeChooserKeyboard, ArrowsMoveWithinTheFocusedGroupAndWrap) {
  ModeChooser chooser;
  const struct {
    SDL_Keycode key;
    ChooserControl resolution, depth;
  } rows[] = {{SDLK_RIGHT, C::Radio800, C::Radio16}, {SDLK_DOWN, C::Radio1024, C::Radio16},
              {SDLK_RIGHT, C::Radio640, C::Radio16}, {SDLK_LEFT, C::Radio1024, C::Radio16},
              {SDLK_UP, C::Radio800, C::Radio16},    {SDLK_TAB, C::Radio800, C::Radio16},
              {SDLK_LEFT, C::Radio800, C::Radio32},  {SDLK_UP, C::Radio800, C::Radio16}};
  for (const auto& r : rows) {
    press(chooser, r.key);
    SCOPED_TRACE(r.key);
    EXPECT_TRUE(chooser.isChecked(r.resolution));
    EXPECT_TRUE(chooser.isChecked(r.depth));
    EXPECT_EQ(
        chooser.isChecked(C::Radio640) + chooser.isChecked(C::Radio800) + chooser.isChecked(C::Radio1024), 1);
    EXPECT_EQ(chooser.isChecked(C::Radio16) + chooser.isChecked(C::Radio32), 1);
    // The focus sits on the checked button of the focused group.
    EXPECT_EQ(chooser.focusedControl(), chooser.focus() == F::Depth ? r.depth : r.resolution);
  }
  for (int stop = 0; stop < 2; ++stop) {
    press(chooser, SDLK_TAB);
    for (SDL_Keycode key : {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN}) {
      EXPECT_EQ(press(chooser, key), ChooserOutcome::Open);
    }
    expectMode(chooser, 800, 600, 16, 0);
  }
}

// Space keeps a radio group's choice, toggles the check box (not again while held) and presses OK
// (not by a held repeat).
TEST(ModeChooserKeyboard, SpaceTogglesTheCheckBoxAndPressesTheButton) {
  ModeChooser chooser;
  EXPECT_EQ(press(chooser, SDLK_SPACE), ChooserOutcome::Open);
  press(chooser, SDLK_TAB);
  EXPECT_EQ(press(chooser, SDLK_SPACE), ChooserOutcome::Open);
  expectMode(chooser, 640, 480, 16, 0);
  press(chooser, SDLK_TAB);
  EXPECT_EQ(chooser.focusedControl(), C::FullScreen);
  for (bool checked : {true, false, true}) {
    press(chooser, SDLK_SPACE);
    EXPECT_EQ(chooser.isChecked(C::FullScreen), checked);
  }
  EXPECT_EQ(press(chooser, SDLK_SPACE, 0, true), ChooserOutcome::Open);
  EXPECT_TRUE(chooser.isChecked(C::FullScreen));
  press(chooser, SDLK_TAB);
  EXPECT_EQ(chooser.focusedControl(), C::Ok);
  EXPECT_EQ(press(chooser, SDLK_SPACE, 0, true), ChooserOutcome::Open);
  EXPECT_EQ(press(chooser, SDLK_SPACE), ChooserOutcome::Confirmed);
  expectMode(chooser, 640, 480, 16, 1);
}

// There is no cancel: Escape, other keys, key-ups and mouse motion change nothing. Only a close request
// ends the chooser, without a choice.
TEST(ModeChooserKeyboard, EscapeAndStrayEventsAreIgnoredAndOnlyACloseEndsIt) {
  ModeChooser chooser;
  press(chooser, SDLK_RIGHT);
  press(chooser, SDLK_TAB);
  for (SDL_Keycode key : {SDLK_ESCAPE, SDLK_a, SDLK_F4, SDLK_LCTRL, SDLK_BACKSPACE}) {
    EXPECT_EQ(press(chooser, key), ChooserOutcome::Open) << key;
  }
  EXPECT_EQ(press(chooser, SDLK_ESCAPE, 0, true), ChooserOutcome::Open);
  EXPECT_EQ(press(chooser, SDLK_RETURN, 0, false, SDL_KEYUP), ChooserOutcome::Open);
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  EXPECT_EQ(chooser.handleEvent(event), ChooserOutcome::Open);
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_EXPOSED;
  EXPECT_EQ(chooser.handleEvent(event), ChooserOutcome::Open);
  EXPECT_EQ(chooser.focus(), F::Depth);
  expectMode(chooser, 800, 600, 16, 0);
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  EXPECT_EQ(chooser.handleEvent(event), ChooserOutcome::Closed);
  event.type = SDL_QUIT;
  EXPECT_EQ(chooser.handleEvent(event), ChooserOutcome::Closed);
}

// --- mouse ---

TEST(ModeChooserMouse, AClickSelectsTheButtonAndTakesTheFocus) {
  ModeChooser chooser;
  click(chooser, C::Radio32);
  EXPECT_TRUE(chooser.isChecked(C::Radio32));
  EXPECT_EQ(chooser.focus(), F::Depth);
  click(chooser, C::Radio800);
  EXPECT_EQ(chooser.focus(), F::Resolution);
  click(chooser, C::FullScreen);
  EXPECT_EQ(chooser.focus(), F::FullScreen);
  click(chooser, C::FullScreen);
  EXPECT_FALSE(chooser.isChecked(C::FullScreen)) << "a second click clears the box";
  // The label of a button is part of it: a click near its right end still selects it.
  const ChooserRect rect = chooserControlRect(C::Radio1024);
  const int x = rect.x + rect.width - 2, y = rect.y + rect.height / 2;
  mouse(chooser, SDL_MOUSEBUTTONDOWN, x, y);
  EXPECT_EQ(chooser.pressedControl(), C::Radio1024);
  EXPECT_TRUE(chooser.isChecked(C::Radio800)) << "nothing happens until the button comes up";
  mouse(chooser, SDL_MOUSEBUTTONUP, x, y);
  EXPECT_EQ(chooser.pressedControl(), C::None);
  expectMode(chooser, 1024, 768, 32, 0);
}

// A click counts only with the left button, released over the control it went down on, and only on a
// control that reacts; an up without a down does nothing.
TEST(ModeChooserMouse, OnlyACompletedLeftClickOnAControlReacts) {
  ModeChooser chooser;
  const Point ok = centreOf(C::Ok);
  EXPECT_EQ(downUp(chooser, ok, centreOf(C::Banner)), ChooserOutcome::Open);
  downUp(chooser, centreOf(C::FullScreen), centreOf(C::Radio800));
  EXPECT_EQ(mouse(chooser, SDL_MOUSEBUTTONUP, ok.x, ok.y), ChooserOutcome::Open);
  EXPECT_EQ(downUp(chooser, ok, ok, SDL_BUTTON_RIGHT), ChooserOutcome::Open);
  for (C passive : {C::Banner, C::Label}) EXPECT_EQ(click(chooser, passive), ChooserOutcome::Open);
  // Outside every control, and outside the window.
  const Point corner{chooserWindowWidth() - 1, chooserWindowHeight() - 1}, outside{-5, 9999};
  downUp(chooser, corner, corner);
  downUp(chooser, outside, outside);
  expectMode(chooser, 640, 480, 16, 0);
  EXPECT_EQ(chooser.focus(), F::Resolution);
}

// --- layout ---

// Each control lies inside the window, overlaps no other and is found by the hit test at its corners;
// the rows follow the dialog from top to bottom.
TEST(ModeChooserLayout, ControlsLieInsideTheWindowApartInRowsAndAreHitAtTheirCorners) {
  for (int i = 0; i < chooserControlCount; ++i) {
    const ChooserControl control = static_cast<ChooserControl>(i);
    const ChooserRect a = chooserControlRect(control);
    SCOPED_TRACE(idOf(control));
    EXPECT_EQ(chooserControlAt(a.x, a.y), control);
    EXPECT_EQ(chooserControlAt(a.x + a.width - 1, a.y + a.height - 1), control);
    EXPECT_TRUE(a.width > 0 && a.height > 0 && a.x >= 0 && a.y >= 0);
    EXPECT_LE(a.x + a.width, chooserWindowWidth());
    EXPECT_LE(a.y + a.height, chooserWindowHeight());
    for (int j = i + 1; j < chooserControlCount; ++j) {
      const ChooserRect b = chooserControlRect(static_cast<ChooserControl>(j));
      const bool apart =
          a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y || b.y + b.height <= a.y;
      EXPECT_TRUE(apart) << "overlaps control " << chooserLayout[j].id;
    }
  }
  EXPECT_EQ(chooserControlAt(-1, 0), C::None);
  EXPECT_EQ(chooserControlAt(0, chooserWindowHeight()), C::None);
  // About 300 x 260, with the rows of the dialog from top to bottom.
  EXPECT_NEAR(chooserWindowWidth(), 300, 6);
  EXPECT_NEAR(chooserWindowHeight(), 260, 6);
  auto at = [](ChooserControl c) { return chooserControlRect(c); };
  const ChooserRect banner = at(C::Banner), label = at(C::Label), r640 = at(C::Radio640),
                    r800 = at(C::Radio800), r1024 = at(C::Radio1024), r16 = at(C::Radio16),
                    full = at(C::FullScreen), ok = at(C::Ok);
  EXPECT_EQ(banner.x, 0);
  EXPECT_EQ(banner.width, chooserWindowWidth());
  EXPECT_LT(banner.y + banner.height, label.y + 1);
  EXPECT_LE(label.y + label.height, r640.y);
  EXPECT_TRUE(r640.y == r800.y && r640.y == r1024.y);
  EXPECT_TRUE(r640.x < r800.x && r800.x < r1024.x);
  EXPECT_TRUE(r640.y < r16.y && r16.y < full.y);
  EXPECT_GT(ok.x, full.x + full.width) << "the button sits to the right of the check box";
  // Between the FullScreen box and the OK button lies empty panel.
  EXPECT_EQ(chooserControlAt((full.x + full.width + ok.x) / 2, ok.y + 2), C::None);
}

// --- drawing ---

struct Rgb {
  int r, g, b;
};

// The chooser draws into the bottom-left corner of the larger offscreen frame; y counts down its window.
Rgb readPixel(int x, int y) {
  uint8_t rgba[4];
  testContext().pixelAt(x, testContext().height() - chooserWindowHeight() + y, rgba);
  return Rgb{rgba[0], rgba[1], rgba[2]};
}

// Pixels passing `test` in the control's rectangle grown by `grow`, or in its widget (the square at its
// left) when `widgetOnly`.
int countPixels(ChooserControl control, bool widgetOnly, int grow, const std::function<bool(Rgb)>& test) {
  ChooserRect r = chooserControlRect(control);
  r = widgetOnly ? ChooserRect{r.x, r.y, r.height, r.height}
                 : ChooserRect{r.x - grow, r.y - grow, r.width + 2 * grow, r.height + 2 * grow};
  int count = 0;
  for (int y = r.y; y < r.y + r.height; ++y) {
    for (int x = r.x; x < r.x + r.width; ++x) count += test(readPixel(x, y)) ? 1 : 0;
  }
  return count;
}

class ModeChooserDrawing : public testing::Test {
 protected:
  void SetUp() override {
    pictures_.load();
    ASSERT_TRUE(pictures_.complete()) << "run from the build folder, after the pictures are generated";
  }
  void TearDown() override {
    pictures_.unload();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
  void draw(const ModeChooser& chooser) {
    pictures_.draw(chooser, chooserWindowWidth(), chooserWindowHeight());
  }

  ChooserPictures pictures_;
};

// Only the checked widgets show the blue mark: the defaults, then after clicking 1024, 32 and FullScreen.
TEST_F(ModeChooserDrawing, CheckedButtonsShowTheirMark) {
  ModeChooser chooser;
  const ChooserControl widgets[] = {C::Radio640, C::Radio800, C::Radio1024,
                                    C::Radio16,  C::Radio32,  C::FullScreen};
  const bool marked[2][6] = {{true, false, false, true, false, false},
                             {false, false, true, false, true, true}};
  for (int round = 0; round < 2; ++round) {
    if (round == 1) {
      for (C c : {C::Radio1024, C::Radio32, C::FullScreen}) click(chooser, c);
    }
    draw(chooser);
    for (int i = 0; i < 6; ++i) {
      const int blue = countPixels(widgets[i], true, 0, [](Rgb p) { return p.b > p.r + 60 && p.b > 120; });
      SCOPED_TRACE(testing::Message() << "round " << round << ", " << idOf(widgets[i]));
      EXPECT_TRUE(marked[round][i] ? blue > 8 : blue == 0) << blue << " blue pixels";
    }
  }
}

// The orange focus glow sits around the focused stop only.
TEST_F(ModeChooserDrawing, FocusFrameFollowsTheKeyboard) {
  ModeChooser chooser;
  const ChooserControl stops[] = {C::Radio640, C::Radio16, C::FullScreen, C::Ok};
  for (ChooserControl focused : stops) {
    draw(chooser);
    for (ChooserControl other : stops) {
      const int glow = countPixels(
          other, false, 2, [](Rgb p) { return p.r > 180 && p.g > 100 && p.b < 120 && p.r > p.b + 100; });
      SCOPED_TRACE(testing::Message() << "focus on " << idOf(focused) << ", looking at " << idOf(other));
      EXPECT_TRUE(other == focused ? glow > 20 : glow == 0) << glow << " glowing pixels";
    }
    chooser.pressKey(ChooserKey::Tab);
  }
}

TEST_F(ModeChooserDrawing, BannerFillsItsControlAndStopsAtItsEdge) {
  ModeChooser chooser;
  draw(chooser);
  const ChooserRect banner = chooserControlRect(C::Banner);
  // Sky across the top of the picture.
  const Rgb sky = readPixel(banner.x + banner.width / 3, banner.y + 6);
  EXPECT_GT(sky.b, sky.r + 40) << sky.r << "," << sky.g << "," << sky.b;
  // The picture is taller than its control: the rows just below the control show the panel, not the field.
  for (int x = 20; x < banner.width - 20; x += 20) {
    const Rgb below = readPixel(x, banner.y + banner.height + 1);
    EXPECT_GT(below.r, 200) << x;
    EXPECT_GT(below.b, 130) << x;
  }
  // The sunken edge: dark above and to the left, light below and to the right.
  EXPECT_LT(readPixel(banner.x + banner.width / 2, banner.y).r, 160);
  EXPECT_GT(readPixel(banner.x + banner.width / 2, banner.y + banner.height - 1).r, 230);
}

TEST_F(ModeChooserDrawing, DrawingLeavesTheCallersStateAlone) {
  glViewport(10, 20, 300, 200);
  glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  draw(ModeChooser{});
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 10);
  EXPECT_EQ(viewport[2], 300);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  EXPECT_FLOAT_EQ(projection[0], 1.0f);
  EXPECT_FLOAT_EQ(projection[12], 0.0f);
  glDisable(GL_DEPTH_TEST);
  glViewport(0, 0, 640, 480);
}

// Missing pictures leave the chooser incomplete, and drawing and unloading it stay harmless.
TEST(ModeChooserPictures, MissingPicturesMakeTheChooserIncomplete) {
  testimages::ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  ChooserPictures pictures;
  EXPECT_FALSE(pictures.complete()) << "nothing loaded yet";
  pictures.load();
  EXPECT_TRUE(pictures.isLoaded());
  EXPECT_FALSE(pictures.complete());
  ModeChooser chooser;
  pictures.draw(chooser, chooserWindowWidth(), chooserWindowHeight());
  pictures.draw(chooser, 0, 0);
  pictures.unload();
  pictures.unload();
  EXPECT_FALSE(pictures.isLoaded());
}

}  // namespace
