#include "fuzz/fuzz_parts.h"

std::vector<std::string> splitFuzzParts(const uint8_t* data, size_t size, size_t count) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string separator = std::string("\n") + kFuzzPartSeparator + "\n";
    std::vector<std::string> parts;
    size_t start = 0;
    while (parts.size() + 1 < count) {
        const size_t at = text.find(separator, start);
        if (at == std::string::npos) break;
        parts.push_back(text.substr(start, at - start + 1));  // the part keeps its last line end
        start = at + separator.size();
    }
    parts.push_back(text.substr(start));
    parts.resize(count);
    return parts;
}
