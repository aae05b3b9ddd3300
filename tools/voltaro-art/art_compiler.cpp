#include "art_compiler.h"

#include "platform/data_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "art_error.h"

namespace fs = std::filesystem;

namespace {

constexpr int kMaxWidth = 1024;         // pixels; four screens, far beyond any sheet of the engine
constexpr int kMaxSheetHeight = 32767;  // pixels; cell positions are signed 16-bit in the engine
constexpr size_t kMaxIncludeDepth = 16; // nested includes

const char* const kDirectives[] = {"palette", "pixels", "define", "place", "mirror", "include", "cell"};

bool isDirective(const std::string& word) {
    for (const char* directive : kDirectives) {
        if (word == directive) return true;
    }
    return false;
}

std::string where(const std::string& file, int line) { return file + ":" + std::to_string(line); }

// A character as it should appear in a message: printable ones quoted,
// others as a hex escape.
std::string describeChar(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u > 32 && u < 127) return std::string("'") + c + "'";
    static const char* const kHex = "0123456789abcdef";
    return std::string("byte 0x") + kHex[u >> 4] + kHex[u & 15];
}

bool readWholeFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) return false;  // caller reports
    std::ostringstream buffer;
    buffer << file.rdbuf();
    if (file.bad()) return false;  // caller reports
    text = buffer.str();
    return true;
}

}  // namespace

RgbImage ArtCompiler::compileText(const std::string& text, const std::string& sourceName) {
    ArtCompiler compiler;
    std::error_code ignored;
    compiler.m_includeStack.push_back(fs::weakly_canonical(fs::path(sourceName), ignored).string());
    compiler.compileSource(text, sourceName);
    return compiler.finishedSheet(sourceName);
}

void ArtCompiler::compileSource(const std::string& text, const std::string& sourceName) {
    Mode mode = Mode::None;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t comment = line.find(';');
        if (comment != std::string::npos) line.erase(comment);
        const Words words = splitWords(line);
        if (words.text.empty()) continue;  // blank or comment-only line
        if (handleDirective(words, sourceName, lineNumber, mode)) continue;
        switch (mode) {
            case Mode::Palette:
                readPaletteEntry(words, sourceName, lineNumber);
                break;
            case Mode::Block:
                readRow(words, sourceName, lineNumber);
                break;
            case Mode::None:
                throw ArtError(sourceName, lineNumber, words.column[0],
                               "expected a directive (palette, cell, pixels, define, place, mirror or include), found '" +
                                   words.text[0] + "'");
        }
    }
    closeBlock();  // a file's last block ends with the file
}

bool ArtCompiler::handleDirective(const Words& words, const std::string& file, int line, Mode& mode) {
    const std::string& directive = words.text[0];
    if (!isDirective(directive)) return false;  // a palette entry or a pixel row
    closeBlock();
    mode = Mode::None;
    const size_t arguments = words.text.size() - 1;
    auto expectArguments = [&](size_t low, size_t high, const char* usage) {
        if (arguments >= low && arguments <= high) return;  // well-formed
        const int column = arguments > high ? words.column[high + 1] : words.column[0];
        throw ArtError(file, line, column, std::string("usage: ") + usage);
    };

    if (directive == "palette") {
        expectArguments(0, 0, "palette");
        mode = Mode::Palette;
    } else if (directive == "pixels") {
        expectArguments(0, 1, "pixels [NAME]");
        openBlock(arguments == 1 ? words.text[1] : std::string(), true, file, line, arguments == 1 ? words.column[1] : 1);
        mode = Mode::Block;
    } else if (directive == "define") {
        expectArguments(1, 1, "define NAME");
        openBlock(words.text[1], false, file, line, words.column[1]);
        mode = Mode::Block;
    } else if (directive == "place") {
        expectArguments(1, 2, "place NAME [mirror]");
        if (arguments == 2 && words.text[2] != "mirror") {
            throw ArtError(file, line, words.column[2], "usage: place NAME [mirror]");
        }
        const auto found = m_blocks.find(words.text[1]);
        if (found == m_blocks.end()) {
            throw ArtError(file, line, words.column[1], "no block named '" + words.text[1] + "' was defined before");
        }
        RgbImage block = found->second.image;
        if (arguments == 2) block.mirror();
        place(block, file, line, words.column[1]);
    } else if (directive == "mirror") {
        expectArguments(0, 0, "mirror");
        m_sheet.mirror();
    } else if (directive == "cell") {
        expectArguments(2, 2, "cell WIDTH HEIGHT");
        m_cellWidth = parseNumber(words.text[1], 1, kMaxWidth, "cell width", file, line, words.column[1]);
        m_cellHeight = parseNumber(words.text[2], 1, kMaxSheetHeight, "cell height", file, line, words.column[2]);
        m_cellWhere = where(file, line);
    } else if (directive == "include") {
        expectArguments(1, 1, "include FILE");
        includeFile(words.text[1], file, line, words.column[1]);
    }
    return true;
}

