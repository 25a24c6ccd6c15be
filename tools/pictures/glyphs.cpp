// The 32x32 pictures on the big buttons. Black is see-through for the
// program, so the art itself keeps to dark greys at its darkest.
#include <cmath>

#include "art.h"

namespace pic {

namespace {

const Col kInk = rgb(0x2A2A30);  // outlines
const Col kWhite = rgb(0xFFFFFF);

Paint vertical(double y0, double y1, Col a, Col b) { return linear(Pt{0, y0}, Pt{0, y1}, {{0, a}, {1, b}}); }
Paint horizontal(double x0, double x1, Col a, Col b) { return linear(Pt{x0, 0}, Pt{x1, 0}, {{0, a}, {1, b}}); }

// --- 1: a three-dimensional bar chart
Canvas barChart() {
    Canvas cv(32, 32);
    const double dx = 3.5, dy = -3;
    // The floor slab
    Col slab = rgb(0xB8BCC8);
    outlined(cv, polygon({{1.5, 25.5}, {25.5, 25.5}, {30.5, 21.5}, {6.5, 21.5}}), solid(lighter(slab, 0.35)), kInk);
    outlined(cv, polygon({{1.5, 25.5}, {25.5, 25.5}, {25.5, 28.5}, {1.5, 28.5}}), vertical(25, 29, slab, darker(slab, 0.1)), kInk);
    outlined(cv, polygon({{25.5, 25.5}, {30.5, 21.5}, {30.5, 24.5}, {25.5, 28.5}}), solid(darker(slab, 0.3)), kInk);
    struct Bar {
        double x, top;
        uint32_t hue;
    };
    const Bar bars[] = {{4.5, 15.5, 0xE8402E}, {11.5, 9.5, 0x3CB43C}, {18.5, 4.5, 0x2F6FE8}};
    const double w = 5, bottom = 24.5;
    for (auto& b : bars) {
        Col c = rgb(b.hue);
        double x0 = b.x, x1 = b.x + w;
        outlined(cv, polygon({{x1, b.top}, {x1 + dx, b.top + dy}, {x1 + dx, bottom + dy}, {x1, bottom}}),
                 solid(darker(c, 0.38)), kInk);
        outlined(cv, polygon({{x0, b.top}, {x1, b.top}, {x1 + dx, b.top + dy}, {x0 + dx, b.top + dy}}),
                 solid(lighter(c, 0.45)), kInk);
        outlined(cv, rect(x0, b.top, w, bottom - b.top), horizontal(x0, x1, lighter(c, 0.2), darker(c, 0.08)), kInk);
    }
    return cv;
}

// --- 2: a pentagonal gem set in coloured rings
Canvas gemRings() {
    Canvas cv(32, 32);
    const double c = 16;
    struct Band {
        double r;
        uint32_t hue;
    };
    const Band bands[] = {{14.4, 0x2E6FE0}, {12.0, 0x2FB04A}, {9.7, 0xF5C21B}};
    cv.fill(circle(c, c, 15.0), kInk);
    for (auto& b : bands) {
        Col col = rgb(b.hue);
        cv.fill(circle(c, c, b.r), linear(Pt{4, 4}, Pt{28, 28}, {{0, lighter(col, 0.45)}, {0.5, col}, {1, darker(col, 0.3)}}));
        cv.fill(ring(c, c, b.r, b.r - 0.7), alpha(darker(col, 0.45), 0.8));
    }
    // The gem: a pentagon with a flat table and five facets.
    const double pi = 3.14159265358979;
    std::vector<Pt> outer, table;
    for (int i = 0; i < 5; ++i) {
        double a = -pi / 2 + i * 2 * pi / 5;
        outer.push_back(Pt{c + 8.6 * std::cos(a), c + 0.6 + 8.6 * std::sin(a)});
        table.push_back(Pt{c + 4.2 * std::cos(a), c + 0.6 + 4.2 * std::sin(a)});
    }
    Col ruby = rgb(0xD8203C);
    const double shade[5] = {0.55, 0.15, -0.35, -0.5, 0.3};  // lit from the top left
    for (int i = 0; i < 5; ++i) {
        int j = (i + 1) % 5;
        double s = shade[i];
        Col f = s >= 0 ? lighter(ruby, s) : darker(ruby, -s);
        cv.fill(polygon({outer[size_t(i)], outer[size_t(j)], table[size_t(j)], table[size_t(i)]}), f);
    }
    cv.fill(polygon(table), linear(Pt{12, 12}, Pt{20, 20}, {{0, lighter(ruby, 0.7)}, {1, lighter(ruby, 0.25)}}));
    Path edges = strokeLine(outer, 1.0, true);
    cv.fill(edges, rgb(0x5A0A18));
    Path facets = strokeLine(table, 0.6, true);
    for (int i = 0; i < 5; ++i) facets.add(strokeLine({outer[size_t(i)], table[size_t(i)]}, 0.6));
    cv.fill(facets, alpha(rgb(0x7A1020), 0.6));
    cv.fill(circle(13.6, 13.4, 1.2), alpha(kWhite, 0.9));
    return cv;
}

// --- 3: a video camera held in a hand
Canvas cameraInHand() {
    Canvas cv(32, 32);
    Col body = rgb(0x56667E);
    Col skin = rgb(0xF2BC8E), skinEdge = rgb(0x8C5634);
    // Viewfinder on top at the back
    outlined(cv, roundRect(18.5, 4.5, 10, 5, 1.5), vertical(4, 10, lighter(body, 0.3), body), kInk);
    // Body
    outlined(cv, roundRect(8.5, 8.5, 20, 12, 2.5), vertical(8, 21, lighter(body, 0.45), darker(body, 0.15)), kInk);
    // Lens barrel and glass
    outlined(cv, rect(3.5, 10.5, 6, 8), vertical(10, 19, lighter(body, 0.25), darker(body, 0.35)), kInk);
    outlined(cv, ellipse(3.5, 14.5, 2, 4), radial(Pt{3, 13}, 3, 4.5, {{0, rgb(0xA8D8FF)}, {0.6, rgb(0x2A6AD0)}, {1, rgb(0x143A80)}}), kInk);
    cv.fill(rect(11, 11, 2, 2), rgb(0xF03020));
    // The hand: palm and wrist from below, fingers wrapped round the body.
    Path palm;
    palm.moveTo(16, 31.5).lineTo(16.5, 24).quadTo(17, 18.5, 24, 18.5).lineTo(29, 19.5).quadTo(31.5, 22, 30.5, 26)
        .lineTo(28, 31.5);
    outlined(cv, palm, linear(Pt{16, 20}, Pt{30, 30}, {{0, lighter(skin, 0.3)}, {1, darker(skin, 0.12)}}), skinEdge);
    for (int k = 0; k < 4; ++k) {
        double y = 9.8 + k * 2.9;
        outlined(cv, roundRect(19.5 + k * 0.4, y, 10.2 - k * 0.4, 3.1, 1.5),
                 vertical(y, y + 3, lighter(skin, 0.35), skin), skinEdge, 0.9);
    }
    // Thumb along the near side
    Path thumb;
    thumb.moveTo(18, 23).quadTo(13.5, 21.5, 11.5, 19.2).quadTo(11, 17.6, 12.8, 17.8).quadTo(16, 19, 20.5, 20.2);
    outlined(cv, thumb, solid(lighter(skin, 0.2)), skinEdge, 0.9);
    return cv;
}

// --- 4: an open book
Canvas openBook() {
    Canvas cv(32, 32);
    Col cover = rgb(0x2F5FB8);
    Path back;
    back.moveTo(1, 9).lineTo(16, 12).lineTo(31, 9).lineTo(31, 26).quadTo(22, 25.5, 16, 29).quadTo(10, 25.5, 1, 26);
    outlined(cv, back, vertical(9, 29, lighter(cover, 0.2), darker(cover, 0.2)), rgb(0x1A2C60));
    auto page = [&](bool left) {
        double sx = left ? -1 : 1;
        auto X = [&](double d) { return 16 + sx * d; };
        Path p;
        p.moveTo(X(0), 10.5).quadTo(X(6), 5.5, X(13.5), 6.8).lineTo(X(13.5), 24).quadTo(X(6), 22.8, X(0), 27.2);
        Paint fill = linear(Pt{X(0), 0}, Pt{X(13.5), 0}, {{0, rgb(0xD4D8E0)}, {0.35, rgb(0xF6F6F8)}, {1, rgb(0xFFFFFF)}});
        outlined(cv, p, fill, rgb(0x50586A));
        // Lines of text following the page's curve
        for (int i = 0; i < 6; ++i) {
            double t = 10.5 + i * 2.3;
            Path l;
            l.moveTo(X(2.5), t + 1.8).quadTo(X(6.5), t - 1.6 + i * 0.12, X(11.5), t - 1.2 + i * 0.14);
            cv.fill(stroke(l, 0.75), alpha(rgb(0x8890A8), 0.9));
        }
    };
    page(true);
    page(false);
    cv.fill(strokeLine({{16, 10.5}, {16, 27.2}}, 1.0), rgb(0x50586A));
    return cv;
}

// --- 5: a magnifying glass over a window with a table and a yellow box
Canvas magnifier() {
    Canvas cv(32, 32);
    // The window with its table
    outlined(cv, rect(2.5, 2.5, 23, 17), solid(kWhite), kInk);
    cv.fill(rect(3, 3, 22, 3.5), vertical(3, 6.5, rgb(0x5A8CF0), rgb(0x1E4CB4)));
    cv.fill(rect(3, 6.5, 22, 1), kInk);
    Path grid;
    for (double y : {10.5, 13.5, 16.5}) grid.add(strokeLine({{3, y}, {25, y}}, 0.8));
    for (double x : {9.5, 17.5}) grid.add(strokeLine({{x, 7}, {x, 19}}, 0.8));
    cv.fill(grid, rgb(0x90A0B8));
    cv.fill(rect(3, 7.5, 22, 2.5), rgb(0xD8E0EC));
    // The yellow box
    Col yel = rgb(0xF8C818);
    outlined(cv, polygon({{17.5, 18.5}, {27.5, 18.5}, {30.5, 15.5}, {20.5, 15.5}}), solid(lighter(yel, 0.5)), kInk);
    outlined(cv, polygon({{27.5, 18.5}, {30.5, 15.5}, {30.5, 26.5}, {27.5, 29.5}}), solid(darker(yel, 0.28)), kInk);
    outlined(cv, rect(17.5, 18.5, 10, 11), vertical(18, 30, lighter(yel, 0.1), darker(yel, 0.08)), kInk);
    // The glass: lens, rim and handle
    const double cx = 12.5, cy = 16, r = 6.2;
    cv.fill(strokeLine({{cx - 4.6, cy + 4.6}, {2.5, 29}}, 3.6), kInk);
    cv.fill(strokeLine({{cx - 4.6, cy + 4.6}, {2.5, 29}}, 2.0), rgb(0x8A4A1E));
    cv.fill(circle(cx, cy, r), alpha(rgb(0xBFE4FF), 0.55));
    cv.fill(ring(cx, cy, r + 1.2, r - 0.6), linear(Pt{6, 9}, Pt{19, 23}, {{0, rgb(0xF0F2F6)}, {1, rgb(0x6A7486)}}));
    cv.fill(ring(cx, cy, r + 1.7, r + 1.0), kInk);
    cv.fill(ring(cx, cy, r - 0.5, r - 1.1), alpha(kInk, 0.8));
    Path glint;
    glint.moveTo(cx - 3.6, cy - 0.8).arcTo(cx, cy, 3.8, 3.8, 190, 255);
    cv.fill(stroke(glint, 1.2), alpha(kWhite, 0.95));
    return cv;
}

// --- 6: a yellow smiling face
// `margin` is the gap between the outline's outer edge and the picture's
// edge; a whole pixel keeps the round edge free of stray half-covered pixels.
Canvas smiley(double size, double pen, double margin) {
    int n = int(size);
    Canvas cv(n, n);
    double c = size / 2, r = size / 2 - margin - pen / 2;
    outlined(cv, circle(c, c, r),
             radial(Pt{c - r * 0.35, c - r * 0.4}, r * 1.5, r * 1.5,
                    {{0, rgb(0xFFF9B0)}, {0.45, rgb(0xFFDC28)}, {1, rgb(0xE89A00)}}),
             rgb(0x8A5200), pen);
    Col eye = rgb(0x4A2C08);
    double ex = r * 0.36, ey = c - r * 0.22;
    cv.fill(ellipse(c - ex, ey, r * 0.13, r * 0.21), eye);
    cv.fill(ellipse(c + ex, ey, r * 0.13, r * 0.21), eye);
    Path smile;
    smile.arcTo(c, c + r * 0.02, r * 0.6, r * 0.58, 28, 152);
    cv.fill(stroke(smile, pen * 1.35), eye);
    cv.fill(ellipse(c - r * 0.38, c - r * 0.62, r * 0.3, r * 0.16).rotated(-25, Pt{c - r * 0.38, c - r * 0.62}),
            alpha(kWhite, 0.75));
    return cv;
}

// --- 7: a person in front of a computer screen (full colour)
Canvas personAtScreen() {
    Canvas cv(32, 32);
    // The screen, behind
    Col bezel = rgb(0xD8D8DC);
    outlined(cv, roundRect(10.5, 1.5, 20, 17, 1.5), vertical(1, 19, lighter(bezel, 0.5), darker(bezel, 0.12)), kInk);
    cv.fill(rect(13, 4, 15, 11.5), vertical(4, 15.5, rgb(0x58A8F8), rgb(0x1A3E9A)));
    cv.fill(rect(13, 4, 15, 11.5).moved(0, 0), linear(Pt{13, 4}, Pt{24, 13}, {{0, alpha(kWhite, 0.55)}, {0.5, alpha(kWhite, 0.1)}, {0.51, alpha(kWhite, 0)}, {1, alpha(kWhite, 0)}}));
    cv.fill(strokeLine({{13, 4}, {28, 4}, {28, 15.5}, {13, 15.5}}, 0.8, true), rgb(0x6A6E78));
    outlined(cv, polygon({{18.5, 18.5}, {23.5, 18.5}, {24.5, 21.5}, {17.5, 21.5}}), solid(darker(bezel, 0.15)), kInk);
    outlined(cv, roundRect(14.5, 21.5, 13, 2.5, 1), vertical(21, 24, bezel, darker(bezel, 0.25)), kInk);
    // The person, in front
    Col shirt = rgb(0x2E9A58);
    Path torso;
    torso.moveTo(0.5, 31.5).lineTo(0.8, 27).quadTo(1.5, 21.5, 7, 20.5).lineTo(15, 20.5).quadTo(20.5, 21.5, 21.2, 27)
        .lineTo(21.5, 31.5);
    outlined(cv, torso, linear(Pt{2, 20}, Pt{18, 31}, {{0, lighter(shirt, 0.4)}, {1, darker(shirt, 0.25)}}), kInk);
    cv.fill(polygon({{8, 20.5}, {14, 20.5}, {11, 24.5}}), rgb(0xF2C498));
    cv.fill(strokeLine({{8, 20.8}, {11, 24.8}, {14, 20.8}}, 0.9), darker(shirt, 0.45));
    Col skin = rgb(0xF4C49A);
    outlined(cv, ellipse(11, 13.5, 5.2, 6), radial(Pt{9.5, 12}, 7, 7, {{0, lighter(skin, 0.4)}, {1, darker(skin, 0.18)}}),
             rgb(0x7A4A2A));
    Path hair;
    hair.moveTo(5.6, 14).quadTo(5, 7, 11, 7).quadTo(17, 7, 16.4, 14).quadTo(15.5, 10.5, 12.5, 10.2).quadTo(8.5, 10.2, 5.6, 14);
    outlined(cv, hair, vertical(7, 14, rgb(0x8A5228), rgb(0x4E2A12)), rgb(0x3A200C), 0.8);
    cv.fill(circle(9, 14.4, 0.75), rgb(0x3A2A20));
    cv.fill(circle(13, 14.4, 0.75), rgb(0x3A2A20));
    Path mouth;
    mouth.arcTo(11, 15.6, 2, 1.8, 35, 145);
    cv.fill(stroke(mouth, 0.8), rgb(0x9A4A30));
    return cv;
}

// --- 8: a red question mark on a white disc
Canvas question() {
    Canvas cv(32, 32);
    outlined(cv, circle(16, 16, 14.5),
             radial(Pt{13, 11}, 20, 20, {{0, kWhite}, {0.55, rgb(0xF2F4F8)}, {1, rgb(0xB8C0CC)}}), rgb(0x5E6674));
    Path q;
    q.moveTo(11.2, 11.8).arcTo(16, 11.2, 4.9, 4.7, 187, 360 + 28).quadTo(16.2, 16.6, 16.2, 19.6);
    Path dot = circle(16.2, 24.2, 2.2);
    cv.fill(stroke(q, 5.0), rgb(0x6A0C0C));
    cv.fill(circle(16.2, 24.2, 2.9), rgb(0x6A0C0C));
    Paint red = linear(Pt{10, 6}, Pt{22, 27}, {{0, rgb(0xFF6A50)}, {0.5, rgb(0xE0201A)}, {1, rgb(0xA8100C)}});
    cv.fill(stroke(q, 3.3), red);
    cv.fill(dot, red);
    Path shine;
    shine.moveTo(12.6, 10.6).arcTo(16, 11.2, 3.6, 3.4, 200, 255);
    cv.fill(stroke(shine, 0.9), alpha(kWhite, 0.8));
    return cv;
}

// Turns a 32x32 drawing into the button glyph file: black is the see-through
// colour; soft edges are blended towards the light button face.
std::vector<uint8_t> glyphFile(const Canvas& cv, bool fullColour) {
    KeyedImage k = keyed(cv, rgb(0xE4E8F2), 0.4, RGB8{0, 0, 0});
    if (fullColour) {
        for (size_t i = 0; i < k.img.px.size(); ++i)
            if (!k.key[i] && k.img.px[i] == RGB8{0, 0, 0}) k.img.px[i] = RGB8{0x20, 0x20, 0x20};
        return bmp24(k.img);
    }
    return bmpIndexed(quantise(k.img, 16, {RGB8{0, 0, 0}}, k.key), 4);
}

}  // namespace

std::vector<NamedFile> glyphPictures() {
    // The top-left pixel must be the see-through black in every glyph; the
    // drawings all leave their corners empty.
    return {
        {"glyph1.bmp", glyphFile(barChart(), false)},
        {"glyph2.bmp", glyphFile(gemRings(), false)},
        {"glyph3.bmp", glyphFile(cameraInHand(), false)},
        {"glyph4.bmp", glyphFile(openBook(), false)},
        {"glyph5.bmp", glyphFile(magnifier(), false)},
        {"glyph6.bmp", glyphFile(smiley(32, 1.1, 1.0), false)},
        {"glyph7.bmp", glyphFile(personAtScreen(), true)},
        {"glyph8.bmp", glyphFile(question(), false)},
    };
}

}  // namespace pic
