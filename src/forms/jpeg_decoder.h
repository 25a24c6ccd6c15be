// Decoder for the JPEG pictures the program shows (its logo), so that the
// window does not depend on an image library or on the system's codecs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top-down
};

// Decodes a baseline (SOF0) or extended-sequential Huffman 8-bit (SOF1) JPEG
// with one (greyscale) or three (YCbCr, or RGB when so marked) components.
// Returns false, and never reads outside [data, data + size), for anything it
// cannot decode: progressive, arithmetic-coded, lossless or 12-bit pictures,
// truncated or corrupted data, and pictures of more than 8192 * 8192 pixels.
// `out` is only meaningful when the call returns true.
bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out);
