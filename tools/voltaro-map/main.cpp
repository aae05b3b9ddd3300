// voltaro-map: converts between the map source text and the binary tile map.
//
//   voltaro-map compile SRC OUT     map source -> binary tile map
//   voltaro-map decompile MAP SRC   binary tile map -> map source
//
// Exit status 0 on success, 1 on an error in the input or in reading or
// writing a file (message on stderr), 2 for bad arguments. The output file is
// written only when there was no error, and replaced in one step.

#include "output_file.h"
#include "world/map_source.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: voltaro-map compile SRC OUT      compile a map source into a binary tile map\n"
    "       voltaro-map decompile MAP SRC    turn a binary tile map back into a map source\n";

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

// Thrown for a file that cannot be read or written; what() is the message.
struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in) throw FileError("cannot open " + path + ": " + std::strerror(errno));
    std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw FileError("cannot read " + path);
    return contents;
}

void writeFile(const std::string& path, const std::string& contents) {
    try {
        OutputFile::write(path, contents);
    } catch (const std::runtime_error& error) {
        throw FileError(error.what());
    }
}

int run(const std::string& command, const std::string& input, const std::string& output) {
    const std::string contents = readFile(input);
    if (command == "compile") {
        const std::vector<uint8_t> binary = MapSource::compile(contents, input);
        writeFile(output, std::string(binary.begin(), binary.end()));
    } else {
        const std::vector<uint8_t> binary(contents.begin(), contents.end());
        writeFile(output, MapSource::decompile(binary, input));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    if (argc != 4 || (std::strcmp(argv[1], "compile") != 0 && std::strcmp(argv[1], "decompile") != 0)) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    try {
        return run(argv[1], argv[2], argv[3]);
    } catch (const MapSourceError& error) {
        std::cerr << error.what() << '\n';
    } catch (const FileError& error) {
        std::cerr << "voltaro-map: " << error.what() << '\n';
    }
    return kExitError;
}
