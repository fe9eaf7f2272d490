// The start-up chooser: what its controls mean for the window record, how the keyboard and the mouse
// move through them, its layout, and what it draws.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>

#include "shell/app_window.h"
#include "shell/mode_chooser.h"
#include "test_render_images.h"
#include "test_support.h"

namespace {

SDL_Event keyDown(SDL_Keycode key, uint16_t modifiers = 0, bool repeat = false) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.sym = key;
  event.key.keysym.mod = modifiers;
  event.key.repeat = repeat ? 1 : 0;
  return event;
}

SDL_Event mouseButton(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
  SDL_Event event{};
  event.type = type;
  event.button.button = button;
  event.button.x = x;
  event.button.y = y;
  return event;
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
  chooser.handleEvent(mouseButton(SDL_MOUSEBUTTONDOWN, down.x, down.y, button));
  return chooser.handleEvent(mouseButton(SDL_MOUSEBUTTONUP, up.x, up.y, button));
}

ChooserOutcome click(ModeChooser& chooser, ChooserControl control) {
  return downUp(chooser, centreOf(control), centreOf(control));
}

ChooserOutcome press(ModeChooser& chooser, SDL_Keycode key, uint16_t modifiers = 0) {
  return chooser.handleEvent(keyDown(key, modifiers));
}

void expectMode(const ModeChooser& chooser, int32_t width, int32_t height, int32_t bits, int32_t fullScreen) {
  const ScreenMode mode = chooser.chosenMode();
  EXPECT_EQ(mode.width, width);
  EXPECT_EQ(mode.height, height);
  EXPECT_EQ(mode.bitsPerPixel, bits);
  EXPECT_EQ(mode.fullScreen, fullScreen);
}

// --- from the controls to the record ---

TEST(ModeChooserOutput, UntouchedChooserGivesTheDefaults) {
  ModeChooser chooser;
  expectMode(chooser, 640, 480, 16, 0);
  EXPECT_TRUE(chooser.isChecked(ChooserControl::Radio640));
  EXPECT_TRUE(chooser.isChecked(ChooserControl::Radio16));
  EXPECT_FALSE(chooser.isChecked(ChooserControl::FullScreen));
  EXPECT_EQ(press(chooser, SDLK_RETURN), ChooserOutcome::Confirmed);
  expectMode(chooser, 640, 480, 16, 0);
}

TEST(ModeChooserOutput, LargestDeepestFullScreenByKeyboard) {
  ModeChooser chooser;
  press(chooser, SDLK_RIGHT);
  press(chooser, SDLK_RIGHT);  // 1024x768
  press(chooser, SDLK_TAB);
  press(chooser, SDLK_DOWN);  // 32bpp
  press(chooser, SDLK_TAB);
  press(chooser, SDLK_SPACE);  // FullScreen
  EXPECT_EQ(press(chooser, SDLK_RETURN), ChooserOutcome::Confirmed);
  expectMode(chooser, 1024, 768, 32, 1);
}

// Every choice made by mouse, confirmed with OK, reaches the record's four mode fields and nothing else.
TEST(ModeChooserOutput, EveryCombinationByMouseReachesTheRecord) {
  const struct {
    ChooserControl resolution;
    int32_t width, height;
  } resolutions[] = {{ChooserControl::Radio640, 640, 480},
                     {ChooserControl::Radio800, 800, 600},
                     {ChooserControl::Radio1024, 1024, 768}};
  const std::pair<ChooserControl, int32_t> depths[] = {{ChooserControl::Radio16, 16},
                                                       {ChooserControl::Radio32, 32}};
  for (const auto& resolution : resolutions) {
    for (const auto& [depthControl, bits] : depths) {
      for (bool full : {false, true}) {
        SCOPED_TRACE(testing::Message()
                     << resolution.width << "x" << resolution.height << " " << bits << " " << full);
        ModeChooser chooser;
        EXPECT_EQ(click(chooser, resolution.resolution), ChooserOutcome::Open);
        EXPECT_EQ(click(chooser, depthControl), ChooserOutcome::Open);
        if (full) {
          EXPECT_EQ(click(chooser, ChooserControl::FullScreen), ChooserOutcome::Open);
        }
        EXPECT_EQ(click(chooser, ChooserControl::Ok), ChooserOutcome::Confirmed);
        AppWindow record{};
        record.title = "untouched";
        record.visible = 7;
        record.lastTickCount = 12345;
        record.width = record.height = record.bitsPerPixel = record.fullScreen = -1;
        chooser.applyTo(record);
        EXPECT_EQ(record.width, resolution.width);
        EXPECT_EQ(record.height, resolution.height);
        EXPECT_EQ(record.bitsPerPixel, bits);
        EXPECT_EQ(record.fullScreen, full ? 1 : 0);
        // Only the four mode fields are the chooser's to write.
        EXPECT_STREQ(record.title, "untouched");
        EXPECT_EQ(record.visible, 7);
        EXPECT_EQ(record.lastTickCount, 12345u);
      }
    }
  }
}

