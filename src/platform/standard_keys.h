#pragma once

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

// The keys that work outside the game's input: quitting, the display, the
// screenshot, the overlay. They are handled before the game's controls, are
// never bound to a game input, never written to an input log and never seen
// by the game logic, and they work while a replay is playing too.
//
// A standard key is a key, the modifiers it needs (KMOD_NONE for none, or
// for example KMOD_ALT for Alt+Enter) and an action; adding one is one call
// to add. A key that needs no modifier is reserved: controls.ini cannot bind it.
class StandardKeys {
public:
    using Action = std::function<void()>;

    // `purpose` names what the key does, for messages ("quit", "fullscreen").
    void add(SDLKey key, int modifiers, const std::string& purpose, Action action);
    // Runs the action of the standard key matching a key going down with
    // these modifiers; false (and nothing done) when none matches. Keys that
    // need modifiers are tried first, so Alt+Enter never counts as Enter.
    bool handle(SDLKey key, int modifiers) const;
    // True when the key alone is a standard key; `purpose` then says what it does.
    bool isReserved(SDLKey key, std::string& purpose) const;

private:
    struct Entry {
        SDLKey key;
        int modifiers;  // SDLMod bits; KMOD_NONE for none
        std::string purpose;
        Action action;
    };

    std::vector<Entry> m_entries;
};
