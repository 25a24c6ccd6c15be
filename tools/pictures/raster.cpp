#include "raster.h"

#include <algorithm>
#include <cmath>

namespace pic {

namespace {
const double kPi = 3.14159265358979323846;

double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

// Number of straight pieces for a curve of the given length.
int piecesFor(double length, int lo, int hi) {
    int n = int(std::ceil(length / 0.35));
    return std::max(lo, std::min(hi, n));
}
}  // namespace

Col rgb(uint32_t hex, double a) {
    return Col{((hex >> 16) & 255) / 255.0, ((hex >> 8) & 255) / 255.0, (hex & 255) / 255.0, a};
}

Col mix(Col a, Col b, double t) {
    return Col{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Col lighter(Col c, double t) { return Col{c.r + (1 - c.r) * t, c.g + (1 - c.g) * t, c.b + (1 - c.b) * t, c.a}; }
Col darker(Col c, double t) { return Col{c.r * (1 - t), c.g * (1 - t), c.b * (1 - t), c.a}; }
Col alpha(Col c, double a) { return Col{c.r, c.g, c.b, a}; }

Col over(Col top, Col bottom) {
    double a = top.a + bottom.a * (1 - top.a);
    if (a <= 0) return Col{};
    auto ch = [&](double t, double b) { return (t * top.a + b * bottom.a * (1 - top.a)) / a; };
    return Col{ch(top.r, bottom.r), ch(top.g, bottom.g), ch(top.b, bottom.b), a};
}

// ---------------------------------------------------------------- paths

Path& Path::moveTo(double x, double y) {
    contours.push_back(Contour{{Pt{x, y}}, false});
    return *this;
}

Path& Path::lineTo(double x, double y) {
    if (contours.empty()) return moveTo(x, y);
    contours.back().pts.push_back(Pt{x, y});
    return *this;
}

Path& Path::quadTo(double cx, double cy, double x, double y) {
    Pt p0 = contours.empty() ? Pt{x, y} : contours.back().pts.back();
    double len = std::hypot(cx - p0.x, cy - p0.y) + std::hypot(x - cx, y - cy);
    int n = piecesFor(len, 24, 200);
    for (int i = 1; i <= n; ++i) {
        double t = double(i) / n, u = 1 - t;
        lineTo(u * u * p0.x + 2 * u * t * cx + t * t * x, u * u * p0.y + 2 * u * t * cy + t * t * y);
    }
    return *this;
}

Path& Path::cubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y) {
    Pt p0 = contours.empty() ? Pt{x, y} : contours.back().pts.back();
    double len = std::hypot(c1x - p0.x, c1y - p0.y) + std::hypot(c2x - c1x, c2y - c1y) +
                 std::hypot(x - c2x, y - c2y);
    int n = piecesFor(len, 24, 300);
    for (int i = 1; i <= n; ++i) {
        double t = double(i) / n, u = 1 - t;
        double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        lineTo(a * p0.x + b * c1x + c * c2x + d * x, a * p0.y + b * c1y + c * c2y + d * y);
    }
    return *this;
}

Path& Path::arcTo(double cx, double cy, double rx, double ry, double a0, double a1) {
    double sweep = (a1 - a0) * kPi / 180;
    // Enough pieces for the arc to look round at any later scale.
    int n = std::max(piecesFor(std::fabs(sweep) * std::max(rx, ry), 3, 400), int(std::ceil(std::fabs(sweep) / 0.05)));
    for (int i = 0; i <= n; ++i) {
        double a = a0 * kPi / 180 + sweep * i / n;
        double x = cx + rx * std::cos(a), y = cy + ry * std::sin(a);
        if (i == 0 && contours.empty())
            moveTo(x, y);
        else
            lineTo(x, y);
    }
    return *this;
}

Path& Path::add(const Path& other) {
    contours.insert(contours.end(), other.contours.begin(), other.contours.end());
    return *this;
}

Path& Path::asHole() {
    for (auto& c : contours) c.hole = true;
    return *this;
}

Path Path::map(const std::function<Pt(Pt)>& f) const {
    Path out = *this;
    for (auto& c : out.contours)
        for (auto& p : c.pts) p = f(p);
    return out;
}

Path Path::moved(double dx, double dy) const {
    return map([=](Pt p) { return Pt{p.x + dx, p.y + dy}; });
}

Path Path::scaled(double s, Pt o) const {
    return map([=](Pt p) { return Pt{o.x + (p.x - o.x) * s, o.y + (p.y - o.y) * s}; });
}

Path Path::rotated(double degrees, Pt o) const {
    double a = degrees * kPi / 180, c = std::cos(a), s = std::sin(a);
    return map([=](Pt p) {
        double x = p.x - o.x, y = p.y - o.y;
        return Pt{o.x + x * c - y * s, o.y + x * s + y * c};
    });
}

Path rect(double x, double y, double w, double h) {
    Path p;
    p.moveTo(x, y).lineTo(x + w, y).lineTo(x + w, y + h).lineTo(x, y + h);
    return p;
}

Path roundRect(double x, double y, double w, double h, double r) {
    r = std::min(r, std::min(w, h) / 2);
    if (r <= 0) return rect(x, y, w, h);
    Path p;
    p.arcTo(x + w - r, y + r, r, r, -90, 0);
    p.arcTo(x + w - r, y + h - r, r, r, 0, 90);
    p.arcTo(x + r, y + h - r, r, r, 90, 180);
    p.arcTo(x + r, y + r, r, r, 180, 270);
    return p;
}

Path ellipse(double cx, double cy, double rx, double ry) {
    Path p;
    p.arcTo(cx, cy, rx, ry, 0, 360);
    return p;
}

Path circle(double cx, double cy, double r) { return ellipse(cx, cy, r, r); }

Path polygon(std::initializer_list<Pt> pts) { return polygon(std::vector<Pt>(pts)); }

Path polygon(const std::vector<Pt>& pts) {
    Path p;
    p.contours.push_back(Path::Contour{pts, false});
    return p;
}

Path strokeLine(const std::vector<Pt>& pts, double width, bool closed) {
    Path out;
    double r = width / 2;
    size_t n = pts.size();
    if (n == 0) return out;
    // Round joins: a polygon fine enough for the pen's size.
    const int sides = std::max(12, int(std::ceil(2 * kPi * r / 0.3)));
    for (size_t i = 0; i < n; ++i) {
        std::vector<Pt> c;
        for (int k = 0; k < sides; ++k)
            c.push_back(Pt{pts[i].x + r * std::cos(2 * kPi * k / sides), pts[i].y + r * std::sin(2 * kPi * k / sides)});
        out.add(polygon(c));
    }
    size_t segs = closed ? n : n - 1;
    for (size_t i = 0; i < segs; ++i) {
        Pt a = pts[i], b = pts[(i + 1) % n];
        double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
        if (len < 1e-9) continue;
        double nx = -dy / len * r, ny = dx / len * r;
        out.add(polygon({{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}}));
    }
    return out;
}

Path stroke(const Path& p, double width) {
    Path out;
    for (auto& c : p.contours) out.add(strokeLine(c.pts, width, false));
    return out;
}

Path ring(double cx, double cy, double r0, double r1) {
    Path p = circle(cx, cy, std::max(r0, r1));
    p.add(circle(cx, cy, std::min(r0, r1)).asHole());
    return p;
}

// ---------------------------------------------------------------- coverage

Mask coverage(const Path& path, int w, int h) {
    const int kSub = 16;  // sub-scanlines per pixel row; x is exact
    Mask m(w, h);
    struct Edge {
        double x0, y0, x1, y1;
        int dir;
    };
    std::vector<Edge> edges;
    double ymin = 1e300, ymax = -1e300;
    for (auto& c : path.contours) {
        size_t n = c.pts.size();
        if (n < 3) continue;
        double area = 0;
        for (size_t i = 0; i < n; ++i) {
            const Pt &a = c.pts[i], &b = c.pts[(i + 1) % n];
            area += a.x * b.y - b.x * a.y;
        }
        if (area == 0) continue;
        int flip = ((area > 0) != c.hole) ? 1 : -1;
        for (size_t i = 0; i < n; ++i) {
            const Pt &a = c.pts[i], &b = c.pts[(i + 1) % n];
            if (a.y == b.y) continue;
            edges.push_back(Edge{a.x, a.y, b.x, b.y, (b.y > a.y ? 1 : -1) * flip});
            ymin = std::min(ymin, std::min(a.y, b.y));
            ymax = std::max(ymax, std::max(a.y, b.y));
        }
    }
    if (edges.empty()) return m;
    int s0 = std::max(0, int(std::floor(ymin * kSub)) - 1);
    int s1 = std::min(h * kSub, int(std::ceil(ymax * kSub)) + 1);
    // Edges sorted by their top; an active list holds those the current
    // sub-scanline may cross.
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) {
        return std::min(a.y0, a.y1) < std::min(b.y0, b.y1);
    });
    std::vector<const Edge*> active;
    size_t next = 0;
    std::vector<std::pair<double, int>> xs;
    const double wt = 1.0 / kSub;
    for (int s = s0; s < s1; ++s) {
        double y = (s + 0.5) / kSub;
        while (next < edges.size() && std::min(edges[next].y0, edges[next].y1) <= y) active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(),
                                    [y](const Edge* e) { return std::max(e->y0, e->y1) <= y; }),
                     active.end());
        xs.clear();
        for (const Edge* e : active) {
            double lo = std::min(e->y0, e->y1), hi = std::max(e->y0, e->y1);
            if (y < lo || y >= hi) continue;
            xs.push_back({e->x0 + (y - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0), e->dir});
        }
        if (xs.empty()) continue;
        std::sort(xs.begin(), xs.end());
        float* row = &m.v[size_t(s / kSub) * w];
        int wind = 0;
        double start = 0;
        for (auto& [x, d] : xs) {
            int before = wind;
            wind += d;
            if (before == 0 && wind != 0) start = x;
            if (before != 0 && wind == 0) {
                double xa = std::max(0.0, start), xb = std::min(double(w), x);
                if (xb <= xa) continue;
                int ia = int(xa), ib = int(xb);
                if (ia == ib) {
                    row[ia] += float((xb - xa) * wt);
                } else {
                    row[ia] += float((ia + 1 - xa) * wt);
                    for (int i = ia + 1; i < ib; ++i) row[i] += float(wt);
                    if (ib < w) row[ib] += float((xb - ib) * wt);
                }
            }
        }
    }
    for (auto& v : m.v) v = std::min(1.f, std::max(0.f, v));
    return m;
}

