#include "Canvas.h"
#include <algorithm>
#include <cmath>

Rgb Hex(uint32_t c)
{
    return Rgb{(float)((c >> 16) & 0xFF), (float)((c >> 8) & 0xFF), (float)(c & 0xFF)};
}

Rgb Mix(Rgb a, Rgb b, float t)
{
    return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb a, float k)
{
    return Rgb{a.r * k, a.g * k, a.b * k};
}

Rgb Add(Rgb a, float v)
{
    return Rgb{a.r + v, a.g + v, a.b + v};
}

static float Clamp01(float v)
{
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

Canvas::Canvas(int w, int h, Rgb fill) : m_w(w), m_h(h), m_px((size_t)w * h, fill) {}

void Canvas::Blend(int x, int y, Rgb c, float a)
{
    if (a <= 0 || x < 0 || y < 0 || x >= m_w || y >= m_h) return;
    if (a > 1) a = 1;
    Rgb& p = At(x, y);
    p = Mix(p, c, a);
}

std::vector<uint8_t> Canvas::Bytes() const
{
    std::vector<uint8_t> out((size_t)m_w * m_h * 3);
    auto q = [](float v) -> uint8_t {
        float r = std::floor(v + 0.5f);
        return (uint8_t)(r < 0 ? 0 : (r > 255 ? 255 : r));
    };
    for (size_t i = 0; i < m_px.size(); ++i) {
        out[i * 3] = q(m_px[i].r);
        out[i * 3 + 1] = q(m_px[i].g);
        out[i * 3 + 2] = q(m_px[i].b);
    }
    return out;
}

void Canvas::Paste(const Canvas& src, int sx, int sy, int sw, int sh, int dx, int dy)
{
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x) {
            int tx = dx + x, ty = dy + y, fx = sx + x, fy = sy + y;
            if (tx < 0 || ty < 0 || tx >= m_w || ty >= m_h) continue;
            if (fx < 0 || fy < 0 || fx >= src.W() || fy >= src.H()) continue;
            At(tx, ty) = src.At(fx, fy);
        }
}

Paint Solid(Rgb c)
{
    return [c](float, float) { return c; };
}

Paint Linear(PointF p0, Rgb c0, PointF p1, Rgb c1)
{
    float dx = p1.x - p0.x, dy = p1.y - p0.y;
    float len2 = dx * dx + dy * dy;
    if (len2 <= 0) return Solid(c0);
    return [=](float x, float y) { return Mix(c0, c1, Clamp01(((x - p0.x) * dx + (y - p0.y) * dy) / len2)); };
}

Paint VGrad(float y0, Rgb c0, float y1, Rgb c1)
{
    return Linear({0, y0}, c0, {0, y1}, c1);
}

Paint VGrad3(float y0, Rgb c0, float y1, Rgb c1, float y2, Rgb c2)
{
    return [=](float, float y) {
        if (y <= y1) return Mix(c0, c1, y1 > y0 ? Clamp01((y - y0) / (y1 - y0)) : 1.0f);
        return Mix(c1, c2, y2 > y1 ? Clamp01((y - y1) / (y2 - y1)) : 1.0f);
    };
}

Paint Radial(PointF c, float radius, Rgb inner, Rgb outer)
{
    return [=](float x, float y) {
        float d = std::sqrt((x - c.x) * (x - c.x) + (y - c.y) * (y - c.y));
        return Mix(inner, outer, Clamp01(d / radius));
    };
}