TEST(ModeChooserOutput, EachGroupKeepsExactlyOneButtonChecked) {
  ModeChooser chooser;
  const ChooserControl resolutionGroup[] = {ChooserControl::Radio640, ChooserControl::Radio800,
                                            ChooserControl::Radio1024};
  for (int step = 0; step < 5; ++step) {
    int checked = 0;
    for (ChooserControl control : resolutionGroup) checked += chooser.isChecked(control) ? 1 : 0;
    EXPECT_EQ(checked, 1) << "after " << step << " steps";
    EXPECT_EQ(chooser.isChecked(ChooserControl::Radio16) + chooser.isChecked(ChooserControl::Radio32), 1);
    press(chooser, SDLK_RIGHT);
  }
  // Neither the banner, the label nor the button can be checked.
  EXPECT_FALSE(chooser.isChecked(ChooserControl::Banner));
  EXPECT_FALSE(chooser.isChecked(ChooserControl::Label));
  EXPECT_FALSE(chooser.isChecked(ChooserControl::Ok));
}

// --- keyboard ---

TEST(ModeChooserKeyboard, TabCyclesGroupsCheckBoxAndButtonAndShiftTabGoesBack) {
  ModeChooser chooser;
  EXPECT_EQ(chooser.focus(), ChooserFocus::Resolution);
  using F = ChooserFocus;
  const std::pair<uint16_t, ChooserFocus> steps[] = {
      {0, F::Depth},           {0, F::FullScreen},           {0, F::Ok},
      {0, F::Resolution},      {KMOD_LSHIFT, F::Ok},         {KMOD_LSHIFT, F::FullScreen},
      {KMOD_LSHIFT, F::Depth}, {KMOD_LSHIFT, F::Resolution}, {KMOD_RSHIFT, F::Ok}};  // either Shift reverses
  for (const auto& [modifiers, expected] : steps) {
    EXPECT_EQ(press(chooser, SDLK_TAB, modifiers), ChooserOutcome::Open);
    EXPECT_EQ(chooser.focus(), expected) << "modifiers " << modifiers;
  }
  // Moving the focus changes no choice.
  expectMode(chooser, 640, 480, 16, 0);
}

TEST(ModeChooserKeyboard, ArrowsMoveWithinTheFocusedGroupAndWrap) {
  ModeChooser chooser;
  using C = ChooserControl;
  // Past the last button comes the first, before the first the last; the depth group is untouched until
  // it has the focus, and the resolution then stays where it was left.
  const struct {
    SDL_Keycode key;
    ChooserControl resolution, depth;
  } rows[] = {{SDLK_RIGHT, C::Radio800, C::Radio16}, {SDLK_DOWN, C::Radio1024, C::Radio16},
              {SDLK_RIGHT, C::Radio640, C::Radio16}, {SDLK_LEFT, C::Radio1024, C::Radio16},
              {SDLK_UP, C::Radio800, C::Radio16},    {SDLK_TAB, C::Radio800, C::Radio16},
              {SDLK_LEFT, C::Radio800, C::Radio32},  {SDLK_UP, C::Radio800, C::Radio16}};
  for (const auto& r : rows) {
    press(chooser, r.key);
    EXPECT_TRUE(chooser.isChecked(r.resolution)) << r.key;
    EXPECT_TRUE(chooser.isChecked(r.depth)) << r.key;
    // The focus sits on the checked button of the focused group.
    EXPECT_EQ(chooser.focusedControl(), chooser.focus() == ChooserFocus::Depth ? r.depth : r.resolution);
  }
}

