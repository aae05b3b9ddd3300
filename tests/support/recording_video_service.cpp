#include "support/recording_video_service.h"

#include "support/blank_surface.h"

#include <algorithm>
#include <cstdio>

RecordingVideoService::RecordingVideoService() : m_previous(getVideoService()) {
    setVideoService(this);
}

RecordingVideoService::~RecordingVideoService() {
    for (SDL_Surface* surface : m_live) SDL_FreeSurface(surface);
    setVideoService(m_previous);
}

int RecordingVideoService::record(Kind kind, SDL_Surface* source, SDL_Surface* target, int x, int y,
                                  SDL_Rect* sourceRect) {
    DrawCall call{kind, source, target, x, y, sourceRect != nullptr, SDL_Rect{0, 0, 0, 0}};
    if (sourceRect != nullptr) call.sourceRect = *sourceRect;
    m_calls.push_back(call);
    return 0;
}

int RecordingVideoService::blit(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) {
    return record(Kind::Blit, source, nullptr, x, y, sourceRect);
}

int RecordingVideoService::blitTo(SDL_Surface* source, SDL_Surface* target, int x, int y, SDL_Rect* sourceRect) {
    record(Kind::BlitTo, source, target, x, y, sourceRect);
    if (source == nullptr || target == nullptr) return -1;
    SDL_Rect destination{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    return SDL_UpperBlit(source, sourceRect, target, &destination);
}

int RecordingVideoService::blitRaw(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) {
    return record(Kind::BlitRaw, source, nullptr, x, y, sourceRect);
}

void RecordingVideoService::clearScreen() {
    ++m_clearScreenCount;
}

SurfaceHandle RecordingVideoService::createSurface(int width, int height) {
    SDL_Surface* surface = makeBlankSurface(width, height);
    if (surface != nullptr) m_live.push_back(surface);
    return own(surface);
}

SurfaceHandle RecordingVideoService::loadBitmap(const char* fileName) {
    const std::string name = fileName != nullptr ? fileName : "";
    m_loadedNames.push_back(name);
    SDL_Surface* surface = nullptr;
    const auto size = m_sizes.find(name);
    if (size != m_sizes.end()) {
        surface = makeBlankSurface(size->second.first, size->second.second);
    } else {
        surface = SDL_LoadBMP(name.c_str());
        if (surface != nullptr) {
            SDL_SetColorKey(surface, SDL_SRCCOLORKEY,
                            SDL_MapRGB(surface->format, kColourKeyRed, kColourKeyGreen, kColourKeyBlue));
        }
    }
    if (surface != nullptr) m_live.push_back(surface);
    m_byName[name] = surface;
    return own(surface);
}

void RecordingVideoService::finishSurface(SDL_Surface* surface) {
    m_finished.push_back(surface);
}

void RecordingVideoService::freeSurface(SDL_Surface* surface) {
    if (surface == nullptr) return;  // freeing null does nothing
    const auto it = std::find(m_live.begin(), m_live.end(), surface);
    if (it == m_live.end()) {
        std::fprintf(stderr, "RecordingVideoService: freeSurface of a surface it does not own\n");
        return;
    }
    m_live.erase(it);
    SDL_FreeSurface(surface);
}

void RecordingVideoService::setBitmapSize(const std::string& name, int width, int height) {
    m_sizes[name] = {width, height};
}

SDL_Surface* RecordingVideoService::surfaceFor(const std::string& name) const {
    const auto it = m_byName.find(name);
    return it != m_byName.end() ? it->second : nullptr;
}
