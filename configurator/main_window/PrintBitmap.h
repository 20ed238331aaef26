#pragma once
#include <windows.h>
#include "framework/CString.h"

// Prints a device-dependent picture on a printer (or any) device context as a device-
// independent bitmap at (0, 0), scaled by scaleX and scaleY. Nothing is printed when the
// picture cannot be read.
void PrintBitmap(HDC printer, HBITMAP picture, double scaleX, double scaleY);

// Upper-cases the first character when it is an ASCII letter a to z (character and realm
// names); the rest stays.
void CapitalizeFirst(CString& text);
