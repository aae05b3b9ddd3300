#include "platform/game_engine.h"

#include "platform/audio_service.h"
#include "platform/browser_page.h"
#include "platform/data_file.h"
#include "platform/keyed_conversion.h"
#include "platform/loaded_file_recorder.h"
#include "platform/pixel_scaler.h"
#ifndef __EMSCRIPTEN__
#include "platform/png_writer.h"
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <utility>

namespace {
// Cuts a position to the signed 16-bit field of an SDL_Rect (two's complement).
Sint16 cutToSint16(int value) {
    const Uint16 bits = static_cast<Uint16>(static_cast<unsigned>(value) & 0xffffu);
    return bits <= 0x7fff ? static_cast<Sint16>(bits) : static_cast<Sint16>(static_cast<int>(bits) - 0x10000);
}

SDL_Rect destinationAt(int x, int y) {
    SDL_Rect destination;
    destination.x = cutToSint16(x);
    destination.y = cutToSint16(y);
    destination.w = 0;  // a blit takes its size from the source, never from here
    destination.h = 0;
    return destination;
}

bool isEmpty(const char* text) {
    return text == nullptr || *text == '\0';
}

// SDL's reason for a failed start, with a hint when no window can be had.
std::string startFailure(const std::string& what) {
    std::string message = what + ": " + SDL_GetError();
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (isEmpty(driver) || std::strcmp(driver, "x11") == 0) {
        message += " (the x11 video driver could not open a window; use --headless to run without one)";
    }
    return message;
}

std::string driverName() {
    char name[32] = {0};
    return SDL_VideoDriverName(name, sizeof name) != nullptr ? std::string(name) : std::string();
}

// The dummy driver gives an 8-bit palettised screen at depth 0; a headless
// run asks for 32 bits so its pictures are exact. A window takes the
// display's depth.
int screenDepth() {
    return driverName() == "dummy" ? 32 : 0;
}

// Makes the pixels of the colour `key` transparent when `surface` is drawn.
// In the browser every surface is a canvas and SDL ignores colour keys, so
// there the keyed pixels are made fully transparent once, here.
void applyColourKey(SDL_Surface* surface, Uint32 key) {
#ifdef __EMSCRIPTEN__
    if (SDL_LockSurface(surface) < 0) return;  // the canvas's pixels are not at hand
    // Locked, the pixels are the canvas's RGBA bytes; the key's alpha is opaque.
    Uint32* pixel = static_cast<Uint32*>(surface->pixels);
    const Uint32 colour = key & 0x00ffffffu;
    for (int i = 0; i < surface->w * surface->h; ++i, ++pixel) {
        if ((*pixel & 0x00ffffffu) == colour) *pixel = 0;
    }
    SDL_UnlockSurface(surface);  // back onto the canvas
#else
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY, key);
#endif
}
}  // namespace

GameEngine::GameEngine(const Settings& settings)
    : m_event(),
      m_overlayShown(settings.overlayShown),
      m_overlayAtStart(settings.overlayShown),
      m_gamepads(m_router, settings.inputDeviceList) {
#ifdef __EMSCRIPTEN__
    // The browser's SDL draws into the page's canvas, which the page itself
    // enlarges: no driver or display to choose, no scaling or fullscreen here.
    const bool driverRequested = true;
#else
    // The video driver is SDL's choice (or the user's SDL_VIDEODRIVER); only a
    // headless run picks one.
    if (settings.headless) setenv("SDL_VIDEODRIVER", "dummy", 1);
    const bool driverRequested = !isEmpty(std::getenv("SDL_VIDEODRIVER"));
#endif
    // Left to itself without a usable X display, SDL falls back to drawing
    // into the terminal; a game wants a window or a clear message instead.
    if (!driverRequested && isEmpty(std::getenv("DISPLAY"))) {
        throw std::runtime_error(
            "cannot open a window: no display (DISPLAY is not set); use --headless to run without one");
    }
    // SDL's x11 driver opens an input method, which parses the locale's
    // whole compose table (half of the start-up's processor time). The game
    // reads key symbols only, never composed text, so unless the user chose
    // a compose file, an empty one will do.
    if (!settings.headless) setenv("XCOMPOSEFILE", "/dev/null", 0);
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) < 0) {
        const std::string message = startFailure("cannot initialise SDL video");
        SDL_Quit();
        throw std::runtime_error(message);
    }
    if (!driverRequested && driverName() != "x11") {
        const std::string message = "cannot open a window: the x11 video driver could not open display \"" +
                                    std::string(std::getenv("DISPLAY")) +
                                    "\"; use --headless to run without one";
        SDL_Quit();
        throw std::runtime_error(message);
    }
