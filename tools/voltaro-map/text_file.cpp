#include "text_file.h"

#include "map_tool_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

std::string TextFile::read(const std::string& path) {
    std::ifstream in(path, std::ios::in | std::ios::binary);
    if (!in) throw MapToolError(path, 0, std::string("cannot open: ") + std::strerror(errno));
    std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw MapToolError(path, 0, "cannot read");
    return contents;
}

std::string TextFile::beside(const std::string& path, const std::string& relative) {
    const std::filesystem::path source(relative);
    if (source.is_absolute()) return relative;
    return (std::filesystem::path(path).parent_path() / source).lexically_normal().string();
}

int TextFile::lineAt(const std::string& text, size_t offset) {
    const size_t end = std::min(offset, text.size());
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}