static uint32_t Hash(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

static float HashUnit(uint32_t a, uint32_t b, uint32_t seed)
{
    uint32_t h = Hash(a * 0x9E3779B1U ^ Hash(b + seed * 0x85EBCA77U));
    return (float)(h & 0xFFFF) / 32767.5f - 1.0f;
}

Paint Grain(Paint base, float amplitude, uint32_t seed)
{
    return [=](float x, float y) {
        uint32_t ix = (uint32_t)(int)std::floor(x), iy = (uint32_t)(int)std::floor(y);
        // Mostly along rows, a little per pixel: reads as a fine horizontal brushing.
        float n = 0.6f * HashUnit(iy, 7, seed) + 0.4f * HashUnit(ix, iy, seed);
        return Add(base(x, y), n * amplitude);
    };
}

Path& Path::MoveTo(float x, float y)
{
    m_contours.push_back({PointF{x, y}});
    return *this;
}

Path& Path::LineTo(float x, float y)
{
    if (m_contours.empty()) m_contours.push_back({});
    m_contours.back().push_back({x, y});
    return *this;
}

Path& Path::CubicTo(float x1, float y1, float x2, float y2, float x3, float y3)
{
    if (m_contours.empty() || m_contours.back().empty()) return MoveTo(x3, y3);
    PointF p0 = m_contours.back().back();
    auto dist = [](float ax, float ay, float bx, float by) { return std::sqrt((ax - bx) * (ax - bx) + (ay - by) * (ay - by)); };
    float len = dist(p0.x, p0.y, x1, y1) + dist(x1, y1, x2, y2) + dist(x2, y2, x3, y3);
    int n = (int)(len / 2.5f);
    n = n < 6 ? 6 : (n > 96 ? 96 : n);
    for (int i = 1; i <= n; ++i) {
        float t = (float)i / n, u = 1 - t;
        float a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        m_contours.back().push_back({a * p0.x + b * x1 + c * x2 + d * x3, a * p0.y + b * y1 + c * y2 + d * y3});
    }
    return *this;
}

Path& Path::QuadTo(float x1, float y1, float x2, float y2)
{
    if (m_contours.empty() || m_contours.back().empty()) return MoveTo(x2, y2);
    PointF p0 = m_contours.back().back();
    return CubicTo(p0.x + (x1 - p0.x) * 2 / 3, p0.y + (y1 - p0.y) * 2 / 3, x2 + (x1 - x2) * 2 / 3,
                   y2 + (y1 - y2) * 2 / 3, x2, y2);
}

Path& Path::Close()
{
    if (!m_contours.empty() && !m_contours.back().empty()) {
        PointF first = m_contours.back().front();
        m_contours.back().push_back(first);
    }
    return *this;
}

Box Box::Around(RectF r, float margin)
{
    int x0 = (int)std::floor(r.l - margin), y0 = (int)std::floor(r.t - margin);
    int x1 = (int)std::ceil(r.r + margin), y1 = (int)std::ceil(r.b + margin);
    return {x0, y0, x1 - x0, y1 - y0};
}

Field::Field(Box box, float value) : m_box(box), m_d((size_t)(box.w > 0 ? box.w : 0) * (box.h > 0 ? box.h : 0), value) {}

PointF Field::Normal(int x, int y) const
{
    float gx = (At(x + 1, y) - At(x - 1, y)) / 2;
    float gy = (At(x, y + 1) - At(x, y - 1)) / 2;
    float len = std::sqrt(gx * gx + gy * gy);
    if (len <= 1e-6f) return {0, 0};
    return {gx / len, gy / len};
}

static float ClampFar(float d)
{
    return d > Field::kFar ? Field::kFar : (d < -Field::kFar ? -Field::kFar : d);
}

template <class Fn> static void ForEach(const Box& b, Fn fn)
{
    for (int y = b.y; y < b.y + b.h; ++y)
        for (int x = b.x; x < b.x + b.w; ++x) fn(x, y);
}

Field RoundRectField(Box box, RectF r, float radius)
{
    Field f(box);
    float cx = (r.l + r.r) / 2, cy = (r.t + r.b) / 2;
    float bx = r.W() / 2, by = r.H() / 2;
    float rad = std::min(radius, std::min(bx, by));
    ForEach(box, [&](int x, int y) {
        float qx = std::fabs(x + 0.5f - cx) - (bx - rad);
        float qy = std::fabs(y + 0.5f - cy) - (by - rad);
        float mx = std::max(qx, 0.0f), my = std::max(qy, 0.0f);
        float d = std::sqrt(mx * mx + my * my) + std::min(std::max(qx, qy), 0.0f) - rad;
        f.At(x, y) = ClampFar(d);
    });
    return f;
}

Field EllipseField(Box box, float cx, float cy, float rx, float ry)
{
    Field f(box);
    ForEach(box, [&](int x, int y) {
        float px = x + 0.5f - cx, py = y + 0.5f - cy;
        float ax = px / rx, ay = py / ry;
        float k0 = std::sqrt(ax * ax + ay * ay);
        float bx = px / (rx * rx), by = py / (ry * ry);
        float k1 = std::sqrt(bx * bx + by * by);
        float d = k1 > 1e-9f ? k0 * (k0 - 1) / k1 : -std::min(rx, ry);
        f.At(x, y) = ClampFar(d);
    });
    return f;
}

static float SegmentDistance(float px, float py, PointF a, PointF b)
{
    float dx = b.x - a.x, dy = b.y - a.y;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0;
    t = Clamp01(t);
    float ex = a.x + dx * t - px, ey = a.y + dy * t - py;
    return std::sqrt(ex * ex + ey * ey);
}

// Lowers |d| to the distance from each segment wherever that is nearer, keeping signs.
static void SpreadSegments(Field& f, const std::vector<std::pair<PointF, PointF>>& segs)
{
    const float far = Field::kFar;
    const Box& b = f.Area();
    for (const auto& s : segs) {
        int x0 = std::max(b.x, (int)std::floor(std::min(s.first.x, s.second.x) - far));
        int x1 = std::min(b.x + b.w - 1, (int)std::ceil(std::max(s.first.x, s.second.x) + far));
        int y0 = std::max(b.y, (int)std::floor(std::min(s.first.y, s.second.y) - far));
        int y1 = std::min(b.y + b.h - 1, (int)std::ceil(std::max(s.first.y, s.second.y) + far));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float dist = SegmentDistance(x + 0.5f, y + 0.5f, s.first, s.second);
                float& d = f.At(x, y);
                if (dist < std::fabs(d)) d = d < 0 ? -dist : dist;
            }
    }
}

