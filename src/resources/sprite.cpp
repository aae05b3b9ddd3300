#include "resources/sprite.h"

#include "platform/video_service.h"
#include "platform/wrapping_arithmetic.h"

#include <cstdio>

namespace {

// No list in a sprite file comes near this many entries; a larger count is a
// broken file, and honouring it would allocate (and load) without bound.
constexpr int32_t kMaxListCount = 4096;  // sheets, cells, animations, or frames of one animation

void warn(const std::string& sourceName, const std::string& section, const std::string& key, const std::string& problem) {
    std::fprintf(stderr, "Sprite: %s [%s] %s: %s\n", sourceName.c_str(), section.c_str(), key.c_str(), problem.c_str());
}

// Reads a list length. A negative count becomes 0; a count above
// kMaxListCount is rejected as a whole and also becomes 0 (a partial list
// would only hide the broken file). Either case prints one warning.
int32_t readCount(const IniDictionary& dictionary, const std::string& key, const std::string& section,
                  const std::string& sourceName) {
    const int32_t count = dictionary.getInt(key, section, 0);
    if (count < 0) {
        warn(sourceName, section, key, "negative count " + std::to_string(count) + ", using 0");
        return 0;
    }
    if (count > kMaxListCount) {
        warn(sourceName, section, key,
             "count " + std::to_string(count) + " exceeds the limit of " + std::to_string(kMaxListCount) +
                 ", using 0");
        return 0;
    }
    return count;
}

}  // namespace

Sprite::Sprite(const IniDictionary& dictionary, const std::string& sourceName) {
    VideoService* video = getVideoService();

    // Each sheet is loaded right after its name is read. A sheet that fails
    // to load stays null and draws nothing.
    m_nSpritesheets = readCount(dictionary, "amount", "Spritesheets", sourceName);
    m_pSpritesheets.reserve(static_cast<size_t>(m_nSpritesheets));
    for (int32_t i = 0; i < m_nSpritesheets; ++i) {
        const char* fileName = dictionary.getString("spritesheet" + std::to_string(i), "Spritesheets", "empty");
        m_pSpritesheets.push_back(video != nullptr ? video->loadBitmap(fileName) : SurfaceHandle());
    }

    const int32_t nCells = readCount(dictionary, "amount", "Sprites", sourceName);
    const int32_t width = dictionary.getInt("width", "Sprites", 0);    // pixels
    const int32_t height = dictionary.getInt("height", "Sprites", 0);  // pixels
    m_xOffset = dictionary.getInt("xOffset", "Sprites", 0);
    m_yOffset = dictionary.getInt("yOffset", "Sprites", 0);
    m_pSpriteRects.reserve(static_cast<size_t>(nCells));
    for (int32_t i = 0; i < nCells; ++i) {
        SDL_Rect cell;
        cell.x = 0;
        cell.y = cutToSint16(dictionary.getInt("sprite" + std::to_string(i) + "YPos", "Sprites", 0));
        cell.w = cutToUint16(width);
        cell.h = cutToUint16(height);
        m_pSpriteRects.push_back(cell);
    }

    m_nAnimations = readCount(dictionary, "amount", "Animations", sourceName);
    m_pAnimations.resize(static_cast<size_t>(m_nAnimations));
    for (int32_t a = 0; a < m_nAnimations; ++a) {
        const std::string section = "Animation" + std::to_string(a);
        SpriteAnimation& animation = m_pAnimations[static_cast<size_t>(a)];
        animation.nFrames = readCount(dictionary, "nFrames", section, sourceName);
        animation.frames.resize(static_cast<size_t>(animation.nFrames));
        for (int32_t j = 0; j < animation.nFrames; ++j) {
            SpriteFrame& frame = animation.frames[static_cast<size_t>(j)];
            const std::string indexKey = "frame" + std::to_string(j) + "SpriteIndex";
            frame.spriteIndex = dictionary.getInt(indexKey, section, 0);
            frame.duration = dictionary.getInt("frame" + std::to_string(j) + "Duration", section, 0);
            if (frame.spriteIndex < 0 || frame.spriteIndex >= nCells) {
                // Kept as read: draw checks the cell table, so the frame shows nothing.
                warn(sourceName, section, indexKey,
                     "cell " + std::to_string(frame.spriteIndex) + " is outside the " + std::to_string(nCells) +
                         " sprite cells, the frame draws nothing");
            }
        }
    }
}