#ifndef __EMSCRIPTEN__  // the browser's SDL has no event filter; handleEvent ignores the mouse anyway
    SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
    SDL_EventState(SDL_MOUSEBUTTONDOWN, SDL_IGNORE);
    SDL_EventState(SDL_MOUSEBUTTONUP, SDL_IGNORE);
#endif
    SDL_WM_SetCaption("Voltaro Copy System", nullptr);

    // The desktop's size can only be asked before the first video mode.
    const SDL_VideoInfo* video = SDL_GetVideoInfo();
    m_desktopWidth = settings.desktopWidth > 0 ? settings.desktopWidth : (video != nullptr ? video->current_w : 0);
    m_desktopHeight = settings.desktopHeight > 0 ? settings.desktopHeight : (video != nullptr ? video->current_h : 0);
    const int scale = settings.scale < 1 ? 1 : settings.scale > kMaxScale ? kMaxScale : settings.scale;
    m_windowLayout = settings.fitDesktop ? DisplayLayout::windowFitting(m_desktopWidth, m_desktopHeight)
                                         : DisplayLayout::window(scale);
#ifdef __EMSCRIPTEN__
    m_windowLayout = DisplayLayout::window(1);
    const bool fullscreen = false;
#else
    const bool fullscreen = settings.fullscreen;
#endif

    std::string error;
    bool opened = false;
    if (fullscreen) {
        opened = openMode(DisplayLayout::fullscreenOn(m_desktopWidth, m_desktopHeight, m_windowLayout.scale), error);
        if (!opened) std::fprintf(stderr, "voltaro: cannot go fullscreen: %s; playing in a window\n", error.c_str());
    }
    if (!opened && !openMode(m_windowLayout, error)) {
        const std::string message = startFailure("cannot set the " + std::to_string(m_windowLayout.width) + "x" +
                                                 std::to_string(m_windowLayout.height) + " video mode");
        SDL_Quit();
        throw std::runtime_error(message);
    }
    addStandardKeys();
    m_router.setListener([this](GameInput input, bool down) { reportInput(input, down); });
    m_gamepads.start();
}

GameEngine::~GameEngine() {
    m_gamepads.stop();  // SDL closes no joystick itself
    m_bands.clear();
    if (m_pScreen != m_pWindow) SDL_FreeSurface(m_pScreen);
    SDL_Quit();
}

void GameEngine::addStandardKeys() {
    m_standardKeys.add(SDLK_ESCAPE, KMOD_NONE, "quit", [this] { requestQuit(); });
    m_standardKeys.add(SDLK_F11, KMOD_NONE, "fullscreen", [this] { toggleFullscreen(); });
    m_standardKeys.add(SDLK_RETURN, KMOD_ALT, "fullscreen", [this] { toggleFullscreen(); });
    m_standardKeys.add(SDLK_F12, KMOD_NONE, "screenshot", [this] { takeScreenshot(); });
    m_standardKeys.add(SDLK_F3, KMOD_NONE, "debug overlay", [this] { toggleOverlay(); });
    m_standardKeys.add(kSoundKey, KMOD_NONE, "sound", [] {
        AudioService& audio = getAudioService();
        audio.setMuted(!audio.isMuted());
    });
}

