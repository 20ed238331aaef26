#pragma once
#include <vector>
#include "framework/CGdiObject.h"
#include "skinkit/SkinFiles.h"

class CDC;

// What the skinned dialogs of the configuration program share beyond CSkinDialog.

// A dialog's pictures, filled by LoadDialogPictures.
struct DialogPictures {
    CBitmap& mask;
    CBitmap& normal;
    CBitmap& over;
    CBitmap& disabled;
    CBitmap& down;
    CBitmap& background;  // the copy texts are drawn on
};

// From the dialog's section of "Skins.xml": <prefix>_NORMAL into the normal, disabled and
// background pictures (three copies), <prefix>_OVER, _DOWN and _MASK. Answers the NORMAL
// picture's size, 0 x 0 without it.
SIZE LoadDialogPictures(const wchar_t* section, const wchar_t* prefix, const DialogPictures& pictures);

// A skinned window's own four pictures from its section of "Skins.xml": <section>_NORMAL,
// _DOWN, _OVER and _MASK. Answers the NORMAL picture's size.
SIZE LoadWindowPictures(const wchar_t* section, CBitmap& normal, CBitmap& down, CBitmap& over, CBitmap& mask);

// The picture over the whole client area; black without one.
void DrawDialogBackground(CDC* dc, const RECT& client, CBitmap& picture);

// A label entry ("x,y,text") of the strings drawn at its point, or centred on its x; an
// absent entry draws nothing.
void DrawLabelEntry(CDC* dc, const std::vector<SkinItem>& strings, const wchar_t* name, bool centred = false);
