#pragma once

#include "platform/sound_event.h"

#include <cstddef>
#include <string>

// What the game asks of the sound: effects for the sound events and one
// looping tune at a time. The game logic never talks to the mixer itself; it
// raises events (raiseSoundEvent) and names music files, and the process-wide
// audio service plays them: SDL_mixer in a normal run, nothing at all without
// an audio device, a recording fake in tests. Nothing the service does or
// fails to do reaches back into the simulation.
class AudioService {
public:
    // The largest sound files read: a 10 second effect of CD quality is under
    // 2 MiB, a few minutes of OGG music some MiB, a tracker module far less.
    static constexpr size_t kMaxEffectBytes = 16 * 1024 * 1024;
    static constexpr size_t kMaxMusicBytes = 64 * 1024 * 1024;

    virtual ~AudioService();

    // Loads the effect played for `event` from a sound file, at `volume`
    // percent (0 to 100), replacing the event's earlier effect. False, with
    // the reason in `problem`, when the file cannot be loaded: the event then
    // plays silence.
    virtual bool loadEffect(SoundEvent event, const std::string& fileName, int volume, std::string& problem) = 0;
    // Starts the event's effect; nothing when it has none or sound is off.
    virtual void playEffect(SoundEvent event) = 0;
    // Loops the music in `fileName`, replacing the tune that plays; an empty
    // name stops the music. A tune already playing from that very file goes
    // on undisturbed. False, with the reason in `problem`, when the file
    // cannot be played: no music plays then.
    virtual bool playMusic(const std::string& fileName, std::string& problem) = 0;
    // Turns all sound off (true) or back on. Effects raised while muted are
    // lost; the music pauses and goes on from there.
    virtual void setMuted(bool muted) = 0;
    virtual bool isMuted() const = 0;
};

// The process-wide audio service. Not owned. Until one is registered (and
// after null is registered) a silent stand-in answers, so every caller may
// use it at any time.
void setAudioService(AudioService* service);
AudioService& getAudioService();

// Plays the music a data file names (an empty name: none) and reports, on
// stderr, a file that cannot be played as "FILE: [SECTION] KEY: ...".
void playMusicNamedBy(const std::string& dataFile, const std::string& section, const std::string& key,
                      const std::string& musicFile);