TEST(ModeChooserKeyboard, ArrowsDoNothingOnTheCheckBoxOrTheButton) {
  for (int tabs = 2; tabs <= 3; ++tabs) {
    ModeChooser fresh;
    for (int i = 0; i < tabs; ++i) press(fresh, SDLK_TAB);
    for (SDL_Keycode key : {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN}) {
      EXPECT_EQ(press(fresh, key), ChooserOutcome::Open);
    }
    expectMode(fresh, 640, 480, 16, 0);
  }
}

TEST(ModeChooserKeyboard, SpaceTogglesTheCheckBoxAndPressesTheButton) {
  ModeChooser chooser;
  EXPECT_EQ(press(chooser, SDLK_SPACE), ChooserOutcome::Open);
  expectMode(chooser, 640, 480, 16, 0);  // on a radio group it keeps the checked button
  press(chooser, SDLK_TAB);
  EXPECT_EQ(press(chooser, SDLK_SPACE), ChooserOutcome::Open);
  expectMode(chooser, 640, 480, 16, 0);
  press(chooser, SDLK_TAB);
  EXPECT_EQ(chooser.focusedControl(), ChooserControl::FullScreen);
  press(chooser, SDLK_SPACE);
  EXPECT_TRUE(chooser.isChecked(ChooserControl::FullScreen));
  press(chooser, SDLK_SPACE);
  EXPECT_FALSE(chooser.isChecked(ChooserControl::FullScreen));
  press(chooser, SDLK_SPACE);
  // A held Space repeats without toggling again.
  EXPECT_EQ(chooser.handleEvent(keyDown(SDLK_SPACE, 0, true)), ChooserOutcome::Open);
  EXPECT_TRUE(chooser.isChecked(ChooserControl::FullScreen));
  press(chooser, SDLK_TAB);
  EXPECT_EQ(chooser.focusedControl(), ChooserControl::Ok);
  EXPECT_EQ(chooser.handleEvent(keyDown(SDLK_SPACE, 0, true)), ChooserOutcome::Open);
  EXPECT_EQ(press(chooser, SDLK_SPACE), ChooserOutcome::Confirmed);
  expectMode(chooser, 640, 480, 16, 1);
}

TEST(ModeChooserKeyboard, EnterConfirmsWhereverTheFocusIs) {
  for (int tabs = 0; tabs < chooserFocusCount; ++tabs) {
    for (SDL_Keycode enter : {SDLK_RETURN, SDLK_KP_ENTER}) {
      ModeChooser chooser;
      for (int i = 0; i < tabs; ++i) press(chooser, SDLK_TAB);
      EXPECT_EQ(press(chooser, enter), ChooserOutcome::Confirmed) << tabs << " tabs, key " << enter;
    }
  }
}

TEST(ModeChooserKeyboard, EscapeOtherKeysKeyUpsAndMouseMotionAreIgnored) {
  ModeChooser chooser;
  press(chooser, SDLK_RIGHT);
  press(chooser, SDLK_TAB);
  for (SDL_Keycode key : {SDLK_ESCAPE, SDLK_a, SDLK_F4, SDLK_LCTRL, SDLK_BACKSPACE}) {
    EXPECT_EQ(press(chooser, key), ChooserOutcome::Open) << key;
  }
  EXPECT_EQ(chooser.handleEvent(keyDown(SDLK_ESCAPE, 0, true)), ChooserOutcome::Open);
  EXPECT_EQ(chooser.focus(), ChooserFocus::Depth);
  expectMode(chooser, 800, 600, 16, 0);
  EXPECT_EQ(chooserKeyFor(SDLK_ESCAPE, 0), ChooserKey::Escape);
  EXPECT_EQ(chooser.pressKey(ChooserKey::Escape), ChooserOutcome::Open);
  SDL_Event up = keyDown(SDLK_RETURN);
  up.type = SDL_KEYUP;
  EXPECT_EQ(chooser.handleEvent(up), ChooserOutcome::Open);
  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  EXPECT_EQ(chooser.handleEvent(motion), ChooserOutcome::Open);
  expectMode(chooser, 800, 600, 16, 0);
}