void ArtCompiler::includeFile(const std::string& argument, const std::string& fromFile, int line, int column) {
    const fs::path path = fs::path(fromFile).parent_path() / argument;
    const std::string pathText = path.string();
    std::error_code ignored;
    const std::string canonical = fs::weakly_canonical(path, ignored).string();
    for (const std::string& open : m_includeStack) {
        if (open == canonical) throw ArtError(fromFile, line, column, "include cycle: '" + argument + "' is already being read");
    }
    if (m_includeStack.size() >= kMaxIncludeDepth) {
        throw ArtError(fromFile, line, column, "includes nested more than " + std::to_string(kMaxIncludeDepth) + " deep");
    }
    std::string text;
    if (!readWholeFile(pathText, text)) throw ArtError(fromFile, line, column, "cannot open included file '" + pathText + "'");
    m_includeStack.push_back(canonical);
    compileSource(text, pathText);
    m_includeStack.pop_back();
}

void ArtCompiler::readPaletteEntry(const Words& words, const std::string& file, int line) {
    if (words.text.size() != 4) {
        throw ArtError(file, line, words.column[0], "a palette entry is CHARACTER RED GREEN BLUE");
    }
    const std::string& key = words.text[0];
    if (key.size() != 1) {
        throw ArtError(file, line, words.column[0], "a palette character is a single character, not '" + key + "'");
    }
    const char c = key[0];
    if (static_cast<unsigned char>(c) <= 32 || static_cast<unsigned char>(c) >= 127) {
        throw ArtError(file, line, words.column[0], "palette character " + describeChar(c) + " is not printable ASCII");
    }
    const auto earlier = m_palette.find(c);
    if (earlier != m_palette.end()) {
        throw ArtError(file, line, words.column[0],
                       "palette character " + describeChar(c) + " is already defined at " + earlier->second.where);
    }
    PaletteEntry entry;
    entry.colour.r = static_cast<uint8_t>(parseNumber(words.text[1], 0, 255, "red", file, line, words.column[1]));
    entry.colour.g = static_cast<uint8_t>(parseNumber(words.text[2], 0, 255, "green", file, line, words.column[2]));
    entry.colour.b = static_cast<uint8_t>(parseNumber(words.text[3], 0, 255, "blue", file, line, words.column[3]));
    entry.where = where(file, line);
    m_palette[c] = entry;
}

void ArtCompiler::readRow(const Words& words, const std::string& file, int line) {
    if (words.text.size() > 1) throw ArtError(file, line, words.column[1], "a pixel row cannot contain spaces");
    const std::string& row = words.text[0];
    const int column = words.column[0];
    const int rowWidth = static_cast<int>(row.size());
    RgbImage& image = m_block.image;

    if (image.empty()) {
        if (rowWidth > kMaxWidth) {
            throw ArtError(file, line, column + kMaxWidth, "row is wider than " + std::to_string(kMaxWidth) + " pixels");
        }
        if (m_cellWidth > 0 && rowWidth != m_cellWidth) {
            throw ArtError(file, line, column + std::min(rowWidth, m_cellWidth),
                           "row is " + std::to_string(rowWidth) + " pixels wide, but cells are " +
                               std::to_string(m_cellWidth) + " (cell at " + m_cellWhere + ")");
        }
        m_block.firstRowLine = line;
    } else if (rowWidth != image.width()) {
        throw ArtError(file, line, column + std::min(rowWidth, image.width()),
                       "row is " + std::to_string(rowWidth) + " pixels wide, but the block's first row (line " +
                           std::to_string(m_block.firstRowLine) + ") is " + std::to_string(image.width()));
    }
    if (m_cellHeight > 0 && image.height() >= m_cellHeight) {
        throw ArtError(file, line, column,
                       "block has more than " + std::to_string(m_cellHeight) + " rows, the cell height (cell at " +
                           m_cellWhere + ")");
    }

    std::vector<Rgb> pixels;
    pixels.reserve(row.size());
    for (size_t i = 0; i < row.size(); ++i) {
        const auto entry = m_palette.find(row[i]);
        if (entry == m_palette.end()) {
            throw ArtError(file, line, column + static_cast<int>(i), "unknown palette character " + describeChar(row[i]));
        }
        pixels.push_back(entry->second.colour);
    }
    image.appendRow(pixels);
}