static std::vector<std::pair<PointF, PointF>> Segments(const Path& path, bool closeAll)
{
    std::vector<std::pair<PointF, PointF>> segs;
    for (const auto& c : path.Contours()) {
        for (size_t i = 1; i < c.size(); ++i) segs.push_back({c[i - 1], c[i]});
        if (closeAll && c.size() > 2) segs.push_back({c.back(), c.front()});
    }
    return segs;
}

Field PathField(Box box, const Path& path)
{
    Field f(box);
    auto segs = Segments(path, true);
    std::vector<std::pair<float, int>> cross;
    for (int y = box.y; y < box.y + box.h; ++y) {
        float cy = y + 0.5f;
        cross.clear();
        for (const auto& s : segs) {
            PointF a = s.first, b = s.second;
            if (a.y == b.y) continue;
            bool down = a.y < b.y;
            float ylo = down ? a.y : b.y, yhi = down ? b.y : a.y;
            if (cy < ylo || cy >= yhi) continue;
            float x = a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y);
            cross.push_back({x, down ? 1 : -1});
        }
        std::sort(cross.begin(), cross.end(), [](const std::pair<float, int>& p, const std::pair<float, int>& q) {
            return p.first < q.first || (p.first == q.first && p.second < q.second);
        });
        int winding = 0;
        size_t k = 0;
        for (int x = box.x; x < box.x + box.w; ++x) {
            float cx = x + 0.5f;
            while (k < cross.size() && cross[k].first < cx) winding += cross[k++].second;
            if (winding != 0) f.At(x, y) = -Field::kFar;
        }
    }
    SpreadSegments(f, segs);
    return f;
}

Field StrokeField(Box box, const Path& path, float width)
{
    Field f(box);
    SpreadSegments(f, Segments(path, false));
    ForEach(box, [&](int x, int y) { f.At(x, y) = ClampFar(f.At(x, y) - width / 2); });
    return f;
}

