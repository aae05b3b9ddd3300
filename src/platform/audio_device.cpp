#include "platform/audio_device.h"

#if VOLTARO_AUDIO
#include "platform/sdl_mixer_audio_service.h"

#include <stdexcept>
#endif

std::unique_ptr<AudioService> openAudioDevice(const AudioSettings& settings, std::string& reason) {
#if VOLTARO_AUDIO
    try {
        return std::make_unique<SdlMixerAudioService>(settings);
    } catch (const std::runtime_error& failure) {
        reason = failure.what();
        return nullptr;
    }
#else
    static_cast<void>(settings);
    reason = "this build of voltaro plays no sound (built without SDL_mixer)";
    return nullptr;
#endif
}
