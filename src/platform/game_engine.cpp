#include "platform/game_engine.h"

#include "platform/loaded_file_recorder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
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
}  // namespace

GameEngine::GameEngine(const Settings& settings)
    : m_paused(false),
      m_quit(false),
      m_stepFrame(false),
      m_event(),
      m_pScreen(nullptr),
      m_pWindow(nullptr),
      m_scale(settings.scale < 1 ? 1 : settings.scale > kMaxScale ? kMaxScale : settings.scale) {
    // The video driver is SDL's choice (or the user's SDL_VIDEODRIVER); only a
    // headless run picks one.
    if (settings.headless) setenv("SDL_VIDEODRIVER", "dummy", 1);
    // Left to itself without a usable X display, SDL falls back to drawing
    // into the terminal; a game wants a window or a clear message instead.
    const bool driverRequested = !isEmpty(std::getenv("SDL_VIDEODRIVER"));
    if (!driverRequested && isEmpty(std::getenv("DISPLAY"))) {
        throw std::runtime_error(
            "cannot open a window: no display (DISPLAY is not set); use --headless to run without one");
    }
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
    SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
    SDL_EventState(SDL_MOUSEBUTTONDOWN, SDL_IGNORE);
    SDL_EventState(SDL_MOUSEBUTTONUP, SDL_IGNORE);
    SDL_WM_SetCaption("Voltaro Copy System", nullptr);
    m_input = InputState();

    m_pWindow = SDL_SetVideoMode(kScreenWidth * m_scale, kScreenHeight * m_scale, screenDepth(), 0);
    if (m_pWindow == nullptr) {
        const std::string message = startFailure("cannot set the " + std::to_string(kScreenWidth * m_scale) + "x" +
                                                 std::to_string(kScreenHeight * m_scale) + " video mode");
        SDL_Quit();
        throw std::runtime_error(message);
    }
    if (m_scale == 1) {
        m_pScreen = m_pWindow;
        return;  // the game draws straight into the window
    }
    // Scaled: the game still draws into a 256x240 surface in the window's
    // format, which flip enlarges into the window.
    const SDL_PixelFormat* format = m_pWindow->format;
    m_pScreen = SDL_CreateRGBSurface(0, kScreenWidth, kScreenHeight, format->BitsPerPixel, format->Rmask,
                                     format->Gmask, format->Bmask, format->Amask);
    if (m_pScreen == nullptr) {
        const std::string message = std::string("cannot create the screen surface: ") + SDL_GetError();
        SDL_Quit();
        throw std::runtime_error(message);
    }
    if (format->palette != nullptr) {
        SDL_SetPalette(m_pScreen, SDL_LOGPAL, format->palette->colors, 0, format->palette->ncolors);
    }
}

GameEngine::~GameEngine() {
    if (m_pScreen != m_pWindow) SDL_FreeSurface(m_pScreen);
    SDL_Quit();
}

int GameEngine::blit(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) {
    SDL_Rect destination = destinationAt(x, y);
    return SDL_UpperBlit(source, sourceRect, m_pScreen, &destination);
}

int GameEngine::blitTo(SDL_Surface* source, SDL_Surface* target, int x, int y, SDL_Rect* sourceRect) {
    SDL_Rect destination = destinationAt(x, y);
    return SDL_UpperBlit(source, sourceRect, target, &destination);
}

int GameEngine::blitRaw(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) {
    // Drawn exactly like blit: the destination's size plays no part in a blit.
    SDL_Rect destination = destinationAt(x, y);
    return SDL_UpperBlit(source, sourceRect, m_pScreen, &destination);
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
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY, key);
    return own(surface);
}

SurfaceHandle GameEngine::loadBitmap(const char* fileName) {
    if (fileName == nullptr) {
        std::fprintf(stderr, "voltaro: cannot load a bitmap without a file name\n");
        return nullptr;  // nothing to open
    }
    LoadedFileRecorder::noteRead(fileName);
    SDL_Surface* surface = SDL_LoadBMP_RW(SDL_RWFromFile(fileName, "rb"), 1);
    if (surface == nullptr) {
        std::fprintf(stderr, "voltaro: cannot load bitmap \"%s\": %s\n", fileName, SDL_GetError());
        return nullptr;  // missing or not a BMP; callers draw nothing with null
    }
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY,
                    SDL_MapRGB(surface->format, kColourKeyRed, kColourKeyGreen, kColourKeyBlue));
    return own(surface);
}

void GameEngine::freeSurface(SDL_Surface* surface) {
    SDL_FreeSurface(surface);
}

void GameEngine::pollInput() {
    // 1. A new unpaused frame: remember the directions, forget last frame's edges.
    if (!m_paused) {
        m_input.previousHorizontal = m_input.horizontal;
        m_input.previousVertical = m_input.vertical;
        m_input.shootPressed = false;
        m_input.shootReleased = false;
        m_input.jumpPressed = false;
        m_input.jumpReleased = false;
    }
    // 2. A single step lasts one frame: pause again before this poll's events.
    if (m_stepFrame) {
        m_paused = true;
        m_stepFrame = false;
    }
    // 3. This frame's events, in arrival order.
    while (SDL_PollEvent(&m_event)) handleEvent(m_event);
}

