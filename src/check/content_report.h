#pragma once

#include "check/content_problem.h"

#include <string>
#include <vector>

// The problems the content checker found, in the order it found them, each
// formatted as one line "file[:line or offset]: [Section/key: ]error|warning: message".
class ContentReport {
public:
    void addError(const std::string& file, long location, const std::string& where, const std::string& message);
    void addWarning(const std::string& file, long location, const std::string& where, const std::string& message);

    int errorCount() const { return m_errorCount; }
    int warningCount() const { return m_warningCount; }
    const std::vector<ContentProblem>& problems() const { return m_problems; }

    static std::string formatLine(const ContentProblem& problem);
    // Every problem's line, each ending in a line feed.
    std::string text() const;
    // "N errors, M warnings" with singular forms where they fit.
    std::string summary() const;

private:
    std::vector<ContentProblem> m_problems;
    int m_errorCount = 0;
    int m_warningCount = 0;
};
