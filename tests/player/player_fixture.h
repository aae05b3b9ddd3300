#pragma once

// A small world for player tests: a map written in map source text, a
// "levels.ini" and a player file in a temporary working directory, a Map, a
// camera that follows the player as the level's does, and a recording
// stand-in for the level. Tests start from a complete standard character
// (PlayerFile::standard) and change only the keys they pin down.

#include "platform/direction.h"
#include "platform/input_state.h"
#include "player/player_host.h"
#include "player/voltaro.h"
#include "resources/ini_dictionary.h"
#include "support/recording_video_service.h"
#include "support/temp_dir.h"
#include "world/camera.h"
#include "world/fixed.h"
#include "world/map.h"
#include "world/map_source.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The level's side as the player sees it; records every call.
class RecordingHost : public PlayerHost {
public:
    void restart() override { ++restarts; }
    void startScroll(Direction direction) override { scrolls.push_back(direction); }

    int restarts = 0;
    std::vector<Direction> scrolls;
};

// A player file as ordered sections of key = value lines.
class PlayerFile {
public:
    // The standard test character. Speeds in pixels per update:
    // walking 0.5 then running 1.5 after 6 updates (animation 1 from the 3rd),
    // jump 4.0, gravity 0.25, fastest fall 4.0, ground probe 1.0 downwards,
    // climbing 1.0 both ways. Position y is 12 pixels above the feet; the box
    // is 15 x 23 from 8 left and 12 above the position.
    static PlayerFile standard() {
        PlayerFile file;
        file.set("XSpeed", "acceleratingInt", "0").set("XSpeed", "acceleratingFraction", "128");
        file.set("XSpeed", "deceleratingInt", "0").set("XSpeed", "deceleratingFraction", "128");
        file.set("XSpeed", "jumpAcceleratingInt", "1").set("XSpeed", "jumpAcceleratingFraction", "0");
        file.set("XSpeed", "jumpingInt", "1").set("XSpeed", "jumpingFraction", "128");
        file.set("XSpeed", "reelingInt", "0").set("XSpeed", "reelingFraction", "128");
        file.set("XSpeed", "runningInt", "1").set("XSpeed", "runningFraction", "128");
        file.set("YSpeed", "climbingDownInt", "-1").set("YSpeed", "climbingUpInt", "1");
        file.set("YSpeed", "collisionInt", "-1").set("YSpeed", "fallingInt", "0");
        file.set("YSpeed", "gravityInt", "0").set("YSpeed", "gravityFraction", "64");
        file.set("YSpeed", "jumpingInt", "4");
        file.set("YSpeed", "jumpReleasedInt", "1").set("YSpeed", "jumpReleasedMaxInt", "2");
        file.set("YSpeed", "minInt", "-4");
        file.set("YSpeed", "scrollingInt", "1");
        file.set("YSpeed", "reelingInt", "1");
        file.set("Durations", "accelerating", "6").set("Durations", "acceleratingPreviousAnimation", "3");
        file.set("Durations", "decelerating", "6").set("Durations", "deceleratingPreviousAnimation", "3");
        file.set("Durations", "invincible", "20").set("Durations", "reeling", "10");
        file.set("Durations", "shooting", "8");
        file.set("BoundingBox", "heightHalf", "12").set("BoundingBox", "xOffset", "-8");
        file.set("BoundingBox", "yOffset", "-12").set("BoundingBox", "width", "15");
        file.set("BoundingBox", "height", "23");
        file.set("Bullet", "spritesheet", "shot.bmp").set("Bullet", "xOffsetLeft", "-16");
        file.set("Bullet", "xOffsetRight", "8").set("Bullet", "yOffset", "-4");
        file.set("Spritesheets", "amount", "4");
        file.set("Spritesheets", "spritesheet0", "right.bmp").set("Spritesheets", "spritesheet1", "left.bmp");
        file.set("Spritesheets", "spritesheet2", "shootright.bmp");
        file.set("Spritesheets", "spritesheet3", "shootleft.bmp");
        file.set("Sprites", "amount", "1").set("Sprites", "width", "16").set("Sprites", "height", "24");
        file.set("Sprites", "xOffset", "-8").set("Sprites", "yOffset", "-12").set("Sprites", "sprite0YPos", "0");
        file.set("Animations", "amount", "9");
        for (int i = 0; i < 9; ++i) {
            const std::string section = "Animation" + std::to_string(i);
            file.set(section, "nFrames", "1").set(section, "frame0SpriteIndex", "0");
            file.set(section, "frame0Duration", "4");
        }
        return file;
    }

