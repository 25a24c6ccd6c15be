// The application icon: an open book with a rising chart line, drawn once
// for 32x32 and once, simpler, for 16x16.
#include "art.h"

namespace pic {

namespace {

const Col kCover = rgb(0x2456C0);
const Col kCoverEdge = rgb(0x102A66);
const Col kPageEdge = rgb(0x4A5468);
const Col kLine = rgb(0xE82A18);
const Col kLineEdge = rgb(0x6A0E06);

Canvas bigIcon() {
    Canvas cv(32, 32);
    Path back;
    back.moveTo(0.5, 13).lineTo(16, 16).lineTo(31.5, 13).lineTo(31.5, 27.5).quadTo(22, 27, 16, 30.5).quadTo(10, 27, 0.5, 27.5);
    outlined(cv, back, linear(Pt{0, 13}, Pt{0, 31}, {{0, lighter(kCover, 0.25)}, {1, darker(kCover, 0.2)}}), kCoverEdge);
    for (int s : {-1, 1}) {
        auto X = [&](double d) { return 16 + s * d; };
        Path p;
        p.moveTo(X(0), 14.5).quadTo(X(6), 10, X(14), 11).lineTo(X(14), 25.5).quadTo(X(6), 24.5, X(0), 28.8);
        outlined(cv, p, linear(Pt{X(0), 0}, Pt{X(14), 0}, {{0, rgb(0xCDD3DE)}, {0.4, rgb(0xF4F5F8)}, {1, rgb(0xFFFFFF)}}),
                 kPageEdge);
        for (int i = 0; i < 4; ++i) {
            double t = 15 + i * 2.6;
            Path l;
            l.moveTo(X(2.5), t + 1.6).quadTo(X(6.5), t - 1.4, X(11.5), t - 1.1);
            cv.fill(stroke(l, 0.8), rgb(0x98A2B8));
        }
    }
    cv.fill(strokeLine({{16, 14.5}, {16, 28.8}}, 1.0), kPageEdge);
    // The rising line with its arrow head
    std::vector<Pt> chart = {{3.5, 22}, {10, 15.5}, {15, 18}, {24.5, 7.5}};
    Path head = polygon({{29.5, 2.5}, {21.2, 5.2}, {27.0, 10.8}});
    cv.fill(strokeLine(chart, 4.6), kLineEdge);
    cv.fill(strokeLine({{29.5, 2.5}, {21.2, 5.2}, {27.0, 10.8}}, 1.6, true), kLineEdge);
    cv.fill(head, kLine);
    cv.fill(strokeLine(chart, 2.6), linear(Pt{4, 22}, Pt{28, 4}, {{0, rgb(0xFF5A36)}, {1, kLine}}));
    return cv;
}

// At 16x16 soft edges in sixteen colours turn to mush, so the small icon is
// set pixel by pixel: the rising line above the open book.
IconImage smallIcon() {
    static const char* const rows[16] = {
        "..........rrrrrr",
        "...........RRRRr",
        "............RRRr",
        "...r.......RRRRr",
        "..rRr.....RRRrRr",
        ".rRRRr...RRRr.r.",
        "rRRrRRr.RRRr....",
        "RRr.rRRRRRr.....",
        "kkkkkrRRRrkkkkkk",
        "kWWWWkrrrkkWWWWk",
        "kWWWWWkkkkWWWWWk",
        "kWgggWwkkwWgggWk",
        "kWWWWWwkkwWWWWWk",
        "kWgggWwkkwWgggWk",
        "kBkkWWwkkwWWkkBk",
        ".kBBkkkkkkkkBBk.",
    };
    struct Ink {
        char key;
        RGB8 colour;
    };
    const Ink inks[] = {{'k', RGB8{0x1C, 0x28, 0x48}}, {'B', RGB8{0x2A, 0x5C, 0xC8}}, {'W', RGB8{0xFF, 0xFF, 0xFF}},
                        {'w', RGB8{0xD8, 0xDE, 0xE8}}, {'g', RGB8{0x98, 0xA2, 0xB8}}, {'R', RGB8{0xE8, 0x2A, 0x18}},
                        {'r', RGB8{0x7A, 0x10, 0x08}}};
    IconImage icon;
    icon.colour = IndexedImage{16, 16, {RGB8{0, 0, 0}}, std::vector<uint8_t>(256, 0)};
    for (auto& ink : inks) icon.colour.palette.push_back(ink.colour);
    icon.transparent.assign(256, true);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            char c = rows[y][x];
            if (c == '.') continue;
            for (size_t k = 0; k < sizeof inks / sizeof inks[0]; ++k)
                if (inks[k].key == c) {
                    icon.colour.idx[size_t(y) * 16 + x] = uint8_t(k + 1);
                    icon.transparent[size_t(y) * 16 + x] = false;
                }
        }
    return icon;
}

IconImage iconImage(const Canvas& cv) {
    KeyedImage k = keyed(cv, rgb(0xC8CCD4), 0.45, RGB8{0, 0, 0});
    return IconImage{quantise(k.img, 16, {RGB8{0, 0, 0}}, k.key), k.key};
}

}  // namespace

NamedFile iconPicture() { return {"mainicon.ico", icoFile({iconImage(bigIcon()), smallIcon()})}; }

}  // namespace pic
