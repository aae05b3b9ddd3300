#pragma once

#include <string>

// One thing wrong with a game's data, as the content checker reports it.
struct ContentProblem {
    enum class Severity { Error, Warning };

    Severity severity = Severity::Error;
    std::string file;     // as the game names it, relative to the game's directory
    long location = -1;   // line (INI files) or byte offset (tile maps); -1 = the whole file
    std::string where;    // "Section/key", or empty
    std::string message;  // what is wrong, and what the engine will do about it
};
