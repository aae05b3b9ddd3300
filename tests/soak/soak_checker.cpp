#include "soak/soak_checker.h"

#include <algorithm>
#include <utility>

SoakChecker::SoakChecker(std::vector<SDL_Rect> boundaries, const Limits& limits)
    : m_boundaries(std::move(boundaries)), m_limits(limits) {}

int32_t SoakChecker::boundaryAt(int32_t x, int32_t y) const {
    // The same half-open test the map uses to choose a boundary.
    for (size_t i = 0; i < m_boundaries.size(); ++i) {
        const SDL_Rect& b = m_boundaries[i];
        const int64_t right = static_cast<int64_t>(b.x) + b.w;
        const int64_t bottom = static_cast<int64_t>(b.y) + b.h;
        if (b.x <= x && x < right && b.y <= y && y < bottom) return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t SoakChecker::phaseLimit(LevelPhase phase) const {
    switch (phase) {
        case LevelPhase::Ready: return m_limits.ready;
        case LevelPhase::BeforeScrolling: return m_limits.beforeScrolling;
        case LevelPhase::Scrolling: return m_limits.scrolling;
        case LevelPhase::AfterScrolling: return m_limits.afterScrolling;
        case LevelPhase::Playing: break;
    }
    return 0;  // play has no end
}

bool SoakChecker::fail(const SoakSample& sample, const std::string& rule) {
    m_failure = "frame " + std::to_string(sample.frame) + ": " + rule + "; position (" + std::to_string(sample.x) +
                ", " + std::to_string(sample.y) + "), phase " + levelPhaseName(sample.phase) + " for " +
                std::to_string(sample.phaseUpdates) + " updates, current boundary " +
                std::to_string(sample.boundaryIndex);
    return false;
}

bool SoakChecker::check(const SoakSample& sample) {
    if (!m_failure.empty()) return false;
    // A paused frame draws without updating: neither the phase nor its count moves.
    const bool updated =
        m_first || sample.phase != m_previous.phase || sample.phaseUpdates != m_previous.phaseUpdates;
    if (!m_first && sample.phase != m_previous.phase && m_previous.phase == LevelPhase::Playing) {
        if (sample.phase == LevelPhase::Ready) m_respawns += 1;
        if (sample.phase == LevelPhase::BeforeScrolling || sample.phase == LevelPhase::Scrolling) m_transitions += 1;
    }
    m_first = false;
    m_previous = sample;
    m_visited.insert(sample.boundaryIndex);

    if (sample.phase != LevelPhase::Playing) {
        m_outside = 0;  // a respawn or a transition is under way and places the player
        if (sample.phaseUpdates > phaseLimit(sample.phase)) {
            return fail(sample, "the phase outlasted its " + std::to_string(phaseLimit(sample.phase)) + " updates");
        }
        return true;
    }
    if (!updated) return true;
    m_playingUpdates += 1;
    if (boundaryAt(sample.x, sample.y) >= 0) {
        m_outside = 0;
        return true;
    }
    m_outside += 1;
    m_longestOutside = std::max(m_longestOutside, m_outside);
    if (m_outside > m_limits.outsideUpdates) {
        return fail(sample, "the player has been outside every boundary for " + std::to_string(m_outside) +
                                " updates in a row (at most " + std::to_string(m_limits.outsideUpdates) + ")");
    }
    return true;
}
