// Checks the pictures the tool wrote into a folder, reading the files back
// with a reader of its own, and exercises the colour reduction and the JPEG
// encoder directly.  Usage: check OUTDIR
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "../formats.h"

namespace {

int failures = 0;

#define CHECK(cond, ...)                                       \
    do {                                                       \
        if (!(cond)) {                                         \
            ++failures;                                        \
            std::fprintf(stderr, "FAIL %s:%d: ", __FILE__, __LINE__); \
            std::fprintf(stderr, __VA_ARGS__);                 \
            std::fprintf(stderr, "\n");                        \
        }                                                      \
    } while (0)

using Bytes = std::vector<uint8_t>;

Bytes readAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

unsigned u16(const Bytes& b, size_t o) { return b[o] | (b[o + 1] << 8); }
uint32_t u32(const Bytes& b, size_t o) { return u16(b, o) | (uint32_t(u16(b, o + 2)) << 16); }
int32_t s32(const Bytes& b, size_t o) { return int32_t(u32(b, o)); }

using pic::RGB8;

// A bitmap read back: pixels top row first, palette indices where palettised.
struct Bmp {
    bool ok = false;
    int w = 0, h = 0, bpp = 0;
    uint32_t clrUsed = 0;
    std::vector<RGB8> palette;
    std::vector<int> idx;
    std::vector<RGB8> px;
    std::vector<uint8_t> alphaByte;
    RGB8 at(int x, int y) const { return px[size_t(y) * w + x]; }
    int indexAt(int x, int y) const { return idx[size_t(y) * w + x]; }
};

// Reads the DIB part (BITMAPINFOHEADER, palette, rows) starting at `o`.
Bmp readDib(const Bytes& b, size_t o, size_t pixelsAt, bool icon) {
    Bmp m;
    if (b.size() < o + 40 || u32(b, o) != 40) return m;
    m.w = s32(b, o + 4);
    m.h = s32(b, o + 8);
    if (icon) m.h /= 2;
    m.bpp = u16(b, o + 14);
    m.clrUsed = u32(b, o + 32);
    if (u16(b, o + 12) != 1 || u32(b, o + 16) != 0 || m.w <= 0 || m.h <= 0) return m;
    size_t palCount = m.bpp <= 8 ? (m.clrUsed ? m.clrUsed : (1u << m.bpp)) : 0;
    size_t po = o + 40;
    for (size_t i = 0; i < palCount; ++i) m.palette.push_back(RGB8{b[po + 4 * i + 2], b[po + 4 * i + 1], b[po + 4 * i]});
    if (!icon) pixelsAt = pixelsAt ? pixelsAt : po + 4 * palCount;
    else pixelsAt = po + 4 * palCount;
    size_t stride = ((size_t(m.w) * m.bpp + 31) / 32) * 4;
    if (b.size() < pixelsAt + stride * m.h) return m;
    m.idx.assign(size_t(m.w) * m.h, -1);
    m.px.assign(size_t(m.w) * m.h, RGB8{});
    m.alphaByte.assign(size_t(m.w) * m.h, 0);
    for (int row = 0; row < m.h; ++row) {
        int y = m.h - 1 - row;
        const uint8_t* line = &b[pixelsAt + stride * row];
        for (int x = 0; x < m.w; ++x) {
            size_t i = size_t(y) * m.w + x;
            if (m.bpp <= 8) {
                size_t bit = size_t(x) * m.bpp;
                int v = (line[bit / 8] >> (8 - m.bpp - bit % 8)) & ((1 << m.bpp) - 1);
                m.idx[i] = v;
                if (size_t(v) >= m.palette.size()) return m;
                m.px[i] = m.palette[size_t(v)];
            } else {
                const uint8_t* p = line + size_t(x) * (m.bpp / 8);
                m.px[i] = RGB8{p[2], p[1], p[0]};
                if (m.bpp == 32) m.alphaByte[i] = p[3];
            }
        }
    }
    m.ok = true;
    return m;
}

Bmp readBmp(const std::string& path) {
    Bytes b = readAll(path);
    Bmp m;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return m;
    if (u32(b, 2) != b.size()) return m;
    uint32_t off = u32(b, 10);
    m = readDib(b, 14, off, false);
    // The rows must end the file exactly where the header says.
    size_t stride = ((size_t(m.w) * m.bpp + 31) / 32) * 4;
    if (m.ok && off + stride * m.h != b.size()) m.ok = false;
    return m;
}

const RGB8 kBlack{0, 0, 0}, kMagenta{255, 0, 255}, kGrey7F{0x7F, 0x7F, 0x7F};

void checkSizesAndDepths(const std::string& dir) {
    struct Want {
        const char* name;
        int w, h, bpp;
    };
    std::vector<Want> wants = {
        {"glyph1.bmp", 32, 32, 4},           {"glyph2.bmp", 32, 32, 4},           {"glyph3.bmp", 32, 32, 4},
        {"glyph4.bmp", 32, 32, 4},           {"glyph5.bmp", 32, 32, 4},           {"glyph6.bmp", 32, 32, 4},
        {"glyph7.bmp", 32, 32, 24},          {"glyph8.bmp", 32, 32, 4},           {"title_ctlbox_normal.bmp", 17, 17, 8},
        {"title_ctlbox_hot.bmp", 17, 17, 8}, {"title_close_normal.bmp", 17, 17, 8}, {"title_close_hot.bmp", 17, 17, 8},
        {"title_max_normal.bmp", 17, 17, 8}, {"title_max_hot.bmp", 17, 17, 8},   {"title_min_normal.bmp", 17, 17, 8},
        {"title_min_hot.bmp", 17, 17, 8},    {"title_left.bmp", 48, 23, 8},       {"title_right.bmp", 48, 23, 8},
        {"title_client.bmp", 49, 23, 8},     {"face_normal.bmp", 77, 27, 8},      {"face_hot.bmp", 77, 27, 8},
        {"face_down.bmp", 77, 27, 8},        {"background.bmp", 8, 8, 24},        {"treeimages.bmp", 64, 64, 32},
        {"treemask.bmp", 64, 64, 1},
    };
    std::set<std::string> expected = {"logo.jpg", "mainicon.ico"};
    for (auto& w : wants) {
        expected.insert(w.name);
        Bmp m = readBmp(dir + "/" + w.name);
        CHECK(m.ok, "%s: not a well-formed bitmap", w.name);
        if (!m.ok) continue;
        CHECK(m.w == w.w && m.h == w.h && m.bpp == w.bpp, "%s: %dx%d %d-bit, wanted %dx%d %d-bit", w.name, m.w, m.h,
              m.bpp, w.w, w.h, w.bpp);
        if (m.bpp <= 8)
            CHECK(m.clrUsed == m.palette.size() && m.clrUsed >= 1 && m.clrUsed <= (1u << m.bpp),
                  "%s: biClrUsed %u does not describe the palette", w.name, m.clrUsed);
    }
    std::set<std::string> found;
    for (auto& e : std::filesystem::directory_iterator(dir)) found.insert(e.path().filename().string());
    CHECK(found == expected, "the folder holds %zu files, wanted exactly the %zu pictures", found.size(), expected.size());
}

void checkGlyphs(const std::string& dir) {
    for (int i = 1; i <= 8; ++i) {
        std::string name = "glyph" + std::to_string(i) + ".bmp";
        Bmp m = readBmp(dir + "/" + name);
        if (!m.ok) continue;
        CHECK(m.at(0, 0) == kBlack, "%s: top-left pixel is not black", name.c_str());
        int art = 0;
        for (auto& c : m.px) art += c != kBlack;
        // A drawing worth the name, and an outline of see-through black.
        CHECK(art > 32 * 32 / 4 && art < 32 * 32 - 20, "%s: %d drawn pixels", name.c_str(), art);
        if (m.bpp == 4) {
            int blackEntries = 0;
            for (auto& c : m.palette) blackEntries += c == kBlack;
            CHECK(blackEntries == 1, "%s: %d palette entries are black", name.c_str(), blackEntries);
        }
    }
}

void checkTitleBar(const std::string& dir) {
    Bmp left = readBmp(dir + "/title_left.bmp"), mid = readBmp(dir + "/title_client.bmp"),
        right = readBmp(dir + "/title_right.bmp");
    if (!left.ok || !mid.ok || !right.ok) return;
    for (int y = 0; y < 23; ++y) {
        RGB8 row = mid.at(0, y);
        for (int x = 0; x < mid.w; ++x) CHECK(mid.at(x, y) == row, "title_client row %d is not one colour", y);
        // The ends meet the middle with the same stripes.
        CHECK(left.at(left.w - 1, y) == row && right.at(0, y) == row, "title ends do not join row %d", y);
        for (int x = 1; x < 47; ++x)
            CHECK(left.at(x, y) == row && right.at(x, y) == row, "title end differs at (%d,%d)", x, y);
    }
    for (auto* m : {&left, &mid, &right})
        for (int x = 0; x < m->w; ++x)
            CHECK(m->at(x, 0) == kGrey7F && m->at(x, 22) == kGrey7F, "title bar edge row is not #7F7F7F");
    for (int y = 1; y < 22; ++y) {
        RGB8 c = mid.at(0, y);
        CHECK(c.r == c.g && c.g == c.b && c.r > 0xC0, "title stripe row %d is not light grey", y);
    }

    const char* balls[] = {"ctlbox", "close", "max", "min"};
    for (auto* b : balls)
        for (auto* state : {"normal", "hot"}) {
            std::string name = std::string("title_") + b + "_" + state + ".bmp";
            Bmp m = readBmp(dir + "/" + name);
            if (!m.ok) continue;
            for (auto [x, y] : {std::pair{0, 0}, {16, 0}, {0, 16}, {16, 16}})
                CHECK(m.at(x, y) == mid.at(0, y + 4), "%s: corner (%d,%d) does not match title bar row %d", name.c_str(),
                      x, y, y + 4);
            RGB8 centre = m.at(8, 8);
            CHECK(!(centre.r == centre.g && centre.g == centre.b), "%s: no coloured ball in the middle", name.c_str());
        }
    // Hot buttons add a symbol: they differ from the plain ones.
    for (auto* b : balls) {
        Bmp n = readBmp(dir + "/title_" + b + "_normal.bmp"), h = readBmp(dir + "/title_" + b + "_hot.bmp");
        if (n.ok && h.ok) CHECK(n.px != h.px, "title_%s: hot looks the same as normal", b);
    }
}

void checkFaces(const std::string& dir) {
    for (auto* name : {"face_normal.bmp", "face_hot.bmp", "face_down.bmp"}) {
        Bmp m = readBmp(dir + "/" + name);
        if (!m.ok) continue;
        for (int y = 0; y < m.h; ++y)
            for (int x = 0; x < m.w; ++x) {
                bool key = m.at(x, y) == kMagenta;
                // Only the rounded corners are see-through, and they lie in
                // the corner quarters the program keeps as they are.
                bool inCorner = (x < 38 || x > 38) && (y < 13 || y > 13);
                if (key) CHECK(inCorner, "%s: see-through pixel (%d,%d) outside the corners", name, x, y);
                if (key) CHECK((x < 14 || x > 62), "%s: see-through pixel (%d,%d) in the straight part", name, x, y);
            }
        for (auto [x, y] : {std::pair{0, 0}, {76, 0}, {0, 26}, {76, 26}})
            CHECK(m.at(x, y) == kMagenta, "%s: corner (%d,%d) is not magenta", name, x, y);
        // Columns that get stretched must be alike.
        for (int y = 0; y < m.h; ++y)
            for (int x = 15; x <= 62; ++x)
                CHECK(m.indexAt(x, y) == m.indexAt(14, y), "%s: row %d changes along the stretched middle", name, y);
        // The face is symmetric end to end.
        for (int y = 0; y < m.h; ++y)
            for (int x = 0; x < m.w; ++x)
                CHECK((m.at(x, y) == kMagenta) == (m.at(m.w - 1 - x, y) == kMagenta), "%s: ends differ at row %d", name, y);
    }
    Bmp n = readBmp(dir + "/face_normal.bmp"), h = readBmp(dir + "/face_hot.bmp"), d = readBmp(dir + "/face_down.bmp");
    if (n.ok && h.ok && d.ok) {
        auto blueness = [](RGB8 c) { return int(c.b) - (int(c.r) + int(c.g)) / 2; };
        RGB8 cn = n.at(38, 13), ch = h.at(38, 13), cd = d.at(38, 13);
        CHECK(blueness(cn) < 30 && cn.r > 0xC0, "face_normal is not white");
        CHECK(blueness(ch) > 60 && blueness(cd) > 60, "hot and pressed faces are not blue-violet");
        CHECK(cd.r + cd.g + cd.b < ch.r + ch.g + ch.b, "the pressed face is not deeper than the hot one");
        // Lit from below: the pressed face gets lighter towards its foot.
        RGB8 top = d.at(38, 3), low = d.at(38, 23);
        CHECK(low.r + low.g + low.b > top.r + top.g + top.b, "the pressed face is not lit from below");
    }
}

void checkBackground(const std::string& dir) {
    Bmp m = readBmp(dir + "/background.bmp");
    if (!m.ok) return;
    const uint8_t rows[4] = {0xFF, 0xEF, 0xE8, 0xEF};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            uint8_t v = rows[y % 4];
            CHECK(m.at(x, y) == (RGB8{v, v, v}), "background.bmp pixel (%d,%d)", x, y);
        }
}

