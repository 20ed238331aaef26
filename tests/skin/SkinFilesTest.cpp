// The shipped skin: what tools/make_skin makes, byte for byte, and consistent with itself
// (pictures of the window's size, two-colour masks, controls inside the window's shape).
#include "TestSupport.h"
#include "core/SkinEntry.h"
#include "core/XmlDoc.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// The folder where tests leave pictures for a person to look at: build/screenshots.
CString ScreenshotDir()
{
    CString dir = ExeDir() + L"..\\..\\screenshots";
    wchar_t full[MAX_PATH];
    GetFullPathNameW(dir, MAX_PATH, full, nullptr);
    CreateDirectoryW(full, nullptr);
    return CString(full) + L"\\";
}

DWORD RunTool(const std::wstring& commandLine)
{
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::vector<wchar_t> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back(0);
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return (DWORD)-1;
    DWORD code = (DWORD)-2;
    if (WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

std::set<std::wstring> FilesIn(const std::wstring& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

// A 24-bit bitmap file as the generator writes it, read back top row first.
struct Bmp {
    int w = 0, h = 0;
    std::vector<unsigned char> bytes;
    size_t offset = 0, stride = 0;
    bool Load(const wchar_t* path)
    {
        bytes = ReadBytes(path);
        if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
        auto u32 = [&](size_t at) { return (uint32_t)bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | (uint32_t)bytes[at + 3] << 24; };
        offset = u32(10);
        w = (int)u32(18);
        h = (int)u32(22);
        if (bytes[28] != 24 || w <= 0 || h <= 0) return false;
        stride = ((size_t)w * 3 + 3) & ~(size_t)3;
        return bytes.size() >= offset + stride * h;
    }
    // Blue, green, red of the pixel at (x, y), y counted from the top.
    const unsigned char* Px(int x, int y) const { return &bytes[offset + stride * (h - 1 - y) + (size_t)x * 3]; }
    bool White(int x, int y) const { const unsigned char* p = Px(x, y); return p[0] == 255 && p[1] == 255 && p[2] == 255; }
    bool Black(int x, int y) const { const unsigned char* p = Px(x, y); return p[0] == 0 && p[1] == 0 && p[2] == 0; }
};

// Every child element of every top-level element of a file: window -> (name -> text).
std::map<std::wstring, std::map<std::wstring, std::wstring>> Sections(const wchar_t* path)
{
    std::map<std::wstring, std::map<std::wstring, std::wstring>> out;
    CXmlDoc doc;
    if (!doc.LoadFile(path)) return out;
    doc.FindElement(nullptr);
    doc.EnterNode();
    while (doc.FindElement(nullptr)) {
        std::wstring section = doc.GetTagNameAt(doc.m_currentPos).str();
        auto& children = out[section];
        children[L""] = doc.GetTextAt(doc.m_currentPos).str();
        doc.EnterNode();
        while (doc.FindElement(nullptr))
            children[doc.GetTagNameAt(doc.m_currentPos).str()] = doc.GetTextAt(doc.m_currentPos).str();
        doc.LeaveNode();
    }
    return out;
}

std::string Narrow(const std::wstring& w)
{
    return std::string(w.begin(), w.end());
}

bool IsLabelEntry(const std::wstring& text)
{
    size_t i = 0;
    for (int field = 0; field < 2; ++field) {
        if (i < text.size() && text[i] == L'-') ++i;
        size_t digits = i;
        while (i < text.size() && iswdigit(text[i])) ++i;
        if (i == digits || i >= text.size() || text[i] != L',') return false;
        ++i;
    }
    return true;
}

}  // namespace

TEST(SkinFiles, ShippedFilesAreWhatTheToolMakes)
{
    TempDir out;
    // Folders without their final backslash, which would escape the closing quote.
    auto quoted = [](std::wstring path) {
        if (!path.empty() && path.back() == L'\\') path.pop_back();
        return L"\"" + path + L"\"";
    };
    std::wstring cmd = quoted((ExeDir() + L"make_skin.exe").str()) + L" " + quoted(out.Path().str()) + L" --preview " +
                       quoted(ScreenshotDir().str());
    ASSERT_EQ(RunTool(cmd), 0u) << "make_skin failed";

    for (const wchar_t* name : {L"Skins.xml", L"Strings.xml"}) {
        std::vector<unsigned char> made = ReadBytes(out.File(name));
        ASSERT_GE(made.size(), 2u) << name;
        EXPECT_EQ(made[0], 0xFF);
        EXPECT_EQ(made[1], 0xFE) << name << " is not UTF-16LE with a byte-order mark";
        EXPECT_TRUE(made == ReadBytes(SourceFile((std::wstring(L"resources\\") + name).c_str())))
            << Narrow(name) << " differs from what make_skin makes: run tools/make-skin.sh";
    }
    for (const wchar_t* sub : {L"skins\\", L"bitmaps\\", L"icons\\"}) {
        std::wstring made = out.Path().str() + sub;
        std::wstring shipped = SourceFile((std::wstring(L"resources\\") + sub).c_str()).str();
        std::set<std::wstring> madeFiles = FilesIn(made);
        EXPECT_FALSE(madeFiles.empty());
        EXPECT_EQ(FilesIn(shipped), madeFiles) << Narrow(sub) << " holds other files than make_skin makes";
        for (const std::wstring& f : madeFiles)
            EXPECT_TRUE(ReadBytes((made + f).c_str()) == ReadBytes((shipped + f).c_str()))
                << Narrow(f) << " differs from what make_skin makes: run tools/make-skin.sh";
    }
}

bool EndsWith(const std::wstring& s, const wchar_t* tail)
{
    size_t n = wcslen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// The pictures a window shows (NORMAL, OVER, DOWN, DISABLE, MASK and the paste look's)
// have the NORMAL picture's size; masks hold only white outside and black inside.
TEST(SkinFiles, PicturesHaveTheirWindowsSizeAndMasksAreWhiteOrBlack)
{
    auto skins = Sections(SourceFile(L"resources\\Skins.xml"));
    ASSERT_FALSE(skins.empty());
    for (const auto& [window, pictures] : skins) {
        if (pictures.size() == 1) {
            // A popup: one bare file name.
            Bmp b;
            EXPECT_TRUE(b.Load(SourceFile((L"resources\\skins\\" + pictures.at(L"")).c_str()))) << Narrow(window);
            continue;
        }
        int w = -1, h = -1;
        for (const auto& [element, file] : pictures) {
            if (element.empty()) continue;
            std::string what = Narrow(window) + "/" + Narrow(element);
            CString path = SourceFile((L"resources\\skins\\" + file).c_str());
            if (EndsWith(file, L".gif")) {
                std::vector<unsigned char> gif = ReadBytes(path);
                EXPECT_TRUE(gif.size() > 6 && std::string(gif.begin(), gif.begin() + 6) == "GIF89a") << what;
                continue;
            }
            Bmp b;
            ASSERT_TRUE(b.Load(path)) << what;
            bool shown = false;
            for (const wchar_t* state : {L"_NORMAL", L"_OVER", L"_DOWN", L"_DISABLE", L"_MASK"}) shown |= EndsWith(element, state);
            if (!shown) continue;
            if (w < 0) w = b.w, h = b.h;
            EXPECT_EQ(b.w, w) << what;
            EXPECT_EQ(b.h, h) << what;
            if (EndsWith(element, L"_MASK")) {
                int odd = 0;
                for (int y = 0; y < b.h; ++y)
                    for (int x = 0; x < b.w; ++x) odd += !b.White(x, y) && !b.Black(x, y);
                EXPECT_EQ(odd, 0) << what << ": pixels neither white nor black";
                EXPECT_TRUE(b.White(0, 0) || b.White(b.w - 1, 0) || b.White(0, b.h - 1) || b.White(b.w - 1, b.h - 1))
                    << what << ": no corner is cut";
            }
        }
    }
}

TEST(SkinFiles, EveryEntryReadsBackAndLiesInsideItsWindowsShape)
{
    auto skins = Sections(SourceFile(L"resources\\Skins.xml"));
    auto strings = Sections(SourceFile(L"resources\\Strings.xml"));
    ASSERT_FALSE(strings.empty());
    for (const auto& [window, entries] : strings) {
        Bmp mask;
        bool hasMask = skins.count(window) && skins[window].count(window + L"_MASK") &&
                       mask.Load(SourceFile((L"resources\\skins\\" + skins[window][window + L"_MASK"]).c_str()));
        for (const auto& [name, text] : entries) {
            if (name.empty()) continue;
            std::string what = Narrow(window) + "/" + Narrow(name);
            if (text.compare(0, name.size() + 1, name + L",") == 0) {
                SkinEntry e;
                ParseSkinEntry(text.c_str(), e);
                EXPECT_EQ(std::wstring(e.name), name) << what;
                EXPECT_GT(e.rect.right, e.rect.left) << what;
                EXPECT_GT(e.rect.bottom, e.rect.top) << what;
                EXPECT_EQ(std::count(text.begin(), text.end(), L','), 6) << what << ": a comma in the text";
                EXPECT_EQ(text.find(L"TRUE") != std::wstring::npos, text.size() > 5 && text.compare(text.size() - 5, 5, L",TRUE") == 0)
                    << what << ": TRUE in the text";
                if (!hasMask) continue;
                int outside = 0;
                for (int y = e.rect.top; y < e.rect.bottom; ++y)
                    for (int x = e.rect.left; x < e.rect.right; ++x)
                        outside += x < 0 || y < 0 || x >= mask.w || y >= mask.h || mask.White(x, y);
                EXPECT_EQ(outside, 0) << what << ": the control is cut by the window's shape";
            } else if (IsLabelEntry(text)) {
                TextEntry t;
                ParseTextEntry(text.c_str(), t);
                EXPECT_EQ(std::count(text.begin(), text.end(), L','), 2) << what << ": a comma in the label";
                EXPECT_FALSE(t.text.IsEmpty()) << what;
                if (hasMask) {
                    EXPECT_TRUE(t.x >= 0 && t.y >= 0 && t.x < mask.w && t.y < mask.h && !mask.White(t.x, t.y)) << what;
                }
            } else {
                EXPECT_FALSE(text.empty()) << what;
            }
        }
    }
}

// What each window's code looks up: the pictures under its element of "Skins.xml" and the
// entries under its element of "Strings.xml" (the lighting panel reads the two files under
// different names).
TEST(SkinFiles, EveryWindowHasTheEntriesItsCodeReads)
{
    struct Case {
        const wchar_t* skins;
        std::vector<std::wstring> pictures;
        const wchar_t* strings;
        std::vector<std::wstring> entries;
    };
    auto standard = [](const std::wstring& p) {
        return std::vector<std::wstring>{p + L"_NORMAL", p + L"_OVER", p + L"_DOWN", p + L"_MASK"};
    };
    auto plus = [](std::vector<std::wstring> a, const std::vector<std::wstring>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    std::vector<std::wstring> mainEntries = {
        L"PROFILE", L"IN_GAME_MODE_TEXT", L"HELP", L"EXIT", L"MINIMIZE", L"BUTTON_CANCEL", L"BUTTON_APPLY", L"RESTORE",
        L"BUTTON_OK", L"ENABLE_IN_GAME_MODE", L"BUTTON_MOUSE_PROPERTIES", L"BUTTON_ILLUMINATION", L"BUTTON_ASSIGNMENTS",
        L"BUTTON_CHRONICLE", L"BUTTON_FILE_MENU", L"BUTTON_TOOLS_MENU", L"BUTTON_HELP_MENU",
        L"STRING_WARNING_CHANGE_PROFILE", L"STRING_WARNING_RESTORE_PROFILE"};
    for (int n = 1; n <= 11; ++n) mainEntries.push_back(L"MOUSE_BUTTON_" + std::to_wstring(n));
    for (int n = 1; n <= 10; ++n) mainEntries.push_back(L"PROFILE_" + std::to_wstring(n));
    const Case cases[] = {
        {L"WARNING_ONE", standard(L"WARNING_ONE"), L"WARNING_ONE",
         {L"WARNING_ONE_TITLE", L"WARNING_ONE_STRING", L"BUTTON_EXIT", L"BUTTON_OK"}},
        {L"WARNING_TWO", standard(L"WARNING_TWO"), L"WARNING_TWO",
         {L"WARNING_TWO_TITLE", L"WARNING_TWO_STRING", L"BUTTON_YES", L"BUTTON_NO"}},
        {L"WARNING_THREE", standard(L"WARNING_THREE"), L"WARNING_THREE",
         {L"WARNING_THREE_TITLE", L"WARNING_THREE_STRING", L"WARNING_THREE_OPTION", L"BUTTON_EXIT", L"BUTTON_YES",
          L"BUTTON_NO", L"BUTTON_OPTION"}},
        {L"WARNING_FOUR", standard(L"WARNING_FOUR"), L"WARNING_FOUR",
         {L"WARNING_FOUR_TITLE", L"WARNING_FOUR_STRING", L"WARNING_FOUR_LICENSE", L"WARNING_FOUR_OPTION",
          L"BUTTON_EXIT", L"BUTTON_YES", L"BUTTON_NO", L"BUTTON_OPTION"}},
        {L"MAIN", plus(standard(L"MAIN"), {L"MAIN_DISABLE", L"MAIN_PRINT"}), L"MAIN", mainEntries},
        {L"BUTTON_ASSIGNMENTS", standard(L"BUTTON_ASSIGNMENTS"), L"BUTTON_ASSIGNMENTS",
         {L"BUTTON_ASSIGNMENTS", L"CLOSE_ASSIGNMENTS"}},
        {L"MACRO", plus(standard(L"MACRO"), {L"MACRO_PASTE_NORMAL", L"MACRO_PASTE_DOWN", L"MACRO_PASTE_OVER"}), L"MACRO",
         {L"MACRO_AREA", L"BUTTON_EXIT", L"BUTTON_OK", L"BUTTON_CLEAR", L"BUTTON_CANCEL", L"BUTTON_APPLY",
          L"BUTTON_AUTO_DELAY", L"BUTTON_RECORD_DELAY", L"BUTTON_NO_DELAY", L"BUTTON_PASTE", L"START_AREA", L"SEND_AREA",
          L"BUTTON_LOOP", L"EDIT_NAME", L"EDIT_LOOP", L"EDIT_PASTE", L"BUTTON_PASTE_AUTO_DELAY", L"BUTTON_PASTE_NO_DELAY",
          L"BUTTON_PASTE_RECORD_DELAY", L"BUTTON_PASTE_PASTE", L"BUTTON_START_KEY", L"BUTTON_SEND_KEY", L"CUSTOM_MACRO",
          L"MACRO_NAME", L"AUTO_DELAY", L"RECORD_DELAY", L"NO_DELAY", L"PASTE", L"LOOP", L"PASTE_AUTO_DELAY",
          L"PASTE_RECORD_DELAY", L"PASTE_NO_DELAY", L"PASTE_PASTE", L"START_KEY", L"SEND_KEY"}},
        {L"MOUSE_PROPERTIES", standard(L"MOUSE_PROPERTIES"), L"MOUSE_PROPERTIES",
         {L"CLOSE_PROPERTIES", L"DPI_MENU", L"SLIDERS_DOUBLE_CLICK_SPEED", L"SLIDERS_SCROLL_SPEED",
          L"SLIDERS_SENSITIVITY", L"SLIDERS_ADVANCE_SENSITIVITY_X", L"SLIDERS_ADVANCE_SENSITIVITY_Y",
          L"MOUSE_PROPERTIES", L"DPI_VALUE", L"DOUBLE_CLICK_SPEED", L"SCROLL_SPEED", L"SENSITIVITY",
          L"ADVANCED_SENSITIVITY", L"ADVANCED_SENSITIVITY_X", L"ADVANCED_SENSITIVITY_Y"}},
        {L"ILLUMINATION_SETTING", standard(L"ILLUMINATION_SETTING"), L"ILLUMINATION_SETTINGS",
         {L"CLOSE_ILLUMINATION", L"COLOR_MENU", L"INTENSITY_MENU", L"PULSATION_MENU", L"ILLUMINATION_SETTINGS",
          L"COLOR", L"INTENSITY", L"PULSATION", L"ILLUMINATION_TITLE"}},
        {L"CHRONICLE", plus(standard(L"CHRONICLE"), {L"CHRONICLE_NO_PICTURE_CHARACTER"}), L"CHRONICLE",
         {L"BUTTON_EXIT", L"BUTTON_OK", L"BUTTON_CANCEL", L"BUTTON_REGION", L"EDIT_SERVER_NAME",
          L"EDIT_CHARACTER_NAME", L"STRING_ENTER_CHARACTER_NAME", L"STRING_ENTER_REALM_NAME",
          L"STRING_NOT_FIND_CHARACTER", L"CHRONICLE_TITLE", L"SERVER_NAME", L"CHARACTER_NAME", L"REGION"}},
        {L"ABOUT", standard(L"ABOUT"), L"ABOUT", {L"BUTTON_EXIT", L"TITLE", L"SOFTWARE_VERSION", L"FIRMWARE_VERSION"}},
        {L"EDIT_GAME", standard(L"EDIT_GAME"), L"EDIT_GAME",
         {L"EDIT_GAME", L"BUTTON_EXIT", L"BUTTON_BROWSE", L"BUTTON_ADD", L"BUTTON_REMOVE", L"BUTTON_OK",
          L"BUTTON_CANCEL", L"BUTTON_PATH", L"LIST_BOX"}},
        {L"RENAME_PROFILE", standard(L"RENAME"), L"RENAME_PROFILE",
         {L"BUTTON_OK", L"BUTTON_CANCEL", L"BUTTON_EXIT", L"EDIT_NAME", L"TITLE", L"NAME"}},
        // Popups: one bare file name each.
        {L"BUTTON_MENU", {}, nullptr, {}},
        {L"MOUSE_PROPERTIES_MENU", {}, nullptr, {}},
        {L"ILLUMINATION_MENU", {}, nullptr, {}},
        {L"REGION_MENU", {}, nullptr, {}},
    };
    auto skins = Sections(SourceFile(L"resources\\Skins.xml"));
    auto strings = Sections(SourceFile(L"resources\\Strings.xml"));
    for (const Case& c : cases) {
        ASSERT_TRUE(skins.count(c.skins)) << Narrow(c.skins) << " missing from Skins.xml";
        if (c.pictures.empty()) {
            EXPECT_FALSE(skins[c.skins][L""].empty()) << Narrow(c.skins);
        }
        for (const std::wstring& p : c.pictures) EXPECT_TRUE(skins[c.skins].count(p)) << Narrow(c.skins) << " lacks " << Narrow(p);
        if (!c.strings) continue;
        ASSERT_TRUE(strings.count(c.strings)) << Narrow(c.strings) << " missing from Strings.xml";
        for (const std::wstring& e : c.entries)
            EXPECT_TRUE(strings[c.strings].count(e)) << Narrow(c.strings) << " lacks " << Narrow(e);
    }
}

// The notice before the macro editor shows its text in a multi-line edit: the paragraphs
// must come through the XML reader with their CR LF line breaks.
TEST(SkinFiles, MacroNoticeKeepsItsParagraphBreaks)
{
    CXmlDoc doc;
    ASSERT_TRUE(doc.LoadFile(SourceFile(L"resources\\Strings.xml")));
    ASSERT_TRUE(doc.FindChildNode(L"WARNING_FOUR"));
    doc.EnterNode();
    ASSERT_TRUE(doc.FindChildNode(L"WARNING_FOUR_LICENSE"));
    std::wstring text = doc.GetChildText().str();
    EXPECT_GE(CountOf(text, L"\r\n\r\n"), 3u);
    EXPECT_EQ(CountOf(text, L"\n"), CountOf(text, L"\r\n"));
}

// Pictures the programs open by fixed names, and those compiled in as resources.
TEST(SkinFiles, FixedPicturesHaveTheSizesTheirUsersCut)
{
    struct Case {
        const wchar_t* file;
        int minWidth, minHeight, bits;
    };
    const Case cases[] = {
        {L"resources\\skins\\button-p.bmp", 171, 20, 24},  // cut at (1, 1, 171, 20) and (0, 0, 170, 19)
        {L"resources\\skins\\button-m.bmp", 171, 20, 24},
        {L"resources\\skins\\button-b.bmp", 75, 22, 24},
        {L"resources\\skins\\Color.bmp", 1, 1, 24},
        {L"resources\\bitmaps\\scrollbar.bmp", 117, 39, 24},
        {L"resources\\bitmaps\\bullet.bmp", 3, 3, 24},
        {L"resources\\bitmaps\\arrow_up.bmp", 7, 9, 1},
        {L"resources\\bitmaps\\arrow_down.bmp", 7, 9, 1},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> b = ReadBytes(SourceFile(c.file));
        ASSERT_GE(b.size(), 54u) << Narrow(c.file);
        int w = b[18] | b[19] << 8, h = b[22] | b[23] << 8;
        EXPECT_GE(w, c.minWidth) << Narrow(c.file);
        EXPECT_GE(h, c.minHeight) << Narrow(c.file);
        EXPECT_EQ(b[28], c.bits) << Narrow(c.file);
    }
    // Icons: 32-bit images at 16, 20, 24, 32 and 48 pixels (20: the small size at 125 per cent).
    for (const wchar_t* icon : {L"resources\\icons\\gearloom.ico", L"resources\\icons\\tray_inactive.ico",
                                L"resources\\icons\\tray_active.ico"}) {
        std::vector<unsigned char> b = ReadBytes(SourceFile(icon));
        ASSERT_GE(b.size(), 6u + 5 * 16) << Narrow(icon);
        EXPECT_EQ(b[2] | b[3] << 8, 1) << Narrow(icon);
        ASSERT_EQ(b[4] | b[5] << 8, 5) << Narrow(icon);
        const int sizes[] = {16, 20, 24, 32, 48};
        for (int k = 0; k < 5; ++k) {
            const unsigned char* entry = &b[6 + 16 * k];
            EXPECT_EQ(entry[0], sizes[k]) << Narrow(icon);
            EXPECT_EQ(entry[6] | entry[7] << 8, 32) << Narrow(icon);
            size_t size = entry[8] | entry[9] << 8 | entry[10] << 16, offset = entry[12] | entry[13] << 8 | entry[14] << 16;
            EXPECT_LE(offset + size, b.size()) << Narrow(icon);
        }
    }
    std::vector<unsigned char> sb = ReadBytes(SourceFile(L"resources\\bitmaps\\scrollbar.bmp"));
    EXPECT_EQ(sb[18] | sb[19] << 8, 117);  // nine parts of 13 pixels across, three down
    EXPECT_EQ(sb[22] | sb[23] << 8, 39);
}