bool GameEngine::openMode(const DisplayLayout& layout, std::string& error) {
    // The picture keeps its depth (a headless run asks for 32 bits the
    // first time); SDL converts when the display has another.
    const int depth = m_pScreen != nullptr ? m_pScreen->format->BitsPerPixel : screenDepth();
    if (m_pScreen != nullptr && m_pScreen == m_pWindow) {
        // The game draws straight into the window, which the new mode frees:
        // keep its picture in a surface of its own from now on.
        SDL_Surface* drawnInWindow = m_pScreen;
        m_pScreen = nullptr;
        if (!createScreenLike(*drawnInWindow, error)) {
            m_pScreen = drawnInWindow;
            return false;  // the old mode stays
        }
        SDL_BlitSurface(drawnInWindow, nullptr, m_pScreen, nullptr);
    }
    SDL_Surface* window = SDL_SetVideoMode(layout.width, layout.height, depth, layout.fullscreen ? SDL_FULLSCREEN : 0);
    if (window == nullptr) {
        error = SDL_GetError();
        m_pWindow = nullptr;  // SDL has let go of the old mode
        return false;
    }
    m_pWindow = window;
    m_layout = layout;
    if (m_pScreen == nullptr && layout.scale == 1 && !layout.fullscreen) {
        m_pScreen = m_pWindow;
        return true;  // the game draws straight into the window
    }
    SDL_FillRect(m_pWindow, nullptr, SDL_MapRGB(m_pWindow->format, 0, 0, 0));  // the border, black for good
    if (m_pScreen == nullptr) return createScreenLike(*m_pWindow, error);
    const SDL_PixelFormat* have = m_pScreen->format;
    const SDL_PixelFormat* want = m_pWindow->format;
    if (have->BitsPerPixel == want->BitsPerPixel && have->Rmask == want->Rmask && have->Gmask == want->Gmask &&
        have->Bmask == want->Bmask) {
        return true;  // the picture enlarges as it is
    }
    // Another format: the picture follows the display's.
    SDL_Surface* converted = SDL_ConvertSurface(m_pScreen, m_pWindow->format, 0);
    if (converted == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_FreeSurface(m_pScreen);
    m_pScreen = converted;
    return true;
}

bool GameEngine::createScreenLike(const SDL_Surface& window, std::string& error) {
    const SDL_PixelFormat* format = window.format;
    m_pScreen = SDL_CreateRGBSurface(0, kScreenWidth, kScreenHeight, format->BitsPerPixel, format->Rmask,
                                     format->Gmask, format->Bmask, format->Amask);
    if (m_pScreen == nullptr) {
        error = std::string("cannot create the screen surface: ") + SDL_GetError();
        return false;
    }
    if (format->palette != nullptr) {
        SDL_SetPalette(m_pScreen, SDL_LOGPAL, format->palette->colors, 0, format->palette->ncolors);
    }
    return true;
}

int GameEngine::blit(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) {
    SDL_Rect destination = destinationAt(x, y);
    return m_bands.blit(source, sourceRect, m_pScreen, &destination);
}

int GameEngine::blitTo(SDL_Surface* source, SDL_Surface* target, int x, int y, SDL_Rect* sourceRect) {
    SDL_Rect destination = destinationAt(x, y);
    return m_bands.blit(source, sourceRect, target, &destination);
}

int GameEngine::blitRaw(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) {
    // Drawn exactly like blit: the destination's size plays no part in a blit.
    SDL_Rect destination = destinationAt(x, y);
    return m_bands.blit(source, sourceRect, m_pScreen, &destination);
}

void GameEngine::clearScreen() {
    SDL_FillRect(m_pScreen, nullptr, SDL_MapRGB(m_pScreen->format, 0, 0, 0));
}

SurfaceHandle GameEngine::createSurface(int width, int height) {
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "voltaro: cannot create a %dx%d surface: the size must be positive\n", width, height);
        return nullptr;  // nothing sensible to draw into
    }
    const SDL_PixelFormat* format = m_pScreen->format;
    SDL_Surface* surface = SDL_CreateRGBSurface(0, width, height, format->BitsPerPixel, format->Rmask,
                                                format->Gmask, format->Bmask, format->Amask);
    if (surface == nullptr) {
        std::fprintf(stderr, "voltaro: cannot create a %dx%d surface: %s\n", width, height, SDL_GetError());
        return nullptr;  // out of memory
    }
    const Uint32 key = SDL_MapRGB(surface->format, kColourKeyRed, kColourKeyGreen, kColourKeyBlue);
    SDL_FillRect(surface, nullptr, key);
    applyColourKey(surface, key);
    return own(surface);
}

