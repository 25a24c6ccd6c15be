#include "formats.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <stdexcept>

namespace pic {

// ---------------------------------------------------------------- colour reduction

namespace {

struct Fcol {
    double r, g, b;
};

// Perceptual-ish weights: the eye is most sensitive to green, least to blue.
double dist2(const Fcol& a, const Fcol& b) {
    double dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

Fcol toF(RGB8 c) { return Fcol{double(c.r), double(c.g), double(c.b)}; }

uint8_t to8(double v) { return uint8_t(std::lround(std::min(255.0, std::max(0.0, v)))); }

RGB8 toRGB8(const Fcol& c) { return RGB8{to8(c.r), to8(c.g), to8(c.b)}; }

struct Weighted {
    Fcol c;
    double n;
};

// Median cut over counted colours, giving `want` starting centres.
std::vector<Fcol> medianCut(std::vector<Weighted> cols, int want) {
    std::vector<std::vector<Weighted>> boxes{std::move(cols)};
    auto channel = [](const Fcol& c, int k) { return k == 0 ? c.r : (k == 1 ? c.g : c.b); };
    while (int(boxes.size()) < want) {
        int best = -1, bestAxis = 0;
        double bestScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].size() < 2) continue;
            double n = 0;
            for (auto& w : boxes[i]) n += w.n;
            for (int k = 0; k < 3; ++k) {
                double lo = 1e9, hi = -1e9;
                for (auto& w : boxes[i]) {
                    lo = std::min(lo, channel(w.c, k));
                    hi = std::max(hi, channel(w.c, k));
                }
                double weight = k == 1 ? 2.0 : (k == 0 ? 1.7 : 1.4);
                double score = (hi - lo) * weight * std::sqrt(n);
                if (score > bestScore) {
                    bestScore = score;
                    best = int(i);
                    bestAxis = k;
                }
            }
        }
        if (best < 0) break;
        auto box = std::move(boxes[size_t(best)]);
        std::stable_sort(box.begin(), box.end(), [&](const Weighted& a, const Weighted& b) {
            return channel(a.c, bestAxis) < channel(b.c, bestAxis);
        });
        double total = 0, acc = 0;
        for (auto& w : box) total += w.n;
        size_t cut = 1;
        for (size_t i = 0; i + 1 < box.size(); ++i) {
            acc += box[i].n;
            cut = i + 1;
            if (acc >= total / 2) break;
        }
        boxes[size_t(best)] = std::vector<Weighted>(box.begin(), box.begin() + long(cut));
        boxes.push_back(std::vector<Weighted>(box.begin() + long(cut), box.end()));
    }
    std::vector<Fcol> centres;
    for (auto& box : boxes) {
        double n = 0, r = 0, g = 0, b = 0;
        for (auto& w : box) {
            n += w.n;
            r += w.c.r * w.n;
            g += w.c.g * w.n;
            b += w.c.b * w.n;
        }
        if (n > 0) centres.push_back(Fcol{r / n, g / n, b / n});
    }
    return centres;
}

}  // namespace

