// voltaro-sfx: renders sound-effect sources into WAV files (16-bit mono
// PCM, 22050 samples per second). The format is described in docs/sound.md.
//
//   voltaro-sfx SRC OUT.wav            render one source
//   voltaro-sfx --batch OUTDIR SRC...  render each SRC to OUTDIR/<name>.wav
//
// Every source is rendered before anything is written, so an error in any of
// them leaves every output untouched. Exit status: 0 on success, 1 for an
// error in a source or a failed write, 2 for bad arguments.

#include <string>

#include "batch_command.h"
#include "effect_parser.h"
#include "effect_renderer.h"
#include "wav_writer.h"

namespace {

constexpr int kSampleRate = 22050;  // samples per second

}  // namespace

int main(int argc, char** argv) {
    const std::string usage =
        "usage: voltaro-sfx SRC OUT.wav              render one sound-effect source\n"
        "       voltaro-sfx --batch OUTDIR SRC...    render each SRC to OUTDIR/<name>.wav\n"
        "The format is described in docs/sound.md.\n";
    return BatchCommand::run(argc, argv, usage, ".wav", [](const std::string& text, const std::string& sourceName) {
        const SoundEffect effect = EffectParser::parseText(text, sourceName);
        return WavWriter::encode(EffectRenderer::render(effect, kSampleRate), kSampleRate);
    });
}
