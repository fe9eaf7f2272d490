#include "shell/mode_chooser.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cmath>

#include "render/sprite.h"
#include "render/texture.h"
#include "shell/app_window.h"
#include "shell/game_pad.h"
#include "shell/main_loop.h"

namespace {
// The choices of each radio group, in the order of its buttons.
constexpr ChooserControl resolutionGroup[] = {ChooserControl::Radio640, ChooserControl::Radio800,
                                              ChooserControl::Radio1024};
constexpr ChooserControl depthGroup[] = {ChooserControl::Radio16, ChooserControl::Radio32};
constexpr int resolutionCount = 3;
constexpr int depthCount = 2;

struct Resolution {
  int32_t width;
  int32_t height;
};
constexpr Resolution resolutions[resolutionCount] = {{640, 480}, {800, 600}, {1024, 768}};
constexpr int32_t depths[depthCount] = {16, 32};

int indexInGroup(const ChooserControl* group, int count, ChooserControl control) {
  for (int i = 0; i < count; ++i) {
    if (group[i] == control) return i;
  }
  return -1;
}

int wrap(int value, int count) {
  return ((value % count) + count) % count;
}

int unitsToPixelsX(int units) {
  return static_cast<int>(std::lround(static_cast<float>(units) * chooserPixelsPerUnitX));
}

int unitsToPixelsY(int units) {
  return static_cast<int>(std::lround(static_cast<float>(units) * chooserPixelsPerUnitY));
}

const ChooserControlLayout& layoutOf(ChooserControl control) {
  return chooserLayout[static_cast<int>(control)];
}

// --- pictures ---
constexpr const char* panelPicture = "graphics\\chooser\\panel.tga";
constexpr const char* radioOffPicture = "graphics\\chooser\\radio_off.tga";
constexpr const char* radioOnPicture = "graphics\\chooser\\radio_on.tga";
constexpr const char* checkOffPicture = "graphics\\chooser\\check_off.tga";
constexpr const char* checkOnPicture = "graphics\\chooser\\check_on.tga";
constexpr const char* focusPicture = "graphics\\chooser\\focus.tga";

constexpr float panelSize = 512.0f;
constexpr float bannerCanvasWidth = 512.0f;
constexpr float bannerCanvasHeight = 256.0f;
constexpr int bannerWidth = 291;
constexpr int bannerHeight = 165;
// Lettering is painted at twice the size it is shown, so it stays sharp on a HiDPI display.
constexpr float letteringWidth = 128.0f;
constexpr float letteringHeight = 16.0f;
constexpr int widgetSize = 16;
constexpr int focusMargin = 2;
// The frame runs from just right of the mark to a little past the word's ink, whose lettering
// starts 7 px into its picture: the frame's sides stay outside the word.
constexpr int focusPadLeft = 0;
constexpr int focusPadRight = 6;
constexpr int edgeWidth = 2;
constexpr float pressedShade = 0.8f;
constexpr float topLeftAnchor = -0.5f;

// Sprites place their anchor at (x, 480 - y); the chooser's projection maps that back to window pixels.
constexpr float overlayHeight = 480.0f;

struct Shade {
  float r, g, b;
};
constexpr Shade panelShade{0.96f, 0.92f, 0.80f};
constexpr Shade edgeOuterDark{0.55f, 0.45f, 0.30f};
constexpr Shade edgeInnerDark{0.30f, 0.22f, 0.12f};
constexpr Shade edgeOuterLight{1.00f, 0.98f, 0.92f};
constexpr Shade edgeInnerLight{0.88f, 0.82f, 0.68f};

// How far from the left the lettering's ink reaches, in shown pixels: the last column with any cover.
int inkWidth(const Texture* texture, float shownWidth) {
  if (!texture) return 0;
  const uint8_t* pixels = texture->pixels();
  const int width = texture->width();
  const int height = texture->height();
  if (!pixels || width <= 0 || height <= 0 || texture->bitsPerPixel() != 32)
    return static_cast<int>(shownWidth);
  constexpr int bytesPerPixel = 4;
  for (int x = width - 1; x >= 0; --x) {
    for (int y = 0; y < height; ++y) {
      if (pixels[(static_cast<size_t>(y) * width + x) * bytesPerPixel + 3] != 0) {
        return static_cast<int>(
            std::ceil(static_cast<float>(x + 1) * shownWidth / static_cast<float>(width)));
      }
    }
  }
  return 0;
}

void drawAt(const std::unique_ptr<Sprite>& sprite, int x, int y, float width, float height,
            float shade = 1.0f) {
  if (sprite)
    sprite->drawTinted(static_cast<float>(x), static_cast<float>(y), 0.0f, width, height, shade, shade,
                       shade);
}

void fillRect(int x, int y, int width, int height, const Shade& shade) {
  glColor3f(shade.r, shade.g, shade.b);
  glBegin(GL_QUADS);
  glVertex2f(static_cast<float>(x), overlayHeight - static_cast<float>(y));
  glVertex2f(static_cast<float>(x), overlayHeight - static_cast<float>(y + height));
  glVertex2f(static_cast<float>(x + width), overlayHeight - static_cast<float>(y + height));
  glVertex2f(static_cast<float>(x + width), overlayHeight - static_cast<float>(y));
  glEnd();
}

// The chooser's own window and context; everything it holds is released in reverse order.
constexpr Uint32 chooserWindowFlags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS |
                                      SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_ALWAYS_ON_TOP;
// Its own name, so tools and window lists tell it from the game window.
constexpr const char* chooserTitle = "Select Screen Mode";
// Redraw now and then even without events, in case an exposure went unreported.
constexpr int idleRedrawMs = 250;

// Video drivers that draw where nobody can see or answer the chooser.
constexpr const char* unseenVideoDrivers[] = {"offscreen", "dummy"};

bool canBeSeen() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) return false;
  for (const char* unseen : unseenVideoDrivers) {
    if (SDL_strcasecmp(driver, unseen) == 0) return false;
  }
  return true;
}