SurfaceHandle GameEngine::loadBitmap(const char* fileName) {
    if (fileName == nullptr) {
        std::fprintf(stderr, "voltaro: cannot load a bitmap without a file name\n");
        return nullptr;  // nothing to open
    }
    LoadedFileRecorder::noteRead(fileName);
    // Only a regular file, and only one whose declared size SDL may allocate.
    const DataFile file = DataFile::readBitmap(fileName);
    if (!file.ok()) {
        std::fprintf(stderr, "voltaro: cannot load bitmap \"%s\": it %s\n", fileName, file.problem().c_str());
        return nullptr;
    }
#ifdef __EMSCRIPTEN__
    // The browser's SDL decodes only preloaded files, by name, not bytes in
    // memory. It keeps images in canvases and draws them with the canvas:
    // there are no pixels here to convert, band or encode.
    SDL_Surface* loaded = SDL_LoadBMP_RW(SDL_RWFromFile(fileName, "rb"), 1);
#else
    SDL_Surface* loaded =
        SDL_LoadBMP_RW(SDL_RWFromConstMem(file.bytes().data(), static_cast<int>(file.bytes().size())), 1);
#endif
    if (loaded == nullptr) {
        std::fprintf(stderr, "voltaro: cannot load bitmap \"%s\": %s\n", fileName, SDL_GetError());
        return nullptr;  // missing or not a BMP; callers draw nothing with null
    }
#ifdef __EMSCRIPTEN__
    applyColourKey(loaded, SDL_MapRGB(loaded->format, kColourKeyRed, kColourKeyGreen, kColourKeyBlue));
    return own(loaded);
#else
    // Converted once, here, to the format of the screen every image is drawn
    // onto (or of surfaces made like it): a blit between different formats
    // converts every pixel, every frame.
    SDL_Surface* surface = KeyedConversion::convert(loaded, m_pScreen->format);
    SDL_FreeSurface(loaded);
    if (surface == nullptr) {
        std::fprintf(stderr, "voltaro: cannot convert bitmap \"%s\": %s\n", fileName, SDL_GetError());
        return nullptr;  // out of memory
    }
    m_bands.add(surface, [this](SDL_Surface* band) { prepareBlitOntoScreen(band); });
    prepareBlitOntoScreen(surface);
    return own(surface);
#endif
}

void GameEngine::finishSurface(SDL_Surface* surface) {
#ifdef __EMSCRIPTEN__
    static_cast<void>(surface);  // the browser's SDL encodes nothing
#else
    if (surface == nullptr || (surface->flags & SDL_SRCCOLORKEY) == 0) return;  // nothing to encode
    // Run-length encoded even when nothing in it is transparent: SDL then
    // copies each row as one run with the C library's memcpy, faster than its
    // own copy loop for a surface without a key.
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY | SDL_RLEACCEL, surface->format->colorkey);
    prepareBlitOntoScreen(surface);
#endif
}

void GameEngine::prepareBlitOntoScreen(SDL_Surface* surface) {
    // A blit of nothing: SDL sets up (and run-length encodes) the surface for
    // this destination as for any blit, and copies no pixel.
    SDL_Rect nothing{0, 0, 0, 0};
    SDL_Rect at{0, 0, 0, 0};
    SDL_LowerBlit(surface, &nothing, m_pScreen, &at);
}

void GameEngine::freeSurface(SDL_Surface* surface) {
    m_bands.remove(surface);
    SDL_FreeSurface(surface);
}

bool GameEngine::isDebugOverlayShown() const {
    return m_overlayPinned ? m_overlayAtStart : m_overlayShown;
}

void GameEngine::pollInput() {
    m_router.beginPoll();
    m_gamepads.checkDevices();
    // This frame's events, in arrival order. Fields an event does not
    // carry read as zero, not as what the previous event left there.
    for (;;) {
        std::memset(&m_event, 0, sizeof m_event);
        if (!SDL_PollEvent(&m_event)) break;
        handleEvent(m_event);
    }
}

int GameEngine::flip() {
    if (m_pWindow == nullptr) return -1;  // no video mode since a failed switch
    if (m_pWindow != m_pScreen) scaleIntoWindow();
    return SDL_Flip(m_pWindow);
}

bool GameEngine::saveScreen(const std::string& fileName, std::string& error) const {
#ifdef __EMSCRIPTEN__
    // The browser's SDL writes no BMP: the page keeps the picture itself.
    if (BrowserPage::keepScreen(fileName)) return true;
    error = "the page cannot keep pictures";
#else
    if (SDL_SaveBMP(m_pScreen, fileName.c_str()) == 0) return true;
    error = SDL_GetError();
#endif
    return false;
}

void GameEngine::setEventObserver(std::function<void(const SDL_Event&)> observer) {
    m_eventObserver = std::move(observer);
}

void GameEngine::markScripted(SDL_Event& event) {
#ifdef __EMSCRIPTEN__
    event.key.windowID = kScriptedKeyboard;  // the browser's key events carry no keyboard index
#else
    event.key.which = kScriptedKeyboard;
#endif
}

bool GameEngine::isScripted(const SDL_KeyboardEvent& key) {
#ifdef __EMSCRIPTEN__
    return key.windowID == kScriptedKeyboard;
#else
    return key.which == kScriptedKeyboard;
#endif
}

void GameEngine::requestQuit() {
    SDL_Event quit;
    std::memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    if (m_eventObserver) m_eventObserver(quit);
    m_quit = true;
}

