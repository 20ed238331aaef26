#pragma once
#include <windows.h>
#include "framework/CString.h"

// A control entry of "Strings.xml": name,x,y,w,h,text,flag
// (for example BUTTON_OK,10,20,80,24,OK,FALSE).
struct SkinEntry {
    wchar_t name[40];
    RECT rect;          // right = x + w, bottom = y + h
    wchar_t text[100];  // caption or tooltip
    BOOL flag;          // "TRUE" somewhere after the name: initially checked
};

// A label entry: x,y,text. The text is everything after the last comma.
struct TextEntry {
    int x = 0;
    int y = 0;
    CString text;
};

// Fields longer than the record holds are cut. Always answers 1.
int ParseSkinEntry(const wchar_t* entry, SkinEntry& out);
// y keeps the caller's value when the entry holds no number for it.
void ParseTextEntry(const wchar_t* entry, TextEntry& out);
