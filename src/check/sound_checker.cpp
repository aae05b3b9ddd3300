#include "check/sound_checker.h"

#include "check/sound_file_format.h"
#include "resources/sound_settings.h"

#include <sys/stat.h>

#include <fstream>

namespace {

const char* const kMusicKey = "music";

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

SoundChecker::SoundChecker(std::string directory, ContentReport& report)
    : m_directory(std::move(directory)), m_report(report) {}

bool SoundChecker::readHead(const std::string& name, std::string& head, std::string& reason) const {
    const std::string path = !name.empty() && name[0] == '/' ? name : m_directory + "/" + name;
    struct stat status {};
    if (name.empty() || stat(path.c_str(), &status) != 0) {
        reason = "cannot be read";
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        reason = "is not a regular file";  // a FIFO would stall the game, a directory holds no sound
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        reason = "cannot be read";
        return false;
    }
    head.assign(kSoundFormatProbeBytes, '\0');
    file.read(&head[0], static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(file.gcount()));
    return true;
}

void SoundChecker::checkSoundSettings() {
    const std::string fileName = SoundSettings::kFileName;
    std::string head;
    std::string reason;
    struct stat status {};
    if (stat((m_directory + "/" + fileName).c_str(), &status) != 0) return;  // no sound data: a silent game
    if (!readHead(fileName, head, reason)) {
        m_report.addError(fileName, -1, "", reason + "; the game plays no sound effects");
        return;
    }

    const IniDictionary file(m_directory + "/" + fileName);
    const SoundSettings settings(file);
    for (const SoundSettings::Problem& problem : settings.problems()) {
        const std::string where = problem.key.empty() ? problem.section : problem.section + "/" + problem.key;
        m_report.addWarning(fileName, problem.line, where, problem.message);
    }
    for (int i = 0; i < kSoundEventCount; ++i) {
        const SoundEvent event = soundEventAt(i);
        const SoundSettings::Effect& effect = settings.effect(event);
        if (effect.file.empty()) continue;  // reported above, or no section
        const std::string where = std::string(soundEventName(event)) + "/file";
        if (!readHead(effect.file, head, reason)) {
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
    if (!readHead(music, head, reason)) {
        m_report.addError(fileName, line, where, "the music " + quoted(music) + " " + reason + "; no music plays");
        return;
    }
    if (!isMusicFormat(detectSoundFileFormat(head))) {
        m_report.addError(fileName, line, where,
                          quoted(music) + " is not OGG, WAV or a tracker module (MOD, XM, S3M, IT); no music plays");
    }
}
