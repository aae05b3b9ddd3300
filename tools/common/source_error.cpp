#include "source_error.h"

namespace {

std::string describe(const std::string& file, int line, int column, const std::string& message) {
    if (line <= 0) return file + ": " + message;
    return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}

}  // namespace

SourceError::SourceError(const std::string& file, int line, int column, const std::string& message)
    : std::runtime_error(describe(file, line, column, message)), m_file(file), m_line(line), m_column(column) {}
