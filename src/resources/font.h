#pragma once

#include "platform/surface_handle.h"
#include "resources/ini_dictionary.h"
#include "resources/ini_schema.h"

#include <SDL.h>

#include <cstdint>
#include <string>

// Draws single lines of text and fixed-width numbers from a glyph sheet
// described by an INI file ("font.ini"). The sheet is one column of cells; the
// first ten cells are the digits 0 to 9. Glyph positions are looked up in the
// kept dictionary for every drawn character.
class Font {
public:
    explicit Font(const std::string& fileName);
    // The sections and keys read from the font file: a glyph's key is its
    // one character, or "space".
    static const IniSchema& fileKeys();
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int32_t getCharacterWidth() const { return m_characterWidth; }
    int32_t getCharacterHeight() const { return m_characterHeight; }

    // True when the font file gives the character a cell (a character
    // without one draws the cell at y 0).
    bool hasGlyph(char character) const;

    // Draws text on the screen, first cell's top left at (x, y).
    void drawText(const std::string& text, int32_t x, int32_t y);
    // The same onto a target surface.
    void drawTextTo(const std::string& text, SDL_Surface* target, int32_t x, int32_t y);
    // Draws a sign cell (always reserved) and exactly `digits` digits, leading zeros included.
    // Defined for every value, the most negative one included.
    void drawNumber(int32_t value, int32_t x, int32_t y, int32_t digits);

private:
    // y of a character's cell in the sheet, looked up afresh ("space" for ' ').
    int32_t glyphY(char character) const;
    // The glyph cell at sheet row sheetY, with the common cell size.
    SDL_Rect cell(int32_t sheetY) const;

    int32_t m_characterHeight = 0;  // pixels
    int32_t m_characterWidth = 0;   // pixels; also the advance per character
    IniDictionary m_dictionary;
    SurfaceHandle m_pSheet;  // the glyph sheet; empty when it failed to load
};
