// The picture makers and what they share.
#pragma once

#include <string>
#include <vector>

#include "formats.h"
#include "raster.h"

namespace pic {

struct NamedFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// Title bar, title buttons, button faces and the window background.
std::vector<NamedFile> chromePictures();
// The eight 32x32 button glyphs.
std::vector<NamedFile> glyphPictures();
// The tree's picture strip and its mask.
std::vector<NamedFile> treePictures();
NamedFile logoPicture();
NamedFile iconPicture();

// The colour of title bar row 0..22 (all columns of the bar share it).
RGB8 titleRow(int row);

RGB8 to8(Col c);


// Fills a shape and draws a pen of `pen` pixels along its edges.
void outlined(Canvas& cv, const Path& shape, const Paint& fill, Col edge, double pen = 1.0);
RgbImage flatten(const Canvas& c, Col background);

// A picture whose see-through pixels get a key colour: pixels less covered
// than `threshold` become the key, the rest are blended over `edge`, the
// colour the picture will mostly be seen on, so that soft edges look right.
struct KeyedImage {
    RgbImage img;
    std::vector<bool> key;
};
KeyedImage keyed(const Canvas& c, Col edge, double threshold, RGB8 keyColour);

}  // namespace pic