Mask& Mask::operator*=(const Mask& o) {
    for (size_t i = 0; i < v.size(); ++i) v[i] *= o.v[i];
    return *this;
}

Mask Mask::minus(const Mask& o) const {
    Mask r = *this;
    for (size_t i = 0; i < v.size(); ++i) r.v[i] = v[i] * (1 - o.v[i]);
    return r;
}

Mask Mask::unite(const Mask& o) const {
    Mask r = *this;
    for (size_t i = 0; i < v.size(); ++i) r.v[i] = v[i] + o.v[i] - v[i] * o.v[i];
    return r;
}

Mask Mask::shifted(int dx, int dy) const {
    Mask r(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) r.v[size_t(y) * w + x] = at(x - dx, y - dy);
    return r;
}

Mask Mask::blurred(int radius, int passes) const {
    Mask cur = *this;
    if (radius <= 0) return cur;
    float norm = 1.f / float(2 * radius + 1);
    for (int p = 0; p < passes; ++p) {
        Mask tmp(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                float s = 0;
                for (int k = -radius; k <= radius; ++k) s += cur.at(x + k, y);
                tmp.v[size_t(y) * w + x] = s * norm;
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                float s = 0;
                for (int k = -radius; k <= radius; ++k) s += tmp.at(x, y + k);
                cur.v[size_t(y) * w + x] = s * norm;
            }
    }
    return cur;
}

