#pragma once

#include "source_error.h"

// An error in a pixel-art source, reported like every tool's source errors
// ("FILE:LINE:COLUMN: message").
class ArtError : public SourceError {
public:
    using SourceError::SourceError;
};
