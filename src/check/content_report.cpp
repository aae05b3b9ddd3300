#include "check/content_report.h"

namespace {
std::string counted(int count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// Names and texts come from the game's files: control characters (a stray
// carriage return, an escape sequence) are shown as \xNN so that one problem
// stays one clean line on the terminal.
std::string printable(const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string shown;
    for (char character : text) {
        const unsigned char byte = static_cast<unsigned char>(character);
        if (byte < 32 || byte == 127) {
            shown += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
        } else {
            shown += character;
        }
    }
    return shown;
}
}  // namespace

void ContentReport::addError(const std::string& file, long location, const std::string& where,
                             const std::string& message) {
    m_problems.push_back({ContentProblem::Severity::Error, file, location, where, message});
    ++m_errorCount;
}

void ContentReport::addWarning(const std::string& file, long location, const std::string& where,
                               const std::string& message) {
    m_problems.push_back({ContentProblem::Severity::Warning, file, location, where, message});
    ++m_warningCount;
}

std::string ContentReport::formatLine(const ContentProblem& problem) {
    std::string line = problem.file;
    if (problem.location >= 0) line += ":" + std::to_string(problem.location);
    line += ": ";
    if (!problem.where.empty()) line += problem.where + ": ";
    line += problem.severity == ContentProblem::Severity::Error ? "error: " : "warning: ";
    line += problem.message;
    return printable(line);
}

std::string ContentReport::text() const {
    std::string text;
    for (const ContentProblem& problem : m_problems) text += formatLine(problem) + "\n";
    return text;
}

std::string ContentReport::summary() const {
    return counted(m_errorCount, "error") + ", " + counted(m_warningCount, "warning");
}