void drawChooserFrame(SDL_Window* window, const ModeChooser& chooser, const ChooserPictures& pictures) {
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(window, &width, &height);
  pictures.draw(chooser, width, height);
  SDL_GL_SwapWindow(window);
}
}  // namespace

// --- layout ---

int chooserWindowWidth() {
  return unitsToPixelsX(chooserDialogWidthUnits);
}

int chooserWindowHeight() {
  return unitsToPixelsY(chooserDialogHeightUnits);
}

ChooserRect chooserControlRect(ChooserControl control) {
  if (control == ChooserControl::None) return ChooserRect{0, 0, 0, 0};
  const ChooserControlLayout& layout = layoutOf(control);
  // Both edges are rounded, so neighbouring controls neither overlap nor leave a gap.
  const int left = unitsToPixelsX(layout.x);
  const int top = unitsToPixelsY(layout.y);
  return ChooserRect{left, top, unitsToPixelsX(layout.x + layout.width) - left,
                     unitsToPixelsY(layout.y + layout.height) - top};
}

ChooserControl chooserControlAt(int x, int y) {
  for (int i = 0; i < chooserControlCount; ++i) {
    const ChooserControl control = static_cast<ChooserControl>(i);
    if (chooserControlRect(control).contains(x, y)) return control;
  }
  return ChooserControl::None;
}

// --- the controls' state ---

ChooserControl ModeChooser::focusedControl() const {
  switch (focus_) {
    case ChooserFocus::Resolution:
      return resolutionGroup[resolution_];
    case ChooserFocus::Depth:
      return depthGroup[depth_];
    case ChooserFocus::FullScreen:
      return ChooserControl::FullScreen;
    case ChooserFocus::Ok:
      return ChooserControl::Ok;
  }
  return ChooserControl::None;
}

