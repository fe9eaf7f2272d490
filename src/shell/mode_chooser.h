// The start-up chooser: resolution, colour depth and full screen, picked before the game window
// exists. The controls' state, their keyboard and mouse handling and the layout live here apart from
// the window that shows them, so they can be exercised without a display.
#pragma once

#include <SDL_events.h>

#include <cstdint>
#include <memory>

class Sprite;
struct AppWindow;

// The controls in creation order; the layout table below follows the same order.
enum class ChooserControl : uint8_t {
  Banner,
  Ok,
  Label,
  Radio640,
  Radio800,
  Radio1024,
  Radio16,
  Radio32,
  FullScreen,
  None,
};
inline constexpr int chooserControlCount = static_cast<int>(ChooserControl::None);

enum class ChooserControlKind : uint8_t { Picture, Button, Text, Radio, CheckBox };

// Position and size in dialog units; the picture is the control's face or its lettering.
struct ChooserControlLayout {
  int16_t id;
  ChooserControlKind kind;
  const char* picture;
  int16_t x, y, width, height;
};

inline constexpr ChooserControlLayout chooserLayout[] = {
    {1008, ChooserControlKind::Picture, "graphics\\chooser\\banner512.tga", 0, 0, 201, 95},
    {1, ChooserControlKind::Button, "graphics\\chooser\\btn_ok.tga", 141, 138, 53, 13},
    {-1, ChooserControlKind::Text, "graphics\\chooser\\label_mode.tga", 3, 97, 89, 13},
    {1001, ChooserControlKind::Radio, "graphics\\chooser\\opt_640.tga", 4, 110, 58, 9},
    {1002, ChooserControlKind::Radio, "graphics\\chooser\\opt_800.tga", 74, 110, 58, 9},
    {1003, ChooserControlKind::Radio, "graphics\\chooser\\opt_1024.tga", 142, 110, 58, 9},
    {1004, ChooserControlKind::Radio, "graphics\\chooser\\opt_16.tga", 4, 124, 50, 9},
    {1006, ChooserControlKind::Radio, "graphics\\chooser\\opt_32.tga", 74, 124, 50, 9},
    {1007, ChooserControlKind::CheckBox, "graphics\\chooser\\opt_full.tga", 4, 140, 65, 11},
};
static_assert(sizeof(chooserLayout) / sizeof(chooserLayout[0]) == chooserControlCount);

// Dialog units to pixels for an 8-point face: a quarter of a 6-pixel average character across,
// an eighth of a 13-pixel line down.
inline constexpr int chooserDialogWidthUnits = 201;
inline constexpr int chooserDialogHeightUnits = 158;
inline constexpr float chooserPixelsPerUnitX = 6.0f / 4.0f;
inline constexpr float chooserPixelsPerUnitY = 13.0f / 8.0f;

struct ChooserRect {
  int x, y, width, height;
  bool contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

// Window size in pixels (about 300 x 260) and each control's rectangle in window pixels, y down.
int chooserWindowWidth();
int chooserWindowHeight();
ChooserRect chooserControlRect(ChooserControl control);
// The control under a point of the window, or None.
ChooserControl chooserControlAt(int x, int y);

// What Tab visits: the two radio groups, the check box and the OK button, in the dialog's cycle.
enum class ChooserFocus : uint8_t { Resolution, Depth, FullScreen, Ok };
inline constexpr int chooserFocusCount = 4;

enum class ChooserKey : uint8_t { None, Left, Up, Right, Down, Tab, BackTab, Space, Enter, Escape };

enum class ChooserOutcome : uint8_t { Open, Confirmed, Closed };

// The four mode fields of the window record.
struct ScreenMode {
  int32_t width;
  int32_t height;
  int32_t bitsPerPixel;
  int32_t fullScreen;
};

class ModeChooser {
 public:
  // 640x480, 16bpp, windowed: the same as the record's defaults. The keyboard starts on the resolutions.
  ModeChooser() = default;
  // Starts on a remembered mode; a size or depth it does not offer keeps that group's default.
  explicit ModeChooser(const ScreenMode& remembered);

  ChooserOutcome pressKey(ChooserKey key);
  // A click takes effect when the button comes up over the control it went down on.
  void pressMouse(int x, int y);
  ChooserOutcome releaseMouse(int x, int y);
  ChooserOutcome handleEvent(const SDL_Event& event);

  ChooserFocus focus() const { return focus_; }
  // The control with the keyboard: the checked button of a focused radio group.
  ChooserControl focusedControl() const;
  // The control the mouse went down on and has not yet come up from.
  ChooserControl pressedControl() const { return pressed_; }
  bool isChecked(ChooserControl control) const;

  // The record's mode as the OK button reads the controls.
  ScreenMode chosenMode() const;
  // Writes only width, height, bits per pixel and full screen.
  void applyTo(AppWindow& window) const;

 private:
  void activate(ChooserControl control);
  void stepWithinGroup(int step);

  int resolution_ = 0;  // index into the resolution group
  int depth_ = 0;       // index into the depth group
  bool fullScreen_ = false;
  ChooserFocus focus_ = ChooserFocus::Resolution;
  ChooserControl pressed_ = ChooserControl::None;
};

// The key an SDL key press means to the chooser.
ChooserKey chooserKeyFor(SDL_Keycode key, uint16_t modifiers);
// The key a game controller button means to the chooser: the D-pad moves, A toggles or presses, Start
// confirms.
ChooserKey chooserKeyForPadButton(uint8_t button);

// The chooser's pictures, one per control plus the panel, the widgets and the focus frame.
class ChooserPictures {
 public:
  ChooserPictures();
  ~ChooserPictures();
  ChooserPictures(const ChooserPictures&) = delete;
  ChooserPictures& operator=(const ChooserPictures&) = delete;

  void load();
  void unload();
  bool isLoaded() const { return loaded_; }
  // False when any picture could not be read: the chooser would be blank.
  bool complete() const;

  void draw(const ModeChooser& chooser, int drawableWidth, int drawableHeight) const;

  // Where the focus frame goes for a control: around a button, around the lettering of a choice.
  ChooserRect focusRect(ChooserControl control) const;

 private:
  void drawEdges(const ChooserRect& rect) const;

  std::unique_ptr<Sprite> panel_;
  std::unique_ptr<Sprite> faces_[chooserControlCount];
  std::unique_ptr<Sprite> radioOff_;
  std::unique_ptr<Sprite> radioOn_;
  std::unique_ptr<Sprite> checkOff_;
  std::unique_ptr<Sprite> checkOn_;
  std::unique_ptr<Sprite> focusFrame_;
  int inkWidths_[chooserControlCount] = {};
  bool loaded_ = false;
};

// runModeChooser, which shows all this in its own window, is declared with the main loop.
