#pragma once

#include "platform/surface_handle.h"

#include <SDL.h>

// The drawing interface through which every visual part of the engine loads,
// creates, draws and frees bitmaps. Surfaces come out of createSurface and
// loadBitmap as SurfaceHandles owned by the caller; the handle gives them back
// through freeSurface, which nothing else may call.
//
// Every operation is safe with a null surface: blitting a null source or onto
// a null target draws nothing, freeing null does nothing.
class VideoService {
public:
    virtual ~VideoService();

    // Blits sourceRect of source (whole surface when null) onto the screen at (x, y).
    virtual int blit(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) = 0;
    // The same onto target instead of the screen.
    virtual int blitTo(SDL_Surface* source, SDL_Surface* target, int x, int y, SDL_Rect* sourceRect) = 0;
    // Like blit; used for numbers. Identical on screen.
    virtual int blitRaw(SDL_Surface* source, int x, int y, SDL_Rect* sourceRect) = 0;
    // Fills the whole screen with black.
    virtual void clearScreen() = 0;
    // A new surface in the screen's format, filled with the colour key (fully transparent).
    virtual SurfaceHandle createSurface(int width, int height) = 0;
    // Loads a BMP with the colour key (255, 128, 255) set: exactly the pixels
    // of that colour are transparent. Null (and one line on stderr naming the
    // file) when the file is missing or not a BMP. The service may convert
    // the image to the screen's format here, once, so drawing never does.
    virtual SurfaceHandle loadBitmap(const char* fileName) = 0;
    // Whether the debug overlay is to be drawn; the player can hide it. True
    // unless a service says otherwise.
    virtual bool isDebugOverlayShown() const;
    // Tells the service that nothing more will be drawn into a surface from
    // createSurface, so it may encode it for fast drawing. Drawing into it
    // later still works, at the cost of encoding it again.
    virtual void finishSurface(SDL_Surface* surface) = 0;

protected:
    friend struct SurfaceReturn;
    // Frees a surface this service made; reached only through its handle.
    virtual void freeSurface(SDL_Surface* surface) = 0;
    // Wraps a surface this service has just made into its owning handle.
    SurfaceHandle own(SDL_Surface* surface) { return SurfaceHandle(surface, SurfaceReturn{this}); }
};

// The process-wide video service. Not owned; empty until registered.
void setVideoService(VideoService* service);
VideoService* getVideoService();

// The colour that marks transparent pixels in every image.
constexpr Uint8 kColourKeyRed = 255;
constexpr Uint8 kColourKeyGreen = 128;
constexpr Uint8 kColourKeyBlue = 255;
