#pragma once

#include "platform/audio_service.h"

// The audio service of a run without an audio device: it accepts every
// request and plays nothing. It keeps the mute flag, so that the M key
// behaves the same with and without a device.
class SilentAudioService : public AudioService {
public:
    bool loadEffect(SoundEvent event, const std::string& fileName, int volume, std::string& problem) override;
    void playEffect(SoundEvent event) override;
    bool playMusic(const std::string& fileName, std::string& problem) override;
    void setMuted(bool muted) override { m_muted = muted; }
    bool isMuted() const override { return m_muted; }

private:
    bool m_muted = false;
};
