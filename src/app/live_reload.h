#pragma once

#include "app/reload_message.h"
#include "platform/clock.h"
#include "platform/file_watcher.h"
#include "platform/game_state_manager.h"
#include "platform/state_factory.h"

#include <functional>
#include <string>
#include <vector>

// Live reload of the running game's data. Every state the manager builds
// records the files it reads (levels.ini, the map and its tile sheet, the
// player file and its sheets, enemy.ini, font.ini, stageselect.ini, ...);
// with watching on, those files are looked at once per second, and when one
// changes, or when a reload is asked for (F5), the current state is rebuilt
// from the files between two frames: a level keeps its player where that
// place is still valid, the menu its cursors.
//
// The new state is built completely and the content checker run before it
// replaces the old one. A fatal data error (a truncated map, a tile sheet that
// is not a BMP), or a checker error in a file that changed (or naming one),
// keeps the old state running and shows one message naming the file and the
// problem, on stderr and over every frame, until a reload succeeds; the next
// change tries again. Nothing here runs inside an update, and with no change
// and no request nothing but the file look happens, so a run stays
// frame-for-frame what it would be without watching.
class LiveReload {
public:
    // `clock` paces the looks; not owned. `watching`: look at the files
    // (--watch); without it only requestReload reloads.
    LiveReload(Clock& clock, bool watching);
    LiveReload(const LiveReload&) = delete;
    LiveReload& operator=(const LiveReload&) = delete;

    // The factory for the manager: `factory` with every state it builds
    // recording its files, and, while watching, a level that fails to load
    // turned into the menu with the failure shown instead of ending the game.
    // The returned factory refers to this object, which must outlive it.
    StateFactory wrap(StateFactory factory);

    // F5: reload before the next frame, whether or not a file changed.
    void requestReload() { m_reloadRequested = true; }
    // Between two frames: looks at the files when due and reloads the
    // manager's current state when one changed or a reload was requested.
    void betweenFrames(GameStateManager& manager);
    // Rebuilds the current state now; `changed` are the files that changed
    // (their checker errors refuse the reload). True when the new state
    // replaced the old one.
    bool reload(GameStateManager& manager, const std::vector<std::string>& changed);
    // Draws the message of a failed reload over the frame, if there is one.
    void drawMessage() { m_message.draw(); }

    bool isWatching() const { return m_watching; }
    const std::vector<std::string>& watchedFiles() const { return m_watcher.files(); }
    const ReloadMessage& message() const { return m_message; }
    int reloadCount() const { return m_reloads; }  // successful reloads so far

private:
    // Builds a state through `build`, recording its files and watching them.
    GameState* buildTracked(const std::function<GameState*(GameStateManager*)>& build, GameStateManager* manager);
    // The checker's errors in a changed file or naming one, as report lines.
    static std::vector<std::string> checkerErrors(const std::vector<std::string>& changed);
    void fail(const std::string& problem);

    bool m_watching;
    bool m_reloadRequested = false;
    int m_reloads = 0;
    FileWatcher m_watcher;
    StateFactory m_factory;  // the factory as given, unwrapped
    ReloadMessage m_message;
};
