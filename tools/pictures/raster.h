// A small anti-aliased vector rasteriser: paths (polygons, curves, strokes),
// coverage masks, paints (solid colours and gradients) and an RGBA canvas.
// Everything the picture makers draw goes through here.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace pic {

struct Pt {
    double x = 0, y = 0;
};

// A colour with straight (not premultiplied) alpha; all channels 0..1.
struct Col {
    double r = 0, g = 0, b = 0, a = 0;
};

Col rgb(uint32_t hex, double alpha = 1.0);
Col mix(Col a, Col b, double t);        // t = 0 gives a, t = 1 gives b
Col lighter(Col c, double t);           // towards white
Col darker(Col c, double t);            // towards black
Col alpha(Col c, double a);             // same colour, new alpha
Col over(Col top, Col bottom);          // straight-alpha "source over"

// A set of contours filled with the non-zero rule. Every plain contour is
// normalised to the same turning direction before filling, so overlapping
// contours unite; contours marked as holes turn the other way and cut out.
// The same points serve as open polylines for stroke().
struct Path {
    struct Contour {
        std::vector<Pt> pts;
        bool hole = false;
    };
    std::vector<Contour> contours;

    Path& moveTo(double x, double y);
    Path& lineTo(double x, double y);
    Path& quadTo(double cx, double cy, double x, double y);
    Path& cubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y);
    // Points along an elliptic arc, angles in degrees (0 = +x, 90 = +y, i.e.
    // downwards); continues the current contour or starts one.
    Path& arcTo(double cx, double cy, double rx, double ry, double a0, double a1);
    Path& add(const Path& other);
    Path& asHole();                       // marks every contour as a hole
    Path map(const std::function<Pt(Pt)>& f) const;
    Path moved(double dx, double dy) const;
    Path scaled(double s, Pt about) const;
    Path rotated(double degrees, Pt about) const;
};

Path rect(double x, double y, double w, double h);
Path roundRect(double x, double y, double w, double h, double r);
Path ellipse(double cx, double cy, double rx, double ry);
Path circle(double cx, double cy, double r);
Path polygon(std::initializer_list<Pt> pts);
Path polygon(const std::vector<Pt>& pts);
// A pen of the given width drawn along the points, with round joins and caps.
Path strokeLine(const std::vector<Pt>& pts, double width, bool closed = false);
// Every contour of p drawn as an open polyline.
Path stroke(const Path& p, double width);
// A ring between two radii.
Path ring(double cx, double cy, double r0, double r1);

// Per-pixel coverage 0..1.
struct Mask {
    int w = 0, h = 0;
    std::vector<float> v;
    Mask() = default;
    Mask(int w_, int h_, float fill = 0) : w(w_), h(h_), v(size_t(w_) * h_, fill) {}
    float at(int x, int y) const { return (x < 0 || y < 0 || x >= w || y >= h) ? 0.f : v[size_t(y) * w + x]; }
    Mask& operator*=(const Mask& o);          // intersection
    Mask minus(const Mask& o) const;          // this and not o
    Mask unite(const Mask& o) const;          // this or o
    Mask shifted(int dx, int dy) const;
    Mask blurred(int radius, int passes = 3) const;
    Mask scaledBy(float s) const;
};

using Paint = std::function<Col(double x, double y)>;
using Stops = std::vector<std::pair<double, Col>>;

Paint solid(Col c);
Paint linear(Pt p0, Pt p1, Stops stops);
Paint radial(Pt centre, double rx, double ry, Stops stops);
Col stopsAt(const Stops& stops, double t);

struct Canvas {
    int w = 0, h = 0;
    std::vector<Col> px;  // premultiplied while drawing

    Canvas(int w_, int h_, Col fill = Col{});
    Mask cover(const Path& p) const;
    void fill(const Path& p, const Paint& paint);
    void fill(const Path& p, Col c) { fill(p, solid(c)); }
    void fill(const Mask& m, const Paint& paint);
    void fill(const Mask& m, Col c) { fill(m, solid(c)); }
    void fillClipped(const Path& p, const Mask& clip, const Paint& paint);
    // Straight colour of a pixel.
    Col at(int x, int y) const;
    // The same picture flattened over a solid colour.
    Canvas flattenedOver(Col bg) const;
};

// Renders a path with a high-resolution coverage rasteriser (non-zero rule).
Mask coverage(const Path& p, int w, int h);

}  // namespace pic