template <class Op> static Field Combine(const Field& a, const Field& b, Op op)
{
    const Box &p = a.Area(), &q = b.Area();
    int x0 = std::min(p.x, q.x), y0 = std::min(p.y, q.y);
    int x1 = std::max(p.x + p.w, q.x + q.w), y1 = std::max(p.y + p.h, q.y + q.h);
    Box u{x0, y0, x1 - x0, y1 - y0};
    Field f(u);
    ForEach(u, [&](int x, int y) { f.At(x, y) = op(a.At(x, y), b.At(x, y)); });
    return f;
}

Field Union(const Field& a, const Field& b)
{
    return Combine(a, b, [](float p, float q) { return std::min(p, q); });
}

Field Intersect(const Field& a, const Field& b)
{
    return Combine(a, b, [](float p, float q) { return std::max(p, q); });
}

Field Subtract(const Field& a, const Field& b)
{
    return Combine(a, b, [](float p, float q) { return std::max(p, -q); });
}

Field Offset(const Field& a, float k)
{
    Field f(a.Area());
    ForEach(a.Area(), [&](int x, int y) { f.At(x, y) = ClampFar(a.At(x, y) - k); });
    return f;
}

float Coverage(float d)
{
    return Clamp01(0.5f - d);
}

// Runs over the part of the field's box that lies on the canvas.
template <class Fn> static void OnCanvas(const Canvas& c, const Field& f, Fn fn)
{
    const Box& b = f.Area();
    int x0 = std::max(0, b.x), y0 = std::max(0, b.y);
    int x1 = std::min(c.W(), b.x + b.w), y1 = std::min(c.H(), b.y + b.h);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) fn(x, y);
}

template <class Alpha> static void Apply(Canvas& c, const Field& f, const Paint& p, Alpha alpha)
{
    OnCanvas(c, f, [&](int x, int y) {
        float a = alpha(f.At(x, y));
        if (a > 0) c.Blend(x, y, p(x + 0.5f, y + 0.5f), a);
    });
}

void Fill(Canvas& c, const Field& f, const Paint& p, float opacity)
{
    Apply(c, f, p, [&](float d) { return Coverage(d) * opacity; });
}

void InnerRing(Canvas& c, const Field& f, float width, const Paint& p, float opacity)
{
    Apply(c, f, p, [&](float d) { return (Coverage(d) - Coverage(d + width)) * opacity; });
}

void Outline(Canvas& c, const Field& f, float width, const Paint& p, float opacity)
{
    Apply(c, f, p, [&](float d) { return (Coverage(d - width / 2) - Coverage(d + width / 2)) * opacity; });
}

void Glow(Canvas& c, const Field& f, float radius, Rgb color, float strength)
{
    Apply(c, f, Solid(color), [&](float d) {
        float t = Clamp01(d / radius);
        return strength * (1 - t) * (1 - t) * (1 - Coverage(d));
    });
}

void InnerShade(Canvas& c, const Field& f, float depth, Rgb color, float strength)
{
    Apply(c, f, Solid(color), [&](float d) {
        float t = Clamp01(-d / depth);
        return strength * (1 - t) * (1 - t) * Coverage(d);
    });
}

void Bevel(Canvas& c, const Field& f, float depth, float strength)
{
    const float lx = -0.7071f, ly = -0.7071f;
    Rgb white = Hex(0xFFFFFF), black = Hex(0x000000);
    OnCanvas(c, f, [&](int x, int y) {
        float d = f.At(x, y);
        if (d > 0.5f || d < -depth) return;
        PointF n = f.Normal(x, y);
        float facing = n.x * lx + n.y * ly;
        float t = Clamp01(-d / depth);
        float a = facing * strength * (1 - t) * Coverage(d);
        if (a > 0) c.Blend(x, y, white, a);
        else if (a < 0) c.Blend(x, y, black, -a);
    });
}
