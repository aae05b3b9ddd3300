#pragma once

#include "platform/banded_surfaces.h"
#include "platform/control_bindings.h"
#include "platform/display_layout.h"
#include "platform/gamepads.h"
#include "platform/input_device_watch.h"
#include "platform/input_router.h"
#include "platform/input_state.h"
#include "platform/screenshot_folder.h"
#include "platform/standard_keys.h"
#include "platform/video_service.h"

#include <SDL.h>

#include <array>
#include <functional>
#include <string>

// The video and input service over SDL 1.2. It owns the window (or the
// fullscreen display) and the 256x240 screen surface every state draws
// into, and shows each finished frame enlarged by a whole number. It turns
// keys and gamepads, through the player's controls, into the eight game
// inputs and so into the per-frame InputState and the pause / single-step
// flags (InputRouter), and it handles the standard keys outside the game's
// input: Esc quits, F11 and Alt+Enter switch fullscreen, F12 saves a
// screenshot, F3 hides and shows the debug overlay, M turns all sound off
// and on (the audio service's mute). Exactly one engine exists while the
// game runs.
class GameEngine : public VideoService {
public:
    struct Settings {
        int scale = 1;             // window pixels per screen pixel, 1 to 8
        bool fitDesktop = false;   // instead, the largest window that fits the desktop
        bool fullscreen = false;   // start on the whole display
        bool headless = false;     // SDL's dummy video driver: no window at all
        bool overlayShown = true;  // the debug overlay at the start
        // The desktop size to assume, in pixels; 0 = ask SDL.
        int desktopWidth = 0;
        int desktopHeight = 0;
        // Where gamepads coming and going show (see Gamepads); "" = nowhere.
        std::string inputDeviceList = InputDeviceWatch::kLinuxDeviceList;
    };

    static constexpr int kScreenWidth = DisplayLayout::kPictureWidth;    // pixels
    static constexpr int kScreenHeight = DisplayLayout::kPictureHeight;  // pixels
    static constexpr int kMaxScale = 8;
    // Key events carrying this mark (markScripted) were pushed by a replay
    // rather than typed; live keys never carry it. Their keys are the game
    // inputs' canonical keys, whatever the controls say.
    static constexpr Uint8 kScriptedKeyboard = 0xA5;
    // The standard key that turns all sound off and on.
    static constexpr SDLKey kSoundKey = SDLK_m;

    // Initialises SDL, opens the window and the gamepads. Throws
    // std::runtime_error with a one-line reason (SDL's error text included)
    // when SDL or the video mode cannot be started; SDL is shut down again
    // before the throw. A fullscreen mode the display refuses falls back to
    // a window, with one line on stderr.
    explicit GameEngine(const Settings& settings);
    GameEngine() : GameEngine(Settings()) {}
    ~GameEngine() override;
    GameEngine(const GameEngine&) = delete;
    GameEngine& operator=(const GameEngine&) = delete;

    int blit(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) override;
    int blitTo(SDL_Surface* source, SDL_Surface* target, int x, int y, SDL_Rect* sourceRect) override;
    int blitRaw(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) override;
    void clearScreen() override;
    SurfaceHandle createSurface(int width, int height) override;
    SurfaceHandle loadBitmap(const char* fileName) override;
    bool isDebugOverlayShown() const override;
    void finishSurface(SDL_Surface* surface) override;

    // Drains the SDL event queue into the input record and the pause flags.
    void pollInput();
    bool isPaused() const { return m_router.isPaused(); }
    bool isQuitRequested() const { return m_quit; }
    InputState getInput() const { return m_router.input(); }
    // Shows the screen: 0 on success, -1 on failure.
    int flip();

    // The 256x240 surface the game draws into (not the enlarged window).
    SDL_Surface* screen() const { return m_pScreen; }
    // The video mode's surface: the window, or the whole display in fullscreen.
    SDL_Surface* window() const { return m_pWindow; }
    // Where the picture is shown now.
    const DisplayLayout& layout() const { return m_layout; }
    // Writes the screen to a BMP file; false with the reason in `error`.
    bool saveScreen(const std::string& fileName, std::string& error) const;
    // Marks a key event as pushed by a replay; tells whether one is.
    static void markScripted(SDL_Event& event);
    static bool isScripted(const SDL_KeyboardEvent& key);

