#pragma once

#include "platform/audio_service.h"
#include "platform/sound_event.h"

#include <map>
#include <string>
#include <vector>

// An AudioService for tests: records every effect played, every tune asked
// for and every effect loaded, instead of making a sound. It registers itself
// as the process-wide audio service while it lives. Loading an effect or
// playing a tune fails for the names given to failOn.
class RecordingAudioService : public AudioService {
public:
    struct Load {
        SoundEvent event;
        std::string file;
        int volume;
    };

    RecordingAudioService();
    ~RecordingAudioService() override;
    RecordingAudioService(const RecordingAudioService&) = delete;
    RecordingAudioService& operator=(const RecordingAudioService&) = delete;

    bool loadEffect(SoundEvent event, const std::string& fileName, int volume, std::string& problem) override;
    void playEffect(SoundEvent event) override;
    bool playMusic(const std::string& fileName, std::string& problem) override;
    void setMuted(bool muted) override { m_muted = muted; }
    bool isMuted() const override { return m_muted; }

    // Loading or playing this file fails with `problem`.
    void failOn(const std::string& fileName, const std::string& problem) { m_failures[fileName] = problem; }

    // Every playEffect call, muted or not, in order.
    const std::vector<SoundEvent>& played() const { return m_played; }
    // The played events' names separated by spaces ("jump land").
    std::string playedNames() const;
    void clearPlayed() { m_played.clear(); }
    // Every playMusic call's file name, in order ("" = stop).
    const std::vector<std::string>& musicRequests() const { return m_music; }
    const std::vector<Load>& loads() const { return m_loads; }

private:
    std::vector<SoundEvent> m_played;
    std::vector<std::string> m_music;
    std::vector<Load> m_loads;
    std::map<std::string, std::string> m_failures;
    bool m_muted = false;
};
