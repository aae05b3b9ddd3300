#include "map_tool_error.h"

namespace {
std::string formatError(const std::string& file, int line, const std::string& message) {
    if (line <= 0) return file + ": " + message;
    return file + ":" + std::to_string(line) + ": " + message;
}
}  // namespace

MapToolError::MapToolError(const std::string& file, int line, const std::string& message)
    : std::runtime_error(formatError(file, line, message)), m_file(file), m_line(line), m_message(message) {}
