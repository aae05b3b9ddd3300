#pragma once

#include <SDL.h>

#include <unordered_map>
#include <vector>

// Keeps tall images as bands too, so that drawing a region near their bottom
// costs no more than drawing one near their top. SDL's run-length encoded
// blit of a region walks every row above the region before it draws: a hero
// cell 352 rows down a sprite sheet cost 3 microseconds against 0.27 for the
// top cell, a glyph at the bottom of the font sheet 1.4 against 0.09. Each
// band of a tall image is encoded on its own; a blit from the image is
// clipped exactly as SDL_UpperBlit clips it and then drawn band by band, so
// the pixels are the same and no blit walks more than one band.
class BandedSurfaces {
public:
    static constexpr int kBandRows = 16;  // rows per band
    static constexpr int kMinimumRows = 2 * kBandRows;  // shorter images are drawn whole

    BandedSurfaces() = default;
    ~BandedSurfaces() { clear(); }
    BandedSurfaces(const BandedSurfaces&) = delete;
    BandedSurfaces& operator=(const BandedSurfaces&) = delete;

    // Cuts a keyed image of at least kMinimumRows rows into bands with the
    // same format and key, run-length encoded; `prepare` is called on each
    // band (to set its blit up for the screen). Shorter images, and images
    // whose bands cannot be made (out of memory), are drawn whole.
    template <typename Prepare>
    void add(SDL_Surface* image, Prepare prepare) {
        std::vector<SDL_Surface*> bands = cut(image);
        for (SDL_Surface* band : bands) prepare(band);
        if (!bands.empty()) m_bands[image] = std::move(bands);
    }
    // Frees the bands of an image about to be freed.
    void remove(const SDL_Surface* image);
    // Frees every band.
    void clear();
    bool hasBands(const SDL_Surface* image) const { return m_bands.count(image) != 0; }

    // SDL_UpperBlit, drawn from the source's bands when it has them.
    int blit(SDL_Surface* source, SDL_Rect* sourceRect, SDL_Surface* target, SDL_Rect* destination) const;

private:
    static std::vector<SDL_Surface*> cut(SDL_Surface* image);

    std::unordered_map<const SDL_Surface*, std::vector<SDL_Surface*>> m_bands;
};
