#pragma once

#include <map>
#include <string>
#include <vector>

#include "rgb.h"
#include "rgb_image.h"

// Compiles one pixel-art source (with the files it includes) into one sheet:
// a palette maps characters to colours, blocks of rows of characters become
// pixels, and every placed block is stacked under the previous one. The whole
// source is checked before anything is produced; the first problem throws an
// ArtError naming the file, line and column. The format is described in
// docs/art-format.md.
class ArtCompiler {
public:
    // Compiles source text; `sourceName` names it in messages, and includes
    // are looked up beside it. Throws ArtError.
    static RgbImage compileText(const std::string& text, const std::string& sourceName);

private:
    // What the lines after the latest directive of the current file are.
    enum class Mode { None, Palette, Block };

    struct PaletteEntry {
        Rgb colour;
        std::string where;  // "FILE:LINE" of the definition, for duplicate reports
    };

    struct NamedBlock {
        RgbImage image;
        std::string where;
    };

    // The block whose rows are being read.
    struct OpenBlock {
        std::string name;    // empty for an anonymous block
        bool placed = false; // "pixels" places it, "define" only names it
        std::string file;
        int line = 0;        // line of the directive that opened it
        int firstRowLine = 0;
        RgbImage image;
    };

    // One source line split into words, with the column (1-based) of each.
    struct Words {
        std::vector<std::string> text;
        std::vector<int> column;
    };

    ArtCompiler() = default;

    void compileSource(const std::string& text, const std::string& sourceName);
    void includeFile(const std::string& argument, const std::string& fromFile, int line, int column);
    bool handleDirective(const Words& words, const std::string& file, int line, Mode& mode);
    void readPaletteEntry(const Words& words, const std::string& file, int line);
    void readRow(const Words& words, const std::string& file, int line);
    void openBlock(const std::string& name, bool placed, const std::string& file, int line, int nameColumn);
    void closeBlock();
    void place(const RgbImage& block, const std::string& file, int line, int column);
    RgbImage finishedSheet(const std::string& sourceName) const;

    static Words splitWords(const std::string& line);
    static int parseNumber(const std::string& word, int low, int high, const char* what, const std::string& file, int line, int column);

    std::map<char, PaletteEntry> m_palette;
    std::map<std::string, NamedBlock> m_blocks;
    OpenBlock m_block;
    bool m_blockOpen = false;
    RgbImage m_sheet;
    std::string m_sheetWidthWhere;  // "FILE:LINE" of the block that fixed the sheet's width
    int m_cellWidth = 0;            // pixels; 0 while no "cell" directive was given
    int m_cellHeight = 0;           // pixels
    std::string m_cellWhere;
    std::vector<std::string> m_includeStack;  // canonical paths of the files being read
};
