// The preview renderer's command line: parsed and validated once, before any rendering.
#pragma once

#include <string>

#include "pattern/pattern_types.h"

namespace QuarelPreview {

struct PreviewOptions {
    QuarelNS::PatternSettings settings;
    bool patternGiven = false;
    bool sheet = false;  // a contact sheet of every pattern instead of one pattern
    int size = 512;
    int repeat = 1;
    int threads = 0;
    std::string out;  // output file; empty: a name under out/
};

// Parses argv. Returns -1 to go on, otherwise the exit code (0 after --help, non-zero after a
// bad value, with the message already printed).
int ParseOptions(int argc, char** argv, PreviewOptions& options);

// Pattern id for an id or a display name ("7", "Diagonal", "maple leaf"), or -1.
int ParsePatternArgument(const std::string& text);

}  // namespace QuarelPreview
