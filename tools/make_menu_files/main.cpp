// Writes the shipped "Menu.xml" and "Functions.xml" into a folder (normally resources/).
// Usage: make_menu_files <folder>
#include "MenuFiles.h"
#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        fwprintf(stderr, L"usage: make_menu_files <folder for Menu.xml and Functions.xml>\n");
        return 2;
    }
    std::wstring folder = argv[1];
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    struct File {
        const wchar_t* name;
        std::wstring text;
    } files[] = {{L"Menu.xml", MenuFileText()}, {L"Functions.xml", FunctionsFileText()}};
    for (const File& f : files) {
        if (f.text.empty()) {
            fwprintf(stderr, L"%s: an element has no text in the description\n", f.name);
            return 1;
        }
        std::wstring path = folder + f.name;
        if (!WriteShippedXml(f.text, path.c_str())) {
            fwprintf(stderr, L"cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