IndexedImage quantise(const RgbImage& img, int maxColours, const std::vector<RGB8>& fixed,
                      const std::vector<bool>& keyed, double dither) {
    const bool hasKey = !keyed.empty();
    if (hasKey && fixed.empty()) throw std::runtime_error("quantise: a keyed image needs its key colour fixed");
    if (int(fixed.size()) > maxColours) throw std::runtime_error("quantise: too many fixed colours");
    IndexedImage out;
    out.w = img.w;
    out.h = img.h;
    out.palette = fixed;
    size_t firstFree = hasKey ? 1 : 0;  // first entry a non-key pixel may take

    // Count the colours that still need a place.
    std::map<RGB8, double> counts;
    for (size_t i = 0; i < img.px.size(); ++i) {
        if (hasKey && keyed[i]) continue;
        const RGB8& c = img.px[i];
        if (std::find(fixed.begin() + long(firstFree), fixed.end(), c) != fixed.end()) continue;
        counts[c] += 1;
    }
    int room = maxColours - int(fixed.size());
    if (int(counts.size()) <= room) {
        for (auto& [c, n] : counts) out.palette.push_back(c);
    } else if (room > 0) {
        std::vector<Weighted> cols;
        for (auto& [c, n] : counts) cols.push_back(Weighted{toF(c), n});
        std::vector<Fcol> centres = medianCut(cols, room);
        // A few rounds of k-means; the fixed colours take part but stay put.
        std::vector<Fcol> fixedF;
        for (size_t i = firstFree; i < fixed.size(); ++i) fixedF.push_back(toF(fixed[i]));
        for (int round = 0; round < 24; ++round) {
            std::vector<Fcol> sum(centres.size(), Fcol{0, 0, 0});
            std::vector<double> n(centres.size(), 0);
            for (auto& w : cols) {
                double best = 1e300;
                int bi = -1;
                for (auto& f : fixedF) best = std::min(best, dist2(w.c, f));
                for (size_t k = 0; k < centres.size(); ++k) {
                    double d = dist2(w.c, centres[k]);
                    if (d < best) {
                        best = d;
                        bi = int(k);
                    }
                }
                if (bi < 0) continue;
                sum[size_t(bi)].r += w.c.r * w.n;
                sum[size_t(bi)].g += w.c.g * w.n;
                sum[size_t(bi)].b += w.c.b * w.n;
                n[size_t(bi)] += w.n;
            }
            for (size_t k = 0; k < centres.size(); ++k)
                if (n[k] > 0) centres[k] = Fcol{sum[k].r / n[k], sum[k].g / n[k], sum[k].b / n[k]};
        }
        for (auto& c : centres) {
            RGB8 q = toRGB8(c);
            if (std::find(out.palette.begin(), out.palette.end(), q) == out.palette.end()) out.palette.push_back(q);
        }
    }
    if (hasKey) {
        // Nothing but the key may look like the key.
        for (size_t i = 1; i < out.palette.size(); ++i)
            if (out.palette[i] == out.palette[0]) out.palette[i].r ^= 1;
    }

    // Map every pixel, diffusing the error if asked.
    std::vector<Fcol> pal;
    for (auto& c : out.palette) pal.push_back(toF(c));
    out.idx.assign(img.px.size(), 0);
    std::vector<Fcol> err(img.px.size(), Fcol{0, 0, 0});
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            size_t i = size_t(y) * img.w + x;
            if (hasKey && keyed[i]) continue;
            const RGB8& c8 = img.px[i];
            size_t exact = out.palette.size();
            for (size_t k = firstFree; k < out.palette.size(); ++k)
                if (out.palette[k] == c8) exact = k;
            size_t bi = exact;
            Fcol want = toF(c8);
            if (exact == out.palette.size()) {
                want = Fcol{want.r + err[i].r, want.g + err[i].g, want.b + err[i].b};
                double best = 1e300;
                for (size_t k = firstFree; k < pal.size(); ++k) {
                    double d = dist2(want, pal[k]);
                    if (d < best) {
                        best = d;
                        bi = k;
                    }
                }
            }
            out.idx[i] = uint8_t(bi);
            if (dither > 0 && exact == out.palette.size()) {
                Fcol e{(want.r - pal[bi].r) * dither, (want.g - pal[bi].g) * dither, (want.b - pal[bi].b) * dither};
                auto spread = [&](int dx, int dy, double f) {
                    int nx = x + dx, ny = y + dy;
                    if (nx < 0 || nx >= img.w || ny >= img.h) return;
                    size_t j = size_t(ny) * img.w + nx;
                    if (hasKey && keyed[j]) return;
                    err[j].r += e.r * f;
                    err[j].g += e.g * f;
                    err[j].b += e.b * f;
                };
                spread(1, 0, 7 / 16.0);
                spread(-1, 1, 3 / 16.0);
                spread(0, 1, 5 / 16.0);
                spread(1, 1, 1 / 16.0);
            }
        }
    return out;
}

