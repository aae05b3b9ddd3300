#pragma once

#include "platform/video_service.h"

#include <SDL.h>

#include <cstddef>
#include <unordered_set>

// The video service of the fuzzing harnesses. It draws nothing and keeps no
// record of draws (so nothing grows across iterations), hands out a small
// blank surface for every bitmap name ending in ".bmp" and null for any
// other name (as a missing file would give), and checks ownership: drawing
// with a surface it did not hand out, or that was freed, freeing one twice,
// a surface still alive at the end of an iteration, or a created surface so
// large that the real service would make a huge allocation, aborts with a
// message, so libFuzzer reports it as a crash.
class FuzzVideoService : public VideoService {
public:
    // Larger surfaces are not a game bitmap but a size computed from bad data.
    static constexpr long long kMaxSurfacePixels = 4096LL * 4096LL;

    FuzzVideoService();
    ~FuzzVideoService() override;
    FuzzVideoService(const FuzzVideoService&) = delete;
    FuzzVideoService& operator=(const FuzzVideoService&) = delete;

    int blit(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) override;
    int blitTo(SDL_Surface* source, SDL_Surface* target, int x, int y, SDL_Rect* sourceRect) override;
    int blitRaw(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) override;
    void clearScreen() override;
    SurfaceHandle createSurface(int width, int height) override;
    SurfaceHandle loadBitmap(const char* fileName) override;
    void finishSurface(SDL_Surface* surface) override;

    // Aborts when an owner forgot to give a surface back; call when every
    // engine object of the iteration is destroyed.
    void expectAllFreed() const;
    size_t drawCount() const { return m_drawCount; }

protected:
    void freeSurface(SDL_Surface* surface) override;

private:
    // Aborts unless a null surface or one handed out and still alive.
    void checkUsable(const SDL_Surface* surface, const char* operation) const;

    std::unordered_set<SDL_Surface*> m_live;  // a sprite may hold thousands of sheets
    size_t m_drawCount = 0;
};
