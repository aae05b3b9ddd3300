#pragma once

#include <string>

// The SDL in use, for --version: "SDL 1.2.15", with the version voltaro was
// built against added when the two differ.
std::string sdlVersionText();
