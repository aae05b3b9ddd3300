#include "check/sound_checker.h"

#include "check/sound_file_format.h"
#include "platform/audio_service.h"
#include "platform/data_file.h"
#include "resources/sound_settings.h"


namespace {

const char* const kMusicKey = "music";

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

SoundChecker::SoundChecker(std::string directory, ContentReport& report)
    : m_directory(std::move(directory)), m_report(report) {}

bool SoundChecker::readHead(const std::string& name, size_t maxBytes, const char* kind, std::string& head,
                            std::string& reason) const {
    const std::string path = !name.empty() && name[0] == '/' ? name : m_directory + "/" + name;
    // As the engine reads it: a regular file within the limit of its kind.
    const DataFile file = DataFile::read(path, maxBytes, kind);
    if (!file.ok()) {
        reason = file.problem();
        return false;
    }
    head = file.bytes().substr(0, kSoundFormatProbeBytes);
    return true;
}

void SoundChecker::checkSoundSettings() {
    const std::string fileName = SoundSettings::kFileName;
    const SoundSettings settings = SoundSettings::read(m_directory + "/" + fileName);
    for (const SoundSettings::Problem& problem : settings.problems()) {
        if (problem.line == 0) {
            m_report.addError(fileName, -1, "", problem.message);  // the whole file cannot be read
            return;
        }
        const std::string where = problem.key.empty() ? problem.section : problem.section + "/" + problem.key;
        m_report.addWarning(fileName, problem.line, where, problem.message);
    }
    std::string head;
    std::string reason;
    for (int i = 0; i < kSoundEventCount; ++i) {
        const SoundEvent event = soundEventAt(i);
        const SoundSettings::Effect& effect = settings.effect(event);
        if (effect.file.empty()) continue;  // reported above, or no section
        const std::string where = std::string(soundEventName(event)) + "/file";
        if (!readHead(effect.file, AudioService::kMaxEffectBytes, "a sound effect", head, reason)) {
            m_report.addError(fileName, effect.line, where,
                              "the sound file " + quoted(effect.file) + " " + reason + "; the event plays nothing");
            continue;
        }
        const SoundFileFormat format = detectSoundFileFormat(head);
        if (!isEffectFormat(format)) {
            const std::string what = format == SoundFileFormat::Unknown
                                         ? "is not a WAV or OGG file"
                                         : std::string("is a tracker module (") + soundFileFormatName(format) +
                                               "), which plays only as music, not as an effect";
            m_report.addError(fileName, effect.line, where,
                              quoted(effect.file) + " " + what + "; the event plays nothing");
        }
    }
}

void SoundChecker::checkMusic(const IniDictionary& file, const std::string& fileName, const std::string& section) {
    const int32_t line = file.lineOf(kMusicKey, section);
    if (line == 0) return;  // no music, by choice
    const std::string music = file.getString(kMusicKey, section, "");
    const std::string where = section + "/" + kMusicKey;
    if (music.empty()) return;  // an empty name also means no music
    std::string head;
    std::string reason;
    if (!readHead(music, AudioService::kMaxMusicBytes, "music", head, reason)) {
        m_report.addError(fileName, line, where, "the music " + quoted(music) + " " + reason + "; no music plays");
        return;
    }
    if (!isMusicFormat(detectSoundFileFormat(head))) {
        m_report.addError(fileName, line, where,
                          quoted(music) + " is not OGG, WAV or a tracker module (MOD, XM, S3M, IT); no music plays");
    }
}
