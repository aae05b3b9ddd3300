#include "resources/font.h"

#include "platform/video_service.h"
#include "platform/wrapping_arithmetic.h"

#include <cstdio>

namespace {

// 10^0 to 10^9: every power of ten that fits in 32 bits. Any larger power
// exceeds every 32-bit magnitude, so its quotient is 0.
constexpr uint32_t kPowersOfTen[] = {1u,      10u,      100u,      1000u,      10000u,
                                     100000u, 1000000u, 10000000u, 100000000u, 1000000000u};
constexpr int32_t kPowersOfTenCount = 10;

// A cell size; a negative one would become a huge 16-bit width or height and
// show most of the sheet, so it is reported and read as 0 (nothing visible).
int32_t readCellSize(const IniDictionary& dictionary, const std::string& key, const std::string& fileName) {
    const int32_t size = dictionary.getInt(key, "Properties", 0);  // pixels
    if (size >= 0) return size;
    std::fprintf(stderr, "Font: %s [Properties] %s: negative size %d, using 0\n", fileName.c_str(), key.c_str(),
                 static_cast<int>(size));
    return 0;
}

// The key of a character's cell in the "Characters" section.
std::string glyphKey(char character) {
    return character == ' ' ? std::string("space") : std::string(1, character);
}

}  // namespace

Font::Font(const std::string& fileName) : m_characterHeight(0), m_characterWidth(0), m_dictionary(fileName) {
    if (!m_dictionary.isLoaded()) {
        std::fprintf(stderr, "Font: %s %s, drawing text with empty cells\n", fileName.c_str(),
                     m_dictionary.loadProblem().c_str());
    }
    VideoService* video = getVideoService();
    if (video != nullptr) m_pSheet = video->loadBitmap(m_dictionary.getString("sheet", "Properties", "empty"));
    m_characterHeight = readCellSize(m_dictionary, "characterHeight", fileName);
    m_characterWidth = readCellSize(m_dictionary, "characterWidth", fileName);
}

Font::~Font() = default;

const IniSchema& Font::fileKeys() {
    static const IniSchema keys({
        {"Properties", "sheet", "file name", "empty", "BMP image of the glyphs, one column of cells"},
        {"Properties", "characterWidth", "pixels", "0", "width of every glyph"},
        {"Properties", "characterHeight", "pixels", "0", "height of every glyph"},
        {"Characters", "?", "pixels", "0", "top edge of that character's glyph in the sheet"},
        {"Characters", "space", "pixels", "0", "top edge of the space's glyph"},
    });
    return keys;
}

void Font::drawText(const std::string& text, int32_t x, int32_t y) {
    VideoService* video = getVideoService();
    if (video == nullptr || m_pSheet == nullptr) return;  // nothing to draw with or on
    for (char character : text) {
        SDL_Rect glyph = cell(glyphY(character));
        video->blit(m_pSheet.get(), x, y, &glyph);
        x = wrappingAdd(x, m_characterWidth);
    }
}

void Font::drawTextTo(const std::string& text, SDL_Surface* target, int32_t x, int32_t y) {
    VideoService* video = getVideoService();
    if (video == nullptr || m_pSheet == nullptr) return;  // nothing to draw with or on
    for (char character : text) {
        SDL_Rect glyph = cell(glyphY(character));
        video->blitTo(m_pSheet.get(), target, x, y, &glyph);
        x = wrappingAdd(x, m_characterWidth);
    }
}

// The magnitude is taken in unsigned 32 bits, so the most negative value has
// one: -2147483648 draws the "-" cell and then the digits of 2147483648 by the
// per-position rule. With 10 or more digits that is 2147483648 behind leading
// zeros; with fewer, the first quotient is 10 or more (e.g. 21474836 for 3
// digits) and selects the cell at quotient x characterHeight, wrapped to 32
// bits and cut to the 16-bit rectangle, as for any value too wide for its
// digits.
void Font::drawNumber(int32_t value, int32_t x, int32_t y, int32_t digits) {
    VideoService* video = getVideoService();
    if (video == nullptr || m_pSheet == nullptr) return;  // nothing to draw with or on
    uint32_t magnitude = static_cast<uint32_t>(value);
    if (value < 0) {
        SDL_Rect sign = cell(glyphY('-'));
        video->blitRaw(m_pSheet.get(), x, y, &sign);
        magnitude = 0u - magnitude;
    }
    x = wrappingAdd(x, m_characterWidth);  // the sign cell is reserved even when empty
    for (int32_t k = digits; k >= 1; --k) {
        const int32_t exponent = k - 1;
        const uint32_t power = exponent < kPowersOfTenCount ? kPowersOfTen[exponent] : 0u;
        const uint32_t quotient = power != 0u ? magnitude / power : 0u;  // 0 for powers beyond 32 bits
        SDL_Rect digit = cell(wrapToInt32(quotient * static_cast<uint32_t>(m_characterHeight)));
        video->blitRaw(m_pSheet.get(), x, y, &digit);
        magnitude -= quotient * power;
        x = wrappingAdd(x, m_characterWidth);
    }
}

bool Font::hasGlyph(char character) const {
    return m_dictionary.lineOf(glyphKey(character), "Characters") > 0;
}

int32_t Font::glyphY(char character) const {
    return m_dictionary.getInt(glyphKey(character), "Characters", 0);
}

SDL_Rect Font::cell(int32_t sheetY) const {
    SDL_Rect rect;
    rect.x = 0;
    rect.y = cutToSint16(sheetY);
    rect.w = cutToUint16(m_characterWidth);
    rect.h = cutToUint16(m_characterHeight);
    return rect;
}
