#include "ini_file_editor.h"

#include <algorithm>

namespace {

std::string trimSpaces(const std::string& text) {
    const size_t last = text.find_last_not_of(' ');
    if (last == std::string::npos) return std::string();
    const size_t first = text.find_first_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

IniFileEditor::IniFileEditor(const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        Line line;
        if (end == std::string::npos) {
            line.content = text.substr(start);
            end = text.size();
        } else {
            line.content = text.substr(start, end - start);
            line.ending = "\n";
            if (!line.content.empty() && line.content.back() == '\r') {
                line.content.pop_back();
                line.ending = "\r\n";
            }
            ++end;
        }
        m_lines.push_back(line);
        start = end;
    }
    m_newline = !m_lines.empty() && !m_lines[0].ending.empty() ? m_lines[0].ending : "\n";
}

IniFileEditor::Parsed IniFileEditor::parse(const Line& line) const {
    Parsed parsed;
    if (line.content.empty() || line.content[0] == ';') return parsed;  // comments only in column 0
    std::string content = line.content;
    if (!content.empty() && content.back() == '\r') content.pop_back();  // a stray CR before the LF
    const std::string trimmed = trimSpaces(content);
    if (trimmed.empty()) return parsed;
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
        parsed.kind = Kind::Header;
        parsed.name = trimmed.substr(1, trimmed.size() - 2);
        return parsed;
    }
    parsed.kind = Kind::Key;
    const size_t equals = content.find('=');
    if (equals == std::string::npos) {
        parsed.name = trimmed;  // a bare word is its own value; never one of ours
        parsed.valueStart = content.size();
        return parsed;
    }
    parsed.name = trimSpaces(content.substr(0, equals));
    parsed.valueStart = equals + 1;
    while (parsed.valueStart < content.size() && content[parsed.valueStart] == ' ') ++parsed.valueStart;
    return parsed;
}

std::vector<size_t> IniFileEditor::keyLines(const std::string& section, const std::string& key) const {
    std::vector<size_t> found;
    std::string current;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Parsed parsed = parse(m_lines[i]);
        if (parsed.kind == Kind::Header) {
            current = parsed.name;
        } else if (parsed.kind == Kind::Key && current == section && parsed.name == key) {
            found.push_back(i);
        }
    }
    return found;
}

bool IniFileEditor::hasSection(const std::string& section) const {
    return std::any_of(m_lines.begin(), m_lines.end(), [&](const Line& line) {
        const Parsed parsed = parse(line);
        return parsed.kind == Kind::Header && parsed.name == section;
    });
}

bool IniFileEditor::has(const std::string& section, const std::string& key) const {
    return !keyLines(section, key).empty();
}

std::vector<std::string> IniFileEditor::keys(const std::string& section) const {
    std::vector<std::string> names;
    std::string current;
    for (const Line& line : m_lines) {
        const Parsed parsed = parse(line);
        if (parsed.kind == Kind::Header) {
            current = parsed.name;
        } else if (parsed.kind == Kind::Key && current == section &&
                   std::find(names.begin(), names.end(), parsed.name) == names.end()) {
            names.push_back(parsed.name);
        }
    }
    return names;
}

size_t IniFileEditor::insertionPoint(const std::string& section) const {
    bool inside = false;
    size_t after = m_lines.size();
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Parsed parsed = parse(m_lines[i]);
        if (parsed.kind == Kind::Header) {
            if (inside) break;  // the first block ends here
            if (parsed.name == section) {
                inside = true;
                after = i + 1;
            }
        } else if (inside && parsed.kind == Kind::Key) {
            after = i + 1;
        }
    }
    return after;
}

void IniFileEditor::set(const std::string& section, const std::string& key, const std::string& value) {
    const std::vector<size_t> found = keyLines(section, key);
    if (!found.empty()) {
        Line& line = m_lines[found[0]];
        const Parsed parsed = parse(line);
        const bool hasEquals = line.content.find('=') != std::string::npos;
        const std::string current = hasEquals ? trimSpaces(line.content.substr(parsed.valueStart)) : std::string();
        if (hasEquals && current == value) return;  // already right: the line stays byte for byte
        line.content = (hasEquals ? line.content.substr(0, parsed.valueStart) : key + "=") + value;
        return;
    }
    const bool newSection = !hasSection(section);
    const size_t at = newSection ? m_lines.size() : insertionPoint(section);
    // Text added after a last line without an ending starts on a line of its own.
    if (at == m_lines.size() && !m_lines.empty() && m_lines.back().ending.empty()) m_lines.back().ending = m_newline;
    if (newSection) {
        if (!m_lines.empty() && !m_lines.back().content.empty()) m_lines.push_back(Line{"", m_newline});
        m_lines.push_back(Line{"[" + section + "]", m_newline});
        m_lines.push_back(Line{key + "=" + value, m_newline});
        return;
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), Line{key + "=" + value, m_newline});
}

void IniFileEditor::remove(const std::string& section, const std::string& key) {
    const std::vector<size_t> found = keyLines(section, key);
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*it));
    }
}

std::string IniFileEditor::text() const {
    std::string text;
    for (const Line& line : m_lines) text += line.content + line.ending;
    return text;
}
