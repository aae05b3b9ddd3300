#include "support/recording_audio_service.h"

RecordingAudioService::RecordingAudioService() {
    setAudioService(this);
}

RecordingAudioService::~RecordingAudioService() {
    setAudioService(nullptr);
}

bool RecordingAudioService::loadEffect(SoundEvent event, const std::string& fileName, int volume,
                                       std::string& problem) {
    m_loads.push_back({event, fileName, volume});
    const auto failure = m_failures.find(fileName);
    if (failure == m_failures.end()) return true;
    problem = failure->second;
    return false;
}

void RecordingAudioService::playEffect(SoundEvent event) {
    m_played.push_back(event);
}

bool RecordingAudioService::playMusic(const std::string& fileName, std::string& problem) {
    m_music.push_back(fileName);
    const auto failure = m_failures.find(fileName);
    if (failure == m_failures.end()) return true;
    problem = failure->second;
    return false;
}

std::string RecordingAudioService::playedNames() const {
    std::string names;
    for (const SoundEvent event : m_played) names += (names.empty() ? "" : " ") + std::string(soundEventName(event));
    return names;
}
