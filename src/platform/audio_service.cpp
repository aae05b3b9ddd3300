#include "platform/audio_service.h"

#include "platform/silent_audio_service.h"

#include <cstdio>

namespace {
AudioService* g_audioService = nullptr;

AudioService& silentService() {
    static SilentAudioService silent;
    return silent;
}
}  // namespace

AudioService::~AudioService() = default;

void setAudioService(AudioService* service) {
    g_audioService = service;
}

AudioService& getAudioService() {
    return g_audioService != nullptr ? *g_audioService : silentService();
}

void playMusicNamedBy(const std::string& dataFile, const std::string& section, const std::string& key,
                      const std::string& musicFile) {
    std::string problem;
    if (getAudioService().playMusic(musicFile, problem)) return;
    std::fprintf(stderr, "%s: [%s] %s: cannot play \"%s\": %s; no music plays\n", dataFile.c_str(),
                 section.c_str(), key.c_str(), musicFile.c_str(), problem.c_str());
}
