// voltaro-art: turns pixel-art text sources into 24-bit BMP sheets.
//
//   voltaro-art SRC OUT.bmp            compile one source
//   voltaro-art --batch OUTDIR SRC...  compile each SRC to OUTDIR/<name>.bmp
//
// Every source is compiled before anything is written, so an error in any of
// them leaves every output untouched. Exit status: 0 on success, 1 for an
// error in a source or a failed write, 2 for bad arguments.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "art_compiler.h"
#include "art_error.h"
#include "bmp_writer.h"

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

struct Job {
    std::string source;
    std::string output;
    RgbImage image;
};

const char* const kUsage =
    "usage: voltaro-art SRC OUT.bmp            compile one pixel-art source into a BMP\n"
    "       voltaro-art --batch OUTDIR SRC...  compile each SRC to OUTDIR/<name>.bmp\n"
    "       voltaro-art --help\n"
    "See docs/art-format.md.\n";

int usage() {
    std::cerr << kUsage;
    return kExitUsage;
}

std::vector<Job> jobsFromArguments(int argc, char** argv) {
    std::vector<Job> jobs;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "--batch") {
        const std::filesystem::path outputDir(args[1]);
        for (size_t i = 2; i < args.size(); ++i) {
            const std::filesystem::path source(args[i]);
            jobs.push_back(Job{args[i], (outputDir / source.stem()).string() + ".bmp", RgbImage()});
        }
    } else if (args.size() == 2 && args[0].rfind("--", 0) != 0) {
        jobs.push_back(Job{args[0], args[1], RgbImage()});
    }
    return jobs;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    std::vector<Job> jobs = jobsFromArguments(argc, argv);
    if (jobs.empty()) return usage();

    bool failed = false;
    for (Job& job : jobs) {
        try {
            job.image = ArtCompiler::compileFile(job.source);
        } catch (const ArtError& error) {
            std::cerr << error.what() << "\n";
            failed = true;
        }
    }
    if (failed) return kExitError;  // nothing written

    for (const Job& job : jobs) {
        try {
            BmpWriter::writeFile(job.image, job.output);
        } catch (const std::runtime_error& error) {
            std::cerr << error.what() << "\n";
            return kExitError;
        }
    }
    return 0;
}