    PlayerFile& set(const std::string& section, const std::string& key, const std::string& value) {
        std::vector<std::pair<std::string, std::string>>& lines = sectionLines(section);
        for (auto& line : lines) {
            if (line.first == key) {
                line.second = value;
                return *this;
            }
        }
        lines.emplace_back(key, value);
        return *this;
    }

    PlayerFile& removeSection(const std::string& section) {
        for (auto it = m_sections.begin(); it != m_sections.end(); ++it) {
            if (it->first == section) {
                m_sections.erase(it);
                break;
            }
        }
        return *this;
    }

    std::string text() const {
        std::string text;
        for (const auto& section : m_sections) {
            text += "[" + section.first + "]\n";
            for (const auto& line : section.second) text += line.first + " = " + line.second + "\n";
        }
        return text;
    }

private:
    std::vector<std::pair<std::string, std::string>>& sectionLines(const std::string& section) {
        for (auto& existing : m_sections) {
            if (existing.first == section) return existing.second;
        }
        m_sections.emplace_back(section, std::vector<std::pair<std::string, std::string>>{});
        return m_sections.back().second;
    }

    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> m_sections;
};

// One update's keys. Directions count as held since before this update
// unless `fresh` says they were just pressed.
class Keys {
public:
    Keys& left() { return horizontal(Direction::Left); }
    Keys& right() { return horizontal(Direction::Right); }
    Keys& up() { return vertical(Direction::Up); }
    Keys& down() { return vertical(Direction::Down); }
    Keys& jump() {
        m_state.jumpPressed = true;
        m_state.jumpHeld = true;
        return *this;
    }
    Keys& releaseJump() {
        m_state.jumpReleased = true;
        return *this;
    }
    Keys& shoot() {
        m_state.shootPressed = true;
        m_state.shootHeld = true;
        return *this;
    }
    // The horizontal direction was not held at the previous poll.
    Keys& fresh() {
        m_state.previousHorizontal = Direction::None;
        return *this;
    }
    operator InputState() const { return m_state; }

private:
    Keys& horizontal(Direction d) {
        m_state.horizontal = d;
        m_state.previousHorizontal = d;
        m_state.leftHeld = d == Direction::Left;
        m_state.rightHeld = d == Direction::Right;
        return *this;
    }
    Keys& vertical(Direction d) {
        m_state.vertical = d;
        m_state.previousVertical = d;
        m_state.upHeld = d == Direction::Up;
        m_state.downHeld = d == Direction::Down;
        return *this;
    }

    InputState m_state;
};

// Map source header shared by the test maps: '.' open, '#' solid, 'H' the ladder.
inline std::string mapText(const std::string& rows) {
    return "tiles 6\nlegend\n. 0 open\n# 1 solid\nH 4 open\nmap\n" + rows;
}

// `count` copies of one map row (with its line feed).
inline std::string repeatRow(const std::string& row, int count) {
    std::string rows;
    for (int i = 0; i < count; ++i) rows += row;
    return rows;
}

// `count` rows of open air, one screen wide.
inline std::string openRows(int count) {
    return repeatRow("................\n", count);
}

// One screen: open air, solid floor on rows 13 and 14 (floor top at y 208,
// so the standard character stands at y 196).
const std::string kFlatScreen = openRows(13) +
    "################\n"
    "################\n";

// One boundary over the single screen; the beam stops at y 196 (on the floor).
const char* const kOneScreenLevel =
    "boundaries = 1\nboundary0x = 0\nboundary0y = 0\nboundary0w = 256\nteleportStopPosY = 196\n";

// An 8x8 font whose digit k is the glyph cell at y 8k and "-" the cell at y 80.
const char* const kFontIni =
    "[Properties]\nsheet = glyphs.bmp\ncharacterHeight = 8\ncharacterWidth = 8\n[Characters]\n- = 80\n";

