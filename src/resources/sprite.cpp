#include "resources/sprite.h"

#include "platform/video_service.h"
#include "platform/wrapping_arithmetic.h"

#include <cstdio>

namespace {

// Frames of one animation reported one by one; the rest get one line, so a
// broken file with a million frames does not flood the error output.
constexpr int32_t kFrameWarnings = 8;

void warn(const std::string& sourceName, const std::string& section, const std::string& key, const std::string& problem) {
    std::fprintf(stderr, "Sprite: %s [%s] %s: %s\n", sourceName.c_str(), section.c_str(), key.c_str(), problem.c_str());
}

// Reads a list length. A negative count becomes 0; a count above `limit`
// (what the list's memory bound allows) is rejected as a whole and also
// becomes 0 (a partial list would only hide the broken file). Either case
// prints one warning.
int32_t readCount(const IniDictionary& dictionary, const std::string& key, const std::string& section,
                  const std::string& sourceName, int32_t limit) {
    const int32_t count = dictionary.getInt(key, section, 0);
    if (count < 0) {
        warn(sourceName, section, key, "negative count " + std::to_string(count) + ", using 0");
        return 0;
    }
    if (count > limit) {
        warn(sourceName, section, key,
             "count " + std::to_string(count) + " exceeds the limit of " + std::to_string(limit) + ", using 0");
        return 0;
    }
    return count;
}

// The memory a loaded sheet takes, in bytes.
int64_t surfaceBytes(const SDL_Surface* surface) {
    return surface != nullptr ? static_cast<int64_t>(surface->pitch) * surface->h : 0;
}

}  // namespace

const IniSchema& Sprite::fileKeys() {
    static const IniSchema keys({
        {"Spritesheets", "amount", "count", "0", "number of sprite sheets"},
        {"Spritesheets", "spritesheet#", "file name", "empty", "BMP image of sheet #"},
        {"Sprites", "amount", "count", "0", "number of cells"},
        {"Sprites", "width", "pixels", "0", "width of every cell"},
        {"Sprites", "height", "pixels", "0", "height of every cell"},
        {"Sprites", "xOffset", "pixels", "0", "drawing offset to the right"},
        {"Sprites", "yOffset", "pixels", "0", "drawing offset downwards"},
        {"Sprites", "sprite#YPos", "pixels", "0", "top edge of cell # in a sheet"},
        {"Animations", "amount", "count", "0", "number of animations"},
        {"Animation#", "nFrames", "count", "0", "number of frames of the animation"},
        {"Animation#", "frame#SpriteIndex", "cell index", "0", "cell shown in the frame"},
        {"Animation#", "frame#Duration", "updates", "0", "how long the frame is shown"},
    });
    return keys;
}

Sprite::Sprite(const IniDictionary& dictionary, const std::string& sourceName) {
    VideoService* video = getVideoService();

    // Each sheet is loaded right after its name is read. A sheet that fails
    // to load stays null and draws nothing; so do the sheets from the one
    // that would take the sheets past their memory bound on.
    m_nSpritesheets = readCount(dictionary, "amount", "Spritesheets", sourceName, kMaxSheets);
    m_pSpritesheets.reserve(static_cast<size_t>(m_nSpritesheets));
    int64_t sheetBytes = 0;
    bool sheetsFull = false;
    for (int32_t i = 0; i < m_nSpritesheets; ++i) {
        const std::string key = "spritesheet" + std::to_string(i);
        const char* fileName = dictionary.getString(key, "Spritesheets", "empty");
        SurfaceHandle sheet = video != nullptr && !sheetsFull ? video->loadBitmap(fileName) : SurfaceHandle();
        sheetBytes += surfaceBytes(sheet.get());
        if (sheetBytes > kMaxSheetBytes && !sheetsFull) {
            warn(sourceName, "Spritesheets", key,
                 "the sheets so far take more than " + std::to_string(kMaxSheetBytes) +
                     " bytes; this sheet and the ones after it are not loaded and draw nothing");
            sheet.reset();
            sheetsFull = true;
        }
        m_pSpritesheets.push_back(std::move(sheet));
    }

    const int32_t nCells = readCount(dictionary, "amount", "Sprites", sourceName, kMaxCells);
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

    m_nAnimations = readCount(dictionary, "amount", "Animations", sourceName, kMaxAnimations);
    m_pAnimations.resize(static_cast<size_t>(m_nAnimations));
    int32_t framesLeft = kMaxFrames;  // shared by all animations
    for (int32_t a = 0; a < m_nAnimations; ++a) {
        const std::string section = "Animation" + std::to_string(a);
        SpriteAnimation& animation = m_pAnimations[static_cast<size_t>(a)];
        animation.nFrames = readCount(dictionary, "nFrames", section, sourceName, framesLeft);
        framesLeft -= animation.nFrames;
        animation.frames.resize(static_cast<size_t>(animation.nFrames));
        int32_t outside = 0;  // frames whose cell is not in the table
        for (int32_t j = 0; j < animation.nFrames; ++j) {
            SpriteFrame& frame = animation.frames[static_cast<size_t>(j)];
            const std::string indexKey = "frame" + std::to_string(j) + "SpriteIndex";
            frame.spriteIndex = dictionary.getInt(indexKey, section, 0);
            frame.duration = dictionary.getInt("frame" + std::to_string(j) + "Duration", section, 0);
            // Kept as read: draw checks the cell table, so the frame shows nothing.
            if ((frame.spriteIndex < 0 || frame.spriteIndex >= nCells) && ++outside <= kFrameWarnings) {
                warn(sourceName, section, indexKey,
                     "cell " + std::to_string(frame.spriteIndex) + " is outside the " + std::to_string(nCells) +
                         " sprite cells, the frame draws nothing");
            }
        }
        if (outside > kFrameWarnings) {
            warn(sourceName, section, "nFrames",
                 std::to_string(outside - kFrameWarnings) + " more frames show cells outside the " +
                     std::to_string(nCells) + " sprite cells and draw nothing");
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
