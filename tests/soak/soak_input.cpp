#include "soak/soak_input.h"

#include "platform/replay_log.h"

namespace {

// The keys random play holds, in the order their events are written.
const SDLKey kPlayKeys[] = {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_SPACE, SDLK_b};
constexpr int kLeft = 0, kRight = 1, kUp = 2, kDown = 3, kJump = 4, kShoot = 5;
constexpr int kPlayKeyCount = 6;

}  // namespace

SoakInput::SoakInput(uint32_t seed, int32_t levelIndex, int32_t playerIndex, uint32_t frames) : m_frames(frames) {
    // The choices are part of the seed, so one combination of a run over
    // every level and character replays alone with the same --seed.
    std::seed_seq sequence{seed, static_cast<uint32_t>(levelIndex), static_cast<uint32_t>(playerIndex)};
    m_random.seed(sequence);
    pickStage(levelIndex, playerIndex);
    play();
}

void SoakInput::press(SDLKey key, bool down) {
    if (m_frame > m_frames) return;  // beyond the run's end
    ReplayEvent event;
    event.frame = m_frame;
    event.kind = down ? ReplayEvent::Kind::KeyDown : ReplayEvent::Kind::KeyUp;
    event.key = key;
    m_events.push_back(event);
}

void SoakInput::tap(SDLKey key) {
    // Down in one frame, up in the next: the menu reacts to the frame in
    // which a key's state changes, so each tap moves or confirms once.
    press(key, true);
    m_frame += 1;
    press(key, false);
    m_frame += 1;
}

void SoakInput::pickStage(int32_t levelIndex, int32_t playerIndex) {
    // Frame 1 is left alone: the stage select then has been drawn once.
    for (int32_t i = 0; i < levelIndex; ++i) tap(SDLK_DOWN);
    tap(SDLK_b);  // the level; the cursor moves on to the characters
    for (int32_t j = 0; j < playerIndex; ++j) tap(SDLK_DOWN);
    // The confirming update requests the switch; the next update (the frame
    // of the key's release) builds the level instead of updating the menu.
    tap(SDLK_b);
    m_levelFrame = m_frame - 1;
}

void SoakInput::holdKeys(const bool wanted[]) {
    for (int key = 0; key < kPlayKeyCount; ++key) {
        if (m_held[key] == wanted[key]) continue;
        press(kPlayKeys[key], wanted[key]);
        m_held[key] = wanted[key];
    }
}

void SoakInput::pauseAndStep() {
    tap(SDLK_RETURN);
    const uint32_t steps = 1 + below(4);
    for (uint32_t step = 0; step < steps; ++step) {
        m_frame += below(3);
        tap(SDLK_TAB);  // one updated frame, then paused again
    }
    tap(SDLK_RETURN);
}

void SoakInput::play() {
    // Each key group changes at its own random moments, frame by frame. A
    // heading that is kept for long stretches (about ten seconds) makes the
    // player cross the level instead of dithering around the start; frequent
    // jumps of random height carry it over pits; long holds of up and
    // down climb whole ladders.
    bool headingRight = true;
    bool wanted[kPlayKeyCount] = {};
    while (m_frame <= m_frames) {
        if (below(4000) == 0) {
            pauseAndStep();
            continue;
        }
        if (below(600) == 0) headingRight = !headingRight;
        if (below(90) == 0) {
            const uint32_t choice = below(20);  // 15 ahead, 2 back, 2 none, 1 both
            wanted[kLeft] = choice == 19 || (choice < 17 && (choice < 15) != headingRight);
            wanted[kRight] = choice == 19 || (choice < 17 && (choice < 15) == headingRight);
        }
        if (below(60) == 0) {
            const uint32_t choice = below(20);  // 9 none, 5 up, 5 down, 1 both
            wanted[kUp] = choice == 19 || (choice >= 9 && choice < 14);
            wanted[kDown] = choice == 19 || (choice >= 14 && choice < 19);
        }
        // A jump is held about 20 frames (often a full jump, sometimes cut
        // short) and pressed again about 12 frames after its release.
        if (below(wanted[kJump] ? 20 : 12) == 0) wanted[kJump] = !wanted[kJump];
        // Shots in short bursts.
        if (below(wanted[kShoot] ? 4 : 30) == 0) wanted[kShoot] = !wanted[kShoot];
        holdKeys(wanted);
        m_frame += 1;
    }
}

std::string SoakInput::text() const {
    std::string text = ReplayLog::header();
    for (const ReplayEvent& event : m_events) text += ReplayLog::formatLine(event) + "\n";
    return text;
}
