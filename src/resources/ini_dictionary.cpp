#include "resources/ini_dictionary.h"

#include "platform/data_file.h"
#include "platform/loaded_file_recorder.h"
#include "platform/wrapping_arithmetic.h"

#include <algorithm>
#include <sstream>

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";  // UTF-8

IniDictionary::LookupObserver& lookupObserver() {
    static IniDictionary::LookupObserver observer;
    return observer;
}

// Only the space character is trimmed; tabs and everything else stay.
std::string trimSpaces(const std::string& text) {
    const size_t last = text.find_last_not_of(' ');
    if (last == std::string::npos) return std::string();
    const size_t first = text.find_first_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool isAtoiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

IniDictionary::IniDictionary(const std::string& fileName) : m_fileName(fileName) {
    LoadedFileRecorder::noteRead(fileName);
    const DataFile file = DataFile::read(fileName, kMaxFileBytes, "an INI file");
    if (!file.ok()) {
        m_loadProblem = file.problem();
        return;  // stays empty: every lookup answers its default
    }
    std::istringstream input(file.bytes());
    parse(input);
    m_loaded = true;
}

IniDictionary::IniDictionary(std::istream& input) {
    parse(input);
    m_loaded = true;
}

IniDictionary IniDictionary::fromText(const std::string& text) {
    std::istringstream input(text);
    return IniDictionary(input);
}

void IniDictionary::parse(std::istream& input) {
    std::string section;
    std::string line;
    int32_t lineNumber = 0;
    while (std::getline(input, line)) {
        ++lineNumber;
        if (lineNumber == 1 && line.compare(0, 3, kByteOrderMark) == 0) {
            // Some editors start UTF-8 text with a byte-order mark; left in,
            // it would hide the first section header.
            line.erase(0, 3);
            m_byteOrderMark = true;
        }
        if (line.empty() || line[0] == ';') continue;  // comment only in column 0 of the raw line
        if (line.back() == '\r') line.pop_back();
        const std::string trimmed = trimSpaces(line);
        if (trimmed.empty()) continue;
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            section = trimmed.substr(1, trimmed.size() - 2);
            Section& header = m_sections[section];  // an existing section keeps its keys
            if (header.line == 0) header.line = lineNumber;
            continue;
        }
        const size_t equals = trimmed.find('=');
        std::string key;
        std::string value;
        if (equals == std::string::npos) {
            key = trimmed;
            value = trimmed;
        } else {
            key = trimSpaces(trimmed.substr(0, equals));
            value = trimSpaces(trimmed.substr(equals + 1));
        }
        m_sections[section].entries.emplace(key, Entry{value, lineNumber});  // the first value of a key wins
    }
}

void IniDictionary::observeLookups(LookupObserver observer) {
    lookupObserver() = std::move(observer);
}

const IniDictionary::Entry* IniDictionary::findEntry(const std::string& key, const std::string& section) const {
    if (lookupObserver()) lookupObserver()(m_fileName, section, key);
    const auto sectionIt = m_sections.find(section);
    if (sectionIt == m_sections.end()) return nullptr;
    const auto keyIt = sectionIt->second.entries.find(key);
    if (keyIt == sectionIt->second.entries.end()) return nullptr;
    return &keyIt->second;
}

const std::string* IniDictionary::find(const std::string& key, const std::string& section) const {
    const Entry* entry = findEntry(key, section);
    return entry != nullptr ? &entry->value : nullptr;
}

int32_t IniDictionary::lineOf(const std::string& key, const std::string& section) const {
    const Entry* entry = findEntry(key, section);
    return entry != nullptr ? entry->line : 0;
}

std::vector<IniDictionary::KeyLocation> IniDictionary::keys() const {
    std::vector<KeyLocation> keys;
    for (const auto& section : m_sections) {
        for (const auto& entry : section.second.entries) keys.push_back({section.first, entry.first, entry.second.line});
    }
    return keys;
}

int32_t IniDictionary::sectionLine(const std::string& section) const {
    const auto sectionIt = m_sections.find(section);
    return sectionIt != m_sections.end() ? sectionIt->second.line : 0;
}

std::vector<std::string> IniDictionary::sectionNames() const {
    std::vector<std::pair<int32_t, std::string>> byLine;
    for (const auto& section : m_sections) byLine.emplace_back(section.second.line, section.first);
    std::sort(byLine.begin(), byLine.end());  // the unnamed section (line 0) first
    std::vector<std::string> names;
    for (const auto& entry : byLine) names.push_back(entry.second);
    return names;
}

std::vector<std::string> IniDictionary::keysOf(const std::string& section) const {
    const auto sectionIt = m_sections.find(section);
    if (sectionIt == m_sections.end()) return {};  // no such section
    std::vector<std::pair<int32_t, std::string>> byLine;
    for (const auto& entry : sectionIt->second.entries) byLine.emplace_back(entry.second.line, entry.first);
    std::sort(byLine.begin(), byLine.end());
    std::vector<std::string> keys;
    for (const auto& entry : byLine) keys.push_back(entry.second);
    return keys;
}

const char* IniDictionary::getString(const std::string& key, const std::string& section,
                                     const char* defaultValue) const {
    const std::string* value = find(key, section);
    return value != nullptr ? value->c_str() : defaultValue;
}

int32_t IniDictionary::getInt(const std::string& key, const std::string& section, int32_t defaultValue) const {
    const std::string* value = find(key, section);
    return value != nullptr ? toInt(*value) : defaultValue;
}

bool IniDictionary::getBool(const std::string& key, const std::string& section, bool defaultValue) const {
    const std::string* value = find(key, section);
    if (value == nullptr) return defaultValue;
    if (*value == "true") return true;
    if (*value == "false") return false;
    return defaultValue;
}

int32_t IniDictionary::toInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isAtoiSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t value = 0;  // unsigned, so overflow wraps instead of being undefined
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
        ++i;
    }
    if (negative) value = 0u - value;
    return wrapToInt32(value);
}