void checkTree(const std::string& dir) {
    Bmp c = readBmp(dir + "/treeimages.bmp"), m = readBmp(dir + "/treemask.bmp");
    if (!c.ok || !m.ok) return;
    CHECK(m.palette.size() == 2 && m.palette[0] == kBlack && m.palette[1] == (RGB8{255, 255, 255}),
          "treemask palette is not black, white");
    for (auto a : c.alphaByte) CHECK(a == 0, "treeimages alpha byte is not 0");
    for (int cell = 0; cell < 16; ++cell) {
        int ox = (cell % 4) * 16, oy = (cell / 4) * 16, opaque = 0;
        for (int y = oy; y < oy + 16; ++y)
            for (int x = ox; x < ox + 16; ++x) {
                bool clear = m.indexAt(x, y) == 1;
                if (clear) CHECK(c.at(x, y) == kBlack, "tree pixel (%d,%d) is see-through but not black", x, y);
                opaque += !clear;
            }
        if (cell < 13)
            CHECK(opaque > 30 && opaque < 256, "tree picture %d has %d opaque pixels", cell, opaque);
        else
            CHECK(opaque == 0, "unused tree cell %d is not empty", cell);
    }
}

void checkIcon(const std::string& dir) {
    Bytes b = readAll(dir + "/mainicon.ico");
    CHECK(b.size() > 6 + 32 && u16(b, 0) == 0 && u16(b, 2) == 1 && u16(b, 4) == 2, "mainicon.ico: not a two-image icon");
    if (failures) return;
    std::set<int> sizes;
    for (int i = 0; i < 2; ++i) {
        size_t e = 6 + 16 * size_t(i);
        int w = b[e], h = b[e + 1];
        uint32_t len = u32(b, e + 8), off = u32(b, e + 12);
        CHECK(u16(b, e + 6) == 4 && b[e + 2] == 16, "icon image %d is not 16-colour", i);
        CHECK(off + len <= b.size(), "icon image %d runs past the file", i);
        if (off + len > b.size()) continue;
        sizes.insert(w);
        Bmp m = readDib(b, off, 0, true);
        CHECK(m.ok && m.w == w && m.h == h && m.bpp == 4, "icon image %d header disagrees with its entry", i);
        if (!m.ok) continue;
        size_t xorBytes = ((size_t(w) * 4 + 31) / 32) * 4 * h, andStride = ((size_t(w) + 31) / 32) * 4;
        size_t andAt = off + 40 + 16 * 4 + xorBytes;
        CHECK(andAt + andStride * h == off + len, "icon image %d size does not hold its AND mask", i);
        int clear = 0;
        for (int row = 0; row < h; ++row)
            for (int x = 0; x < w; ++x) {
                int y = h - 1 - row;
                bool t = (b[andAt + andStride * row + x / 8] >> (7 - x % 8)) & 1;
                clear += t;
                if (t) CHECK(m.indexAt(x, y) == 0 && m.palette[0] == kBlack, "icon see-through pixel not black");
            }
        CHECK(clear > w * h / 8 && clear < w * h * 3 / 4, "icon image %d: %d see-through pixels", i, clear);
    }
    CHECK(sizes == (std::set<int>{16, 32}), "icon sizes are not 32 and 16");
}

