// A small rounded sans-serif drawn with a round pen: every letter is a set of
// centre lines that get stroked. It knows only the letters the pictures need.
#pragma once

#include <string>

#include "raster.h"

namespace pic {

struct TextStyle {
    double xHeight = 10;    // pixels from baseline to the top of "x"
    double weight = 0.22;   // pen width as a share of the x-height
    double spacing = 0.16;  // gap between letters as a share of the x-height
};

// Width in pixels of a text set in the style.
double textWidth(const std::string& text, const TextStyle& style);

// One outline per letter, so that each can get its own paint. The baseline
// starts at (x, baseline). Throws for a letter the font does not have.
std::vector<Path> textPaths(const std::string& text, double x, double baseline, const TextStyle& style);

// All letters in one outline.
Path textPath(const std::string& text, double x, double baseline, const TextStyle& style);

}  // namespace pic
