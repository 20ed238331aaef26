#pragma once
// A small stroke alphabet (digits and the capitals of the product's wordmark) drawn as pen
// paths, so the pictures never depend on the fonts of the machine that makes them.
#include "Canvas.h"
#include <string>

// The pen path of a text whose capitals are `height` pixels tall, starting at (x, baseline).
Path TextPath(const std::wstring& text, float x, float baseline, float height);
// The width the text takes at that height.
float TextWidth(const std::wstring& text, float height);
// Engraved gold lettering centred on cx.
void DrawLettering(Canvas& c, const std::wstring& text, float cx, float baseline, float height, float pen);