bool ModeChooser::isChecked(ChooserControl control) const {
  if (control == ChooserControl::FullScreen) return fullScreen_;
  if (indexInGroup(resolutionGroup, resolutionCount, control) >= 0)
    return resolutionGroup[resolution_] == control;
  if (indexInGroup(depthGroup, depthCount, control) >= 0) return depthGroup[depth_] == control;
  return false;
}

void ModeChooser::stepWithinGroup(int step) {
  // Moving within a group of automatic radio buttons checks the one reached, wrapping at the ends.
  if (focus_ == ChooserFocus::Resolution) {
    resolution_ = wrap(resolution_ + step, resolutionCount);
  } else if (focus_ == ChooserFocus::Depth) {
    depth_ = wrap(depth_ + step, depthCount);
  }
}

ModeChooser::ModeChooser(const ScreenMode& remembered) {
  for (int i = 0; i < resolutionCount; ++i) {
    if (resolutions[i].width == remembered.width && resolutions[i].height == remembered.height)
      resolution_ = i;
  }
  for (int i = 0; i < depthCount; ++i) {
    if (depths[i] == remembered.bitsPerPixel) depth_ = i;
  }
  fullScreen_ = remembered.fullScreen != 0;
}

ChooserOutcome ModeChooser::pressKey(ChooserKey key) {
  switch (key) {
    case ChooserKey::Left:
    case ChooserKey::Up:
      stepWithinGroup(-1);
      break;
    case ChooserKey::Right:
    case ChooserKey::Down:
      stepWithinGroup(1);
      break;
    case ChooserKey::Tab:
      focus_ = static_cast<ChooserFocus>(wrap(static_cast<int>(focus_) + 1, chooserFocusCount));
      break;
    case ChooserKey::BackTab:
      focus_ = static_cast<ChooserFocus>(wrap(static_cast<int>(focus_) - 1, chooserFocusCount));
      break;
    case ChooserKey::Space:
      if (focus_ == ChooserFocus::FullScreen) fullScreen_ = !fullScreen_;
      if (focus_ == ChooserFocus::Ok) return ChooserOutcome::Confirmed;
      break;
    case ChooserKey::Enter:
      return ChooserOutcome::Confirmed;
    case ChooserKey::Escape:  // there is no cancel: the chooser ends only through OK
    case ChooserKey::None:
      break;
  }
  return ChooserOutcome::Open;
}

void ModeChooser::activate(ChooserControl control) {
  const int resolution = indexInGroup(resolutionGroup, resolutionCount, control);
  const int depth = indexInGroup(depthGroup, depthCount, control);
  if (resolution >= 0) {
    resolution_ = resolution;
    focus_ = ChooserFocus::Resolution;
  } else if (depth >= 0) {
    depth_ = depth;
    focus_ = ChooserFocus::Depth;
  } else if (control == ChooserControl::FullScreen) {
    fullScreen_ = !fullScreen_;
    focus_ = ChooserFocus::FullScreen;
  } else if (control == ChooserControl::Ok) {
    focus_ = ChooserFocus::Ok;
  }
}

void ModeChooser::pressMouse(int x, int y) {
  pressed_ = chooserControlAt(x, y);
}

ChooserOutcome ModeChooser::releaseMouse(int x, int y) {
  const ChooserControl pressed = pressed_;
  pressed_ = ChooserControl::None;
  if (pressed == ChooserControl::None || chooserControlAt(x, y) != pressed) return ChooserOutcome::Open;
  activate(pressed);
  return pressed == ChooserControl::Ok ? ChooserOutcome::Confirmed : ChooserOutcome::Open;
}

ChooserOutcome ModeChooser::handleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      return ChooserOutcome::Closed;
    case SDL_WINDOWEVENT:
      return event.window.event == SDL_WINDOWEVENT_CLOSE ? ChooserOutcome::Closed : ChooserOutcome::Open;
    case SDL_KEYDOWN: {
      const ChooserKey key = chooserKeyFor(event.key.keysym.sym, event.key.keysym.mod);
      // A held Space or Enter acts once; arrows and Tab may repeat.
      if (event.key.repeat && (key == ChooserKey::Space || key == ChooserKey::Enter))
        return ChooserOutcome::Open;
      return pressKey(key);
    }
    case SDL_CONTROLLERBUTTONDOWN:
      return pressKey(chooserKeyForPadButton(event.cbutton.button));
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT) pressMouse(event.button.x, event.button.y);
      return ChooserOutcome::Open;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button != SDL_BUTTON_LEFT) return ChooserOutcome::Open;
      return releaseMouse(event.button.x, event.button.y);
    default:
      return ChooserOutcome::Open;
  }
}

