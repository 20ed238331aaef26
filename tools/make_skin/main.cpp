// Makes the skin the programs ship: every picture under skins\ and bitmaps\, "Skins.xml"
// and "Strings.xml", all from the layout in SkinLayout.cpp, so that pictures and control
// rectangles always agree.
// Usage: make_skin <output folder> [--preview <folder for PNG previews>]
#include "SkinFiles.h"
#include <cstdio>
#include <cwchar>
#include <string>

static std::wstring Folder(const wchar_t* path)
{
    std::wstring f = path;
    if (!f.empty() && f.back() != L'\\' && f.back() != L'/') f += L'\\';
    return f;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2 && !(argc == 4 && wcscmp(argv[2], L"--preview") == 0)) {
        fwprintf(stderr, L"usage: make_skin <output folder> [--preview <folder>]\n");
        return 2;
    }
    SkinPlan plan = BuildSkinPlan();
    if (!WriteSkinFiles(plan, Folder(argv[1]))) return 1;
    if (argc == 4 && !WritePreviews(plan, Folder(argv[3]))) return 1;
    return 0;
}
