#pragma once

#include <string>

#include "source_error.h"

// The message of the SourceError that `parse` throws, or "" when it throws
// none: what a user of the tool would read for a bad source.
template <typename Parse>
std::string sourceErrorText(Parse parse) {
    try {
        parse();
    } catch (const SourceError& error) {
        return error.what();
    }
    return "";
}
