#pragma once

#include "level_layout.h"

#include <string>
#include <vector>

class IniDictionary;
class IniFileEditor;

// The level's keys in levels.ini that voltaro-map reads and writes: the
// boundaries ("boundaries", "boundaryNx/y/w"), the beam's stop
// ("teleportStopPosY", relative to boundary 0's top) and the enemy's place
// ("enemyX", "enemyY"; absent means the engine's fixed place). Also the
// rules a level's boundaries and start must keep; every broken rule throws
// MapToolError pointing at the boundary's or place's origin.
class LevelKeys {
public:
    static constexpr int32_t kBeamOffsetX = 128;  // pixels from boundary 0's left edge to where the beam comes down
    static constexpr int32_t kMaxBoundaries = 4096;

    // Reads the section's boundaries and places into `layout` (the start
    // only when "teleportStopPosY" is there; the enemy at its keys or at the
    // engine's fixed place). `iniPath` names the file in errors.
    static void read(const IniDictionary& levels, const std::string& section, const std::string& iniPath,
                     LevelLayout& layout);

    // Boundaries: at least one, on the screen grid (x and w multiples of 256,
    // y of 240, w above 0), inside the map, over present screens only, and
    // not overlapping one another.
    static void checkBoundaries(const LevelLayout& layout);

    // Writes the layout's keys into the section: the boundaries when the
    // layout has any (removing keys of boundaries beyond the new count), the
    // start and the enemy when it has them. A start or enemy at the
    // engine's default is only written to a section that already has its
    // keys, so a file without them stays as it was. The start is checked
    // against boundary 0 (the layout's, or the section's when the layout
    // has none). Returns the names of the keys whose lines changed.
    static std::vector<std::string> write(const LevelLayout& layout, const std::string& section,
                                          const std::string& iniPath, IniFileEditor& editor);
};