bool GameEngine::toggleFullscreen() {
    const DisplayLayout wanted = m_layout.fullscreen
                                     ? m_windowLayout
                                     : DisplayLayout::fullscreenOn(m_desktopWidth, m_desktopHeight, m_windowLayout.scale);
    const DisplayLayout previous = m_layout;
    std::string error;
    if (openMode(wanted, error)) return true;
    std::string again;
    if (m_pScreen != nullptr && openMode(previous, again)) {
        std::fprintf(stderr, "voltaro: cannot switch to %s: %s\n", wanted.fullscreen ? "fullscreen" : "a window",
                     error.c_str());
    } else {
        std::fprintf(stderr, "voltaro: cannot switch to %s: %s; nor go back: %s\n",
                     wanted.fullscreen ? "fullscreen" : "a window", error.c_str(), again.c_str());
    }
    return false;
}

bool GameEngine::takeScreenshot() {
#ifdef __EMSCRIPTEN__
    std::fprintf(stderr, "voltaro: the browser saves no screenshots; use the page's own\n");
    return false;
#else
    std::string fileName;
    std::string error;
    if (!m_screenshots.nextFile(std::time(nullptr), fileName, error) || !PngWriter::write(*m_pScreen, fileName, error)) {
        std::fprintf(stderr, "voltaro: cannot save a screenshot: %s\n", error.c_str());
        return false;
    }
    std::printf("voltaro: screenshot saved as %s\n", fileName.c_str());
    std::fflush(stdout);
    return true;
#endif
}

void GameEngine::handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        handleKey(event.key, event.type == SDL_KEYDOWN);
        return;  // handled
    case SDL_JOYAXISMOTION:
    case SDL_JOYHATMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (!m_liveInputIgnored) m_gamepads.handleEvent(event, m_controls);
        return;  // handled, or a replay is in charge
    case SDL_QUIT:
        requestQuit();
        return;  // handled
    default:
        return;  // every other event is ignored
    }
}

void GameEngine::handleKey(const SDL_KeyboardEvent& key, bool down) {
    const SDLKey code = key.keysym.sym;
    const bool scripted = isScripted(key);
    if (!scripted && handledAsStandardKey(code, key.keysym.mod, down)) return;
    GameInput input;
    int source = InputRouter::scriptedSource();
    if (scripted) {
        // A logged key means its game input, however the controls are set.
        if (!gameInputForCanonicalKey(code, input)) return;  // not a game key
    } else {
        if (m_liveInputIgnored) return;  // a replay is in charge
        int slot = 0;
        if (!m_controls.findKey(code, input, slot)) return;  // bound to nothing
        source = InputRouter::keySource(slot);
    }
    if (down) {
        m_router.press(input, source);
    } else {
        m_router.release(input, source);
    }
}

bool GameEngine::handledAsStandardKey(SDLKey key, int modifiers, bool down) {
    if (key == SDLK_UNKNOWN) return false;  // no such key
    const auto taken = std::find(m_keysTakenByStandardKeys.begin(), m_keysTakenByStandardKeys.end(), key);
    if (!down) {
        if (taken == m_keysTakenByStandardKeys.end()) return false;  // a game key's release
        *taken = SDLK_UNKNOWN;
        return true;  // Enter let go after Alt+Enter, say: nothing for the game
    }
    if (!m_standardKeys.handle(key, modifiers)) return false;
    if (taken == m_keysTakenByStandardKeys.end()) {
        const auto free = std::find(m_keysTakenByStandardKeys.begin(), m_keysTakenByStandardKeys.end(), SDLK_UNKNOWN);
        if (free != m_keysTakenByStandardKeys.end()) *free = key;  // more held at once: their releases reach the game
    }
    return true;
}

void GameEngine::reportInput(GameInput input, bool down) {
    if (!m_eventObserver) return;  // nobody listens
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = canonicalKey(input);
    m_eventObserver(event);
}

void GameEngine::scaleIntoWindow() {
    if (SDL_MUSTLOCK(m_pWindow) && SDL_LockSurface(m_pWindow) < 0) return;  // window not drawable now
    if (SDL_MUSTLOCK(m_pScreen)) SDL_LockSurface(m_pScreen);
    PixelScaler::enlarge(*m_pScreen, *m_pWindow, m_layout.scale, m_layout.left, m_layout.top);
    if (SDL_MUSTLOCK(m_pScreen)) SDL_UnlockSurface(m_pScreen);
    if (SDL_MUSTLOCK(m_pWindow)) SDL_UnlockSurface(m_pWindow);
}
