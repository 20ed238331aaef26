#pragma once
#include <windows.h>
#include "framework/CDC.h"
#include "framework/CGdiObject.h"

// Loads a picture file (any format OLE picture loading decodes: the skins' bitmaps,
// JPEG and GIF portraits; JPEG and GIF need OLE ready on the thread, AfxOleInit). The
// bitmap's previous picture is deleted first. A missing or undecodable file leaves the
// bitmap empty and the size 0 x 0 and answers FALSE.
BOOL LoadPictureFile(const wchar_t* path, CBitmap& bitmap, SIZE& size);

// The rectangle (left, top)-(right, bottom) of src as a new bitmap in dst, compatible
// with dc (the screen when null). An empty source leaves dst unchanged; an empty
// rectangle leaves dst empty.
void CopyBitmapPart(CBitmap& dst, CDC* dc, CBitmap& src, int left, int top, int right, int bottom);

// A skinned window's ground: the picture from the area's top-left corner, or black all over
// when the picture is empty (a missing skin file).
void DrawBackdrop(CDC* dc, CBitmap& picture, const RECT& area);
