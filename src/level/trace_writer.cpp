#include "level/trace_writer.h"

#include "level/enemy.h"
#include "level/level.h"
#include "platform/menu_selection.h"
#include "platform/game_state.h"
#include "platform/sound_event_log.h"
#include "player/voltaro.h"
#include "resources/sprite.h"
#include "world/map.h"

#include <sstream>

namespace {

const char* directionName(Direction direction) {
    switch (direction) {
        case Direction::None: return "None";
        case Direction::Up: return "Up";
        case Direction::Down: return "Down";
        case Direction::Left: return "Left";
        case Direction::Right: return "Right";
    }
    return "Invalid";
}

const char* modeName(MovementMode mode) {
    switch (mode) {
        case MovementMode::Ground: return "Ground";
        case MovementMode::Air: return "Air";
        case MovementMode::Ladder: return "Ladder";
        case MovementMode::Teleport: return "Teleport";
    }
    return "Invalid";
}

const char* responseName(CollisionResponse response) {
    switch (response) {
        case CollisionResponse::Rising: return "Rising";
        case CollisionResponse::Landing: return "Landing";
        case CollisionResponse::Stop: return "Stop";
    }
    return "Invalid";
}

// The frame's sound events by name, separated by spaces, in the order raised.
void writeSounds(std::ostringstream& line, const SoundEventLog& sounds) {
    for (int i = 0; i < sounds.size(); ++i) {
        if (i > 0) line << ' ';
        line << soundEventName(sounds.at(i));
    }
    if (sounds.dropped() > 0) line << (sounds.size() > 0 ? " " : "") << '+' << sounds.dropped();
}

}  // namespace

const char* const TraceWriter::kHeader =
    "frame,state,phase,x,y,speedX,speedY,handler,mode,facing,response,invincible,ladder,viewX,viewY,boundary,"
    "shots,stateFrame,animation,animationFrame,screenScroll,shootingTimer,phaseFrame,enemyFrame,menuLevel,"
    "menuCharacter,menuCharacterActive,sounds";

TraceWriter::TraceWriter(const std::string& fileName) : m_file(fileName, std::ios::out | std::ios::trunc) {
    if (m_file.is_open()) m_file << kHeader << '\n';
}

void TraceWriter::writeFrame(uint32_t frame, const GameState* state, const SoundEventLog& sounds) {
    if (!m_file.is_open()) return;  // nowhere to write
    m_file << formatFrame(frame, state, sounds) << '\n';
    m_file.flush();
}

std::string TraceWriter::formatFrame(uint32_t frame, const GameState* state, const SoundEventLog& sounds) {
    std::ostringstream line;
    line << frame << ',';
    const Level* level = dynamic_cast<const Level*>(state);
    if (level == nullptr) {
        // Every level column empty, then the menu's own.
        line << "menu,,,,,,,,,,,,,,,,,,,,,,,";
        if (const MenuSelection* menu = dynamic_cast<const MenuSelection*>(state)) {
            line << menu->selectedLevel() << ',' << menu->selectedPlayer() << ',' << (menu->isChoosingPlayer() ? 1 : 0);
        } else {
            line << ",,";
        }
        line << ',';
        writeSounds(line, sounds);
        return line.str();
    }
    const Voltaro& player = level->player();
    const SDL_Rect& view = level->camera().view();
    line << "level," << levelPhaseName(level->phase()) << ',' << player.x().raw() << ',' << player.y().raw() << ','
         << player.speedX().raw() << ',' << player.speedY().raw() << ',' << player.stateName() << ','
         << modeName(player.mode()) << ',' << directionName(player.facing()) << ','
         << responseName(player.collisionResponse()) << ',' << player.invincibleTimer() << ','
         << player.ladder().mask() << ',' << view.x << ',' << view.y << ',' << level->map().currentBoundaryIndex()
         << ',';
    bool first = true;
    for (int i = 0; i < 3; ++i) {
        const Bullet& shot = player.bullet(i);
        if (!shot.isActive()) continue;
        if (!first) line << ' ';
        line << shot.rect().x << ':' << shot.rect().y << ':' << directionName(shot.direction());
        first = false;
    }
    const Sprite& sprite = player.sprite();
    line << ',' << player.stateFrame() << ',' << sprite.currentAnimation() << ',' << sprite.currentFrame() << ','
         << (player.isScreenScrolling() ? 1 : 0) << ',' << player.shootingTimer() << ',' << level->frameCounter()
         << ',' << level->enemy().sprite().currentFrame() << ",,,,";
    writeSounds(line, sounds);
    return line.str();
}
