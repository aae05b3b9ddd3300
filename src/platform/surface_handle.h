#pragma once

#include <SDL.h>

#include <memory>

class VideoService;

// Gives a surface back to the video service that made it. Held inside a
// SurfaceHandle; nothing else calls VideoService::freeSurface.
struct SurfaceReturn {
    VideoService* service = nullptr;  // the service that created the surface; not owned
    void operator()(SDL_Surface* surface) const;
};

// The one way to own a surface: created by the video service, given back to
// it when the owner (or a half-built owner's member) is destroyed. Empty for
// a missing image; every draw through the service is safe with an empty handle.
using SurfaceHandle = std::unique_ptr<SDL_Surface, SurfaceReturn>;
