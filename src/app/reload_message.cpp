#include "app/reload_message.h"

#include "platform/video_service.h"
#include "resources/font.h"

#include <SDL.h>

#include <algorithm>

namespace {
const char* const kFontFile = "font.ini";
constexpr int32_t kScreenWidth = 256;   // pixels
constexpr int32_t kScreenHeight = 240;  // pixels
const char* const kEllipsis = "...";

// Stand-ins for characters a small game font usually lacks.
char nearCharacter(char character) {
    switch (character) {
        case '[': return '(';
        case ']': return ')';
        case '"': return '\'';
        case ',': return '.';
        case ';': return ':';
        case '_': return '-';
        default: return ' ';
    }
}
}  // namespace

ReloadMessage::ReloadMessage() = default;
ReloadMessage::~ReloadMessage() = default;

std::vector<std::string> ReloadMessage::wrap(const std::string& text, size_t width, size_t maxLines) {
    std::vector<std::string> lines;
    if (width == 0 || maxLines == 0) return lines;  // no room for anything
    size_t start = 0;
    while (start < text.size()) {
        if (lines.size() + 1 == maxLines && text.size() - start > width) {
            // The last line that fits: as much as the ellipsis leaves room for.
            const size_t room = width > 3 ? width - 3 : 0;
            lines.push_back(text.substr(start, room) + std::string(kEllipsis).substr(0, width - room));
            return lines;
        }
        size_t end = std::min(text.size(), start + width);
        if (end < text.size()) {
            const size_t space = text.rfind(' ', end);
            if (space != std::string::npos && space > start) end = space;  // break at the last space that fits
        }
        lines.push_back(text.substr(start, end - start));
        start = end;
        while (start < text.size() && text[start] == ' ') ++start;  // a break swallows its spaces
    }
    return lines;
}

std::string ReloadMessage::drawable(const std::string& text, const Font& font) {
    std::string result = text;
    for (char& character : result) {
        if (character == ' ' || font.hasGlyph(character)) continue;
        const char stand = nearCharacter(character);
        character = font.hasGlyph(stand) ? stand : ' ';
    }
    return result;
}

void ReloadMessage::show(const std::string& text) {
    clear();
    m_text = text;
    VideoService* video = getVideoService();
    if (video == nullptr || text.empty()) return;  // nothing to draw on, or nothing to say
    Font font(kFontFile);
    const int32_t width = font.getCharacterWidth();
    const int32_t height = font.getCharacterHeight();
    if (width <= 0 || height <= 0) return;  // a broken font: stderr has the message
    m_lines = wrap(drawable(text, font), static_cast<size_t>((kScreenWidth - 2 * kPadding) / width),
                   static_cast<size_t>(kMaxLines));
    const int32_t bandHeight = std::min(kScreenHeight, static_cast<int32_t>(m_lines.size()) * height + 2 * kPadding);
    m_pBand = video->createSurface(kScreenWidth, bandHeight);
    if (m_pBand == nullptr) return;  // no surface: stderr has the message
    SDL_FillRect(m_pBand.get(), nullptr, SDL_MapRGB(m_pBand->format, 0, 0, 0));
    int32_t y = kPadding;
    for (const std::string& line : m_lines) {
        font.drawTextTo(line, m_pBand.get(), kPadding, y);
        y += height;
    }
}

void ReloadMessage::clear() {
    m_text.clear();
    m_lines.clear();
    m_pBand.reset();
}

void ReloadMessage::draw() {
    if (m_pBand == nullptr) return;  // nothing shown
    VideoService* video = getVideoService();
    if (video != nullptr) video->blit(m_pBand.get(), 0, kScreenHeight - m_pBand->h, nullptr);
}
