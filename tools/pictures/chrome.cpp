// Window chrome: the pinstriped title bar, its round buttons, the glossy
// button faces and the window background.
#include <cmath>

#include "art.h"

namespace pic {

RGB8 to8(Col c) {
    auto ch = [](double v) { return uint8_t(std::lround(std::min(1.0, std::max(0.0, v)) * 255)); };
    return RGB8{ch(c.r), ch(c.g), ch(c.b)};
}

void outlined(Canvas& cv, const Path& shape, const Paint& fill, Col edge, double pen) {
    cv.fill(shape, fill);
    Path lines;
    for (auto& c : shape.contours) lines.add(strokeLine(c.pts, pen, true));
    cv.fill(lines, edge);
}

RgbImage flatten(const Canvas& c, Col bg) {
    Canvas f = c.flattenedOver(bg);
    RgbImage out{c.w, c.h, {}};
    for (auto& p : f.px) out.px.push_back(to8(p));
    return out;
}

KeyedImage keyed(const Canvas& c, Col edge, double threshold, RGB8 keyColour) {
    KeyedImage out;
    out.img = RgbImage{c.w, c.h, std::vector<RGB8>(size_t(c.w) * c.h)};
    out.key.assign(size_t(c.w) * c.h, false);
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            size_t i = size_t(y) * c.w + x;
            Col p = c.at(x, y);
            if (p.a < threshold) {
                out.img.px[i] = keyColour;
                out.key[i] = true;
                continue;
            }
            // Soft edge pixels are blended over the colour behind them.
            out.img.px[i] = to8(over(p, alpha(edge, 1)));
        }
    return out;
}

RGB8 titleRow(int row) {
    if (row <= 0 || row >= 22) return RGB8{0x7F, 0x7F, 0x7F};
    // Pinstripes: a light row then a grey one, darkening a little downwards.
    double t = (row - 1) / 20.0;
    int v = (row % 2 == 1) ? int(std::lround(0xF7 - 12 * t)) : int(std::lround(0xE3 - 12 * t));
    if (row == 1) v = 0xFC;  // a bright lip under the top line
    return RGB8{uint8_t(v), uint8_t(v), uint8_t(v)};
}

namespace {

std::vector<RGB8> titleStripes() {
    std::vector<RGB8> s;
    for (int r = 0; r < 23; ++r) {
        RGB8 c = titleRow(r);
        bool seen = false;
        for (auto& o : s) seen = seen || o == c;
        if (!seen) s.push_back(c);
    }
    return s;
}

Col colOf(RGB8 c) { return Col{c.r / 255.0, c.g / 255.0, c.b / 255.0, 1}; }

IndexedImage titleSection(int w, bool leftEdge, bool rightEdge) {
    RgbImage img{w, 23, std::vector<RGB8>(size_t(w) * 23)};
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < w; ++x) {
            RGB8 c = titleRow(y);
            if ((leftEdge && x == 0) || (rightEdge && x == w - 1)) c = RGB8{0x7F, 0x7F, 0x7F};
            img.at(x, y) = c;
        }
    return quantise(img, 256, titleStripes());
}

enum class Symbol { None, Square, Cross, Plus, Minus };

IndexedImage titleButton(uint32_t hue, Symbol sym) {
    const int n = 17;
    Canvas cv(n, n);
    const double c = 8.5, r = 7.5;
    Col base = rgb(hue);
    // A faint shadow just under the ball.
    Mask shadow = cv.cover(circle(c, c + 0.7, r)).blurred(1, 1);
    cv.fill(shadow, alpha(rgb(0x000000), 0.22));
    // Dark rim, then the body lit from below, then the gloss on top.
    cv.fill(circle(c, c, r), darker(base, 0.5));
    Mask body = cv.cover(circle(c, c, r - 1.0));
    cv.fill(body, radial(Pt{c, c + 5.5}, 10.5, 9.5,
                         {{0.0, lighter(base, 0.55)}, {0.45, lighter(base, 0.12)}, {0.8, base}, {1.0, darker(base, 0.22)}}));
    Mask rim = cv.cover(ring(c, c, r - 1.0, r - 2.2)).blurred(1, 1);
    rim *= body;
    cv.fill(rim, alpha(darker(base, 0.35), 0.35));
    cv.fill(ellipse(c, 5.0, 4.7, 3.3),
            linear(Pt{0, 1.7}, Pt{0, 8.3}, {{0, alpha(rgb(0xFFFFFF), 1.0)}, {1, alpha(rgb(0xFFFFFF), 0.3)}}));
    Col ink = darker(base, 0.62);
    const double pen = 1.5;
    switch (sym) {
        case Symbol::None:
            break;
        case Symbol::Square:
            cv.fill(rect(6, 6, 5, 5), ink);
            break;
        case Symbol::Cross:
            cv.fill(strokeLine({{5.9, 5.9}, {11.1, 11.1}}, pen), ink);
            cv.fill(strokeLine({{11.1, 5.9}, {5.9, 11.1}}, pen), ink);
            break;
        case Symbol::Plus:
            cv.fill(strokeLine({{8.5, 5.2}, {8.5, 11.8}}, pen), ink);
            cv.fill(strokeLine({{5.2, 8.5}, {11.8, 8.5}}, pen), ink);
            break;
        case Symbol::Minus:
            cv.fill(strokeLine({{5.2, 8.5}, {11.8, 8.5}}, pen), ink);
            break;
    }
    // The bar's stripes show through around the ball: rows 4..20 of the bar.
    Canvas bg(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) bg.px[size_t(y) * n + x] = colOf(titleRow(y + 4));
    RgbImage img{n, n, std::vector<RGB8>(size_t(n) * n)};
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            Col p = cv.at(x, y);
            Col b = colOf(titleRow(y + 4));
            img.at(x, y) = p.a <= 0 ? titleRow(y + 4) : to8(over(p, b));
        }
    return quantise(img, 256, titleStripes());
}