// Finds JPEG segments by marker; returns false if the stream is malformed.
bool jpegMarkers(const Bytes& b, std::map<int, Bytes>& seg, std::vector<int>& order) {
    if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return false;
    size_t o = 2;
    while (o + 4 <= b.size()) {
        if (b[o] != 0xFF) return false;
        int marker = b[o + 1];
        size_t len = (size_t(b[o + 2]) << 8) | b[o + 3];
        order.push_back(marker);
        seg[marker] = Bytes(b.begin() + long(o + 4), b.begin() + long(std::min(b.size(), o + 2 + len)));
        o += 2 + len;
        if (marker == 0xDA) {
            // Entropy-coded data: runs to the EOI marker.
            return b.size() >= 2 && b[b.size() - 2] == 0xFF && b[b.size() - 1] == 0xD9;
        }
    }
    return false;
}

// Decodes a JPEG with ImageMagick, if it is there. Returns false if not.
bool decodeWithImageMagick(const std::string& path, int& w, int& h, std::vector<RGB8>& px) {
    if (std::system("convert -version 2>/dev/null | grep -q ImageMagick") != 0) return false;
    std::string cmd = "convert '" + path + "' -depth 8 rgb:- 2>/dev/null";
    std::string geom = "identify -format '%w %h' '" + path + "' 2>/dev/null";
    FILE* g = popen(geom.c_str(), "r");
    if (!g || std::fscanf(g, "%d %d", &w, &h) != 2) {
        if (g) pclose(g);
        return false;
    }
    pclose(g);
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return false;
    px.resize(size_t(w) * h);
    size_t n = std::fread(px.data(), 3, px.size(), p);
    pclose(p);
    return n == px.size();
}

