#pragma once

#include "platform/surface_handle.h"

#include <cstdint>
#include <string>
#include <vector>

class Font;

// What went wrong with the last live reload, shown over every frame until a
// reload succeeds: the text drawn with the game's own font ("font.ini", read
// afresh for each message, so a repaired font shows) on a black band at the
// bottom of the screen, wrapped at spaces to the screen's width. It is
// rendered once, when shown; drawing it is one blit.
class ReloadMessage {
public:
    static constexpr int32_t kMaxLines = 6;  // a longer text ends in "..."
    static constexpr int32_t kPadding = 2;   // pixels around the text

    ReloadMessage();
    ~ReloadMessage();
    ReloadMessage(const ReloadMessage&) = delete;
    ReloadMessage& operator=(const ReloadMessage&) = delete;

    void show(const std::string& text);
    void clear();
    // Draws the band over the screen; nothing while no message is shown.
    void draw();

    bool isShown() const { return !m_text.empty(); }
    const std::string& text() const { return m_text; }
    // The text as the screen shows it, one entry per line.
    const std::vector<std::string>& lines() const { return m_lines; }

    // Splits `text` into lines of at most `width` characters, breaking at
    // spaces where a line holds one, and ends the last of `maxLines` lines in
    // "..." when the text is longer.
    static std::vector<std::string> wrap(const std::string& text, size_t width, size_t maxLines);

private:
    // The text with each character the font lacks replaced by a near one it
    // has, or by a space.
    static std::string drawable(const std::string& text, const Font& font);

    std::string m_text;
    std::vector<std::string> m_lines;
    SurfaceHandle m_pBand;  // the rendered message; empty when nothing is shown
};
