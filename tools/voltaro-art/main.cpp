// voltaro-art: turns pixel-art text sources into 24-bit BMP sheets.
//
//   voltaro-art SRC OUT.bmp            compile one source
//   voltaro-art --batch OUTDIR SRC...  compile each SRC to OUTDIR/<name>.bmp
//   voltaro-art --png [--scale N] [--area X,Y,W,H] SRC OUT.png
//                                      a PNG of (part of) one sheet
//
// Every source is compiled before anything is written, so an error in any of
// them leaves every output untouched. Exit status: 0 on success, 1 for an
// error in a source or a failed write, 2 for bad arguments.

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "art_compiler.h"
#include "batch_command.h"
#include "bmp_writer.h"
#include "png_writer.h"
#include "source_error.h"

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

const char* const kSynopsis =
    "usage: voltaro-art SRC OUT.bmp\n"
    "       voltaro-art --batch OUTDIR SRC...\n"
    "       voltaro-art --png [--scale N] [--area X,Y,W,H] SRC OUT.png\n"
    "Try 'voltaro-art --help' for more.\n";

const char* const kHelp =
    "Usage: voltaro-art SRC OUT.bmp\n"
    "  or:  voltaro-art --batch OUTDIR SRC...\n"
    "  or:  voltaro-art --png [--scale N] [--area X,Y,W,H] SRC OUT.png\n"
    "Compile pixel-art text sources into the 24-bit BMP sheets the engine loads.\n"
    "\n"
    "Every source is compiled before anything is written: an error in any of them\n"
    "is reported as FILE:LINE:COLUMN: message and leaves every output untouched.\n"
    "\n"
    "Options:\n"
    "  --batch OUTDIR   compile each SRC to OUTDIR/NAME.bmp\n"
    "  --png            write a PNG instead, with the colour key (255, 128, 255)\n"
    "                   transparent: for icons and previews\n"
    "  --scale N        with --png: enlarge every pixel to N x N (1 to 16; default 1)\n"
    "  --area X,Y,W,H   with --png: only the W x H pixels at (X, Y) of the sheet\n"
    "  --help           show this help and exit\n"
    "\n"
    "Exit status: 0 on success, 1 for an error in a source or a failed write,\n"
    "2 for bad arguments. See docs/art-format.md.\n";

struct PngJob {
    std::string source;
    std::string output;
    PngWriter::Area area;
    int scale = 1;
};

// A whole number of at most four digits; -1 when the text is not one.
int smallNumber(const std::string& text) {
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stoi(text);
}

// "--png [--scale N] [--area X,Y,W,H] SRC OUT.png"; false for bad arguments.
bool parsePngJob(const std::vector<std::string>& args, PngJob& job) {
    size_t i = 1;
    for (; i + 1 < args.size() && args[i].rfind("--", 0) == 0; i += 2) {
        if (args[i] == "--scale") {
            job.scale = smallNumber(args[i + 1]);
            if (job.scale < 1) return false;  // not a number
        } else if (args[i] == "--area") {
            int numbers[4];
            std::string rest = args[i + 1] + ",";
            for (int& number : numbers) {
                const size_t comma = rest.find(',');
                number = comma == std::string::npos ? -1 : smallNumber(rest.substr(0, comma));
                if (number < 0) return false;  // not four numbers
                rest.erase(0, comma + 1);
            }
            if (!rest.empty()) return false;  // more than four
            job.area = PngWriter::Area{numbers[0], numbers[1], numbers[2], numbers[3]};
            if (job.area.width == 0 || job.area.height == 0) return false;  // an empty area
        } else {
            return false;  // unknown option
        }
    }
    if (i + 2 != args.size()) return false;  // not exactly SRC OUT
    job.source = args[i];
    job.output = args[i + 1];
    return true;
}

int runPng(const std::vector<std::string>& args) {
    PngJob job;
    if (!parsePngJob(args, job)) {
        std::cerr << kSynopsis;
        return kExitUsage;
    }
    try {
        const RgbImage image = ArtCompiler::compileText(BatchCommand::readSource(job.source), job.source);
        PngWriter::writeFile(image, job.area, job.scale, job.output);
    } catch (const std::invalid_argument& error) {
        std::cerr << job.source << ": " << error.what() << "\n";  // the area or scale does not fit the sheet
        return kExitError;
    } catch (const std::runtime_error& error) {
        std::cerr << error.what() << "\n";  // a source error, or a failed write
        return kExitError;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--help") {
        std::cout << kHelp;
        return 0;
    }
    if (!args.empty() && args[0] == "--png") return runPng(args);
    return BatchCommand::run(argc, argv, kSynopsis, ".bmp", [](const std::string& text, const std::string& sourceName) {
        const std::vector<uint8_t> bytes = BmpWriter::encode(ArtCompiler::compileText(text, sourceName));
        return std::string(bytes.begin(), bytes.end());
    });
}
