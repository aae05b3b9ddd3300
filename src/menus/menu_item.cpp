#include "menus/menu_item.h"

#include "resources/font.h"

MenuItem::MenuItem(const std::string& title, const std::string& name, int32_t x, int32_t y)
    : m_x(x), m_y(y), m_title(title), m_name(name) {}

void MenuItem::draw(Font& font) const {
    font.drawText(m_title, m_x, m_y);
}
