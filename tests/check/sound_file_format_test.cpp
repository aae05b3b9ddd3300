#include "check/sound_file_format.h"

#include <gtest/gtest.h>

#include <string>

// Telling sound files apart by their first bytes, as SDL_mixer does.

namespace {

// `size` zero bytes with `magic` written at `offset`.
std::string bytesWith(size_t size, size_t offset, const std::string& magic) {
    std::string head(size, '\0');
    head.replace(offset, magic.size(), magic);
    return head;
}

}  // namespace

TEST(SoundFileFormat, EachFormatIsKnownByItsSignature) {
    std::string wav = bytesWith(44, 0, "RIFF");
    wav.replace(8, 4, "WAVE");
    EXPECT_EQ(detectSoundFileFormat(wav), SoundFileFormat::Wav);
    EXPECT_EQ(detectSoundFileFormat(bytesWith(64, 0, "OggS")), SoundFileFormat::Ogg);
    EXPECT_EQ(detectSoundFileFormat(bytesWith(80, 0, "Extended Module: tune")), SoundFileFormat::Xm);
    EXPECT_EQ(detectSoundFileFormat(bytesWith(96, 44, "SCRM")), SoundFileFormat::S3m);
    EXPECT_EQ(detectSoundFileFormat(bytesWith(64, 0, "IMPM")), SoundFileFormat::It);
    for (const char* signature : {"M.K.", "M!K!", "FLT8", "6CHN", "12CH", "32CN", "OCTA"}) {
        EXPECT_EQ(detectSoundFileFormat(bytesWith(1084, 1080, signature)), SoundFileFormat::Mod) << signature;
    }
}

TEST(SoundFileFormat, LookAlikesAndTruncatedHeadersAreUnknown) {
    std::string avi = bytesWith(44, 0, "RIFF");
    avi.replace(8, 4, "AVI ");
    EXPECT_EQ(detectSoundFileFormat(avi), SoundFileFormat::Unknown) << "RIFF alone is not a WAV";
    EXPECT_EQ(detectSoundFileFormat("RIFF"), SoundFileFormat::Unknown);
    EXPECT_EQ(detectSoundFileFormat(bytesWith(64, 0, "ID3")), SoundFileFormat::Unknown) << "MP3";
    EXPECT_EQ(detectSoundFileFormat(bytesWith(64, 0, "MThd")), SoundFileFormat::Unknown) << "MIDI";
    EXPECT_EQ(detectSoundFileFormat(bytesWith(1082, 1080, "M.")), SoundFileFormat::Unknown)
        << "cut inside the signature";
    EXPECT_EQ(detectSoundFileFormat(bytesWith(1084, 1080, "XXCH")), SoundFileFormat::Unknown);
    EXPECT_EQ(detectSoundFileFormat(bytesWith(44, 40, "SCRM")), SoundFileFormat::Unknown) << "SCRM off its place";
    EXPECT_EQ(detectSoundFileFormat(""), SoundFileFormat::Unknown);
}

TEST(SoundFileFormat, EffectsAreWavOrOggAndMusicIsAnyKnownFormat) {
    EXPECT_TRUE(isEffectFormat(SoundFileFormat::Wav));
    EXPECT_TRUE(isEffectFormat(SoundFileFormat::Ogg));
    EXPECT_FALSE(isEffectFormat(SoundFileFormat::Xm));
    EXPECT_FALSE(isEffectFormat(SoundFileFormat::Unknown));
    for (SoundFileFormat format : {SoundFileFormat::Wav, SoundFileFormat::Ogg, SoundFileFormat::Mod,
                                   SoundFileFormat::Xm, SoundFileFormat::S3m, SoundFileFormat::It}) {
        EXPECT_TRUE(isMusicFormat(format)) << soundFileFormatName(format);
    }
    EXPECT_FALSE(isMusicFormat(SoundFileFormat::Unknown));
}
