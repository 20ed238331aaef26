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
    for (const wchar_t* sub : {L"skins\\", L"bitmaps\\"}) {
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
            std::string what = Narrow(element);
            ASSERT_EQ(element.compare(0, window.size() + 1, window + L"_"), 0) << what;
            Bmp b;
            ASSERT_TRUE(b.Load(SourceFile((L"resources\\skins\\" + file).c_str()))) << what;
            if (w < 0) w = b.w, h = b.h;
            EXPECT_EQ(b.w, w) << what;
            EXPECT_EQ(b.h, h) << what;
            if (element.size() > 5 && element.compare(element.size() - 5, 5, L"_MASK") == 0) {
                int odd = 0;
                for (int y = 0; y < b.h; ++y)
                    for (int x = 0; x < b.w; ++x) odd += !b.White(x, y) && !b.Black(x, y);
                EXPECT_EQ(odd, 0) << what << ": pixels neither white nor black";
                EXPECT_TRUE(b.White(0, 0)) << what << ": the corner is not cut";
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

TEST(SkinFiles, EveryWindowHasTheEntriesItsCodeReads)
{
    struct Case {
        const wchar_t* window;
        std::vector<const wchar_t*> pictures;
        std::vector<const wchar_t*> entries;
    };
    const std::vector<const wchar_t*> standard = {L"_NORMAL", L"_OVER", L"_DOWN", L"_MASK"};
    const Case cases[] = {
        {L"WARNING_ONE", standard, {L"WARNING_ONE_TITLE", L"WARNING_ONE_STRING", L"BUTTON_EXIT", L"BUTTON_OK"}},
        {L"WARNING_TWO", standard, {L"WARNING_TWO_TITLE", L"WARNING_TWO_STRING", L"BUTTON_YES", L"BUTTON_NO"}},
        {L"WARNING_THREE", standard,
         {L"WARNING_THREE_TITLE", L"WARNING_THREE_STRING", L"WARNING_THREE_OPTION", L"BUTTON_EXIT", L"BUTTON_YES",
          L"BUTTON_NO", L"BUTTON_OPTION"}},
        {L"WARNING_FOUR", standard,
         {L"WARNING_FOUR_TITLE", L"WARNING_FOUR_STRING", L"WARNING_FOUR_LICENSE", L"WARNING_FOUR_OPTION", L"BUTTON_EXIT",
          L"BUTTON_YES", L"BUTTON_NO", L"BUTTON_OPTION"}},
    };
    auto skins = Sections(SourceFile(L"resources\\Skins.xml"));
    auto strings = Sections(SourceFile(L"resources\\Strings.xml"));
    for (const Case& c : cases) {
        for (const wchar_t* suffix : c.pictures)
            EXPECT_TRUE(skins[c.window].count(std::wstring(c.window) + suffix)) << Narrow(c.window) << Narrow(suffix);
        for (const wchar_t* entry : c.entries)
            EXPECT_TRUE(strings[c.window].count(entry)) << Narrow(c.window) << " lacks " << Narrow(entry);
    }
}
