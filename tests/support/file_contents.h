#pragma once

#include <fstream>
#include <sstream>
#include <string>

// The whole content of a file as bytes; empty when it cannot be read.
inline std::string fileContents(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