// --- closing from outside ---

TEST(ModeChooserWindow, ACloseRequestEndsTheChooserWithoutAChoice) {
  ModeChooser chooser;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  EXPECT_EQ(chooser.handleEvent(quit), ChooserOutcome::Closed);

  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  EXPECT_EQ(chooser.handleEvent(close), ChooserOutcome::Closed);

  SDL_Event exposed = close;
  exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
  EXPECT_EQ(chooser.handleEvent(exposed), ChooserOutcome::Open);
}

// --- mouse ---

TEST(ModeChooserMouse, AClickSelectsTheButtonAndTakesTheFocus) {
  ModeChooser chooser;
  click(chooser, ChooserControl::Radio32);
  EXPECT_TRUE(chooser.isChecked(ChooserControl::Radio32));
  EXPECT_EQ(chooser.focus(), ChooserFocus::Depth);
  click(chooser, ChooserControl::Radio800);
  EXPECT_EQ(chooser.focus(), ChooserFocus::Resolution);
  click(chooser, ChooserControl::FullScreen);
  EXPECT_EQ(chooser.focus(), ChooserFocus::FullScreen);
  click(chooser, ChooserControl::FullScreen);
  EXPECT_FALSE(chooser.isChecked(ChooserControl::FullScreen)) << "a second click clears the box";
  // The label of a button is part of it: a click near its right end still selects it.
  const ChooserRect rect = chooserControlRect(ChooserControl::Radio1024);
  const int x = rect.x + rect.width - 2;
  const int y = rect.y + rect.height / 2;
  chooser.handleEvent(mouseButton(SDL_MOUSEBUTTONDOWN, x, y));
  EXPECT_EQ(chooser.pressedControl(), ChooserControl::Radio1024);
  EXPECT_TRUE(chooser.isChecked(ChooserControl::Radio800)) << "nothing happens until the button comes up";
  chooser.handleEvent(mouseButton(SDL_MOUSEBUTTONUP, x, y));
  EXPECT_TRUE(chooser.isChecked(ChooserControl::Radio1024));
  EXPECT_EQ(chooser.pressedControl(), ChooserControl::None);
  expectMode(chooser, 1024, 768, 32, 0);
}

TEST(ModeChooserMouse, ReleasingAwayFromThePressedControlCancelsTheClick) {
  ModeChooser chooser;
  const Point ok = centreOf(ChooserControl::Ok);
  EXPECT_EQ(downUp(chooser, ok, centreOf(ChooserControl::Banner)), ChooserOutcome::Open);
  downUp(chooser, centreOf(ChooserControl::FullScreen), centreOf(ChooserControl::Radio800));
  expectMode(chooser, 640, 480, 16, 0);
  // An up without a down (the press began elsewhere) does nothing either.
  EXPECT_EQ(chooser.handleEvent(mouseButton(SDL_MOUSEBUTTONUP, ok.x, ok.y)), ChooserOutcome::Open);
}

TEST(ModeChooserMouse, OnlyTheLeftButtonClicksAndOnlyControlsReact) {
  ModeChooser chooser;
  const Point ok = centreOf(ChooserControl::Ok);
  EXPECT_EQ(downUp(chooser, ok, ok, SDL_BUTTON_RIGHT), ChooserOutcome::Open);
  for (ChooserControl passive : {ChooserControl::Banner, ChooserControl::Label}) {
    EXPECT_EQ(click(chooser, passive), ChooserOutcome::Open);
  }
  // Outside every control, and outside the window.
  const Point corner{chooserWindowWidth() - 1, chooserWindowHeight() - 1}, outside{-5, 9999};
  downUp(chooser, corner, corner);
  downUp(chooser, outside, outside);
  expectMode(chooser, 640, 480, 16, 0);
  EXPECT_EQ(chooser.focus(), ChooserFocus::Resolution);
}