Mask Mask::scaledBy(float s) const {
    Mask r = *this;
    for (auto& x : r.v) x *= s;
    return r;
}

// ---------------------------------------------------------------- paints

Col stopsAt(const Stops& stops, double t) {
    if (stops.empty()) return Col{};
    if (t <= stops.front().first) return stops.front().second;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].first) {
            double span = stops[i].first - stops[i - 1].first;
            double f = span > 0 ? (t - stops[i - 1].first) / span : 1;
            return mix(stops[i - 1].second, stops[i].second, f);
        }
    }
    return stops.back().second;
}

Paint solid(Col c) {
    return [c](double, double) { return c; };
}

Paint linear(Pt p0, Pt p1, Stops stops) {
    double dx = p1.x - p0.x, dy = p1.y - p0.y, l2 = dx * dx + dy * dy;
    if (l2 == 0) l2 = 1;
    return [=](double x, double y) { return stopsAt(stops, ((x - p0.x) * dx + (y - p0.y) * dy) / l2); };
}

Paint radial(Pt c, double rx, double ry, Stops stops) {
    return [=](double x, double y) {
        double u = (x - c.x) / rx, v = (y - c.y) / ry;
        return stopsAt(stops, std::sqrt(u * u + v * v));
    };
}

// ---------------------------------------------------------------- canvas

Canvas::Canvas(int w_, int h_, Col fill) : w(w_), h(h_), px(size_t(w_) * h_) {
    Col pm{fill.r * fill.a, fill.g * fill.a, fill.b * fill.a, fill.a};
    for (auto& p : px) p = pm;
}

Mask Canvas::cover(const Path& p) const { return coverage(p, w, h); }

void Canvas::fill(const Path& p, const Paint& paint) { fill(cover(p), paint); }

void Canvas::fillClipped(const Path& p, const Mask& clip, const Paint& paint) {
    Mask m = cover(p);
    m *= clip;
    fill(m, paint);
}

void Canvas::fill(const Mask& m, const Paint& paint) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float cov = m.v[size_t(y) * w + x];
            if (cov <= 0) continue;
            Col c = paint(x + 0.5, y + 0.5);
            double a = clamp01(c.a) * cov;
            Col& d = px[size_t(y) * w + x];
            d.r = clamp01(c.r) * a + d.r * (1 - a);
            d.g = clamp01(c.g) * a + d.g * (1 - a);
            d.b = clamp01(c.b) * a + d.b * (1 - a);
            d.a = a + d.a * (1 - a);
        }
}

Col Canvas::at(int x, int y) const {
    const Col& p = px[size_t(y) * w + x];
    if (p.a <= 1e-9) return Col{0, 0, 0, 0};
    return Col{p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

Canvas Canvas::flattenedOver(Col bg) const {
    Canvas out(w, h, alpha(bg, 1));
    for (size_t i = 0; i < px.size(); ++i) {
        const Col& p = px[i];
        out.px[i] = Col{p.r + bg.r * (1 - p.a), p.g + bg.g * (1 - p.a), p.b + bg.b * (1 - p.a), 1};
    }
    return out;
}

}  // namespace pic
