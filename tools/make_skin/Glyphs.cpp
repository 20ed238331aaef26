#include "Glyphs.h"
#include "Looks.h"
#include <functional>

namespace {

// A glyph drawn in a unit box: capitals 1 high, y down, x from 0 to its advance.
struct Pen {
    Path& path;
    float x0, y0, k;
    PointF P(float x, float y) const { return {x0 + x * k, y0 + y * k}; }
    Pen& M(float x, float y)
    {
        PointF p = P(x, y);
        path.MoveTo(p.x, p.y);
        return *this;
    }
    Pen& L(float x, float y)
    {
        PointF p = P(x, y);
        path.LineTo(p.x, p.y);
        return *this;
    }
    Pen& C(float x1, float y1, float x2, float y2, float x3, float y3)
    {
        PointF a = P(x1, y1), b = P(x2, y2), c = P(x3, y3);
        path.CubicTo(a.x, a.y, b.x, b.y, c.x, c.y);
        return *this;
    }
    // An elliptic arc in steps of 45 degrees (step 0 points right, step 2 down), from
    // step s0 to s1 in either direction; starts a new stroke when move is set.
    Pen& Arc(float cx, float cy, float rx, float ry, int s0, int s1, bool move = true)
    {
        static const float cs[8] = {1, 0.70710678f, 0, -0.70710678f, -1, -0.70710678f, 0, 0.70710678f};
        auto cosAt = [](int s) { return cs[((s % 8) + 8) % 8]; };
        auto sinAt = [&](int s) { return cosAt(s - 2); };
        const float h = 0.26521648f;  // handle length of a 45-degree arc
        int dir = s1 > s0 ? 1 : -1;
        if (move) M(cx + rx * cosAt(s0), cy + ry * sinAt(s0));
        for (int s = s0; s != s1; s += dir) {
            int t = s + dir;
            float ax = cosAt(s), ay = sinAt(s), bx = cosAt(t), by = sinAt(t);
            // Tangents for increasing angle are (-sin, cos).
            C(cx + rx * (ax - dir * h * ay), cy + ry * (ay + dir * h * ax), cx + rx * (bx + dir * h * by),
              cy + ry * (by - dir * h * bx), cx + rx * bx, cy + ry * by);
        }
        return *this;
    }
    Pen& Oval(float cx, float cy, float rx, float ry) { return Arc(cx, cy, rx, ry, 0, 8); }
};

struct Glyph {
    wchar_t ch;
    float advance;
    std::function<void(Pen&)> draw;
};

const std::vector<Glyph>& Glyphs()
{
    static const std::vector<Glyph> glyphs = {
        {L'0', 0.6f, [](Pen& p) { p.Oval(0.3f, 0.5f, 0.28f, 0.5f); }},
        {L'1', 0.42f, [](Pen& p) { p.M(0.04f, 0.22f).L(0.28f, 0).L(0.28f, 1); }},
        {L'2', 0.62f, [](Pen& p) {
             p.Arc(0.3f, 0.29f, 0.28f, 0.29f, 5, 8);
             p.C(0.58f, 0.52f, 0.2f, 0.74f, 0.02f, 1).L(0.6f, 1);
         }},
        {L'3', 0.6f, [](Pen& p) {
             p.Arc(0.3f, 0.255f, 0.26f, 0.245f, 5, 10);
             p.Arc(0.3f, 0.75f, 0.29f, 0.25f, 6, 11, false);
         }},
        {L'4', 0.64f, [](Pen& p) { p.M(0.46f, 1).L(0.46f, 0).L(0, 0.68f).L(0.62f, 0.68f); }},
        {L'5', 0.6f, [](Pen& p) {
             p.M(0.56f, 0).L(0.1f, 0).L(0.07f, 0.45f);
             p.C(0.14f, 0.4f, 0.22f, 0.38f, 0.3f, 0.38f);
             p.Arc(0.3f, 0.69f, 0.29f, 0.31f, 6, 11, false);
         }},
        {L'6', 0.6f, [](Pen& p) {
             p.M(0.52f, 0.04f).C(0.3f, -0.04f, 0.02f, 0.12f, 0.02f, 0.69f);
             p.Oval(0.31f, 0.69f, 0.29f, 0.31f);
         }},
        {L'7', 0.6f, [](Pen& p) { p.M(0.02f, 0).L(0.6f, 0).L(0.2f, 1); }},
        {L'8', 0.6f, [](Pen& p) {
             p.Oval(0.3f, 0.255f, 0.24f, 0.245f);
             p.Oval(0.3f, 0.75f, 0.29f, 0.25f);
         }},
        {L'9', 0.6f, [](Pen& p) {
             p.Oval(0.3f, 0.31f, 0.28f, 0.31f);
             p.M(0.58f, 0.31f).C(0.58f, 0.88f, 0.3f, 1.04f, 0.08f, 0.96f);
         }},
        {L'A', 0.68f, [](Pen& p) {
             p.M(0, 1).L(0.34f, 0).L(0.68f, 1);
             p.M(0.13f, 0.64f).L(0.55f, 0.64f);
         }},
        {L'C', 0.64f, [](Pen& p) { p.Arc(0.35f, 0.5f, 0.33f, 0.5f, 7, 1); }},
        {L'D', 0.64f, [](Pen& p) { p.M(0.04f, 0).L(0.26f, 0).C(0.66f, 0, 0.66f, 1, 0.26f, 1).L(0.04f, 1).L(0.04f, 0); }},
        {L'E', 0.52f, [](Pen& p) {
             p.M(0.52f, 0).L(0.04f, 0).L(0.04f, 1).L(0.52f, 1);
             p.M(0.04f, 0.5f).L(0.44f, 0.5f);
         }},
        {L'H', 0.62f, [](Pen& p) {
             p.M(0.04f, 0).L(0.04f, 1);
             p.M(0.58f, 0).L(0.58f, 1);
             p.M(0.04f, 0.5f).L(0.58f, 0.5f);
         }},
        {L'I', 0.12f, [](Pen& p) { p.M(0.06f, 0).L(0.06f, 1); }},
        {L'L', 0.5f, [](Pen& p) { p.M(0.04f, 0).L(0.04f, 1).L(0.5f, 1); }},
        {L'M', 0.76f, [](Pen& p) { p.M(0.04f, 1).L(0.04f, 0).L(0.38f, 0.72f).L(0.72f, 0).L(0.72f, 1); }},
        {L'N', 0.64f, [](Pen& p) { p.M(0.04f, 1).L(0.04f, 0).L(0.6f, 1).L(0.6f, 0); }},
        {L'O', 0.76f, [](Pen& p) { p.Oval(0.38f, 0.5f, 0.36f, 0.5f); }},
        {L'R', 0.6f, [](Pen& p) {
             p.M(0.04f, 1).L(0.04f, 0).L(0.3f, 0).C(0.62f, 0, 0.62f, 0.52f, 0.3f, 0.52f).L(0.04f, 0.52f);
             p.M(0.3f, 0.52f).L(0.6f, 1);
         }},
        {L'T', 0.6f, [](Pen& p) {
             p.M(0, 0).L(0.6f, 0);
             p.M(0.3f, 0).L(0.3f, 1);
         }},
        {L'V', 0.66f, [](Pen& p) { p.M(0, 0).L(0.33f, 1).L(0.66f, 0); }},
        {L'X', 0.62f, [](Pen& p) {
             p.M(0, 0).L(0.62f, 1);
             p.M(0.62f, 0).L(0, 1);
         }},
        {L'+', 0.6f, [](Pen& p) {
             p.M(0.3f, 0.2f).L(0.3f, 0.8f);
             p.M(0, 0.5f).L(0.6f, 0.5f);
         }},
        {L'-', 0.6f, [](Pen& p) { p.M(0, 0.5f).L(0.6f, 0.5f); }},
        {L' ', 0.34f, [](Pen&) {}},
    };
    return glyphs;
}

const Glyph* Find(wchar_t ch)
{
    for (const Glyph& g : Glyphs())
        if (g.ch == ch) return &g;
    return nullptr;
}

const float kSpacing = 0.2f;

}  // namespace

