// Fuzzes the INI parser and its lookups: any text parses, and every lookup
// agrees with the others (getInt is toInt of getString, getBool reads only
// "true" and "false", an absent key answers the caller's default pointer).

#include "resources/ini_dictionary.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "ini_dictionary: %s\n", what);
    std::abort();
}

const char kDefaultA[] = "default-a";
const char kDefaultB[] = "default-b";

// A leading-whitespace, optional sign and up to nine digits: short enough
// for atoi to be defined, so atoi is an independent reference there.
bool atoiIsDefined(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::strchr(" \t\n\v\f\r", text[i]) != nullptr && text[i] != '\0') ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    return digits <= 9 && text.find('\0') == std::string::npos;
}

// getString's C text ends at the first NUL byte while getBool compares the
// whole stored value, so the two agree only for text without NUL bytes.
void checkLookup(const IniDictionary& dictionary, const std::string& key, const std::string& section,
                 bool textHasNul) {
    const char* a = dictionary.getString(key, section, kDefaultA);
    const char* b = dictionary.getString(key, section, kDefaultB);
    const bool present = a != kDefaultA;
    check(present == (b != kDefaultB), "getString is present for one default and absent for another");
    if (present) check(a == b, "getString gives different texts for one key");
    if (!present) {
        check(dictionary.getInt(key, section, 12345) == 12345, "absent key does not give the getInt default");
        check(dictionary.getBool(key, section, true) && !dictionary.getBool(key, section, false),
              "absent key does not give the getBool default");
        return;
    }
    const std::string value = a;
    check(dictionary.getInt(key, section, 12345) == IniDictionary::toInt(value), "getInt differs from toInt");
    if (textHasNul) return;
    const bool isTrue = value == "true";
    const bool isFalse = value == "false";
    check(dictionary.getBool(key, section, false) == isTrue, "getBool(false default) misreads the value");
    check(dictionary.getBool(key, section, true) == !isFalse, "getBool(true default) misreads the value");
    if (atoiIsDefined(value)) check(IniDictionary::toInt(value) == std::atoi(value.c_str()), "toInt differs from atoi");
}

// Candidate (section, key) pairs taken loosely from the text itself, so the
// lookups hit stored keys as well as missing ones.
std::vector<std::pair<std::string, std::string>> candidates(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string section;
    size_t start = 0;
    while (start <= text.size() && pairs.size() < 256) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(' ');
        const size_t last = line.find_last_not_of(' ');
        const std::string trimmed = first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            section = trimmed.substr(1, trimmed.size() - 2);
        } else {
            const size_t equals = trimmed.find('=');
            std::string key = trimmed.substr(0, equals);
            while (!key.empty() && key.back() == ' ') key.pop_back();
            pairs.emplace_back(section, key);
            pairs.emplace_back(section, trimmed);
        }
        start = end + 1;
    }
    return pairs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const IniDictionary dictionary = IniDictionary::fromText(text);
    check(dictionary.isLoaded(), "a dictionary parsed from text is not loaded");
    const bool hasNul = text.find('\0') != std::string::npos;
    for (const auto& pair : candidates(text)) checkLookup(dictionary, pair.second, pair.first, hasNul);
    checkLookup(dictionary, "", "", hasNul);
    checkLookup(dictionary, "amount", "Sprites", hasNul);
    // toInt on every raw line, bytes the parser would trim included.
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        const int32_t value = IniDictionary::toInt(line);
        if (atoiIsDefined(line)) check(value == std::atoi(line.c_str()), "toInt differs from atoi");
        start = end + 1;
    }
    return 0;
}
