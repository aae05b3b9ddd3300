#include "platform/silent_audio_service.h"

bool SilentAudioService::loadEffect(SoundEvent, const std::string&, int, std::string&) {
    return true;  // nothing is loaded, so nothing can fail
}

void SilentAudioService::playEffect(SoundEvent) {}

bool SilentAudioService::playMusic(const std::string&, std::string&) {
    return true;  // nothing is played, so nothing can fail
}