Sprite::~Sprite() = default;

// An index outside the animation table is stored as given (so selecting it
// again is still "the current one"); while it is current, update does
// nothing and draw draws nothing.
void Sprite::setAnimation(int32_t index) {
    if (index == m_currentAnimation) return;  // no restart, mode unchanged
    m_currentAnimation = index;
    m_pStepHandler = &Sprite::loopStep;
    m_currentFrame = 0;
    m_frameCounter = 0;
}

void Sprite::setPingPong() {
    m_pStepHandler = &Sprite::pingPongStep;
}

void Sprite::restartFrame() {
    m_frameCounter = 0;
}

void Sprite::update() {
    if (currentAnimationData() == nullptr) return;  // invalid or empty animation: nothing to step
    (this->*m_pStepHandler)();
}

void Sprite::draw(int32_t x, int32_t y, int32_t sheet) {
    const SpriteAnimation* animation = currentAnimationData();
    if (animation == nullptr) return;                       // invalid or empty animation
    if (sheet < 0 || sheet >= m_nSpritesheets) return;       // no such sheet
    SDL_Surface* surface = m_pSpritesheets[static_cast<size_t>(sheet)].get();
    if (surface == nullptr) return;                         // the sheet failed to load
    const int32_t cell = animation->frames[static_cast<size_t>(m_currentFrame)].spriteIndex;
    if (cell < 0 || static_cast<size_t>(cell) >= m_pSpriteRects.size()) return;  // reported at load
    VideoService* video = getVideoService();
    if (video == nullptr) return;  // nothing to draw on
    video->blit(surface, wrappingAdd(x, m_xOffset), wrappingAdd(y, m_yOffset),
                &m_pSpriteRects[static_cast<size_t>(cell)]);
}

const SpriteAnimation* Sprite::currentAnimationData() const {
    if (m_currentAnimation < 0 || m_currentAnimation >= m_nAnimations) return nullptr;  // not in the table
    const SpriteAnimation& animation = m_pAnimations[static_cast<size_t>(m_currentAnimation)];
    if (animation.nFrames <= 0) return nullptr;  // no frames to show
    return &animation;
}

// The test is equality, and the counter is 0 after a reset but 1 after an
// advance: every frame lasts its Duration, while a Duration-0 frame entered
// by an advance is never left until the owner resets it.
void Sprite::loopStep() {
    const SpriteAnimation& animation = m_pAnimations[static_cast<size_t>(m_currentAnimation)];
    if (m_frameCounter == animation.frames[static_cast<size_t>(m_currentFrame)].duration) {
        ++m_currentFrame;
        m_frameCounter = 0;
        if (m_currentFrame == animation.nFrames) m_currentFrame = 0;
    }
    m_frameCounter = wrappingAdd(m_frameCounter, 1);  // a held frame counts on without overflow
}

// The turn at either end takes one full period: the end frame is shown for
// twice its Duration. m_direction survives animation changes on purpose.
void Sprite::pingPongStep() {
    const SpriteAnimation& animation = m_pAnimations[static_cast<size_t>(m_currentAnimation)];
    if (m_frameCounter == animation.frames[static_cast<size_t>(m_currentFrame)].duration) {
        m_frameCounter = 0;
        if (m_direction == 1 && m_currentFrame == animation.nFrames - 1) {
            m_direction = -1;
        } else if (m_direction == -1 && m_currentFrame == 0) {
            m_direction = 1;
        } else {
            m_currentFrame += m_direction;
        }
    }
    m_frameCounter = wrappingAdd(m_frameCounter, 1);  // a held frame counts on without overflow
}