void checkLogo(const std::string& dir) {
    Bytes b = readAll(dir + "/logo.jpg");
    std::map<int, Bytes> seg;
    std::vector<int> order;
    CHECK(jpegMarkers(b, seg, order), "logo.jpg: not a well-formed JPEG stream");
    CHECK(seg.count(0xE0) && std::memcmp(seg[0xE0].data(), "JFIF", 5) == 0, "logo.jpg: no JFIF header");
    CHECK(seg.count(0xC0) == 1, "logo.jpg: no baseline frame header");
    for (int m : order) CHECK(m == 0xC0 || m < 0xC1 || m > 0xCF || m == 0xC4, "logo.jpg: non-baseline marker %02X", m);
    if (seg.count(0xC0)) {
        const Bytes& f = seg[0xC0];
        CHECK(f[0] == 8 && ((f[1] << 8) | f[2]) == 66 && ((f[3] << 8) | f[4]) == 180 && f[5] == 3,
              "logo.jpg: frame is not 8-bit 180x66 with three components");
    }
    int w = 0, h = 0;
    std::vector<RGB8> px;
    if (!decodeWithImageMagick(dir + "/logo.jpg", w, h, px)) {
        std::printf("note: ImageMagick missing, logo.jpg not decoded\n");
        return;
    }
    CHECK(w == 180 && h == 66, "logo.jpg decodes to %dx%d", w, h);
    // White ground at the corners, lively colour in the word.
    for (auto [x, y] : {std::pair{1, 1}, {178, 1}, {1, 64}, {178, 64}}) {
        RGB8 c = px[size_t(y) * w + x];
        CHECK(c.r > 240 && c.g > 240 && c.b > 240, "logo.jpg corner (%d,%d) is not white", x, y);
    }
    int colourful = 0;
    for (auto& c : px) colourful += std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}) > 120;
    CHECK(colourful > 600, "logo.jpg has only %d strongly coloured pixels", colourful);
}

