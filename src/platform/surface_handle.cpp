#include "platform/surface_handle.h"

#include "platform/video_service.h"

void SurfaceReturn::operator()(SDL_Surface* surface) const {
    if (service != nullptr) service->freeSurface(surface);
}
