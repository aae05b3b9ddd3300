#pragma once

#include <cstdint>

// What a menu state has selected, for readers that sit below the menus (the
// per-frame trace): the level and the character under the cursors, and
// whether the character column is the active one.
class MenuSelection {
public:
    virtual ~MenuSelection();
    virtual int32_t selectedLevel() const = 0;
    virtual int32_t selectedPlayer() const = 0;
    virtual bool isChoosingPlayer() const = 0;
};