// The encoder on its own: odd sizes that cut blocks, hard edges and smooth
// ramps must all come back close to what went in.
void checkJpegEncoder() {
    std::string path = std::filesystem::temp_directory_path().string() + "/pictures-check-" +
                       std::to_string(::getpid()) + ".jpg";
    struct Case {
        int w, h;
    };
    for (Case cs : {Case{1, 1}, Case{37, 21}, Case{64, 8}, Case{9, 70}}) {
        pic::RgbImage img{cs.w, cs.h, {}};
        for (int y = 0; y < cs.h; ++y)
            for (int x = 0; x < cs.w; ++x) {
                bool edge = (x / 5 + y / 7) % 2;
                img.px.push_back(RGB8{uint8_t(x * 255 / std::max(1, cs.w - 1)), uint8_t(edge ? 230 : 20),
                                      uint8_t(y * 255 / std::max(1, cs.h - 1))});
            }
        pic::writeFile(path, pic::jpegBaseline(img, 92));
        int w = 0, h = 0;
        std::vector<RGB8> px;
        if (!decodeWithImageMagick(path, w, h, px)) break;
        CHECK(w == cs.w && h == cs.h, "jpeg %dx%d decodes to %dx%d", cs.w, cs.h, w, h);
        if (w != cs.w || h != cs.h) continue;
        double err = 0;
        for (size_t i = 0; i < px.size(); ++i)
            err += std::abs(px[i].r - img.px[i].r) + std::abs(px[i].g - img.px[i].g) + std::abs(px[i].b - img.px[i].b);
        err /= 3.0 * px.size();
        CHECK(err < 6, "jpeg %dx%d: mean error %.2f per channel", cs.w, cs.h, err);
    }
    std::remove(path.c_str());
}