ScreenMode ModeChooser::chosenMode() const {
  ScreenMode mode{};
  mode.fullScreen = isChecked(ChooserControl::FullScreen) ? 1 : 0;
  mode.bitsPerPixel = depths[depth_];
  mode.width = resolutions[resolution_].width;
  mode.height = resolutions[resolution_].height;
  return mode;
}

void ModeChooser::applyTo(AppWindow& window) const {
  const ScreenMode mode = chosenMode();
  window.width = mode.width;
  window.height = mode.height;
  window.bitsPerPixel = mode.bitsPerPixel;
  window.fullScreen = mode.fullScreen;
}

ChooserKey chooserKeyForPadButton(uint8_t button) {
  // Left and right pick within a group, up and down move between the groups and OK.
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return ChooserKey::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return ChooserKey::Right;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return ChooserKey::BackTab;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return ChooserKey::Tab;
    case SDL_CONTROLLER_BUTTON_A:
      return ChooserKey::Space;
    case SDL_CONTROLLER_BUTTON_START:
      return ChooserKey::Enter;
    default:
      return ChooserKey::None;
  }
}

ChooserKey chooserKeyFor(SDL_Keycode key, uint16_t modifiers) {
  switch (key) {
    case SDLK_LEFT:
      return ChooserKey::Left;
    case SDLK_UP:
      return ChooserKey::Up;
    case SDLK_RIGHT:
      return ChooserKey::Right;
    case SDLK_DOWN:
      return ChooserKey::Down;
    case SDLK_TAB:
      return (modifiers & KMOD_SHIFT) != 0 ? ChooserKey::BackTab : ChooserKey::Tab;
    case SDLK_SPACE:
      return ChooserKey::Space;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return ChooserKey::Enter;
    case SDLK_ESCAPE:
      return ChooserKey::Escape;
    default:
      return ChooserKey::None;
  }
}

// --- pictures and drawing ---

ChooserPictures::ChooserPictures() = default;

ChooserPictures::~ChooserPictures() {
  unload();
}

void ChooserPictures::load() {
  if (loaded_) return;
  panel_ = std::make_unique<Sprite>(panelPicture, panelSize, panelSize, topLeftAnchor, topLeftAnchor);
  for (int i = 0; i < chooserControlCount; ++i) {
    faces_[i] = std::make_unique<Sprite>(chooserLayout[i].picture, letteringWidth, letteringHeight,
                                         topLeftAnchor, topLeftAnchor);
    inkWidths_[i] = inkWidth(faces_[i]->texture(), letteringWidth);
  }
  radioOff_ = std::make_unique<Sprite>(radioOffPicture, widgetSize, widgetSize, topLeftAnchor, topLeftAnchor);
  radioOn_ = std::make_unique<Sprite>(radioOnPicture, widgetSize, widgetSize, topLeftAnchor, topLeftAnchor);
  checkOff_ = std::make_unique<Sprite>(checkOffPicture, widgetSize, widgetSize, topLeftAnchor, topLeftAnchor);
  checkOn_ = std::make_unique<Sprite>(checkOnPicture, widgetSize, widgetSize, topLeftAnchor, topLeftAnchor);
  focusFrame_ = std::make_unique<Sprite>(focusPicture, widgetSize, widgetSize, topLeftAnchor, topLeftAnchor);
  loaded_ = true;
}