// A stationary enemy of two 16x16 cells, two updates each, standing on the
// floor 8 pixels below its rectangle's top.
const char* const kEnemyIni =
    "[Spritesheets]\namount = 1\nspritesheet0 = enemy.bmp\n"
    "[Sprites]\namount = 2\nwidth = 16\nheight = 16\nxOffset = 0\nyOffset = -8\nsprite0YPos = 0\nsprite1YPos = 16\n"
    "[Animations]\namount = 1\n"
    "[Animation0]\nnFrames = 2\nframe0SpriteIndex = 0\nframe0Duration = 2\nframe1SpriteIndex = 1\n"
    "frame1Duration = 2\n";

constexpr int32_t kStandY = 196;    // pixels, the standard character on the flat floor
constexpr int32_t kStartX = 128;    // pixels, the beam's x on a boundary at x 0

inline int32_t px(int32_t pixels) {
    return pixels * 256;  // raw Fixed value of a whole pixel
}

// Writes a test world into the working directory: the map compiled from
// `mapRows` as "test.map", "levels.ini" with the level "test" (after
// `levelsPrefix`, e.g. a [Common] section), the player file "player.ini", an
// 8x8 "font.ini" and "enemy.ini"; and makes the video service answer every
// bitmap they name with a blank sheet of the right size.
inline void writeWorldFiles(const TempDir& dir, RecordingVideoService& video, const std::string& mapRows,
                            const PlayerFile& player, const std::string& levelKeys,
                            const std::string& levelsPrefix = "") {
    video.setBitmapSize("tiles.bmp", 16, 16 * 8);
    video.setBitmapSize("glyphs.bmp", 8, 88);
    video.setBitmapSize("shot.bmp", 8, 8);
    video.setBitmapSize("enemy.bmp", 16, 32);
    for (const char* sheet : {"right.bmp", "left.bmp", "shootright.bmp", "shootleft.bmp"}) {
        video.setBitmapSize(sheet, 16, 24);
    }
    const std::vector<uint8_t> bytes = MapSource::compile(mapText(mapRows), "test.vmap");
    dir.write("test.map", std::string(bytes.begin(), bytes.end()));
    dir.write("levels.ini", levelsPrefix + "[test]\ntileSheet = tiles.bmp\ntileMap = test.map\n" + levelKeys);
    dir.write("player.ini", player.text());
    dir.write("font.ini", kFontIni);
    dir.write("enemy.ini", kEnemyIni);
}

class PlayerWorld {
public:
    // extraFiles: more files for the working directory, e.g. a "font.ini".
    PlayerWorld(const std::string& mapRows, const PlayerFile& player, const std::string& levelKeys = kOneScreenLevel,
                const std::vector<std::pair<std::string, std::string>>& extraFiles = {}) {
        m_dir.enter();
        writeWorldFiles(m_dir, video, mapRows, player, levelKeys);
        for (const auto& file : extraFiles) m_dir.write(file.first, file.second);

        m_map = std::make_unique<Map>("test", IniDictionary("levels.ini"));
        const IniDictionary playerFile("player.ini");
        m_map->setScrollStartPositions(playerFile.getInt("startPosTop", "ScrollConstants", 0),
                                       playerFile.getInt("startPosBottom", "ScrollConstants", 240));
        m_player = std::make_unique<Voltaro>(playerFile, "player.ini", &host, m_map.get());
        // As the level does: the first boundary from the position, the camera on the box.
        m_map->selectBoundary(m_player->getX(), m_player->getY());
        camera.setBounds(m_map->currentBoundary());
        camera.follow(*m_player->getBoundingBox());
    }

    // One level update as the playing phase runs it.
    void step(const InputState& input = InputState{}) {
        m_player->update(input, camera);
        camera.follow(*m_player->getBoundingBox());
    }
    void steps(int count, const InputState& input = InputState{}) {
        for (int i = 0; i < count; ++i) step(input);
    }
    // Runs the beam-in until the player stands (at most 100 updates).
    void beamIn() {
        for (int i = 0; i < 100 && std::string(m_player->stateName()) != "Standing"; ++i) step();
        ASSERT_STREQ(m_player->stateName(), "Standing");
    }

    Voltaro& player() { return *m_player; }
    Map& map() { return *m_map; }

    RecordingVideoService video;
    RecordingHost host;
    Camera camera;

private:
    TempDir m_dir;
    std::unique_ptr<Map> m_map;
    std::unique_ptr<Voltaro> m_player;
};
