#pragma once

#include <functional>
#include <string>

// The command line shared by the content tools that compile text sources
// into binary files:
//
//   TOOL SRC OUT              compile one source
//   TOOL --batch OUTDIR SRC...  compile each SRC to OUTDIR/<name><extension>
//   TOOL --help               print the usage on standard output
//
// Every source is read and compiled before anything is written, so an error
// in any of them (each reported on standard error) leaves every output
// untouched. Exit status: 0 on success, 1 for an error in a source or a
// failed read or write, 2 for bad arguments (the usage goes to standard
// error), two sources of a batch with the same name included, since the
// second would silently replace the first's output.
class BatchCommand {
public:
    // Turns a source's text into the output bytes; `sourceName` names the
    // source in messages. Throws SourceError (or std::runtime_error).
    using Compiler = std::function<std::string(const std::string& text, const std::string& sourceName)>;

    static int run(int argc, char** argv, const std::string& usage, const std::string& extension,
                   const Compiler& compile);

    // The whole text of a source file; throws SourceError naming it when it
    // cannot be opened or read.
    static std::string readSource(const std::string& path);
};
