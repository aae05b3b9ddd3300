// voltaro-music: renders tune sources into extended tracker modules (XM)
// whose instruments it synthesises. The format is described in
// docs/sound.md.
//
//   voltaro-music SRC OUT.xm             render one source
//   voltaro-music --batch OUTDIR SRC...  render each SRC to OUTDIR/<name>.xm
//
// Every source is rendered before anything is written, so an error in any of
// them leaves every output untouched. Exit status: 0 on success, 1 for an
// error in a source or a failed write, 2 for bad arguments.

#include <string>

#include "batch_command.h"
#include "song_parser.h"
#include "xm_writer.h"

int main(int argc, char** argv) {
    const std::string usage =
        "usage: voltaro-music SRC OUT.xm              render one tune source\n"
        "       voltaro-music --batch OUTDIR SRC...   render each SRC to OUTDIR/<name>.xm\n"
        "The format is described in docs/sound.md.\n";
    return BatchCommand::run(argc, argv, usage, ".xm", [](const std::string& text, const std::string& sourceName) {
        return XmWriter::encode(SongParser::parseText(text, sourceName));
    });
}
