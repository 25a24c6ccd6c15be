// File formats the program embeds: Windows bitmaps, icons and baseline JPEG,
// plus the colour reduction that palettised bitmaps need.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pic {

struct RGB8 {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const RGB8& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const RGB8& o) const { return !(*this == o); }
    bool operator<(const RGB8& o) const {
        return r != o.r ? r < o.r : (g != o.g ? g < o.g : b < o.b);
    }
};

// Pixels top row first.
struct RgbImage {
    int w = 0, h = 0;
    std::vector<RGB8> px;
    RGB8& at(int x, int y) { return px[size_t(y) * w + x]; }
    const RGB8& at(int x, int y) const { return px[size_t(y) * w + x]; }
};

struct IndexedImage {
    int w = 0, h = 0;
    std::vector<RGB8> palette;
    std::vector<uint8_t> idx;  // top row first
};

// Reduces an image to at most maxColours palette entries.
//  - `fixed` colours come first in the palette, in the given order, and
//    pixels of exactly those colours keep them;
//  - pixels for which `keyed` is true (if given) take palette entry 0, which
//    must be the first fixed colour; no other pixel is ever given entry 0;
//  - if the image has few enough colours, every colour is kept exactly.
// `dither` (0..1) is the strength of Floyd-Steinberg error diffusion.
IndexedImage quantise(const RgbImage& img, int maxColours, const std::vector<RGB8>& fixed,
                      const std::vector<bool>& keyed = {}, double dither = 0);

std::vector<uint8_t> bmpIndexed(const IndexedImage& img, int bitsPerPixel);  // 1, 4 or 8
std::vector<uint8_t> bmp24(const RgbImage& img);
// 32 bits per pixel, BGRA with the alpha byte left 0.
std::vector<uint8_t> bmp32(const RgbImage& img);

struct IconImage {
    IndexedImage colour;         // 16-colour palette
    std::vector<bool> transparent;  // AND mask, top row first
};
std::vector<uint8_t> icoFile(const std::vector<IconImage>& images);

// Baseline (SOF0) JFIF with three YCbCr components, 4:4:4, standard tables
// scaled to the quality (1..100) and the standard Huffman tables.
std::vector<uint8_t> jpegBaseline(const RgbImage& img, int quality);

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace pic