int GameEngine::flip() {
    if (m_pWindow != m_pScreen) scaleIntoWindow();
    return SDL_Flip(m_pWindow);
}

bool GameEngine::saveScreen(const std::string& fileName, std::string& error) const {
    if (SDL_SaveBMP(m_pScreen, fileName.c_str()) == 0) return true;
    error = SDL_GetError();
    return false;
}

void GameEngine::setEventObserver(std::function<void(const SDL_Event&)> observer) {
    m_eventObserver = std::move(observer);
}

void GameEngine::handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (event.key.keysym.sym == SDLK_F5) {
            if (event.type == SDL_KEYDOWN && m_reloadKeyAction) m_reloadKeyAction();
            return;  // not a game key: neither recorded nor seen by the game
        }
        if (!isTableKey(event.key.keysym.sym)) return;  // other keys do nothing
        if (m_liveKeyboardIgnored && event.key.which != kScriptedKeyboard) return;  // a replay is in charge
        if (m_eventObserver) m_eventObserver(event);
        handleKey(event.key.keysym.sym, event.type == SDL_KEYDOWN);
        return;  // handled
    case SDL_QUIT:
        if (m_eventObserver) m_eventObserver(event);
        m_quit = true;
        return;  // handled
    default:
        return;  // every other event is ignored
    }
}

bool GameEngine::isTableKey(SDLKey key) const {
    switch (key) {
    case SDLK_TAB:
    case SDLK_RETURN:
    case SDLK_SPACE:
    case SDLK_b:
    case SDLK_UP:
    case SDLK_DOWN:
    case SDLK_RIGHT:
    case SDLK_LEFT:
        return true;
    default:
        return false;
    }
}

void GameEngine::handleKey(SDLKey key, bool down) {
    InputState& in = m_input;
    switch (key) {
    case SDLK_TAB:
        if (down && m_paused) {
            m_paused = false;
            m_stepFrame = true;
        }
        break;
    case SDLK_RETURN:
        if (down) m_paused = !m_paused;
        break;
    case SDLK_SPACE:
        in.jumpPressed = down;
        in.jumpHeld = down;
        in.jumpReleased = !down;
        break;
    case SDLK_b:
        in.shootPressed = down;
        in.shootHeld = down;
        in.shootReleased = !down;
        break;
    // On each axis the key pressed last wins; releasing it falls back to
    // the opposite key if that one is still held.
    case SDLK_UP:
        in.vertical = down ? Direction::Up : (in.downHeld ? Direction::Down : Direction::None);
        in.upHeld = down;
        break;
    case SDLK_DOWN:
        in.vertical = down ? Direction::Down : (in.upHeld ? Direction::Up : Direction::None);
        in.downHeld = down;
        break;
    case SDLK_RIGHT:
        in.horizontal = down ? Direction::Right : (in.leftHeld ? Direction::Left : Direction::None);
        in.rightHeld = down;
        break;
    case SDLK_LEFT:
        in.horizontal = down ? Direction::Left : (in.rightHeld ? Direction::Right : Direction::None);
        in.leftHeld = down;
        break;
    default:
        break;  // not a game key
    }
}

void GameEngine::scaleIntoWindow() {
    if (SDL_MUSTLOCK(m_pWindow) && SDL_LockSurface(m_pWindow) < 0) return;  // window not drawable now
    if (SDL_MUSTLOCK(m_pScreen)) SDL_LockSurface(m_pScreen);
    // Nearest neighbour: each screen pixel becomes an m_scale x m_scale block.
    const int bytes = m_pScreen->format->BytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(kScreenWidth) * m_scale * bytes;
    for (int y = 0; y < kScreenHeight; ++y) {
        const Uint8* source = static_cast<const Uint8*>(m_pScreen->pixels) + y * m_pScreen->pitch;
        Uint8* firstRow = static_cast<Uint8*>(m_pWindow->pixels) + y * m_scale * m_pWindow->pitch;
        Uint8* target = firstRow;
        for (int x = 0; x < kScreenWidth; ++x) {
            for (int copy = 0; copy < m_scale; ++copy) {
                std::memcpy(target, source, bytes);
                target += bytes;
            }
            source += bytes;
        }
        for (int row = 1; row < m_scale; ++row) std::memcpy(firstRow + row * m_pWindow->pitch, firstRow, rowBytes);
    }
    if (SDL_MUSTLOCK(m_pScreen)) SDL_UnlockSurface(m_pScreen);
    if (SDL_MUSTLOCK(m_pWindow)) SDL_UnlockSurface(m_pWindow);
}
