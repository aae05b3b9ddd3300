#pragma once

#include "platform/audio_device.h"
#include "platform/audio_service.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <array>
#include <string>

// The audio service over SDL_mixer 1.2: WAV and OGG effects, and music from
// OGG, WAV and tracker modules (MOD, XM, S3M, IT). Each sound event has a
// mixer channel of its own, so an event raised again restarts its effect
// instead of piling up, and effects of different events overlap. One tune
// loops at a time. Files are read whole through DataFile before SDL_mixer
// sees them: only regular files of a bounded size, so a FIFO or a device
// named as a sound cannot stall the game.
class SdlMixerAudioService : public AudioService {
public:
    static constexpr int kRate = 22050;          // samples per second, the rate of the game's effects
    static constexpr int kBufferFrames = 1024;   // sample frames per mix, about 46 ms
    static constexpr int kMaxVolume = AudioSettings::kMaxVolume;  // percent

    // Starts SDL's audio subsystem (SDL_InitSubSystem, so SDL's video start
    // is untouched) and opens the mixer. Throws std::runtime_error with a
    // one-line reason when there is no audio device; the subsystem is shut
    // down again before the throw.
    explicit SdlMixerAudioService(const AudioSettings& settings);
    ~SdlMixerAudioService() override;
    SdlMixerAudioService(const SdlMixerAudioService&) = delete;
    SdlMixerAudioService& operator=(const SdlMixerAudioService&) = delete;

    bool loadEffect(SoundEvent event, const std::string& fileName, int volume, std::string& problem) override;
    void playEffect(SoundEvent event) override;
    bool playMusic(const std::string& fileName, std::string& problem) override;
    void setMuted(bool muted) override;
    bool isMuted() const override { return m_muted; }

    // The SDL audio driver in use ("alsa", "pulse", "disk", ...).
    const std::string& driverName() const { return m_driverName; }

private:
    void stopMusic();
    void startMusic();
    // Mixer volume 0..MIX_MAX_VOLUME of a percentage of the master volume.
    int mixerVolume(int percent) const;

    std::array<Mix_Chunk*, kSoundEventCount> m_effects{};  // owned; null = silent
    Mix_Music* m_pMusic = nullptr;                         // owned
    std::string m_musicFile;                               // the file m_pMusic came from
    std::string m_musicBytes;  // the file's bytes, which SDL_mixer streams from while the tune plays
    bool m_musicStarted = false;  // false while a tune loaded during a mute waits for the unmute
    int m_volume;                 // percent
    bool m_muted;
    std::string m_driverName;
};