void ArtCompiler::openBlock(const std::string& name, bool placed, const std::string& file, int line, int nameColumn) {
    if (!name.empty()) {
        const auto earlier = m_blocks.find(name);
        if (earlier != m_blocks.end()) {
            throw ArtError(file, line, nameColumn, "a block named '" + name + "' is already defined at " + earlier->second.where);
        }
    }
    m_block = OpenBlock();
    m_block.name = name;
    m_block.placed = placed;
    m_block.file = file;
    m_block.line = line;
    m_blockOpen = true;
}

void ArtCompiler::closeBlock() {
    if (!m_blockOpen) return;  // no rows being read
    m_blockOpen = false;
    const OpenBlock& block = m_block;
    if (block.image.empty()) throw ArtError(block.file, block.line, 1, "block has no pixel rows");
    if (m_cellHeight > 0 && block.image.height() != m_cellHeight) {
        throw ArtError(block.file, block.line, 1,
                       "block has " + std::to_string(block.image.height()) + " rows, but cells are " +
                           std::to_string(m_cellHeight) + " high (cell at " + m_cellWhere + ")");
    }
    if (!block.name.empty()) m_blocks[block.name] = NamedBlock{block.image, where(block.file, block.line)};
    if (block.placed) place(block.image, block.file, block.line, 1);
}

void ArtCompiler::place(const RgbImage& block, const std::string& file, int line, int column) {
    if (!m_sheet.empty() && block.width() != m_sheet.width()) {
        throw ArtError(file, line, column,
                       "block is " + std::to_string(block.width()) + " pixels wide, but the sheet is " +
                           std::to_string(m_sheet.width()) + " (set by the block at " + m_sheetWidthWhere + ")");
    }
    if (m_sheet.height() + block.height() > kMaxSheetHeight) {
        throw ArtError(file, line, column, "the sheet grows beyond " + std::to_string(kMaxSheetHeight) + " pixels");
    }
    // The engine refuses a bitmap of more pixels than this (a file that
    // size would cost more memory than any sheet needs).
    const int64_t pixels = static_cast<int64_t>(block.width()) * (m_sheet.height() + block.height());
    if (pixels > DataFile::kMaxBitmapPixels) {
        throw ArtError(file, line, column,
                       "the sheet grows beyond " + std::to_string(DataFile::kMaxBitmapPixels) +
                           " pixels, the largest bitmap the engine loads");
    }
    if (m_sheet.empty()) m_sheetWidthWhere = where(file, line);
    m_sheet.appendBelow(block);
}

RgbImage ArtCompiler::finishedSheet(const std::string& sourceName) const {
    if (m_sheet.empty()) throw ArtError(sourceName, 0, 0, "nothing is placed on the sheet (no pixels or place)");
    return m_sheet;
}

ArtCompiler::Words ArtCompiler::splitWords(const std::string& line) {
    Words words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        words.text.push_back(line.substr(start, i - start));
        words.column.push_back(static_cast<int>(start) + 1);
    }
    return words;
}

int ArtCompiler::parseNumber(const std::string& word, int low, int high, const char* what, const std::string& file,
                             int line, int column) {
    long value = 0;
    bool digits = !word.empty() && word.size() <= 9;
    for (char c : word) {
        if (c < '0' || c > '9') {
            digits = false;
            break;
        }
        value = value * 10 + (c - '0');
    }
    if (!digits || value < low || value > high) {
        throw ArtError(file, line, column,
                       std::string(what) + " must be a whole number from " + std::to_string(low) + " to " +
                           std::to_string(high) + ", not '" + word + "'");
    }
    return static_cast<int>(value);
}
