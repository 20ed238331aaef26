#pragma once
#include "framework/CGdiObject.h"
#include "framework/CString.h"
#include "framework/CToolTipCtrl.h"

// What the kit's image buttons (CBitmapBtn, CColorBtn) do alike.

// Before subclassing: owner-drawn, out of the tab order; a default push button starts
// hovered.
void PrepareImageButton(CWnd& button, int& hover);

// The four state images (normal, over, down, disabled) cut at rect out of the window's
// pictures, with a DC of the button; WS_BORDER and WS_TABSTOP go.
void CutStateImages(CWnd& button, CBitmap* const images[4], CBitmap& normal, CBitmap& over, CBitmap& down,
                    CBitmap& disabled, const RECT& rect);

// Hover tracking after a mouse move (the button held from outside is no hover, the
// caller's check): an entering mouse is captured and hovers; once the pointer is over
// another window the hover ends and the capture goes, unless the left button is held.
void FollowHover(CWnd& button, bool leftHeld, int& hover);

// The button's tooltip, made on first use (deactivated) and owned by the button's window,
// so that it never shows on a task bar. Answers whether it exists.
bool EnsureButtonTip(CToolTipCtrl& tip, CWnd& button);

// The button's one tool (id 1, its client rectangle) when the tooltip has none yet, with
// the text; the tooltip is activated.
void SetButtonTip(CToolTipCtrl& tip, CWnd& button, const CString& text);