// ---------------------------------------------------------------- bitmaps

namespace {

struct Bytes {
    std::vector<uint8_t> v;
    void u8(unsigned x) { v.push_back(uint8_t(x)); }
    void u16(unsigned x) {
        u8(x & 255);
        u8((x >> 8) & 255);
    }
    void u32(uint32_t x) {
        u16(x & 0xFFFF);
        u16(x >> 16);
    }
    void be16(unsigned x) {
        u8((x >> 8) & 255);
        u8(x & 255);
    }
};

size_t rowBytes(int w, int bpp) { return ((size_t(w) * bpp + 31) / 32) * 4; }

void infoHeader(Bytes& b, int w, int h, int bpp, uint32_t imageSize, uint32_t coloursUsed) {
    b.u32(40);
    b.u32(uint32_t(w));
    b.u32(uint32_t(h));
    b.u16(1);
    b.u16(unsigned(bpp));
    b.u32(0);  // BI_RGB
    b.u32(imageSize);
    b.u32(2835);  // 72 dpi
    b.u32(2835);
    b.u32(coloursUsed);
    b.u32(0);
}

// Packs rows of palette indices, bottom row first, each padded to 4 bytes.
std::vector<uint8_t> packRows(int w, int h, int bpp, const std::function<unsigned(int, int)>& value) {
    size_t stride = rowBytes(w, bpp);
    std::vector<uint8_t> data(stride * size_t(h), 0);
    for (int row = 0; row < h; ++row) {
        int y = h - 1 - row;
        uint8_t* line = &data[stride * size_t(row)];
        for (int x = 0; x < w; ++x) {
            unsigned v = value(x, y);
            size_t bit = size_t(x) * bpp;
            line[bit / 8] |= uint8_t(v << (8 - bpp - bit % 8));
        }
    }
    return data;
}

std::vector<uint8_t> withFileHeader(const Bytes& info, const std::vector<uint8_t>& data) {
    Bytes b;
    uint32_t offset = 14 + uint32_t(info.v.size());
    b.u8('B');
    b.u8('M');
    b.u32(offset + uint32_t(data.size()));
    b.u16(0);
    b.u16(0);
    b.u32(offset);
    b.v.insert(b.v.end(), info.v.begin(), info.v.end());
    b.v.insert(b.v.end(), data.begin(), data.end());
    return b.v;
}

}  // namespace

std::vector<uint8_t> bmpIndexed(const IndexedImage& img, int bpp) {
    if (bpp != 1 && bpp != 4 && bpp != 8) throw std::runtime_error("bmpIndexed: depth must be 1, 4 or 8");
    size_t maxCols = size_t(1) << bpp;
    if (img.palette.empty() || img.palette.size() > maxCols)
        throw std::runtime_error("bmpIndexed: palette does not fit the depth");
    for (auto i : img.idx)
        if (i >= img.palette.size()) throw std::runtime_error("bmpIndexed: index outside the palette");
    // 1- and 4-bit palettes are written in full; 8-bit ones as long as needed.
    std::vector<RGB8> pal = img.palette;
    if (bpp < 8)
        while (pal.size() < maxCols) pal.push_back(RGB8{128, 128, 128});
    auto data = packRows(img.w, img.h, bpp, [&](int x, int y) { return unsigned(img.idx[size_t(y) * img.w + x]); });
    Bytes info;
    infoHeader(info, img.w, img.h, bpp, uint32_t(data.size()), uint32_t(pal.size()));
    for (auto& c : pal) {
        info.u8(c.b);
        info.u8(c.g);
        info.u8(c.r);
        info.u8(0);
    }
    return withFileHeader(info, data);
}

