// The 16x16 pictures of the contents tree, laid out four to a row in one
// 64x64 strip with a separate transparency mask.
#include <cmath>

#include "art.h"
#include "font.h"

namespace pic {

namespace {

const Col kInk = rgb(0x262A36);
const Col kWhite = rgb(0xFFFFFF);
const Col kTreeBack = rgb(0xC0DCC0);  // the tree's background

Paint across(double x0, double x1, Col a, Col b) { return linear(Pt{x0, 0}, Pt{x1, 0}, {{0, a}, {1, b}}); }
Paint down(double y0, double y1, Col a, Col b) { return linear(Pt{0, y0}, Pt{0, y1}, {{0, a}, {1, b}}); }

// A book standing on its foot, seen from the spine.
void spine(Canvas& cv, double x, double top, double w, Col c, bool bands = true) {
    outlined(cv, rect(x, top, w, 14.5 - top), across(x, x + w, lighter(c, 0.35), darker(c, 0.2)), kInk);
    if (bands) {
        cv.fill(rect(x + 0.5, top + 1.5, w - 1, 0.8), alpha(lighter(c, 0.7), 0.9));
        cv.fill(rect(x + 0.5, 12, w - 1, 0.8), alpha(lighter(c, 0.7), 0.9));
    }
}

Canvas rowOfBooks() {
    Canvas cv(16, 16);
    spine(cv, 0.5, 3.5, 3, rgb(0xD83A2E));
    spine(cv, 3.5, 1.5, 3, rgb(0x2E9A3E));
    spine(cv, 6.5, 4.5, 3, rgb(0x2F5FC8));
    spine(cv, 9.5, 2.5, 3, rgb(0xA0602A));
    // The last one leans on the others.
    Path p = rect(12.6, 4.9, 2.8, 9.6).rotated(-13, Pt{15.4, 14.5});
    Col c = rgb(0x8E44B8);
    outlined(cv, p, across(12, 16, lighter(c, 0.35), darker(c, 0.2)), kInk);
    return cv;
}

Canvas threeBooks() {
    Canvas cv(16, 16);
    const Col cols[3] = {rgb(0xF4C41C), rgb(0x9AA2AE), rgb(0x2E66D8)};
    const double xs[3] = {1.5, 5.5, 9.5}, tops[3] = {3.5, 1.5, 2.5}, ws[3] = {4, 4, 5};
    for (int i = 0; i < 3; ++i) {
        spine(cv, xs[i], tops[i], ws[i], cols[i], false);
        cv.fill(rect(xs[i] + 1, tops[i] + 2.5, ws[i] - 2, 3), alpha(kWhite, 0.85));
        cv.fill(rect(xs[i] + 0.5, 12, ws[i] - 1, 0.8), alpha(darker(cols[i], 0.5), 0.8));
    }
    return cv;
}

Canvas flatBook() {
    Canvas cv(16, 16);
    Col m = rgb(0xD02C9C);
    // Page block, cover on top, spine at the front left.
    outlined(cv, polygon({{4.5, 10.5}, {15.5, 6.5}, {15.5, 9.5}, {4.5, 13.5}}), solid(rgb(0xF6F2E8)), kInk);
    Path pagesLines;
    pagesLines.add(strokeLine({{5.5, 11.6}, {14.5, 8.4}}, 0.5));
    pagesLines.add(strokeLine({{5.5, 12.6}, {14.5, 9.4}}, 0.5));
    cv.fill(pagesLines, rgb(0xB8B0A0));
    outlined(cv, polygon({{0.5, 8.5}, {11.5, 4.5}, {15.5, 6.5}, {4.5, 10.5}}), linear(Pt{2, 5}, Pt{12, 10}, {{0, lighter(m, 0.45)}, {1, m}}), kInk);
    outlined(cv, polygon({{0.5, 8.5}, {4.5, 10.5}, {4.5, 13.5}, {0.5, 11.5}}), solid(darker(m, 0.3)), kInk);
    cv.fill(strokeLine({{4, 7.6}, {10.5, 5.3}}, 0.7), alpha(kWhite, 0.6));
    return cv;
}

Canvas pageWithE() {
    Canvas cv(16, 16);
    Path page;
    page.moveTo(2.5, 0.5).lineTo(10.5, 0.5).lineTo(13.5, 3.5).lineTo(13.5, 15.5).lineTo(2.5, 15.5);
    outlined(cv, page, down(0, 16, kWhite, rgb(0xE8ECF2)), rgb(0x5A6272));
    outlined(cv, polygon({{10.5, 0.5}, {10.5, 3.5}, {13.5, 3.5}}), solid(rgb(0xD0D6E0)), rgb(0x5A6272));
    Path lines;
    for (double y : {3.5, 5.5}) lines.add(strokeLine({{4.5, y}, {y < 4 ? 9 : 11.5, y}}, 0.8));
    cv.fill(lines, rgb(0x98A2B4));
    TextStyle st;
    st.xHeight = 7.2;
    st.weight = 0.2;
    Path e = textPath("e", 4.4, 14.6, st);
    cv.fill(e, rgb(0xD81C1C));
    return cv;
}

Canvas framedCard() {
    Canvas cv(16, 16);
    outlined(cv, rect(0.5, 2.5, 15, 11), linear(Pt{0, 2}, Pt{16, 14}, {{0, rgb(0xFFE890)}, {0.5, rgb(0xE0A820)}, {1, rgb(0x9A6408)}}),
             rgb(0x6A4404));
    outlined(cv, rect(3.5, 5.5, 9, 5), down(5, 11, rgb(0xFFFFFF), rgb(0xF0EEE6)), rgb(0x8A5C10));
    return cv;
}

Canvas flatOpenBook() {
    Canvas cv(16, 16);
    Col cover = rgb(0x2A62C8);
    Path back;
    back.moveTo(0.5, 6).lineTo(8, 7.5).lineTo(15.5, 6).lineTo(15.5, 12.5).lineTo(8, 14.5).lineTo(0.5, 12.5);
    outlined(cv, back, down(6, 14, lighter(cover, 0.25), darker(cover, 0.15)), rgb(0x142C66));
    for (int s : {-1, 1}) {
        auto X = [&](double d) { return 8 + s * d; };
        Path p;
        p.moveTo(X(0), 6.5).quadTo(X(3.5), 3.6, X(7), 4.4).lineTo(X(7), 11).quadTo(X(3.5), 10.5, X(0), 13);
        outlined(cv, p, across(X(0), X(7), rgb(0xD8DCE4), kWhite), rgb(0x505A70));
        for (int i = 0; i < 3; ++i) {
            double y = 7.2 + i * 1.8;
            cv.fill(strokeLine({{X(1.4), y + 0.6}, {X(5.8), y - 0.8}}, 0.55), rgb(0x9AA4B8));
        }
    }
    return cv;
}

Canvas binders() {
    Canvas cv(16, 16);
    const Col cols[3] = {rgb(0xD8302A), rgb(0x22B8CC), rgb(0x2A4EC0)};
    for (int i = 0; i < 3; ++i) {
        double x = 0.5 + i * 5;
        double top = i == 1 ? 0.5 : 1.5;
        outlined(cv, roundRect(x, top, 5, 15 - top, 0.8), across(x, x + 5, lighter(cols[i], 0.35), darker(cols[i], 0.25)), kInk);
        cv.fill(rect(x + 1, top + 2, 3, 4), kWhite);
        cv.fill(strokeLine({{x + 1.5, top + 3.5}, {x + 3.5, top + 3.5}}, 0.5), rgb(0x8A92A0));
        cv.fill(circle(x + 2.5, 12, 1.1), darker(cols[i], 0.55));
    }
    return cv;
}

Canvas lineDrawing() {
    Canvas cv(16, 16);
    // Shapes sketched in lines: a blue square, a red circle and a black
    // stroke joining them.
    cv.fill(strokeLine({{1.5, 7.5}, {8.5, 7.5}, {8.5, 14.5}, {1.5, 14.5}}, 1.1, true), rgb(0x2050E0));
    cv.fill(ring(11, 5, 3.9, 2.8), rgb(0xE0281E));
    cv.fill(strokeLine({{1.5, 2.5}, {6.5, 4.5}, {3.5, 6.5}}, 1.0), rgb(0x2A2A2E));
    cv.fill(strokeLine({{10, 14.5}, {14.5, 10}}, 1.0), rgb(0x2A2A2E));
    return cv;
}

Canvas collage() {
    Canvas cv(16, 16);
    outlined(cv, rect(1.5, 6.5, 8, 8), down(6, 15, rgb(0xFFEA60), rgb(0xF0B800)), rgb(0x7A5A00));
    outlined(cv, polygon({{7, 0.8}, {12.8, 10.5}, {1.2, 10.5}}), down(1, 11, rgb(0x7ADC5A), rgb(0x1E9A2A)), rgb(0x145A18));
    outlined(cv, rect(8.5, 8.5, 6, 6.5), across(8, 15, rgb(0x9AF0FA), rgb(0x10A8C0)), rgb(0x0A5A68));
    return cv;
}

Canvas smallSmiley() {
    Canvas cv(16, 16);
    outlined(cv, circle(8, 8, 7),
             radial(Pt{6, 5.5}, 10, 10, {{0, rgb(0xFFF6A0)}, {0.45, rgb(0xFFD820)}, {1, rgb(0xE49400)}}), rgb(0x7A4600));
    Col eye = rgb(0x4A2A06);
    cv.fill(ellipse(5.5, 5.8, 0.9, 1.6), eye);
    cv.fill(ellipse(10.5, 5.8, 0.9, 1.6), eye);
    Path smile;
    smile.arcTo(8, 8.2, 4.1, 3.6, 30, 150);
    cv.fill(stroke(smile, 1.1), eye);
    cv.fill(ellipse(5.2, 3.6, 1.8, 0.9).rotated(-25, Pt{5.2, 3.6}), alpha(kWhite, 0.8));
    return cv;
}

Canvas filmFrame() {
    Canvas cv(16, 16);
    Col blue = rgb(0x2060D8);
    outlined(cv, roundRect(0.5, 1.5, 15, 13, 1.5), down(1, 15, lighter(blue, 0.35), darker(blue, 0.3)), rgb(0x102C70));
    for (int i = 0; i < 5; ++i) {
        cv.fill(rect(1.8 + i * 2.6, 2.6, 1.6, 1.4), rgb(0xE8F2FF));
        cv.fill(rect(1.8 + i * 2.6, 12.0, 1.6, 1.4), rgb(0xE8F2FF));
    }
    outlined(cv, rect(2.5, 5.5, 11, 5), down(5, 11, rgb(0xA8D4FF), rgb(0x5A9AEA)), rgb(0x14357E));
    cv.fill(roundRect(1, 2, 14, 5.5, 1.2), down(2, 7.5, alpha(kWhite, 0.5), alpha(kWhite, 0.08)));
    return cv;
}

Canvas backArrow() {
    Canvas cv(16, 16);
    // A shaft rising on the right and bending over to the left, with its head there.
    Path shaft;
    shaft.moveTo(12.2, 14).lineTo(12.2, 9).arcTo(8.7, 9, 3.5, 3.6, 0, -90).lineTo(6.5, 5.4);
    Path head = polygon({{1.2, 5.4}, {6.8, 1.0}, {6.8, 9.8}});
    Path all = stroke(shaft, 3.2);
    all.add(head);
    Mask m = cv.cover(all);
    Mask edge = cv.cover(stroke(shaft, 4.8));
    Path headEdge;
    headEdge.add(strokeLine({{1.2, 5.4}, {6.8, 1.0}, {6.8, 9.8}}, 1.3, true));
    edge = edge.unite(cv.cover(headEdge)).unite(m);
    cv.fill(edge, rgb(0x1E5A9A));
    cv.fill(m, linear(Pt{2, 2}, Pt{13, 14}, {{0, rgb(0xC8ECFF)}, {0.5, rgb(0x6CC4F4)}, {1, rgb(0x3A94D8)}}));
    return cv;
}

Canvas penguin() {
    Canvas cv(16, 16);
    Col body = rgb(0x1E2432);
    Col orange = rgb(0xF29A18);
    // Feet, flippers, body, belly, head
    cv.fill(ellipse(5.6, 15.0, 2.3, 0.95), orange);
    cv.fill(ellipse(10.4, 15.0, 2.3, 0.95), orange);
    cv.fill(ellipse(3.3, 10.6, 1.3, 3.2).rotated(18, Pt{3.3, 10.6}), body);
    cv.fill(ellipse(12.7, 10.6, 1.3, 3.2).rotated(-18, Pt{12.7, 10.6}), body);
    cv.fill(ellipse(8, 10.2, 4.6, 5.0), radial(Pt{6.5, 8}, 7, 7, {{0, lighter(body, 0.3)}, {1, body}}));
    cv.fill(ellipse(8, 11.0, 3.2, 3.8), down(7, 15, kWhite, rgb(0xD4DAE6)));
    cv.fill(ellipse(8, 4.6, 3.9, 3.7), radial(Pt{6.8, 3.5}, 5, 5, {{0, lighter(body, 0.35)}, {1, body}}));
    cv.fill(ellipse(6.6, 4.3, 1.2, 1.5), kWhite);
    cv.fill(ellipse(9.4, 4.3, 1.2, 1.5), kWhite);
    cv.fill(circle(6.9, 4.6, 0.6), rgb(0x101018));
    cv.fill(circle(9.1, 4.6, 0.6), rgb(0x101018));
    cv.fill(ellipse(8, 6.3, 1.7, 0.9), orange);
    // The red scarf round the neck, one end hanging down
    Path scarf;
    scarf.moveTo(4.2, 7.7).quadTo(8, 9.6, 11.8, 7.7);
    cv.fill(stroke(scarf, 1.9), rgb(0xE42222));
    cv.fill(polygon({{9.4, 8.4}, {11.4, 8.0}, {12.4, 11.8}, {10.3, 12.0}}), rgb(0xC41818));
    cv.fill(strokeLine({{5.2, 7.9}, {10.8, 7.9}}, 0.5), alpha(rgb(0xFF9080), 0.8));
    return cv;
}

}  // namespace

std::vector<NamedFile> treePictures() {
    std::vector<Canvas> pics = {rowOfBooks(),   threeBooks(), flatBook(),    pageWithE(), framedCard(),
                                flatOpenBook(), binders(),    lineDrawing(), collage(),   smallSmiley(),
                                filmFrame(),    backArrow(),  penguin()};
    RgbImage colour{64, 64, std::vector<RGB8>(64 * 64, RGB8{0, 0, 0})};
    IndexedImage mask{64, 64, {RGB8{0, 0, 0}, RGB8{255, 255, 255}}, std::vector<uint8_t>(64 * 64, 1)};
    for (size_t i = 0; i < pics.size(); ++i) {
        int ox = int(i % 4) * 16, oy = int(i / 4) * 16;
        // Soft edges are blended over the tree's pale green.
        KeyedImage k = keyed(pics[i], kTreeBack, 0.3, RGB8{0, 0, 0});
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                size_t s = size_t(y) * 16 + x, d = size_t(oy + y) * 64 + size_t(ox + x);
                if (k.key[s]) continue;
                colour.px[d] = k.img.px[s];
                mask.idx[d] = 0;
            }
    }
    return {{"treeimages.bmp", bmp32(colour)}, {"treemask.bmp", bmpIndexed(mask, 1)}};
}

}  // namespace pic
