#include "skinkit/SkinScrollGeometry.h"

namespace {

constexpr int kMinThumb = 12;

}  // namespace

ScrollParts MeasureScrollParts(int length, int w, const SCROLLINFO& si, int position, bool forHitTest)
{
    ScrollParts p;
    p.length = length;
    p.track = length - 2 * w;
    if (p.track < 0) p.track = 0;
    // A page larger than the whole is what fits everything; nothing is left to scroll.
    int range = si.nMax + 1 - si.nMin - (int)si.nPage;
    if (range < 0) range = 0;
    long long whole = (long long)si.nMax - si.nMin + 1;
    if (p.track <= kMinThumb - 1 || whole <= 0 || (range == 0 && !forHitTest)) {
        p.thumb = 0;
    } else {
        p.thumb = (int)((unsigned long long)si.nPage * (unsigned)p.track / (unsigned long long)whole);
        if (p.thumb < kMinThumb) p.thumb = kMinThumb;
        if (p.thumb > p.track) p.thumb = p.track;
    }
    p.arrow = p.track == 0 ? length / 2 : w;
    if (range != 0) {
        p.offset = (int)((long long)position * (p.track - p.thumb) / range);
        if (p.offset < 0) p.offset = 0;
        if (p.offset > p.track - p.thumb) p.offset = p.track - p.thumb;
    } else {
        p.offset = (p.track - p.thumb) / 2;
    }
    return p;
}

int ScrollPartAt(const ScrollParts& parts, int p)
{
    if (p < 0) return -1;
    if (p < parts.arrow) return SB_LINEUP;
    if (p < parts.arrow + parts.offset) return SB_PAGEUP;
    if (p < parts.arrow + parts.offset + parts.thumb) return SB_THUMBTRACK;
    if (p < parts.length - parts.arrow) return SB_PAGEDOWN;
    return SB_LINEDOWN;
}

void ScrollPartSpan(const ScrollParts& parts, int part, int* from, int* to)
{
    int thumbStart = parts.arrow + parts.offset;
    int thumbEnd = thumbStart + parts.thumb;
    switch (part) {
    case SB_LINEUP: *from = 0; *to = parts.arrow; break;
    case SB_PAGEUP: *from = parts.arrow; *to = thumbStart; break;
    case SB_THUMBTRACK: *from = thumbStart; *to = thumbEnd; break;
    case SB_PAGEDOWN: *from = thumbEnd; *to = parts.length - parts.arrow; break;
    case SB_LINEDOWN: *from = parts.length - parts.arrow; *to = parts.length; break;
    default: *from = *to = 0; break;
    }
}

RECT ScrollPartRect(const ScrollParts& parts, int part, int w, bool vertical)
{
    int from, to;
    ScrollPartSpan(parts, part, &from, &to);
    return vertical ? RECT{0, from, w, to} : RECT{from, 0, to, w};
}

int ThumbDragPosition(const SCROLLINFO& si, int startPos, int d, const ScrollParts& hitParts)
{
    int last = LastScrollPosition(si);
    int span = hitParts.track - hitParts.thumb;
    int position = startPos + (span != 0 ? (int)((long long)d * last / span) : 0);
    if (position < si.nMin) return si.nMin;
    if (position > last) return last;
    return position;
}