std::vector<uint8_t> bmp24(const RgbImage& img) {
    size_t stride = rowBytes(img.w, 24);
    std::vector<uint8_t> data(stride * size_t(img.h), 0);
    for (int row = 0; row < img.h; ++row)
        for (int x = 0; x < img.w; ++x) {
            const RGB8& c = img.at(x, img.h - 1 - row);
            uint8_t* p = &data[stride * size_t(row) + size_t(x) * 3];
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
        }
    Bytes info;
    infoHeader(info, img.w, img.h, 24, uint32_t(data.size()), 0);
    return withFileHeader(info, data);
}

std::vector<uint8_t> bmp32(const RgbImage& img) {
    size_t stride = size_t(img.w) * 4;
    std::vector<uint8_t> data(stride * size_t(img.h), 0);
    for (int row = 0; row < img.h; ++row)
        for (int x = 0; x < img.w; ++x) {
            const RGB8& c = img.at(x, img.h - 1 - row);
            uint8_t* p = &data[stride * size_t(row) + size_t(x) * 4];
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
            p[3] = 0;
        }
    Bytes info;
    infoHeader(info, img.w, img.h, 32, uint32_t(data.size()), 0);
    return withFileHeader(info, data);
}

std::vector<uint8_t> icoFile(const std::vector<IconImage>& images) {
    std::vector<std::vector<uint8_t>> bodies;
    for (auto& im : images) {
        const IndexedImage& c = im.colour;
        if (c.palette.size() > 16) throw std::runtime_error("icoFile: icons here are 16-colour");
        if (c.w > 255 || c.h > 255) throw std::runtime_error("icoFile: icon too large");
        std::vector<RGB8> pal = c.palette;
        while (pal.size() < 16) pal.push_back(RGB8{128, 128, 128});
        auto xorBits = packRows(c.w, c.h, 4, [&](int x, int y) {
            size_t i = size_t(y) * c.w + x;
            return im.transparent[i] ? 0u : unsigned(c.idx[i]);
        });
        auto andBits = packRows(c.w, c.h, 1, [&](int x, int y) { return im.transparent[size_t(y) * c.w + x] ? 1u : 0u; });
        Bytes b;
        infoHeader(b, c.w, c.h * 2, 4, uint32_t(xorBits.size() + andBits.size()), 0);
        for (auto& p : pal) {
            b.u8(p.b);
            b.u8(p.g);
            b.u8(p.r);
            b.u8(0);
        }
        b.v.insert(b.v.end(), xorBits.begin(), xorBits.end());
        b.v.insert(b.v.end(), andBits.begin(), andBits.end());
        bodies.push_back(b.v);
    }
    Bytes out;
    out.u16(0);
    out.u16(1);
    out.u16(unsigned(images.size()));
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.u8(unsigned(images[i].colour.w));
        out.u8(unsigned(images[i].colour.h));
        out.u8(16);
        out.u8(0);
        out.u16(1);
        out.u16(4);
        out.u32(uint32_t(bodies[i].size()));
        out.u32(offset);
        offset += uint32_t(bodies[i].size());
    }
    for (auto& b : bodies) out.v.insert(out.v.end(), b.begin(), b.end());
    return out.v;
}

// ---------------------------------------------------------------- JPEG

