#include "font.h"

#include <cmath>
#include <stdexcept>

namespace pic {

namespace {

// Letters are laid out in x-height units: baseline at y = 0, the top of "x"
// at y = -1, capitals and ascenders near -1.42, descenders down to +0.4.
// `s` is the pen width in the same units; centre lines keep half a pen
// inside the letter's box.
struct Letter {
    double advance;
    Path lines;  // open centre lines
};

const double kCap = 1.42;

Path bowl(double x0, double x1, double s) {
    Path p;
    double cx = (x0 + x1) / 2, rx = (x1 - x0 - s) / 2, ry = (1 - s) / 2;
    p.moveTo(cx + rx, -0.5).arcTo(cx, -0.5, rx, ry, 0, 360);
    return p;
}

Path line(double x0, double y0, double x1, double y1) {
    Path p;
    p.moveTo(x0, y0).lineTo(x1, y1);
    return p;
}

Path dot(double x, double y) {
    Path p;
    p.moveTo(x, y);
    return p;
}

Letter letterFor(char c, double s) {
    double h = s / 2;
    Path p;
    switch (c) {
        case 'o':
            return {1.0, bowl(0, 1.0, s)};
        case 'e': {
            double cx = 0.5, rx = (1 - s) / 2, ry = (1 - s) / 2;
            p.moveTo(h, -0.5).lineTo(1 - h, -0.5);
            p.arcTo(cx, -0.5, rx, ry, 0, -312);
            return {1.0, p};
        }
        case 'a': {
            p = bowl(0, 0.92, s);
            p.add(line(0.92 - h, -1 + h, 0.92 - h, -h));
            return {0.92, p};
        }
        case 'p': {
            p = bowl(0.0, 0.98, s);
            p.add(line(h, -1 + h, h, 0.4));
            return {0.98, p};
        }
        case 'l':
            return {s, line(h, -kCap - 0.02 + h, h, -h)};
        case 'i': {
            p = line(h, -1 + h, h, -h);
            p.add(dot(h, -kCap + h + 0.02));
            return {s, p};
        }
        case 't': {
            double x = h + 0.1;
            p.moveTo(x, -kCap + 0.12 + h).lineTo(x, -0.34).quadTo(x, -h, x + 0.3, -h).lineTo(0.6, -h - 0.02);
            p.add(line(h - 0.04, -1 + h, 0.6, -1 + h));
            return {0.62, p};
        }
        case 'r': {
            p = line(h, -1 + h, h, -h);
            p.moveTo(h, -0.52).quadTo(h + 0.06, -1 + h, 0.66, -1 + h);
            return {0.68, p};
        }
        case 'm': {
            double x0 = h, x1 = 0.72, x2 = 1.44 - h, top = -1 + h, mid = -0.6;
            p = line(x0, top, x0, -h);
            for (auto [a, b] : {std::pair<double, double>{x0, x1}, {x1, x2}}) {
                double ry = mid - top;
                p.moveTo(a, mid).arcTo((a + b) / 2, mid, (b - a) / 2, ry, 180, 360).lineTo(b, -h);
            }
            return {1.44, p};
        }
        case 'w':
            p.moveTo(h, -1 + h).lineTo(0.33, -h).lineTo(0.66, -0.82).lineTo(0.99, -h).lineTo(1.32 - h, -1 + h);
            return {1.32, p};
        case 'x':
            p = line(h, -1 + h, 0.86 - h, -h);
            p.add(line(0.86 - h, -1 + h, h, -h));
            return {0.86, p};
        case 'M': {
            double w = 1.5;
            p.moveTo(h, -h).lineTo(h + 0.04, -kCap + h).lineTo(w / 2, -0.42).lineTo(w - h - 0.04, -kCap + h).lineTo(w - h, -h);
            return {w, p};
        }
        case '.':
            return {s, dot(h, -h)};
        case ' ':
            return {0.45, Path{}};
        default:
            throw std::runtime_error(std::string("font: no letter '") + c + "'");
    }
}

}  // namespace

double textWidth(const std::string& text, const TextStyle& st) {
    double w = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        w += letterFor(text[i], st.weight).advance;
        if (i + 1 < text.size()) w += st.spacing;
    }
    return w * st.xHeight;
}

std::vector<Path> textPaths(const std::string& text, double x, double baseline, const TextStyle& st) {
    std::vector<Path> out;
    double pen = 0;
    for (char c : text) {
        Letter l = letterFor(c, st.weight);
        double ox = x + pen * st.xHeight;
        Path placed = l.lines.map([&](Pt p) { return Pt{ox + p.x * st.xHeight, baseline + p.y * st.xHeight}; });
        out.push_back(stroke(placed, st.weight * st.xHeight));
        pen += l.advance + st.spacing;
    }
    return out;
}

Path textPath(const std::string& text, double x, double baseline, const TextStyle& st) {
    Path all;
    for (auto& p : textPaths(text, x, baseline, st)) all.add(p);
    return all;
}

}  // namespace pic
