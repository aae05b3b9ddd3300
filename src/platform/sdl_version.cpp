#include "platform/sdl_version.h"

#include <SDL.h>

namespace {
std::string versionText(const SDL_version& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." + std::to_string(version.patch);
}
}  // namespace

std::string sdlVersionText() {
    SDL_version built;
    SDL_VERSION(&built);
    const SDL_version* linked = SDL_Linked_Version();
    const std::string inUse = linked != nullptr ? versionText(*linked) : versionText(built);
    const std::string text = "SDL " + inUse;
    return inUse == versionText(built) ? text : text + " (built against " + versionText(built) + ")";
}
