#pragma once

#include "app/options.h"

#include <string>
#include <vector>

// Parses the program's arguments into Options. Every option and value is
// checked here; an unknown option, a missing or bad value or a repeated
// option makes the command line invalid with a one-line reason.
class CommandLine {
public:
    // `arguments` excludes the program name.
    explicit CommandLine(const std::vector<std::string>& arguments);
    static CommandLine fromMain(int argc, char** argv);

    bool isValid() const { return m_error.empty(); }
    // Why the command line is invalid (empty when it is valid).
    const std::string& error() const { return m_error; }
    const Options& options() const { return m_options; }

    // The help text listing every option.
    static std::string usage();
    // What --version prints: voltaro's version (the build's project version)
    // and the SDL in use, one per line.
    static std::string versionText();

private:
    void parse(const std::vector<std::string>& arguments);
    // Handles one option with its value (if the option takes one).
    void apply(const std::string& name, const std::string& value);
    bool isKnown(const std::string& name) const;
    bool takesValue(const std::string& name) const;

    Options m_options;
    std::string m_error;
    std::vector<std::string> m_seen;  // single-use options given so far
};