Path TextPath(const std::wstring& text, float x, float baseline, float height)
{
    Path path;
    for (wchar_t ch : text) {
        const Glyph* g = Find(ch);
        if (!g) continue;
        Pen pen{path, x, baseline - height, height};
        g->draw(pen);
        x += (g->advance + kSpacing) * height;
    }
    return path;
}

float TextWidth(const std::wstring& text, float height)
{
    float w = 0;
    for (wchar_t ch : text)
        if (const Glyph* g = Find(ch)) w += (g->advance + kSpacing) * height;
    return w > 0 ? w - kSpacing * height : 0;
}

void DrawLettering(Canvas& c, const std::wstring& text, float cx, float baseline, float height, float pen)
{
    float x = cx - TextWidth(text, height) / 2;
    RectF r{x - pen, baseline - height - pen, x + TextWidth(text, height) + pen, baseline + pen};
    Box box = Box::Around(r, 8);
    Field shadow = StrokeField(box, TextPath(text, x + 1, baseline + 1.5f, height), pen);
    Fill(c, shadow, Solid(Hex(0x000000)), 0.8f);
    Field f = StrokeField(box, TextPath(text, x, baseline, height), pen);
    Glow(c, f, 4, Hex(pal::kTrim), 0.18f);
    Fill(c, f, VGrad3(baseline - height, Hex(0xfff3c4), baseline - height * 0.45f, Hex(0xe8b238), baseline, Hex(0x9a6a16)));
    Bevel(c, f, pen * 0.6f, 0.3f);
}
