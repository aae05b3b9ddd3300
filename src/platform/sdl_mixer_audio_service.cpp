#include "platform/sdl_mixer_audio_service.h"

#include "platform/data_file.h"
#include "platform/silenced_stderr.h"

#include <stdexcept>

namespace {

SDL_RWops* readerOver(const std::string& bytes) {
    return SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
}

int clampPercent(int percent) {
    return percent < 0 ? 0 : percent > SdlMixerAudioService::kMaxVolume ? SdlMixerAudioService::kMaxVolume : percent;
}

}  // namespace

SdlMixerAudioService::SdlMixerAudioService(const AudioSettings& settings)
    : m_volume(clampPercent(settings.volume)), m_muted(settings.muted) {
    std::string failure;
    {
        // The drivers SDL tries (ALSA above all) report every device they
        // cannot open on stderr; the reason that matters comes back in
        // SDL's error text and is said once by the caller.
        SilencedStderr quiet;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
            failure = std::string("cannot start SDL audio: ") + SDL_GetError();
        } else if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kBufferFrames) < 0) {
            failure = std::string("cannot open the audio device: ") + Mix_GetError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }
    if (!failure.empty()) throw std::runtime_error(failure);
    char name[32] = {0};
    if (SDL_AudioDriverName(name, sizeof name) != nullptr) m_driverName = name;
    Mix_AllocateChannels(kSoundEventCount);
    Mix_Volume(-1, mixerVolume(kMaxVolume));
    Mix_VolumeMusic(mixerVolume(kMaxVolume));
}

SdlMixerAudioService::~SdlMixerAudioService() {
    stopMusic();
    Mix_HaltChannel(-1);
    for (Mix_Chunk*& chunk : m_effects) {
        Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int SdlMixerAudioService::mixerVolume(int percent) const {
    return clampPercent(percent) * m_volume * MIX_MAX_VOLUME / (kMaxVolume * kMaxVolume);
}

bool SdlMixerAudioService::loadEffect(SoundEvent event, const std::string& fileName, int volume,
                                      std::string& problem) {
    const int index = indexOf(event);
    if (index < 0 || index >= kSoundEventCount) {
        problem = "no such sound event";
        return false;
    }
    Mix_HaltChannel(index);
    Mix_FreeChunk(m_effects[static_cast<size_t>(index)]);
    m_effects[static_cast<size_t>(index)] = nullptr;

    const DataFile file = DataFile::read(fileName, kMaxEffectBytes, "a sound effect");
    if (!file.ok()) {
        problem = file.problem();
        return false;
    }
    // The chunk is decoded whole, so the bytes may go once it is loaded.
    Mix_Chunk* chunk = Mix_LoadWAV_RW(readerOver(file.bytes()), 1);
    if (chunk == nullptr) {
        problem = std::string("is not a sound SDL_mixer can play (") + Mix_GetError() + ")";
        return false;
    }
    // The effect's own loudness; the master volume is the channels'.
    Mix_VolumeChunk(chunk, clampPercent(volume) * MIX_MAX_VOLUME / kMaxVolume);
    m_effects[static_cast<size_t>(index)] = chunk;
    return true;
}

void SdlMixerAudioService::playEffect(SoundEvent event) {
    const int index = indexOf(event);
    if (m_muted || index < 0 || index >= kSoundEventCount) return;  // nothing to be heard
    Mix_Chunk* chunk = m_effects[static_cast<size_t>(index)];
    if (chunk != nullptr) Mix_PlayChannel(index, chunk, 0);
}

bool SdlMixerAudioService::playMusic(const std::string& fileName, std::string& problem) {
    if (m_pMusic != nullptr && fileName == m_musicFile) return true;  // the same tune goes on
    stopMusic();
    if (fileName.empty()) return true;  // no music wanted

    const DataFile file = DataFile::read(fileName, kMaxMusicBytes, "music");
    if (!file.ok()) {
        problem = file.problem();
        return false;
    }
    m_musicBytes = file.bytes();
    // SDL_mixer streams from the bytes while the tune plays and closes the
    // reader when the music is freed.
    m_pMusic = Mix_LoadMUSType_RW(readerOver(m_musicBytes), MUS_NONE, 1);
    if (m_pMusic == nullptr) {
        problem = std::string("is not music SDL_mixer can play (") + Mix_GetError() + ")";
        m_musicBytes.clear();
        return false;
    }
    m_musicFile = fileName;
    if (!m_muted) startMusic();
    return true;
}

void SdlMixerAudioService::startMusic() {
    if (Mix_PlayMusic(m_pMusic, -1) == 0) m_musicStarted = true;
}

void SdlMixerAudioService::stopMusic() {
    if (m_pMusic == nullptr) return;  // nothing plays
    Mix_HaltMusic();
    Mix_FreeMusic(m_pMusic);
    m_pMusic = nullptr;
    m_musicFile.clear();
    m_musicBytes.clear();
    m_musicStarted = false;
}

void SdlMixerAudioService::setMuted(bool muted) {
    if (muted == m_muted) return;  // no change
    m_muted = muted;
    if (muted) {
        Mix_HaltChannel(-1);
        if (m_musicStarted) Mix_PauseMusic();
        return;
    }
    if (m_pMusic == nullptr) return;  // no music to resume
    if (m_musicStarted) {
        Mix_ResumeMusic();
    } else {
        startMusic();  // loaded while muted: it starts now
    }
}
