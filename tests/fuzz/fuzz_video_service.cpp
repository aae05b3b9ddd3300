#include "fuzz/fuzz_video_service.h"

#include "support/blank_surface.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kBitmapSize = 16;  // pixels, width and height of every loaded bitmap

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "FuzzVideoService: %s\n", what);
    std::abort();
}

bool endsWith(const char* text, const char* suffix) {
    const size_t length = std::strlen(text);
    const size_t suffixLength = std::strlen(suffix);
    return length >= suffixLength && std::strcmp(text + length - suffixLength, suffix) == 0;
}

}  // namespace

FuzzVideoService::FuzzVideoService() {
    setVideoService(this);
}

FuzzVideoService::~FuzzVideoService() {
    for (SDL_Surface* surface : m_live) SDL_FreeSurface(surface);
    setVideoService(nullptr);
}

void FuzzVideoService::checkUsable(const SDL_Surface* surface, const char* operation) const {
    if (surface == nullptr) return;  // documented: drawing with null draws nothing
    if (m_live.count(const_cast<SDL_Surface*>(surface)) == 0) {
        std::fprintf(stderr, "FuzzVideoService: %s with a surface that is not alive\n", operation);
        std::abort();
    }
}

int FuzzVideoService::blit(SDL_Surface* source, int, int, SDL_Rect*) {
    checkUsable(source, "blit");
    ++m_drawCount;
    return source != nullptr ? 0 : -1;
}

int FuzzVideoService::blitTo(SDL_Surface* source, SDL_Surface* target, int, int, SDL_Rect*) {
    checkUsable(source, "blitTo source");
    checkUsable(target, "blitTo target");
    ++m_drawCount;
    return source != nullptr && target != nullptr ? 0 : -1;
}

int FuzzVideoService::blitRaw(SDL_Surface* source, int, int, SDL_Rect*) {
    checkUsable(source, "blitRaw");
    ++m_drawCount;
    return source != nullptr ? 0 : -1;
}

void FuzzVideoService::clearScreen() {}

SurfaceHandle FuzzVideoService::createSurface(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;  // the real service refuses these too
    if (static_cast<long long>(width) * height > kMaxSurfacePixels) {
        std::fprintf(stderr, "FuzzVideoService: createSurface(%d, %d) is a huge allocation\n", width, height);
        std::abort();
    }
    // Nothing is ever drawn into it, so a stand-in of the minimum size will do.
    SDL_Surface* surface = makeBlankSurface(1, 1);
    if (surface != nullptr) m_live.insert(surface);
    return own(surface);
}

SurfaceHandle FuzzVideoService::loadBitmap(const char* fileName) {
    if (fileName == nullptr || !endsWith(fileName, ".bmp")) return nullptr;  // like a missing file
    SDL_Surface* surface = makeBlankSurface(kBitmapSize, kBitmapSize);
    if (surface == nullptr) fail("SDL_CreateRGBSurface failed");
    m_live.insert(surface);
    return own(surface);
}

void FuzzVideoService::finishSurface(SDL_Surface* surface) {
    checkUsable(surface, "finishSurface");
}

void FuzzVideoService::freeSurface(SDL_Surface* surface) {
    if (surface == nullptr) return;  // documented: freeing null does nothing
    if (m_live.erase(surface) == 0) fail("freeSurface of a surface that is not alive (double free?)");
    SDL_FreeSurface(surface);
}

void FuzzVideoService::expectAllFreed() const {
    if (!m_live.empty()) {
        std::fprintf(stderr, "FuzzVideoService: %zu surface(s) never freed\n", m_live.size());
        std::abort();
    }
}
