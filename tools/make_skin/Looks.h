#pragma once
// The kit's visual vocabulary: window chrome, recessed fields and the looks of controls.
#include "SkinPlan.h"

namespace pal {
const uint32_t kRim = 0x000000;
const uint32_t kTrimDark = 0x5a4518;
const uint32_t kTrim = 0xa8832e;
const uint32_t kTrimLight = 0xe9c462;
const uint32_t kGold = 0xFFCC00;  // the captions' gold
const uint32_t kLink = 0xD2A412;  // the colour windows draw their own texts in
const uint32_t kBodyTop = 0x1e1e1e;
const uint32_t kBodyBottom = 0x101010;
const uint32_t kHighlight = 0x292929;
const uint32_t kList = 0x161616;
const uint32_t kEdit = 0x202020;
const uint32_t kField = 0x0d0d0d;
}  // namespace pal

struct ChromeStyle {
    float radius = 14;
    int titleHeight = 32;  // 0: no title band
};

// A window outline: the rounded rectangle of the whole picture.
Field RoundedShape(const WindowPlan& w, float radius);
// Frame, body and title band inside a shape; the title band spans the top of the body.
void DrawChrome(Canvas& c, const Field& shape, const ChromeStyle& style);
// A smaller framed plate on a window body (groups controls); radius of its corners.
void DrawPlate(Canvas& c, RectF r, float radius);
// A recessed field whose inside (exactly r) is the colour given.
void DrawField(Canvas& c, RectF r, Rgb inside, float radius = 3);
// A thin gold line that fades towards its ends.
void DrawRule(Canvas& c, float x0, float x1, float y);
// The look of a control in one state.
void DrawControlLook(Canvas& c, const Entry& e, State s);
// A small gold ornament: a diamond with a glow.
void DrawGem(Canvas& c, float cx, float cy, float r);