// --- layout ---

TEST(ModeChooserLayout, WindowIsAboutThreeHundredByTwoHundredSixty) {
  EXPECT_NEAR(chooserWindowWidth(), 300, 6);
  EXPECT_NEAR(chooserWindowHeight(), 260, 6);
}

// Each control lies inside the window, overlaps no other and is found by the hit test at its corners.
TEST(ModeChooserLayout, ControlsLieInsideTheWindowApartAndAreHitAtTheirCorners) {
  for (int i = 0; i < chooserControlCount; ++i) {
    const ChooserControl control = static_cast<ChooserControl>(i);
    const ChooserRect a = chooserControlRect(control);
    SCOPED_TRACE(chooserLayout[i].id);
    EXPECT_EQ(chooserControlAt(a.x, a.y), control);
    EXPECT_EQ(chooserControlAt(a.x + a.width - 1, a.y + a.height - 1), control);
    EXPECT_GT(a.width, 0);
    EXPECT_GT(a.height, 0);
    EXPECT_GE(a.x, 0);
    EXPECT_GE(a.y, 0);
    EXPECT_LE(a.x + a.width, chooserWindowWidth());
    EXPECT_LE(a.y + a.height, chooserWindowHeight());
    for (int j = i + 1; j < chooserControlCount; ++j) {
      const ChooserRect b = chooserControlRect(static_cast<ChooserControl>(j));
      const bool apart =
          a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y || b.y + b.height <= a.y;
      EXPECT_TRUE(apart) << "overlaps control " << chooserLayout[j].id;
    }
  }
  EXPECT_EQ(chooserControlAt(-1, 0), ChooserControl::None);
  EXPECT_EQ(chooserControlAt(0, chooserWindowHeight()), ChooserControl::None);
  // Between the FullScreen box and the OK button lies empty panel.
  const ChooserRect full = chooserControlRect(ChooserControl::FullScreen);
  const ChooserRect ok = chooserControlRect(ChooserControl::Ok);
  EXPECT_EQ(chooserControlAt((full.x + full.width + ok.x) / 2, ok.y + 2), ChooserControl::None);
}

