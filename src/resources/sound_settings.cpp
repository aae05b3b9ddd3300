#include "resources/sound_settings.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

const char* const kFileKey = "file";
const char* const kVolumeKey = "volume";
constexpr int32_t kMaxVolume = 100;  // percent

// A whole number in 0..100, digits only.
bool isPercent(const std::string& text) {
    if (text.empty() || text.size() > 3) return false;  // empty, or more than 100
    for (char c : text) {
        if (c < '0' || c > '9') return false;  // not a plain number
    }
    return IniDictionary::toInt(text) <= kMaxVolume;
}

}  // namespace

const char* const SoundSettings::kFileName = "sound.ini";

const IniSchema& SoundSettings::fileKeys() {
    static const IniSchema keys = [] {
        std::vector<IniKey> declared;
        for (int i = 0; i < kSoundEventCount; ++i) {
            const std::string event = soundEventName(soundEventAt(i));
            declared.push_back(
                {event, kFileKey, "file name", "", "the effect played for the event (WAV or OGG); none when absent"});
            declared.push_back({event, kVolumeKey, "percent", "100", "the effect's loudness, 0 to 100"});
        }
        return IniSchema(declared);
    }();
    return keys;
}

SoundSettings::SoundSettings(const IniDictionary& file) {
    for (int i = 0; i < kSoundEventCount; ++i) readSection(file, soundEventAt(i));

    // Whatever is stored outside the event sections and their two keys.
    std::set<std::string> reported;
    for (const IniDictionary::KeyLocation& stored : file.keys()) {
        SoundEvent event;
        if (!soundEventFromName(stored.section, event)) {
            if (!reported.insert(stored.section).second) continue;  // one line per section
            if (stored.section.empty()) {
                addProblem(stored.line, "", stored.key, "a key before the first [event] section; it is not read");
                continue;
            }
            std::string message = "is not a sound event";
            const std::string suggestion = closestEventName(stored.section);
            if (!suggestion.empty()) message += " (did you mean " + suggestion + "?)";
            addProblem(file.sectionLine(stored.section), stored.section, "", message + "; the section plays nothing");
        } else if (!fileKeys().knows(stored.section, stored.key)) {
            // Worded as for every other file's keys nobody reads.
            const std::string suggestion = fileKeys().closest(stored.section, stored.key);
            addProblem(stored.line, stored.section, stored.key,
                       "the engine never reads this key" +
                           (suggestion.empty() ? std::string() : " (did you mean " + suggestion + "?)") +
                           "; it has no effect");
        }
    }
    std::sort(m_problems.begin(), m_problems.end(),
              [](const Problem& a, const Problem& b) { return a.line < b.line; });
}

SoundSettings SoundSettings::read(const std::string& fileName) {
    const IniDictionary file(fileName);
    SoundSettings settings(file);
    struct stat status {};
    if (!file.isLoaded() && stat(fileName.c_str(), &status) == 0) {
        settings.addProblem(0, "", "", file.loadProblem() + "; the game plays no sound effects");
    }
    return settings;
}

void SoundSettings::readSection(const IniDictionary& file, SoundEvent event) {
    const std::string section = soundEventName(event);
    const int32_t sectionLine = file.sectionLine(section);
    if (sectionLine == 0) return;  // the event plays nothing
    Effect& effect = m_effects[static_cast<size_t>(indexOf(event))];
    effect.file = file.getString(kFileKey, section, "");
    effect.line = effect.file.empty() ? sectionLine : file.lineOf(kFileKey, section);
    if (effect.file.empty()) {
        addProblem(sectionLine, section, kFileKey, "no sound file is named; the event plays nothing");
    }

    const int32_t volumeLine = file.lineOf(kVolumeKey, section);
    if (volumeLine == 0) return;  // full volume
    const std::string volume = file.getString(kVolumeKey, section, "");
    const int32_t value = IniDictionary::toInt(volume);
    effect.volume = std::max<int32_t>(0, std::min<int32_t>(kMaxVolume, value));
    if (!isPercent(volume)) {
        addProblem(volumeLine, section, kVolumeKey,
                   "'" + volume + "' is not a whole number from 0 to 100; the effect plays at " +
                       std::to_string(effect.volume));
    }
}

void SoundSettings::addProblem(int32_t line, const std::string& section, const std::string& key,
                               const std::string& message) {
    m_problems.push_back({line, section, key, message});
}

void SoundSettings::loadInto(AudioService& audio) const {
    for (const Problem& problem : m_problems) {
        if (problem.line == 0) {
            std::fprintf(stderr, "%s: %s\n", kFileName, problem.message.c_str());
            continue;
        }
        std::fprintf(stderr, "%s:%d: [%s]%s%s: %s\n", kFileName, problem.line, problem.section.c_str(),
                     problem.key.empty() ? "" : " ", problem.key.c_str(), problem.message.c_str());
    }
    for (int i = 0; i < kSoundEventCount; ++i) {
        const SoundEvent event = soundEventAt(i);
        const Effect& wanted = effect(event);
        if (wanted.file.empty()) continue;  // silent by choice
        std::string problem;
        if (audio.loadEffect(event, wanted.file, wanted.volume, problem)) continue;
        std::fprintf(stderr, "%s:%d: [%s] %s: cannot load \"%s\": %s; the event plays nothing\n", kFileName,
                     wanted.line, soundEventName(event), kFileKey, wanted.file.c_str(), problem.c_str());
    }
}

std::string SoundSettings::closestEventName(const std::string& name) {
    std::vector<std::string> events;
    for (int i = 0; i < kSoundEventCount; ++i) events.emplace_back(soundEventName(soundEventAt(i)));
    return IniSchema::nearest(name, events);
}
