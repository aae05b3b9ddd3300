#include "level_keys.h"

#include "ini_file_editor.h"
#include "map_tool_error.h"
#include "resources/ini_dictionary.h"
#include "level/enemy.h"

#include <cstdlib>
#include <regex>

namespace {

constexpr int32_t kTilePixels = 16;

[[noreturn]] void fail(const LevelLayout::Origin& origin, const std::string& message) {
    throw MapToolError(origin.file, origin.line, origin.label + ": " + message);
}

std::string describe(const LevelLayout::Boundary& b) {
    return "x " + std::to_string(b.x) + ", y " + std::to_string(b.y) + ", w " + std::to_string(b.w);
}

bool overlap(const LevelLayout::Boundary& a, const LevelLayout::Boundary& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + LevelLayout::kBandHeight &&
           b.y < a.y + LevelLayout::kBandHeight;
}

// The start's column check and its "teleportStopPosY" relative to `boundary0`.
int32_t stopPosY(const LevelLayout::Place& start, const LevelLayout::Boundary& boundary0) {
    const int32_t beamX = boundary0.x + LevelKeys::kBeamOffsetX;
    const int32_t column = start.x >= 0 ? start.x / kTilePixels : -1;
    if (column != beamX / kTilePixels) {
        fail(start.origin, "the start is at x " + std::to_string(start.x) + " (tile column " + std::to_string(column) +
                               "), but the engine beams the player in at boundary 0's x + 128 = " +
                               std::to_string(beamX) + " (tile column " + std::to_string(beamX / kTilePixels) +
                               "); move the start there, or move boundary 0");
    }
    return start.y - boundary0.y;
}

}  // namespace

void LevelKeys::read(const IniDictionary& levels, const std::string& section, const std::string& iniPath,
                     LevelLayout& layout) {
    const int32_t count = levels.getInt("boundaries", section, 0);
    if (count < 1 || count > kMaxBoundaries) {
        const int line = levels.lineOf("boundaries", section);
        throw MapToolError(iniPath, line, "[" + section + "] \"boundaries\" is " + std::to_string(count) +
                                              (line == 0 ? " (missing)" : "") + "; a level needs 1.." +
                                              std::to_string(kMaxBoundaries));
    }
    layout.boundaries.clear();
    for (int32_t i = 0; i < count; ++i) {
        const std::string prefix = "boundary" + std::to_string(i);
        LevelLayout::Boundary boundary;
        boundary.x = levels.getInt(prefix + "x", section, 0);
        boundary.y = levels.getInt(prefix + "y", section, 0);
        boundary.w = levels.getInt(prefix + "w", section, 0);
        const int line = levels.lineOf(prefix + "x", section);
        boundary.origin = LevelLayout::Origin{iniPath, line != 0 ? line : levels.sectionLine(section),
                                              "[" + section + "] boundary " + std::to_string(i)};
        layout.boundaries.push_back(boundary);
    }
    const LevelLayout::Boundary& boundary0 = layout.boundaries[0];
    if (levels.lineOf("teleportStopPosY", section) != 0) {
        layout.start = LevelLayout::Place{boundary0.x + kBeamOffsetX,
                                          boundary0.y + levels.getInt("teleportStopPosY", section, 0),
                                          LevelLayout::Origin{iniPath, levels.lineOf("teleportStopPosY", section),
                                                              "[" + section + "] teleportStopPosY"}};
    }
    const int enemyLine = levels.lineOf("enemyX", section) != 0 ? levels.lineOf("enemyX", section)
                                                                : levels.lineOf("enemyY", section);
    layout.enemy = LevelLayout::Place{levels.getInt("enemyX", section, Enemy::kX), levels.getInt("enemyY", section, Enemy::kY),
                                      LevelLayout::Origin{iniPath, enemyLine, "[" + section + "] enemyX/enemyY"}};
}

