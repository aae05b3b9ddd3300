#pragma once

#include <cstdint>
#include <string>

class Font;

// One entry of a menu list: the text shown at a screen position, and the
// value handed on when the entry is chosen.
class MenuItem {
public:
    MenuItem() = default;
    MenuItem(const std::string& title, const std::string& name, int32_t x, int32_t y);

    // Draws the title with its top-left corner at (x, y).
    void draw(Font& font) const;
    std::string getName() const { return m_name; }
    const std::string& getTitle() const { return m_title; }
    int32_t getX() const { return m_x; }
    int32_t getY() const { return m_y; }

private:
    int32_t m_x = 0;  // screen pixels, left edge of the text
    int32_t m_y = 0;  // screen pixels, top edge of the text
    std::string m_title;
    std::string m_name;
};