void ChooserPictures::unload() {
  if (!loaded_) return;
  focusFrame_.reset();
  checkOn_.reset();
  checkOff_.reset();
  radioOn_.reset();
  radioOff_.reset();
  for (int i = chooserControlCount - 1; i >= 0; --i) faces_[i].reset();
  panel_.reset();
  loaded_ = false;
}

bool ChooserPictures::complete() const {
  if (!loaded_) return false;
  auto read = [](const std::unique_ptr<Sprite>& sprite) {
    return sprite && sprite->texture() && sprite->texture()->pixels() != nullptr;
  };
  for (const auto& face : faces_) {
    if (!read(face)) return false;
  }
  return read(panel_) && read(radioOff_) && read(radioOn_) && read(checkOff_) && read(checkOn_) &&
         read(focusFrame_);
}

ChooserRect ChooserPictures::focusRect(ChooserControl control) const {
  const ChooserRect rect = chooserControlRect(control);
  const ChooserControlKind kind = layoutOf(control).kind;
  if (kind != ChooserControlKind::Radio && kind != ChooserControlKind::CheckBox) {
    return ChooserRect{rect.x - focusMargin, rect.y - focusMargin, rect.width + 2 * focusMargin,
                       rect.height + 2 * focusMargin};
  }
  // Around the lettering only, as wide as its ink, so the mark beside it stays clear.
  const int top = rect.y + (rect.height - widgetSize) / 2;
  const int inkWidth = inkWidths_[static_cast<int>(control)];
  return ChooserRect{rect.x + widgetSize - focusPadLeft, top - focusMargin - 1,
                     inkWidth + focusPadLeft + focusPadRight, widgetSize + 2 * focusMargin + 2};
}

void ChooserPictures::drawEdges(const ChooserRect& rect) const {
  // A sunken edge: shadow along the top and left, light along the bottom and right.
  glDisable(GL_TEXTURE_2D);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const Shade* darks[edgeWidth] = {&edgeOuterDark, &edgeInnerDark};
  const Shade* lights[edgeWidth] = {&edgeOuterLight, &edgeInnerLight};
  for (int ring = 0; ring < edgeWidth; ++ring) {
    const int x = rect.x + ring;
    const int y = rect.y + ring;
    const int w = rect.width - 2 * ring;
    const int h = rect.height - 2 * ring;
    fillRect(x, y, w, 1, *darks[ring]);
    fillRect(x, y, 1, h, *darks[ring]);
    fillRect(x, y + h - 1, w, 1, *lights[ring]);
    fillRect(x + w - 1, y, 1, h, *lights[ring]);
  }
  glEnable(GL_TEXTURE_2D);
  glColor3f(1.0f, 1.0f, 1.0f);
}

