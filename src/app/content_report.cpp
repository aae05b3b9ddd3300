#include "app/content_report.h"

namespace {
std::string counted(int count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
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
    return line;
}

std::string ContentReport::text() const {
    std::string text;
    for (const ContentProblem& problem : m_problems) text += formatLine(problem) + "\n";
    return text;
}

std::string ContentReport::summary() const {
    return counted(m_errorCount, "error") + ", " + counted(m_warningCount, "warning");
}
