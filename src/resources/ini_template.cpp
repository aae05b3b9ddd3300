#include "resources/ini_template.h"

#include <algorithm>

namespace {

const char* const kCountUnit = "count";

// How the template is written, for any file: after the caller's introduction.
// (Each rule is one literal in parentheses, broken over lines.)
const char* const kRules[] = {
    ("Every key the engine reads is listed below, set to its default: the value it reads as when the key is "
     "missing (0, false or empty). So this file, as written, reads like an empty one. The comment above a key "
     "says what it does and, in brackets, its unit."),
    ("A key that is missing reads as its default without any message, and so does a misspelt one; sections and "
     "keys are case-sensitive. Run voltaro --check: it warns about every key the engine never reads and names "
     "the nearest one it does."),
    ("A comment is a line of its own starting with ';'. Text after a value belongs to the value."),
    ("A name with an index is written for the indices 0 and 1 (a section for 0 only). Its comment writes the "
     "index as N and says how far N runs: from 0 to the count minus 1, the count being the key it names."),
};

bool isIndexed(const std::string& name) {
    return name.find('#') != std::string::npos;
}

// `name` with every index mark '#' replaced by `index`.
std::string withIndex(const std::string& name, const std::string& index) {
    std::string result;
    for (char c : name) {
        if (c == '#') {
            result += index;
        } else {
            result += c;
        }
    }
    return result;
}

// The words of a text, a bracketed part ("[cell index]") counting as one
// word so that a unit is never broken over two lines.
std::vector<std::string> wordsOf(const std::string& text) {
    std::vector<std::string> words;
    bool inBrackets = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty()) continue;  // a run of spaces
        if (inBrackets) {
            words.back() += " " + word;
        } else {
            words.push_back(word);
        }
        if (word.front() == '[' && !inBrackets) inBrackets = true;
        if (word.find(']') != std::string::npos) inBrackets = false;
    }
    return words;
}

// Appends `text` as comment lines of at most IniTemplate::kLineWidth
// characters, broken between words; lines after the first start with
// `indent` after the "; ".
void appendComment(std::string text, std::string& out, const std::string& indent = "") {
    // A line break in the text would end the comment and start a key.
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    std::string prefix = "; ";
    std::string line;  // the words of the line being filled
    for (const std::string& word : wordsOf(text)) {
        if (!line.empty() && prefix.size() + line.size() + 1 + word.size() > IniTemplate::kLineWidth) {
            out += prefix + line + "\n";
            prefix = "; " + indent;
            line.clear();
        }
        if (!line.empty()) line += ' ';
        line += word;
    }
    out += line.empty() ? ";\n" : prefix + line + "\n";
}

std::string keyLine(const std::string& key, const std::string& value) {
    return key + "=" + value + "\n";
}

}  // namespace

IniTemplate::IniTemplate(const IniSchema& schema) : m_schema(schema) {}

std::string IniTemplate::text(const std::vector<std::string>& introduction) const {
    std::vector<std::string> paragraphs = introduction;
    paragraphs.insert(paragraphs.end(), std::begin(kRules), std::end(kRules));
    std::string out;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) out += ";\n";
        const bool listItem = paragraphs[i].compare(0, 2, "- ") == 0;
        appendComment(paragraphs[i], out, listItem ? "  " : "");
    }
    for (const std::string& section : sectionOrder()) writeSection(section, out);
    return out;
}

std::string IniTemplate::countOf(const std::string& section, const std::string& key) const {
    const std::vector<IniKey>& keys = m_schema.keys();
    if (isIndexed(key)) {
        // An indexed key is counted in its own section.
        for (const IniKey& count : keys) {
            if (count.section == section && count.unit == kCountUnit && !isIndexed(count.key)) return count.key;
        }
        return "";
    }
    if (!isIndexed(section)) return "";
    // An indexed section is counted in a section named like it ("Animations" for "Animation#").
    const std::string stem = section.substr(0, section.find('#'));
    for (const IniKey& count : keys) {
        if (count.section != section && !isIndexed(count.section) && count.section.compare(0, stem.size(), stem) == 0 &&
            count.unit == kCountUnit && !isIndexed(count.key)) {
            return "[" + count.section + "] " + count.key;
        }
    }
    return "";
}

std::vector<std::string> IniTemplate::sectionOrder() const {
    std::vector<std::string> sections;
    for (const IniKey& key : m_schema.keys()) {
        if (std::find(sections.begin(), sections.end(), key.section) == sections.end()) sections.push_back(key.section);
    }
    return sections;
}

void IniTemplate::writeSection(const std::string& section, std::string& out) const {
    out += "\n";
    if (isIndexed(section)) {
        const std::string count = countOf(section, "");
        appendComment("[" + withIndex(section, "N") + "] (N from 0 " +
                          (count.empty() ? std::string("up") : "to " + count + " - 1") +
                          "): one section per index, each with the keys below.",
                      out);
    }
    out += "[" + withIndex(section, "0") + "]\n";

    // Neighbouring plain keys of one meaning form a group; an indexed key is a group of its own.
    std::vector<const IniKey*> group;
    for (const IniKey& key : m_schema.keys()) {
        if (key.section != section) continue;
        const bool joins = !group.empty() && !isIndexed(key.key) && !isIndexed(group.back()->key) &&
                           group.back()->meaning == key.meaning;
        if (!joins && !group.empty()) {
            writeGroup(group, out);
            group.clear();
        }
        group.push_back(&key);
    }
    if (!group.empty()) writeGroup(group, out);
}

void IniTemplate::writeGroup(const std::vector<const IniKey*>& group, std::string& out) const {
    out += "\n";
    const IniKey& first = *group.front();
    if (isIndexed(first.key)) {
        const std::string count = countOf(first.section, first.key);
        appendComment(withIndex(first.key, "N") + " (N from 0 " + (count.empty() ? std::string("up") : "to " + count + " - 1") +
                          "): " + withIndex(first.meaning, "N") + " [" + first.unit + "]",
                      out);
        for (int i = 0; i < kIndicesShown; ++i) out += keyLine(withIndex(first.key, std::to_string(i)), first.defaultValue);
        return;
    }
    const bool oneUnit = std::all_of(group.begin(), group.end(), [&first](const IniKey* key) { return key->unit == first.unit; });
    if (oneUnit) {
        appendComment(first.meaning + " [" + first.unit + "]", out);
    } else {
        appendComment(first.meaning, out);
        for (const IniKey* key : group) appendComment(key->key + " [" + key->unit + "]", out, "  ");
    }
    for (const IniKey* key : group) out += keyLine(key->key, key->defaultValue);
}
