#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The multi-file input format of the harnesses: the parts (files, then the
// control bytes) one after the other, separated by a line that holds exactly
// kFuzzPartSeparator. Text stays text, so libFuzzer's mutations and the seed
// files (real game files joined with the separator) line up with the files.
// Always returns `count` parts: missing ones are empty, and separators
// beyond the last part stay inside it.
constexpr const char* kFuzzPartSeparator = "%%%%";

std::vector<std::string> splitFuzzParts(const uint8_t* data, size_t size, size_t count);