void checkQuantise() {
    // Few colours: kept exactly, the key stays alone in entry 0.
    pic::RgbImage small{4, 2, {{0, 0, 0}, {10, 20, 30}, {255, 0, 0}, {10, 20, 30}, {0, 0, 0}, {0, 0, 1}, {9, 9, 9}, {0, 0, 0}}};
    std::vector<bool> key = {true, false, false, false, false, false, false, true};
    pic::IndexedImage q = pic::quantise(small, 16, {RGB8{0, 0, 0}}, key);
    for (size_t i = 0; i < small.px.size(); ++i) {
        CHECK((q.idx[i] == 0) == bool(key[i]), "quantise: pixel %zu key mismatch", i);
        // An unkeyed black pixel must not become see-through.
        if (!key[i]) CHECK(q.palette[q.idx[i]] != RGB8{}, "quantise: pixel %zu took the key colour", i);
        if (!key[i] && small.px[i] != RGB8{}) CHECK(q.palette[q.idx[i]] == small.px[i], "quantise: pixel %zu changed", i);
    }
    // Many colours: the palette stays within bounds, fixed colours first and exact.
    pic::RgbImage ramp{64, 64, {}};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) ramp.px.push_back(RGB8{uint8_t(x * 4), uint8_t(y * 4), uint8_t((x + y) * 2)});
    ramp.px[5] = RGB8{255, 0, 255};
    std::vector<RGB8> fixed = {RGB8{255, 0, 255}, RGB8{0x7F, 0x7F, 0x7F}};
    for (int n : {16, 256}) {
        pic::IndexedImage r = pic::quantise(ramp, n, fixed);
        CHECK(int(r.palette.size()) <= n, "quantise: %zu colours for %d", r.palette.size(), n);
        CHECK(r.palette[0] == fixed[0] && r.palette[1] == fixed[1], "quantise: fixed colours moved");
        CHECK(r.idx[5] == 0, "quantise: a fixed colour's pixel lost it");
        double err = 0;
        for (size_t i = 0; i < ramp.px.size(); ++i) {
            RGB8 a = ramp.px[i], b = r.palette[r.idx[i]];
            err += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        }
        err /= 3.0 * ramp.px.size();
        CHECK(err < (n == 16 ? 16 : 4), "quantise to %d: mean error %.2f", n, err);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: check OUTDIR\n");
        return 2;
    }
    std::string dir = argv[1];
    checkSizesAndDepths(dir);
    checkGlyphs(dir);
    checkTitleBar(dir);
    checkFaces(dir);
    checkBackground(dir);
    checkTree(dir);
    checkIcon(dir);
    checkLogo(dir);
    checkJpegEncoder();
    checkQuantise();
    if (failures) {
        std::fprintf(stderr, "%d check(s) failed\n", failures);
        return 1;
    }
    std::printf("pictures: all checks passed\n");
    return 0;
}
