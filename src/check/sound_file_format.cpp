#include "check/sound_file_format.h"

#include <cctype>

namespace {

bool hasAt(const std::string& head, size_t offset, const char* magic) {
    const std::string text(magic);
    return head.size() >= offset + text.size() && head.compare(offset, text.size(), text) == 0;
}

bool isDigitAt(const std::string& head, size_t offset) {
    return offset < head.size() && std::isdigit(static_cast<unsigned char>(head[offset])) != 0;
}

// The four bytes at 1080 that name a MOD's layout: the 4-channel classics,
// their relatives and the "xxCH" / "xxCN" of trackers with more channels.
bool isModSignature(const std::string& head) {
    constexpr size_t kAt = 1080;
    for (const char* signature : {"M.K.", "M!K!", "M&K!", "N.T.", "FLT4", "FLT8", "4CHN", "6CHN", "8CHN", "CD81",
                                  "OKTA", "OCTA"}) {
        if (hasAt(head, kAt, signature)) return true;
    }
    const bool twoDigits = isDigitAt(head, kAt) && isDigitAt(head, kAt + 1);
    return twoDigits && (hasAt(head, kAt + 2, "CH") || hasAt(head, kAt + 2, "CN"));
}

}  // namespace

SoundFileFormat detectSoundFileFormat(const std::string& head) {
    if (hasAt(head, 0, "RIFF") && hasAt(head, 8, "WAVE")) return SoundFileFormat::Wav;
    if (hasAt(head, 0, "OggS")) return SoundFileFormat::Ogg;
    if (hasAt(head, 0, "Extended Module: ")) return SoundFileFormat::Xm;
    if (hasAt(head, 44, "SCRM")) return SoundFileFormat::S3m;
    if (hasAt(head, 0, "IMPM")) return SoundFileFormat::It;
    if (isModSignature(head)) return SoundFileFormat::Mod;
    return SoundFileFormat::Unknown;
}

const char* soundFileFormatName(SoundFileFormat format) {
    switch (format) {
        case SoundFileFormat::Wav: return "WAV";
        case SoundFileFormat::Ogg: return "OGG";
        case SoundFileFormat::Mod: return "MOD";
        case SoundFileFormat::Xm: return "XM";
        case SoundFileFormat::S3m: return "S3M";
        case SoundFileFormat::It: return "IT";
        case SoundFileFormat::Unknown: break;
    }
    return "unknown";
}

bool isEffectFormat(SoundFileFormat format) {
    return format == SoundFileFormat::Wav || format == SoundFileFormat::Ogg;
}

bool isMusicFormat(SoundFileFormat format) {
    return format != SoundFileFormat::Unknown;
}