struct FaceLook {
    Col outline;
    Stops body;        // top to bottom, over the face's height
    double glossTop;   // white gloss strength at its top
    double glossLow;   // and at its foot
    double glow;       // light rising from the bottom edge
};

IndexedImage buttonFace(const FaceLook& look) {
    const int w = 77, h = 27;
    Canvas cv(w, h);
    // Rounded ends of radius 13 fit inside the 38x13 corner quarters that
    // the program keeps unstretched.
    cv.fill(roundRect(0, 0, w, h, 13.5), look.outline);
    Mask inner = cv.cover(roundRect(1, 1, w - 2.0, h - 2.0, 12.5));
    cv.fill(inner, linear(Pt{0, 1.5}, Pt{0, h - 1.5}, look.body));
    if (look.glow > 0) {
        Mask glow = cv.cover(roundRect(6, 15.5, w - 12.0, 10.5, 5.2)).blurred(1, 2);
        glow *= inner;
        cv.fill(glow, linear(Pt{0, 16}, Pt{0, 25.5},
                             {{0, alpha(rgb(0xFFFFFF), 0)}, {1, alpha(rgb(0xFFFFFF), look.glow)}}));
    }
    if (look.glossTop > 0) {
        Mask gloss = cv.cover(roundRect(5.5, 2.2, w - 11.0, 10.3, 5.2));
        gloss *= inner;
        cv.fill(gloss, linear(Pt{0, 2.2}, Pt{0, 12.5},
                              {{0, alpha(rgb(0xFFFFFF), look.glossTop)}, {1, alpha(rgb(0xFFFFFF), look.glossLow)}}));
    }
    KeyedImage k = keyed(cv, rgb(0xEFEFEF), 0.45, RGB8{0xFF, 0x00, 0xFF});
    return quantise(k.img, 256, {RGB8{0xFF, 0x00, 0xFF}}, k.key);
}

RgbImage background() {
    const uint8_t rows[4] = {0xFF, 0xEF, 0xE8, 0xEF};
    RgbImage img{8, 8, std::vector<RGB8>(64)};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) img.at(x, y) = RGB8{rows[y % 4], rows[y % 4], rows[y % 4]};
    return img;
}

}  // namespace

std::vector<NamedFile> chromePictures() {
    std::vector<NamedFile> out;
    out.push_back({"title_left.bmp", bmpIndexed(titleSection(48, true, false), 8)});
    out.push_back({"title_client.bmp", bmpIndexed(titleSection(49, false, false), 8)});
    out.push_back({"title_right.bmp", bmpIndexed(titleSection(48, false, true), 8)});

    struct Ball {
        const char* name;
        uint32_t hue;
        Symbol hot;
    };
    const Ball balls[] = {{"ctlbox", 0x9A5AD8, Symbol::Square},
                          {"close", 0xE8463C, Symbol::Cross},
                          {"max", 0x46BA40, Symbol::Plus},
                          {"min", 0xF2A628, Symbol::Minus}};
    for (auto& b : balls) {
        out.push_back({std::string("title_") + b.name + "_normal.bmp", bmpIndexed(titleButton(b.hue, Symbol::None), 8)});
        out.push_back({std::string("title_") + b.name + "_hot.bmp", bmpIndexed(titleButton(b.hue, b.hot), 8)});
    }

    FaceLook normal{rgb(0x3E3E4C),
                    {{0, rgb(0xF6F6FA)}, {0.5, rgb(0xE2E4EC)}, {0.75, rgb(0xE8EAF2)}, {1, rgb(0xFFFFFF)}},
                    0.95, 0.35, 0.6};
    FaceLook hot{rgb(0x2C288C),
                 {{0, rgb(0x4E48D0)}, {0.5, rgb(0x6660E4)}, {0.8, rgb(0x8C88F4)}, {1, rgb(0xB8B6FF)}},
                 0.85, 0.18, 0.45};
    FaceLook down{rgb(0x1C1864),
                  {{0, rgb(0x26207C)}, {0.35, rgb(0x3A34A8)}, {0.75, rgb(0x5A54D0)}, {1, rgb(0x9A96FA)}},
                  0.0, 0.0, 0.55};
    out.push_back({"face_normal.bmp", bmpIndexed(buttonFace(normal), 8)});
    out.push_back({"face_hot.bmp", bmpIndexed(buttonFace(hot), 8)});
    out.push_back({"face_down.bmp", bmpIndexed(buttonFace(down), 8)});
    out.push_back({"background.bmp", bmp24(background())});
    return out;
}

}  // namespace pic
