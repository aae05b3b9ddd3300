#pragma once

#include "platform/input_state.h"
#include "platform/video_service.h"

#include <SDL.h>

#include <functional>
#include <string>

// The video and input service over SDL 1.2. It owns the window and the
// 256x240 screen surface every state draws into, turns keyboard events into
// the per-frame InputState and the pause / single-step flags, and shows each
// finished frame. Exactly one engine exists while the game runs.
class GameEngine : public VideoService {
public:
    struct Settings {
        int scale = 1;          // window pixels per screen pixel, 1 to 8
        bool headless = false;  // SDL's dummy video driver: no window at all
    };

    static constexpr int kScreenWidth = 256;   // pixels
    static constexpr int kScreenHeight = 240;  // pixels
    static constexpr int kMaxScale = 8;
    // Key events carrying this keyboard index ("which") were pushed by a
    // replay rather than typed; live keys never carry it.
    static constexpr Uint8 kScriptedKeyboard = 0xA5;

    // Initialises SDL and opens the window. Throws std::runtime_error with a
    // one-line reason (SDL's error text included) when SDL or the video mode
    // cannot be started; SDL is shut down again before the throw.
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

    // Drains the SDL event queue into the input record and the pause flags.
    void pollInput();
    bool isPaused() const { return m_paused; }
    bool isQuitRequested() const { return m_quit; }
    InputState getInput() const { return m_input; }
    // Shows the screen: 0 on success, -1 on failure.
    int flip();

    // The 256x240 surface the game draws into (not the scaled window).
    SDL_Surface* screen() const { return m_pScreen; }
    // Writes the screen to a BMP file; false with the reason in `error`.
    bool saveScreen(const std::string& fileName, std::string& error) const;
    // Called with every key and quit event pollInput acts on, in order.
    void setEventObserver(std::function<void(const SDL_Event&)> observer);
    // While set, key events from the keyboard are dropped and only scripted
    // ones count; a quit event always counts.
    void setLiveKeyboardIgnored(bool ignored) { m_liveKeyboardIgnored = ignored; }
    // F5: called when F5 goes down, during a replay too. F5 lies outside the
    // game's input: it never reaches the input record or the event observer.
    void setReloadKeyAction(std::function<void()> action) { m_reloadKeyAction = std::move(action); }

protected:
    void freeSurface(SDL_Surface* surface) override;

private:
    void handleEvent(const SDL_Event& event);
    void handleKey(SDLKey key, bool down);
    bool isTableKey(SDLKey key) const;
    void scaleIntoWindow();

    bool m_paused;
    bool m_quit;
    bool m_stepFrame;  // set by Tab during a pause for exactly one updated frame
    InputState m_input;
    SDL_Event m_event;  // scratch buffer for SDL_PollEvent
    SDL_Surface* m_pScreen;
    SDL_Surface* m_pWindow;  // the video mode surface; m_pScreen itself at scale 1
    int m_scale;
    bool m_liveKeyboardIgnored = false;
    std::function<void(const SDL_Event&)> m_eventObserver;
    std::function<void()> m_reloadKeyAction;
};
