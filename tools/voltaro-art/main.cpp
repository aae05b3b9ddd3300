// voltaro-art: turns pixel-art text sources into 24-bit BMP sheets.
//
//   voltaro-art SRC OUT.bmp            compile one source
//   voltaro-art --batch OUTDIR SRC...  compile each SRC to OUTDIR/<name>.bmp
//
// Every source is compiled before anything is written, so an error in any of
// them leaves every output untouched. Exit status: 0 on success, 1 for an
// error in a source or a failed write, 2 for bad arguments.

#include <string>
#include <vector>

#include "art_compiler.h"
#include "batch_command.h"
#include "bmp_writer.h"

int main(int argc, char** argv) {
    const std::string usage =
        "usage: voltaro-art SRC OUT.bmp            compile one pixel-art source into a BMP\n"
        "       voltaro-art --batch OUTDIR SRC...  compile each SRC to OUTDIR/<name>.bmp\n"
        "       voltaro-art --help\n"
        "See docs/art-format.md.\n";
    return BatchCommand::run(argc, argv, usage, ".bmp", [](const std::string& text, const std::string& sourceName) {
        const std::vector<uint8_t> bytes = BmpWriter::encode(ArtCompiler::compileText(text, sourceName));
        return std::string(bytes.begin(), bytes.end());
    });
}
