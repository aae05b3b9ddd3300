#include "resources/ini_schema.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// The stored name with every run of digits replaced by '#', and the runs.
std::string withIndexMarks(const std::string& name, std::vector<std::string>& runs) {
    std::string marked;
    for (size_t i = 0; i < name.size();) {
        if (!isDigit(name[i])) {
            marked += name[i++];
            continue;
        }
        const size_t start = i;
        while (i < name.size() && isDigit(name[i])) ++i;
        runs.push_back(name.substr(start, i - start));
        marked += '#';
    }
    return marked;
}

// A declared name as the author would write it: its '#' marks filled with
// the stored name's indices in order (0 where the stored name has none).
std::string instantiated(const std::string& pattern, const std::vector<std::string>& runs) {
    std::string name;
    size_t next = 0;
    for (char c : pattern) {
        if (c == '#') {
            name += next < runs.size() ? runs[next++] : "0";
        } else {
            name += c;
        }
    }
    return name;
}

bool same(char a, char b) {
    return lower(a) == lower(b);
}

// Edit distance counting a swap of two neighbours as one slip, in which a
// change of letter case costs nothing.
size_t distance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (same(a[i - 1], b[j - 1]) ? 0 : 1)});
            if (i > 1 && j > 1 && same(a[i - 1], b[j - 2]) && same(a[i - 2], b[j - 1])) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

// No declared key is this long; a longer one (a whole line without '=') is
// nothing like any of them, and comparing it would cost its length times
// theirs.
constexpr size_t kLongestComparedKey = 64;  // characters

// How far a suggestion may be from what was written: one slip in a short
// key, up to three in a long one.
size_t closeEnough(const std::string& name) {
    return std::max<size_t>(1, std::min<size_t>(3, name.size() / 5));
}

}  // namespace

IniSchema::IniSchema(std::vector<IniKey> keys) : m_keys(std::move(keys)) {}

IniSchema& IniSchema::add(const IniSchema& other) {
    m_keys.insert(m_keys.end(), other.m_keys.begin(), other.m_keys.end());
    return *this;
}

bool IniSchema::matches(const std::string& pattern, const std::string& name) {
    size_t i = 0;
    for (size_t p = 0; p < pattern.size(); ++p) {
        if (pattern[p] == '#') {
            const size_t start = i;
            while (i < name.size() && isDigit(name[i])) ++i;
            if (i == start) return false;  // an index needs at least one digit
        } else if (pattern[p] == '?') {
            if (i == name.size()) return false;
            ++i;
        } else {
            if (i == name.size() || name[i] != pattern[p]) return false;
            ++i;
        }
    }
    return i == name.size();
}

bool IniSchema::knows(const std::string& section, const std::string& key) const {
    for (const IniKey& known : m_keys) {
        if ((known.section == "*" || matches(known.section, section)) && matches(known.key, key)) return true;
    }
    return false;
}

std::string IniSchema::nearest(const std::string& name, const std::vector<std::string>& candidates) {
    if (name.size() > kLongestComparedKey) return "";  // nothing like any of them
    std::string best;
    size_t bestDistance = closeEnough(name) + 1;
    for (const std::string& candidate : candidates) {
        const size_t d = distance(name, candidate);
        if (d >= bestDistance) continue;
        bestDistance = d;
        best = candidate;
    }
    return best;
}

std::string IniSchema::closest(const std::string& section, const std::string& key) const {
    if (key.size() > kLongestComparedKey) return "";
    std::vector<std::string> keyRuns;
    const std::string markedKey = withIndexMarks(key, keyRuns);
    std::vector<std::string> sectionRuns;
    withIndexMarks(section, sectionRuns);
    const size_t limit = closeEnough(key);

    // The nearest key of the same section first; a key of another section
    // only when none is close, and then named with its section.
    std::string best;
    size_t bestDistance = limit + 1;
    for (const bool sameSection : {true, false}) {
        for (const IniKey& known : m_keys) {
            const bool inSection = known.section == "*" || matches(known.section, section);
            if (inSection != sameSection || known.key.find('?') != std::string::npos) continue;
            const size_t d = distance(markedKey, known.key);
            if (d >= bestDistance) continue;
            bestDistance = d;
            best = instantiated(known.key, keyRuns);
            if (!sameSection) best = instantiated(known.section, sectionRuns) + "/" + best;
        }
        if (!best.empty()) return best;
    }
    return best;
}
