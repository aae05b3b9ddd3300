#pragma once

#include "level/level_phase.h"

#include <SDL.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

// What the soak run sees of a level after one frame.
struct SoakSample {
    uint32_t frame = 0;          // from 1
    LevelPhase phase = LevelPhase::Ready;
    int32_t phaseUpdates = 0;    // the level's updates since its phase began
    int32_t x = 0;               // the player's position, world pixels
    int32_t y = 0;
    int32_t boundaryIndex = 0;   // the map's current boundary
};

// The rules a level must keep under any input, checked frame by frame:
// - while play goes on, the player's position lies in some boundary of the
//   map, or has left every boundary for at most `outsideUpdates` updates in
//   a row (a jump may rise above the top of a band with nothing above it);
// - the ready message and the three phases of a screen transition end
//   within their durations, so the level never freezes.
// The first broken rule is kept; later frames are not checked. Also counts
// what the run went through, to show how much of the level it explored.
class SoakChecker {
public:
    // Rows above a band are never solid, so nothing can be stood on there
    // and gravity always brings a jumper back: the only way out of every
    // boundary during play is the top part of a jump or a knock-back arc.
    // (Falling out of a band's bottom starts a transition or a respawn in
    // the same update; a band's sides are the map's edge or absent screens,
    // which are walls.) The longest whole arc of the sample characters is
    // ZEPHA's full jump, 55 updates; twice that, rounded up, still catches a
    // player lost outside the level within two seconds of play.
    static constexpr int32_t kDefaultOutsideUpdates = 120;

    struct Limits {
        int32_t outsideUpdates = kDefaultOutsideUpdates;
        // Longest phases, in updates (the level's own durations).
        int32_t ready = 0;
        int32_t beforeScrolling = 0;
        int32_t scrolling = 0;
        int32_t afterScrolling = 0;
    };

    SoakChecker(std::vector<SDL_Rect> boundaries, const Limits& limits);

    // Checks one frame; false once a rule has been broken (see failure()).
    bool check(const SoakSample& sample);
    // The broken rule with the frame, position and phase; empty while none is.
    const std::string& failure() const { return m_failure; }

    // Index of the first boundary that holds the point; -1 for none.
    int32_t boundaryAt(int32_t x, int32_t y) const;

    int32_t boundaryCount() const { return static_cast<int32_t>(m_boundaries.size()); }
    uint32_t playingUpdates() const { return m_playingUpdates; }
    uint32_t respawns() const { return m_respawns; }
    uint32_t transitions() const { return m_transitions; }
    int32_t longestOutside() const { return m_longestOutside; }
    const std::set<int32_t>& boundariesVisited() const { return m_visited; }

private:
    int32_t phaseLimit(LevelPhase phase) const;
    bool fail(const SoakSample& sample, const std::string& rule);

    std::vector<SDL_Rect> m_boundaries;
    Limits m_limits;
    bool m_first = true;
    SoakSample m_previous;
    int32_t m_outside = 0;  // updates in a row outside every boundary during play
    int32_t m_longestOutside = 0;
    uint32_t m_playingUpdates = 0;
    uint32_t m_respawns = 0;
    uint32_t m_transitions = 0;
    std::set<int32_t> m_visited;
    std::string m_failure;
};