TEST(ModeChooserLayout, RowsFollowTheDialogTopToBottom) {
  auto at = [](ChooserControl c) { return chooserControlRect(c); };
  const ChooserRect banner = at(ChooserControl::Banner), label = at(ChooserControl::Label),
                    r640 = at(ChooserControl::Radio640), r800 = at(ChooserControl::Radio800),
                    r1024 = at(ChooserControl::Radio1024), r16 = at(ChooserControl::Radio16),
                    full = at(ChooserControl::FullScreen), ok = at(ChooserControl::Ok);
  EXPECT_EQ(banner.x, 0);
  EXPECT_EQ(banner.width, chooserWindowWidth());
  EXPECT_LT(banner.y + banner.height, label.y + 1);
  EXPECT_LE(label.y + label.height, r640.y);
  EXPECT_EQ(r640.y, r800.y);
  EXPECT_EQ(r640.y, r1024.y);
  EXPECT_LT(r640.x, r800.x);
  EXPECT_LT(r800.x, r1024.x);
  EXPECT_LT(r640.y, r16.y);
  EXPECT_LT(r16.y, full.y);
  EXPECT_GT(ok.x, full.x + full.width) << "the button sits to the right of the check box";
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

int countPixels(const ChooserRect& rect, const std::function<bool(Rgb)>& test) {
  int count = 0;
  for (int y = rect.y; y < rect.y + rect.height; ++y) {
    for (int x = rect.x; x < rect.x + rect.width; ++x) count += test(readPixel(x, y)) ? 1 : 0;
  }
  return count;
}

bool isWidgetBlue(Rgb p) {
  return p.b > p.r + 60 && p.b > 120;
}

// The focus frame's glow over the paper panel.
bool isFocusOrange(Rgb p) {
  return p.r > 180 && p.g > 100 && p.b < 120 && p.r > p.b + 100;
}

// The widget part of a radio button or the check box: a square at the control's left.
ChooserRect widgetOf(ChooserControl control) {
  const ChooserRect r = chooserControlRect(control);
  return ChooserRect{r.x, r.y, r.height, r.height};
}

ChooserRect aroundOf(ChooserControl control) {
  const ChooserRect r = chooserControlRect(control);
  return ChooserRect{r.x - 2, r.y - 2, r.width + 4, r.height + 4};
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

TEST_F(ModeChooserDrawing, CheckedButtonsShowTheirMark) {
  ModeChooser chooser;
  const ChooserControl widgets[] = {ChooserControl::Radio640,  ChooserControl::Radio800,
                                    ChooserControl::Radio1024, ChooserControl::Radio16,
                                    ChooserControl::Radio32,   ChooserControl::FullScreen};
  // Which of the six widgets show a mark: the defaults, then after clicking 1024, 32 and FullScreen.
  const bool marked[2][6] = {{true, false, false, true, false, false},
                             {false, false, true, false, true, true}};
  for (int round = 0; round < 2; ++round) {
    if (round == 1) {
      for (ChooserControl c :
           {ChooserControl::Radio1024, ChooserControl::Radio32, ChooserControl::FullScreen}) {
        click(chooser, c);
      }
    }
    draw(chooser);
    for (int i = 0; i < 6; ++i) {
      const int blue = countPixels(widgetOf(widgets[i]), isWidgetBlue);
      SCOPED_TRACE(testing::Message()
                   << "round " << round << ", " << chooserLayout[static_cast<int>(widgets[i])].id);
      if (marked[round][i]) {
        EXPECT_GT(blue, 8);
      } else {
        EXPECT_EQ(blue, 0);
      }
    }
  }
}

TEST_F(ModeChooserDrawing, FocusFrameFollowsTheKeyboard) {
  ModeChooser chooser;
  const ChooserControl stops[] = {ChooserControl::Radio640, ChooserControl::Radio16,
                                  ChooserControl::FullScreen, ChooserControl::Ok};
  for (ChooserControl focused : stops) {
    draw(chooser);
    for (ChooserControl other : stops) {
      const int glow = countPixels(aroundOf(other), isFocusOrange);
      if (other == focused) {
        EXPECT_GT(glow, 20) << "focus on " << chooserLayout[static_cast<int>(focused)].id;
      } else {
        EXPECT_EQ(glow, 0) << "stray glow on " << chooserLayout[static_cast<int>(other)].id;
      }
    }
    chooser.pressKey(ChooserKey::Tab);
  }
}

TEST_F(ModeChooserDrawing, BannerFillsItsControlAndStopsAtItsEdge) {
  ModeChooser chooser;
  draw(chooser);
  const ChooserRect banner = chooserControlRect(ChooserControl::Banner);
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
  const Rgb topLeft = readPixel(banner.x + banner.width / 2, banner.y);
  const Rgb bottom = readPixel(banner.x + banner.width / 2, banner.y + banner.height - 1);
  EXPECT_LT(topLeft.r, 160);
  EXPECT_GT(bottom.r, 230);
}

TEST_F(ModeChooserDrawing, DrawingLeavesTheCallersStateAlone) {
  GLint viewport[4];
  glViewport(10, 20, 300, 200);
  glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  ModeChooser chooser;
  draw(chooser);
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

TEST(ModeChooserPictures, MissingPicturesMakeTheChooserIncomplete) {
  testimages::ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  ChooserPictures pictures;
  EXPECT_FALSE(pictures.complete()) << "nothing loaded yet";
  pictures.load();
  EXPECT_TRUE(pictures.isLoaded());
  EXPECT_FALSE(pictures.complete());
  ModeChooser chooser;
  pictures.draw(chooser, chooserWindowWidth(), chooserWindowHeight());  // draws nothing harmful
  pictures.draw(chooser, 0, 0);
  pictures.unload();
  pictures.unload();
  EXPECT_FALSE(pictures.isLoaded());
}

}  // namespace
