#include "platform/fatal_data_error.h"

namespace {
std::string formatReport(const std::string& condition, const std::string& source, int line,
                         const std::string& detail) {
    std::string report = "Assertion failed: " + condition + ", source " + source + ", line " +
                         std::to_string(line);
    if (!detail.empty()) report += ": " + detail;
    return report;
}
}  // namespace

FatalDataError::FatalDataError(const std::string& condition, const std::string& source, int line,
                               const std::string& detail)
    : std::runtime_error(formatReport(condition, source, line, detail)),
      m_condition(condition),
      m_source(source),
      m_line(line),
      m_detail(detail) {}
