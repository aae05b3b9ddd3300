#pragma once

#include <string>

// Writes a tool's output so that a failed run never leaves a half-written
// file: the bytes go to a temporary file beside the target, which then
// replaces it. A target that is not a plain file (a symbolic link, a device
// such as /dev/stdout, a pipe) is written in place instead, since renaming
// over it would replace it with a plain file.
class OutputFile {
public:
    // Throws std::runtime_error naming the file when it cannot be written.
    static void write(const std::string& path, const std::string& bytes);
};