void LevelKeys::checkBoundaries(const LevelLayout& layout) {
    const int32_t mapWidth = layout.map.width() * kTilePixels;
    const int32_t mapHeight = layout.map.height() * kTilePixels;
    if (layout.boundaries.size() > static_cast<size_t>(kMaxBoundaries)) {
        fail(layout.boundaries.back().origin, "more than " + std::to_string(kMaxBoundaries) + " boundaries");
    }
    for (size_t i = 0; i < layout.boundaries.size(); ++i) {
        const LevelLayout::Boundary& b = layout.boundaries[i];
        if (b.x < 0 || b.y < 0 || b.w <= 0 || b.x % LevelLayout::kScreenWidth != 0 ||
            b.y % LevelLayout::kBandHeight != 0 || b.w % LevelLayout::kScreenWidth != 0) {
            fail(b.origin, "boundary (" + describe(b) +
                               ") is off the screen grid: x and w must be multiples of 256 (w at least 256), y a "
                               "multiple of 240");
        }
        if (b.x + b.w > mapWidth || b.y + LevelLayout::kBandHeight > mapHeight) {
            fail(b.origin, "boundary (" + describe(b) + ") reaches outside the map (" + std::to_string(mapWidth) +
                               " x " + std::to_string(mapHeight) + " pixels)");
        }
        for (int32_t x = b.x; x < b.x + b.w; x += LevelLayout::kScreenWidth) {
            const int32_t screenX = x / LevelLayout::kScreenWidth;
            const int32_t screenY = b.y / LevelLayout::kBandHeight;
            if (!layout.map.isScreenPresent(screenX, screenY)) {
                fail(b.origin, "boundary (" + describe(b) + ") lies over screen (" + std::to_string(screenX) + ", " +
                                   std::to_string(screenY) + "), which has no tiles; a boundary covers present screens only");
            }
        }
        for (size_t j = 0; j < i; ++j) {
            if (overlap(layout.boundaries[j], b)) {
                fail(b.origin, "boundary " + std::to_string(i) + " (" + describe(b) + ") overlaps boundary " +
                                   std::to_string(j) + " (" + describe(layout.boundaries[j]) + ")");
            }
        }
    }
}

std::vector<std::string> LevelKeys::write(const LevelLayout& layout, const std::string& section,
                                          const std::string& iniPath, IniFileEditor& editor) {
    const std::string before = editor.text();
    const IniDictionary old = IniDictionary::fromText(before);
    std::vector<std::string> changed;
    auto set = [&](const std::string& key, int32_t value) {
        const char* current = old.getString(key, section, nullptr);
        if (current == nullptr || std::string(current) != std::to_string(value)) changed.push_back(key);
        editor.set(section, key, std::to_string(value));
    };

    if (!layout.boundaries.empty()) {
        set("boundaries", static_cast<int32_t>(layout.boundaries.size()));
        for (size_t i = 0; i < layout.boundaries.size(); ++i) {
            const std::string prefix = "boundary" + std::to_string(i);
            set(prefix + "x", layout.boundaries[i].x);
            set(prefix + "y", layout.boundaries[i].y);
            set(prefix + "w", layout.boundaries[i].w);
        }
        // Keys of boundaries beyond the new count would only mislead a reader of the file.
        static const std::regex kBoundaryKey("boundary([0-9]+)[xyw]");
        for (const std::string& key : editor.keys(section)) {
            std::smatch match;
            if (std::regex_match(key, match, kBoundaryKey) &&
                (match[1].length() > 5 || std::atoi(match[1].str().c_str()) >= static_cast<int>(layout.boundaries.size()))) {
                editor.remove(section, key);
                changed.push_back(key + " (removed)");
            }
        }
    }

    if (layout.start) {
        LevelLayout::Boundary boundary0;
        if (!layout.boundaries.empty()) {
            boundary0 = layout.boundaries[0];
        } else {
            LevelLayout fromFile;
            LevelKeys::read(old, section, iniPath, fromFile);
            boundary0 = fromFile.boundaries[0];
        }
        const int32_t stop = stopPosY(*layout.start, boundary0);
        if (stop != 0 || editor.has(section, "teleportStopPosY")) set("teleportStopPosY", stop);
    }
    if (layout.enemy) {
        const bool moved = layout.enemy->x != Enemy::kX || layout.enemy->y != Enemy::kY;
        if (moved || editor.has(section, "enemyX") || editor.has(section, "enemyY")) {
            set("enemyX", layout.enemy->x);
            set("enemyY", layout.enemy->y);
        }
    }
    return changed;
}