void ChooserPictures::draw(const ModeChooser& chooser, int drawableWidth, int drawableHeight) const {
  if (!loaded_ || drawableWidth <= 0 || drawableHeight <= 0) return;
  const int windowWidth = chooserWindowWidth();
  const int windowHeight = chooserWindowHeight();

  glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_SCISSOR_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
  glViewport(0, 0, drawableWidth, drawableHeight);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  // Window pixels, y down, whatever the drawable's size (HiDPI draws the same layout sharper).
  glOrtho(0.0, windowWidth, overlayHeight - static_cast<float>(windowHeight), overlayHeight, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glClearColor(panelShade.r, panelShade.g, panelShade.b, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);

  drawAt(panel_, 0, 0, static_cast<float>(windowWidth), static_cast<float>(windowHeight));

  // The banner at its real size, centred in its control and clipped to the inside of the edge.
  const ChooserRect banner = chooserControlRect(ChooserControl::Banner);
  const ChooserRect inside{banner.x + edgeWidth, banner.y + edgeWidth, banner.width - 2 * edgeWidth,
                           banner.height - 2 * edgeWidth};
  glEnable(GL_SCISSOR_TEST);
  glScissor(inside.x * drawableWidth / windowWidth,
            (windowHeight - inside.y - inside.height) * drawableHeight / windowHeight,
            inside.width * drawableWidth / windowWidth, inside.height * drawableHeight / windowHeight);
  drawAt(faces_[static_cast<int>(ChooserControl::Banner)], banner.x + (banner.width - bannerWidth) / 2,
         banner.y + (banner.height - bannerHeight) / 2, bannerCanvasWidth, bannerCanvasHeight);
  glDisable(GL_SCISSOR_TEST);
  drawEdges(banner);

  const ChooserRect label = chooserControlRect(ChooserControl::Label);
  drawAt(faces_[static_cast<int>(ChooserControl::Label)], label.x,
         label.y + (label.height - letteringHeight) / 2, letteringWidth, letteringHeight);

  for (int i = 0; i < chooserControlCount; ++i) {
    const ChooserControl control = static_cast<ChooserControl>(i);
    const ChooserControlKind kind = chooserLayout[i].kind;
    if (kind != ChooserControlKind::Radio && kind != ChooserControlKind::CheckBox) continue;
    const ChooserRect rect = chooserControlRect(control);
    const int top = rect.y + (rect.height - widgetSize) / 2;
    const bool checked = chooser.isChecked(control);
    const std::unique_ptr<Sprite>& widget = kind == ChooserControlKind::Radio
                                                ? (checked ? radioOn_ : radioOff_)
                                                : (checked ? checkOn_ : checkOff_);
    // A control held down under the mouse darkens until the button comes up.
    const float shade = chooser.pressedControl() == control ? pressedShade : 1.0f;
    drawAt(widget, rect.x, top, widgetSize, widgetSize, shade);
    drawAt(faces_[i], rect.x + widgetSize, top, letteringWidth, letteringHeight);
  }

  const ChooserRect ok = chooserControlRect(ChooserControl::Ok);
  const bool okDown = chooser.pressedControl() == ChooserControl::Ok;
  const int okShift = okDown ? 1 : 0;
  drawAt(faces_[static_cast<int>(ChooserControl::Ok)], ok.x + okShift, ok.y + okShift,
         static_cast<float>(ok.width), static_cast<float>(ok.height), okDown ? pressedShade : 1.0f);

  const ChooserRect focused = focusRect(chooser.focusedControl());
  drawAt(focusFrame_, focused.x, focused.y, static_cast<float>(focused.width),
         static_cast<float>(focused.height));

  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopAttrib();
}

// --- the chooser's window ---

bool runModeChooser(AppWindow& record) {
  if (!canBeSeen()) return true;
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window = SDL_CreateWindow(chooserTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        chooserWindowWidth(), chooserWindowHeight(), chooserWindowFlags);
  if (!window) return true;
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context || SDL_GL_MakeCurrent(window, context) != 0) {
    if (context) SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    return true;
  }

  ModeChooser chooser(ScreenMode{record.width, record.height, record.bitsPerPixel, record.fullScreen});
  ChooserOutcome outcome = ChooserOutcome::Open;
  bool shown = false;
  {
    ChooserPictures pictures;
    pictures.load();
    // Without its pictures the chooser would be a blank box: the defaults stand instead.
    shown = pictures.complete();
    if (shown) {
      SDL_ShowWindow(window);
      SDL_RaiseWindow(window);
      SDL_SetWindowInputFocus(window);
      bool redraw = true;
      while (outcome == ChooserOutcome::Open) {
        if (redraw) drawChooserFrame(window, chooser, pictures);
        SDL_Event event;
        redraw = true;
        if (!SDL_WaitEventTimeout(&event, idleRedrawMs)) continue;
        // A pad plugged in now is opened here; its buttons are the chooser's to read.
        if (!GamePad::handleDeviceEvent(event)) outcome = chooser.handleEvent(event);
      }
    }
    pictures.unload();
  }

  SDL_GL_MakeCurrent(window, nullptr);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  // The chooser's leftover window, key and mouse events must not reach the game window.
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_WINDOWEVENT, SDL_MOUSEWHEEL);
  SDL_GL_ResetAttributes();

  if (outcome == ChooserOutcome::Closed) return false;
  if (shown) chooser.applyTo(record);
  return true;
}
