#pragma once
// A small software rasteriser for the skin pictures. Shapes are signed distance fields
// (negative inside), so edges, rings, glows and bevels all come from one number per pixel.
// Only + - * / and sqrt are used, so the output is the same on every run and machine.
#include <cstdint>
#include <functional>
#include <vector>

struct Rgb {
    float r = 0, g = 0, b = 0;
};
// 0xRRGGBB, as a person writes a colour (not a COLORREF).
Rgb Hex(uint32_t rrggbb);
Rgb Mix(Rgb a, Rgb b, float t);
Rgb Scale(Rgb a, float k);
Rgb Add(Rgb a, float v);

struct PointF {
    float x = 0, y = 0;
};
struct RectF {
    float l = 0, t = 0, r = 0, b = 0;
    float W() const { return r - l; }
    float H() const { return b - t; }
    RectF Inset(float k) const { return {l + k, t + k, r - k, b - k}; }
    RectF Move(float dx, float dy) const { return {l + dx, t + dy, r + dx, b + dy}; }
};

class Canvas {
public:
    Canvas(int w, int h, Rgb fill = Rgb{});
    int W() const { return m_w; }
    int H() const { return m_h; }
    Rgb& At(int x, int y) { return m_px[(size_t)y * m_w + x]; }
    const Rgb& At(int x, int y) const { return m_px[(size_t)y * m_w + x]; }
    void Blend(int x, int y, Rgb c, float a);
    // The canvas as 8-bit RGB bytes, top row first.
    std::vector<uint8_t> Bytes() const;
    void Paste(const Canvas& src, int sx, int sy, int sw, int sh, int dx, int dy);

private:
    int m_w, m_h;
    std::vector<Rgb> m_px;
};

// A paint gives the colour at a pixel centre.
using Paint = std::function<Rgb(float x, float y)>;
Paint Solid(Rgb c);
// Linear gradient from c0 at p0 to c1 at p1, clamped beyond the ends.
Paint Linear(PointF p0, Rgb c0, PointF p1, Rgb c1);
Paint VGrad(float y0, Rgb c0, float y1, Rgb c1);
// Three stops along y.
Paint VGrad3(float y0, Rgb c0, float y1, Rgb c1, float y2, Rgb c2);
Paint Radial(PointF c, float radius, Rgb inner, Rgb outer);
// A paint with a faint fixed grain, like brushed metal (amplitude in 0..255 steps).
Paint Grain(Paint base, float amplitude, uint32_t seed);

class Path {
public:
    Path& MoveTo(float x, float y);
    Path& LineTo(float x, float y);
    Path& CubicTo(float x1, float y1, float x2, float y2, float x3, float y3);
    Path& QuadTo(float x1, float y1, float x2, float y2);
    Path& Close();
    const std::vector<std::vector<PointF>>& Contours() const { return m_contours; }

private:
    std::vector<std::vector<PointF>> m_contours;
};

// A pixel area in canvas coordinates.
struct Box {
    int x = 0, y = 0, w = 0, h = 0;
    // The rectangle grown by margin on every side, in whole pixels.
    static Box Around(RectF r, float margin);
    static Box Of(const Canvas& c) { return {0, 0, c.W(), c.H()}; }
};

// Signed distance per pixel centre over a box of the canvas (canvas coordinates); exact
// near edges, clamped to +-kFar further away. Outside its box a field reads kFar.
class Field {
public:
    static constexpr float kFar = 48.0f;
    explicit Field(Box box, float value = kFar);
    const Box& Area() const { return m_box; }
    bool Contains(int x, int y) const { return x >= m_box.x && y >= m_box.y && x < m_box.x + m_box.w && y < m_box.y + m_box.h; }
    float& At(int x, int y) { return m_d[(size_t)(y - m_box.y) * m_box.w + (x - m_box.x)]; }
    float At(int x, int y) const { return Contains(x, y) ? m_d[(size_t)(y - m_box.y) * m_box.w + (x - m_box.x)] : kFar; }
    // Unit direction of steepest growth (points outward at an edge).
    PointF Normal(int x, int y) const;

private:
    Box m_box;
    std::vector<float> m_d;
};

Field RoundRectField(Box box, RectF r, float radius);
Field EllipseField(Box box, float cx, float cy, float rx, float ry);
// Filled closed path, non-zero winding.
Field PathField(Box box, const Path& path);
// The path's segments as a pen line of the given width (open contours stay open).
Field StrokeField(Box box, const Path& path, float width);
Field Union(const Field& a, const Field& b);
Field Intersect(const Field& a, const Field& b);
Field Subtract(const Field& a, const Field& b);
// Grown by k pixels (shrunk for negative k).
Field Offset(const Field& a, float k);

// Coverage of a pixel by a shape (0..1) from its distance.
float Coverage(float d);

void Fill(Canvas& c, const Field& f, const Paint& p, float opacity = 1.0f);
// A ring of the given width just inside the edge (from -width to 0).
void InnerRing(Canvas& c, const Field& f, float width, const Paint& p, float opacity = 1.0f);
// A ring centred on the edge.
void Outline(Canvas& c, const Field& f, float width, const Paint& p, float opacity = 1.0f);
// A soft light outside the edge, fading over radius.
void Glow(Canvas& c, const Field& f, float radius, Rgb color, float strength);
// A soft shade inside the edge, strongest at the edge, fading over depth; light from the
// top-left lifts the edges that face it (bevel > 0) or sinks them (bevel < 0).
void InnerShade(Canvas& c, const Field& f, float depth, Rgb color, float strength);
void Bevel(Canvas& c, const Field& f, float depth, float strength);
