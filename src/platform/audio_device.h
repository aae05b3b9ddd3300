#pragma once

#include "platform/audio_service.h"

#include <memory>
#include <string>

// How loud the game plays, from the command line.
struct AudioSettings {
    static constexpr int kMaxVolume = 100;  // percent

    int volume = kMaxVolume;  // percent of full loudness for everything, 0 to 100
    bool muted = false;       // start with all sound off (M turns it on)
};

// Opens the audio device and returns the service that plays through it, or
// null with a one-line reason when there is none (no sound card, no audio
// driver, or an engine built without SDL_mixer). Without a device the game
// runs exactly the same, silently.
std::unique_ptr<AudioService> openAudioDevice(const AudioSettings& settings, std::string& reason);
