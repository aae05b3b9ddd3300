#pragma once

#include "platform/video_service.h"

#include <SDL.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

// A VideoService for tests: records every draw (which surface, which source
// rectangle, which position) instead of showing anything, and counts the
// surfaces it hands out so tests can check that owners free them. It
// registers itself as the process-wide video service while it lives.
//
// loadBitmap returns a blank 32-bit surface of a registered size
// (setBitmapSize), else loads the real file from disk, else returns null.
class RecordingVideoService : public VideoService {
public:
    enum class Kind { Blit, BlitTo, BlitRaw };

    struct DrawCall {
        Kind kind;
        SDL_Surface* source;
        SDL_Surface* target;  // null for Blit and BlitRaw (the screen)
        int x;
        int y;
        bool hasSourceRect;
        SDL_Rect sourceRect;  // valid when hasSourceRect
    };

    RecordingVideoService();
    ~RecordingVideoService() override;

    int blit(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) override;
    int blitTo(SDL_Surface* source, SDL_Surface* target, int x, int y, SDL_Rect* sourceRect) override;
    int blitRaw(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) override;
    void clearScreen() override;
    SurfaceHandle createSurface(int width, int height) override;
    SurfaceHandle loadBitmap(const char* fileName) override;
    bool isDebugOverlayShown() const override { return m_overlayShown; }
    void finishSurface(SDL_Surface* surface) override;

    // Makes loadBitmap(name) return a blank surface of this size.
    void setBitmapSize(const std::string& name, int width, int height);
    // The surface most recently returned for a file name (null if none).
    SDL_Surface* surfaceFor(const std::string& name) const;

    // What isDebugOverlayShown answers (default: shown).
    void setDebugOverlayShown(bool shown) { m_overlayShown = shown; }

    const std::vector<DrawCall>& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    int clearScreenCount() const { return m_clearScreenCount; }
    // The surfaces passed to finishSurface, in order.
    const std::vector<SDL_Surface*>& finishedSurfaces() const { return m_finished; }
    const std::vector<std::string>& loadedNames() const { return m_loadedNames; }
    // Surfaces handed out and not yet freed.
    int liveSurfaces() const { return static_cast<int>(m_live.size()); }

protected:
    void freeSurface(SDL_Surface* surface) override;

private:
    int record(Kind kind, SDL_Surface* source, SDL_Surface* target, int x, int y, SDL_Rect* sourceRect);

    VideoService* m_previous;
    std::vector<DrawCall> m_calls;
    int m_clearScreenCount = 0;
    std::vector<SDL_Surface*> m_finished;
    std::vector<std::string> m_loadedNames;
    std::map<std::string, std::pair<int, int>> m_sizes;
    std::map<std::string, SDL_Surface*> m_byName;
    std::vector<SDL_Surface*> m_live;
    bool m_overlayShown = true;
};