    // Called with every game input that reaches the game, as its canonical
    // key's down or up event, and with every quit, in order.
    void setEventObserver(std::function<void(const SDL_Event&)> observer);
    // While set, keys and pads are dropped and only scripted keys count; a
    // quit and the standard keys always count.
    void setLiveKeyboardIgnored(bool ignored) { m_liveInputIgnored = ignored; }
    // Which keys and pad controls drive the game inputs (defaults: ControlBindings::defaults).
    void setControls(const ControlBindings& controls) { m_controls = controls; }
    const ControlBindings& controls() const { return m_controls; }
    // The standard keys; more can be added (a key controls.ini then cannot bind).
    StandardKeys& standardKeys() { return m_standardKeys; }
    const StandardKeys& standardKeys() const { return m_standardKeys; }
    // The open gamepads.
    const Gamepads& gamepads() const { return m_gamepads; }

    // Esc: ends the run after this frame, exactly like closing the window.
    void requestQuit();
    // F11, Alt+Enter: between the window and the whole display. False, with
    // the mode kept and one line on stderr, when the display refuses.
    bool toggleFullscreen();
    // F3: hides or shows the debug overlay.
    void toggleOverlay() { m_overlayShown = !m_overlayShown; }
    // While pinned, the overlay is drawn as it was at the start, whatever F3
    // did since (so a picture saved for the command line does not depend on it).
    void pinOverlayToStartSetting(bool pinned) { m_overlayPinned = pinned; }
    // F12: saves the screen as a PNG named by date and time in the
    // screenshot folder; false (and one line on stderr) when it cannot.
    bool takeScreenshot();
    // Where F12 saves (default: "screenshots" in the working directory).
    void setScreenshotFolder(const ScreenshotFolder& folder) { m_screenshots = folder; }

protected:
    void freeSurface(SDL_Surface* surface) override;

private:
    void addStandardKeys();
    void handleEvent(const SDL_Event& event);
    void handleKey(const SDL_KeyboardEvent& key, bool down);
    // Runs a standard key, or swallows the release of one; true when the
    // event was one of theirs.
    bool handledAsStandardKey(SDLKey key, int modifiers, bool down);
    // Tells the observer about an input that reached the game.
    void reportInput(GameInput input, bool down);
    // Sets the video mode for a layout; false with SDL's reason.
    bool openMode(const DisplayLayout& layout, std::string& error);
    // Gives the game's picture its own surface in the window's format.
    bool createScreenLike(const SDL_Surface& window, std::string& error);
    void scaleIntoWindow();
    // Makes SDL choose (and, for a run-length encoded surface, encode) the
    // blit of `surface` onto the screen now rather than in the first frame
    // that draws it.
    void prepareBlitOntoScreen(SDL_Surface* surface);

    bool m_quit = false;
    InputRouter m_router;
    SDL_Event m_event;  // scratch buffer for SDL_PollEvent
    SDL_Surface* m_pScreen = nullptr;
    SDL_Surface* m_pWindow = nullptr;  // the video mode surface; m_pScreen itself in a 1x window
    DisplayLayout m_layout;            // where the picture is shown now
    DisplayLayout m_windowLayout;      // the window to go back to from fullscreen
    int m_desktopWidth = 0;            // pixels; 0 when unknown
    int m_desktopHeight = 0;
    bool m_liveInputIgnored = false;
    bool m_overlayShown;
    bool m_overlayAtStart;
    bool m_overlayPinned = false;
    ControlBindings m_controls = ControlBindings::defaults();
    Gamepads m_gamepads;
    StandardKeys m_standardKeys;
    // Keys down as standard keys (their release is theirs too); SDLK_UNKNOWN
    // marks a free place. A few places are enough: one hand holds the keys.
    static constexpr size_t kMaxStandardKeysHeld = 8;
    std::array<SDLKey, kMaxStandardKeysHeld> m_keysTakenByStandardKeys{};
    ScreenshotFolder m_screenshots;
    BandedSurfaces m_bands;  // the tall loaded images, also kept as bands
    std::function<void(const SDL_Event&)> m_eventObserver;
};
