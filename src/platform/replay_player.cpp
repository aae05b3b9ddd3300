#include "platform/replay_player.h"

#include "platform/game_engine.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {
SDL_Event toSdlEvent(const ReplayEvent& logged) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    if (logged.kind == ReplayEvent::Kind::Quit) {
        event.type = SDL_QUIT;
        return event;
    }
    const bool down = logged.kind == ReplayEvent::Kind::KeyDown;
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    GameEngine::markScripted(event);
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = logged.key;
    return event;
}
}  // namespace

ReplayPlayer::ReplayPlayer(ReplayLog log) : m_log(std::move(log)) {}

void ReplayPlayer::feedFrame(uint32_t frame) {
    const std::vector<ReplayEvent>& events = m_log.events();
    while (m_next < events.size() && events[m_next].frame <= frame) {
        const ReplayEvent& logged = events[m_next++];
        if (logged.frame < frame) continue;  // its frame has passed
        SDL_Event event = toSdlEvent(logged);
        if (SDL_PushEvent(&event) != 0) {
            std::fprintf(stderr, "voltaro: replay: frame %u: SDL's event queue refused an event: %s\n",
                         static_cast<unsigned>(frame), SDL_GetError());
        }
    }
}