namespace {

const int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                         12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                         35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                         58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

const int kLumaQ[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                        14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                        18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                        49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};

const int kChromaQ[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                          24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                          99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                          99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

struct HuffTable {
    std::array<uint8_t, 16> bits;
    std::vector<uint8_t> vals;
};

const HuffTable kDcLuma{{0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
const HuffTable kDcChroma{{0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}};
const HuffTable kAcLuma{
    {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d},
    {0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71,
     0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52, 0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72,
     0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37,
     0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59,
     0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
     0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3,
     0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3,
     0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2,
     0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa}};
const HuffTable kAcChroma{
    {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77},
    {0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13, 0x22,
     0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33, 0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1,
     0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18, 0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36,
     0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58,
     0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
     0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a,
     0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba,
     0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda,
     0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa}};

struct HuffCode {
    std::array<uint16_t, 256> code{};
    std::array<uint8_t, 256> len{};
};

HuffCode buildCodes(const HuffTable& s) {
    HuffCode h;
    unsigned code = 0;
    size_t k = 0;
    for (int l = 1; l <= 16; ++l) {
        for (int i = 0; i < s.bits[size_t(l - 1)]; ++i) {
            uint8_t sym = s.vals.at(k++);
            h.code[sym] = uint16_t(code++);
            h.len[sym] = uint8_t(l);
        }
        code <<= 1;
    }
    if (k != s.vals.size()) throw std::runtime_error("jpeg: Huffman table counts do not match its symbols");
    return h;
}

struct BitWriter {
    std::vector<uint8_t>& out;
    uint32_t acc = 0;
    int n = 0;
    void put(unsigned bits, int len) {
        for (int i = len - 1; i >= 0; --i) {
            acc = (acc << 1) | ((bits >> i) & 1);
            if (++n == 8) {
                out.push_back(uint8_t(acc));
                if (uint8_t(acc) == 0xFF) out.push_back(0);
                acc = 0;
                n = 0;
            }
        }
    }
    void flush() {
        while (n != 0) put(1, 1);
    }
};

int magnitudeBits(int v) {
    v = v < 0 ? -v : v;
    int n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}

void scaledTable(const int base[64], int quality, uint8_t out[64]) {
    quality = std::max(1, std::min(100, quality));
    int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    for (int i = 0; i < 64; ++i) out[i] = uint8_t(std::max(1, std::min(255, (base[i] * scale + 50) / 100)));
}

}  // namespace

std::vector<uint8_t> jpegBaseline(const RgbImage& img, int quality) {
    if (img.w <= 0 || img.h <= 0 || img.w > 65535 || img.h > 65535) throw std::runtime_error("jpeg: bad size");
    uint8_t qt[2][64];
    scaledTable(kLumaQ, quality, qt[0]);
    scaledTable(kChromaQ, quality, qt[1]);
    const HuffTable* tables[4] = {&kDcLuma, &kAcLuma, &kDcChroma, &kAcChroma};
    HuffCode dc[2] = {buildCodes(kDcLuma), buildCodes(kDcChroma)};
    HuffCode ac[2] = {buildCodes(kAcLuma), buildCodes(kAcChroma)};

    Bytes b;
    b.be16(0xFFD8);
    // JFIF header
    b.be16(0xFFE0);
    b.be16(16);
    for (char c : std::string("JFIF")) b.u8(unsigned(c));
    b.u8(0);
    b.u8(1);
    b.u8(1);
    b.u8(0);
    b.be16(1);
    b.be16(1);
    b.u8(0);
    b.u8(0);
    // Quantisation tables, in zigzag order
    b.be16(0xFFDB);
    b.be16(2 + 2 * 65);
    for (int t = 0; t < 2; ++t) {
        b.u8(unsigned(t));
        for (int i = 0; i < 64; ++i) b.u8(qt[t][kZigzag[i]]);
    }
    // Frame: baseline, 8-bit, three components without subsampling
    b.be16(0xFFC0);
    b.be16(17);
    b.u8(8);
    b.be16(unsigned(img.h));
    b.be16(unsigned(img.w));
    b.u8(3);
    for (int c = 0; c < 3; ++c) {
        b.u8(unsigned(c + 1));
        b.u8(0x11);
        b.u8(c == 0 ? 0 : 1);
    }
    // Huffman tables
    const unsigned classId[4] = {0x00, 0x10, 0x01, 0x11};
    size_t dhtLen = 2;
    for (auto* s : tables) dhtLen += 17 + s->vals.size();
    b.be16(0xFFC4);
    b.be16(unsigned(dhtLen));
    for (int t = 0; t < 4; ++t) {
        b.u8(classId[t]);
        for (auto n : tables[t]->bits) b.u8(n);
        for (auto v : tables[t]->vals) b.u8(v);
    }
    // Scan header
    b.be16(0xFFDA);
    b.be16(12);
    b.u8(3);
    for (int c = 0; c < 3; ++c) {
        b.u8(unsigned(c + 1));
        b.u8(c == 0 ? 0x00 : 0x11);
    }
    b.u8(0);
    b.u8(63);
    b.u8(0);

    // Colour planes, edges repeated out to whole blocks.
    int bw = (img.w + 7) / 8, bh = (img.h + 7) / 8;
    std::vector<double> plane[3];
    for (auto& p : plane) p.resize(size_t(bw * 8) * size_t(bh * 8));
    for (int y = 0; y < bh * 8; ++y)
        for (int x = 0; x < bw * 8; ++x) {
            const RGB8& c = img.at(std::min(x, img.w - 1), std::min(y, img.h - 1));
            double r = c.r, g = c.g, bl = c.b;
            size_t i = size_t(y) * size_t(bw * 8) + size_t(x);
            plane[0][i] = 0.299 * r + 0.587 * g + 0.114 * bl - 128;
            plane[1][i] = -0.168736 * r - 0.331264 * g + 0.5 * bl;
            plane[2][i] = 0.5 * r - 0.418688 * g - 0.081312 * bl;
        }
    double cosT[8][8];
    for (int x = 0; x < 8; ++x)
        for (int u = 0; u < 8; ++u) cosT[x][u] = std::cos((2 * x + 1) * u * 3.14159265358979323846 / 16);

    BitWriter bits{b.v};
    int prevDc[3] = {0, 0, 0};
    for (int by = 0; by < bh; ++by)
        for (int bx = 0; bx < bw; ++bx)
            for (int c = 0; c < 3; ++c) {
                double blk[8][8], tmp[8][8];
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        blk[y][x] = plane[c][size_t(by * 8 + y) * size_t(bw * 8) + size_t(bx * 8 + x)];
                for (int y = 0; y < 8; ++y)
                    for (int u = 0; u < 8; ++u) {
                        double s = 0;
                        for (int x = 0; x < 8; ++x) s += blk[y][x] * cosT[x][u];
                        tmp[y][u] = s * (u == 0 ? std::sqrt(0.5) : 1.0) / 2;
                    }
                int q[64];
                const uint8_t* table = qt[c == 0 ? 0 : 1];
                for (int v = 0; v < 8; ++v)
                    for (int u = 0; u < 8; ++u) {
                        double s = 0;
                        for (int y = 0; y < 8; ++y) s += tmp[y][u] * cosT[y][v];
                        s *= (v == 0 ? std::sqrt(0.5) : 1.0) / 2;
                        q[v * 8 + u] = int(std::lround(s / table[v * 8 + u]));
                    }
                const HuffCode& hd = dc[c == 0 ? 0 : 1];
                const HuffCode& ha = ac[c == 0 ? 0 : 1];
                int diff = q[0] - prevDc[c];
                prevDc[c] = q[0];
                int cat = magnitudeBits(diff);
                bits.put(hd.code[cat], hd.len[cat]);
                if (cat) bits.put(unsigned(diff < 0 ? diff + (1 << cat) - 1 : diff), cat);
                int run = 0;
                for (int k = 1; k < 64; ++k) {
                    int v = q[kZigzag[k]];
                    if (v == 0) {
                        ++run;
                        continue;
                    }
                    while (run > 15) {
                        bits.put(ha.code[0xF0], ha.len[0xF0]);
                        run -= 16;
                    }
                    int m = magnitudeBits(v);
                    int sym = (run << 4) | m;
                    bits.put(ha.code[sym], ha.len[sym]);
                    bits.put(unsigned(v < 0 ? v + (1 << m) - 1 : v), m);
                    run = 0;
                }
                if (run > 0) bits.put(ha.code[0], ha.len[0]);
            }
    bits.flush();
    b.be16(0xFFD9);
    return b.v;
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot create " + path);
    size_t n = std::fwrite(bytes.data(), 1, bytes.size(), f);
    bool ok = n == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace pic
