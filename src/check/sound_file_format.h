#pragma once

#include <cstddef>
#include <string>

// The kinds of sound file the engine plays, told apart by their content as
// SDL_mixer tells them apart, never by the file's extension: effects are WAV
// or OGG; music is OGG, WAV or a tracker module (MOD, XM, S3M, IT).
enum class SoundFileFormat { Unknown, Wav, Ogg, Mod, Xm, S3m, It };

// Bytes from the start of a file needed to tell every format apart (a MOD's
// signature lies at byte 1080).
constexpr size_t kSoundFormatProbeBytes = 1084;

// The format the first bytes of a file show; Unknown for anything else
// (MP3, MIDI, FLAC, a text file, a truncated header).
SoundFileFormat detectSoundFileFormat(const std::string& head);
// "WAV", "OGG", "MOD", "XM", "S3M", "IT", or "unknown".
const char* soundFileFormatName(SoundFileFormat format);
bool isEffectFormat(SoundFileFormat format);
bool isMusicFormat(SoundFileFormat format);
