#include "ConfiguratorRig.h"
#include "PersonHand.h"
#include "configurator/main_window/ProfileSheet.h"
#include "configurator/panels/CharacterServices.h"
#include "configurator/GearloomRes.h"
#include <gtest/gtest.h>
#include <winspool.h>

namespace {

const DWORD kGold = 0xFFCC00;   // the texts, as RRGGBB pixels
const DWORD kField = 0x191919;  // the character's text field
const COLORREF kPortrait = RGB(40, 160, 90);

struct Picture {
    std::vector<DWORD> pixels;
    int w = 0, h = 0;
    DWORD At(int x, int y) const { return pixels[(size_t)y * w + x]; }
    // How many pixels of the colour lie in the rectangle.
    int Count(DWORD colour, const RECT& r) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) == colour) ++n;
        return n;
    }
};

Picture Pixels(const CBitmap& sheet)
{
    Picture p;
    p.pixels = BitmapPixels(sheet, &p.w, &p.h);
    return p;
}

bool Near(DWORD a, DWORD b)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (abs((int)((a >> shift) & 0xFF) - (int)((b >> shift) & 0xFF)) > 12) return false;
    return true;
}

DWORD Rgb(COLORREF c)
{
    return (DWORD)GetRValue(c) << 16 | (DWORD)GetGValue(c) << 8 | GetBValue(c);
}

template <int N> void Put(wchar_t (&field)[N], const wchar_t* text)
{
    CopyField(field, text);
}

// The captions the main window's buttons show.
void Captions(CAPDlg& d, CString (&captions)[BUTTON_COUNT])
{
    for (int i = 0; i < BUTTON_COUNT; ++i) captions[i] = d.m_mouseButtons[i].GetCaption();
}

const RECT kSlots[BUTTON_COUNT] = {
    {199, 35, 299, 53},   {316, 35, 416, 53},   {434, 35, 534, 53},   {199, 68, 299, 86},
    {316, 68, 416, 86},   {434, 68, 534, 86},   {199, 131, 299, 149}, {316, 131, 416, 149},
    {434, 131, 534, 149}, {199, 162, 299, 180}, {199, 225, 299, 243},
};
const RECT kTextField = {78, 16, 156, 80};

// A printer of the test's own whose port is a file: what is printed lands there as
// PostScript. Made default while it lives, then removed.
class FilePrinter {
public:
    explicit FilePrinter(const CString& output)
    {
        wchar_t dir[MAX_PATH] = {};
        DWORD need = 0;
        if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, (BYTE*)dir, sizeof(dir), &need)) return;
        // The generic PostScript description the system's spooler carries, where the driver
        // looks for its data file.
        HMODULE spooler = GetModuleHandleW(L"winspool.drv");
        HRSRC res = spooler ? FindResourceW(spooler, MAKEINTRESOURCEW(1), L"PPDFILE") : nullptr;
        if (!res) return;
        CString version = CString(dir) + L"\\3";
        CreateDirectoryW(version, nullptr);
        CString ppd = version + L"\\gearloom-test.ppd";
        if (!WriteBytes(ppd, LockResource(LoadResource(spooler, res)), SizeofResource(spooler, res))) return;
        AddPrintProcessorW(nullptr, nullptr, (wchar_t*)L"wineps.drv", (wchar_t*)L"wineps");
        DRIVER_INFO_3W driver = {};
        driver.cVersion = 3;
        driver.pName = (wchar_t*)kDriver;
        driver.pDriverPath = (wchar_t*)L"wineps.drv";
        driver.pConfigFile = (wchar_t*)L"wineps.drv";
        driver.pDataFile = (wchar_t*)ppd.GetString();
        AddPrinterDriverExW(nullptr, 3, (BYTE*)&driver, APD_COPY_NEW_FILES);
        Remove();
        PRINTER_INFO_2W info = {};
        info.pPrinterName = (wchar_t*)kName;
        info.pPortName = (wchar_t*)output.GetString();
        info.pDriverName = (wchar_t*)kDriver;
        info.pPrintProcessor = (wchar_t*)L"winprint";
        info.pDatatype = (wchar_t*)L"RAW";
        HANDLE printer = AddPrinterW(nullptr, 2, (BYTE*)&info);
        if (!printer) return;
        ClosePrinter(printer);
        ok = SetDefaultPrinterW(kName) != FALSE;
    }
    ~FilePrinter() { Remove(); }
    bool ok = false;

private:
    static void Remove()
    {
        HANDLE printer = nullptr;
        PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (!OpenPrinterW((wchar_t*)kName, &printer, &access)) return;
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
    static constexpr const wchar_t* kName = L"Gearloom Test Printer";
    static constexpr const wchar_t* kDriver = L"Gearloom Test PostScript";
};

std::string FileText(const CString& path)
{
    std::vector<unsigned char> b = ReadBytes(path);
    return std::string(b.begin(), b.end());
}

}  // namespace

// The sheet in memory: the eleven captions in their slots, on the sheet picture; with a
// character the portrait, the dark text field and its lines. Two drawings are alike.
TEST(PrintSheet, DrawnInMemory)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CString captions[BUTTON_COUNT];
    Captions(*rig.dlg, captions);
    ProfileData profile = rig.dlg->m_config.profiles[0];

    CBitmap plain;
    ASSERT_TRUE(DrawProfileSheet(plain, nullptr, captions, profile));
    SaveBitmapPng(plain, L"print-sheet");
    Picture p = Pixels(plain);
    ASSERT_EQ(p.w, 560);
    ASSERT_EQ(p.h, 260);
    for (int i = 0; i < BUTTON_COUNT; ++i) EXPECT_GT(p.Count(kGold, kSlots[i]), 20) << "caption " << i;
    EXPECT_EQ(p.Count(kGold, kTextField), 0);

    CBitmap again;
    ASSERT_TRUE(DrawProfileSheet(again, nullptr, captions, profile));
    EXPECT_EQ(Pixels(again).pixels, p.pixels) << "nothing of the first drawing stays";

    Put(profile.SERVER_NAME, L"Silvermoon");
    Put(profile.CHARACTER_NAME, L"Aelric");
    Put(profile.CHARACTER_LEVEL, L"80");
    Put(profile.CHARACTER_CLASS, L"Dread Knight");
    Put(profile.CHARACTER_RACE, L"10");
    std::string jpeg = JpegBytes(kPortrait, 64, 64);
    ASSERT_TRUE(WriteBytes(CharacterPicturePath(L"Silvermoon", L"Aelric", L".jpg"), jpeg.data(), jpeg.size()));
    CBitmap character;
    ASSERT_TRUE(DrawProfileSheet(character, nullptr, captions, profile));
    SaveBitmapPng(character, L"print-sheet-character");
    Picture c = Pixels(character);
    EXPECT_TRUE(Near(c.At(13 + 30, 16 + 30), Rgb(kPortrait))) << std::hex << c.At(43, 46);
    EXPECT_EQ(c.At(150, 77), kField);
    EXPECT_GT(c.Count(kGold, RECT{80, 16, 156, 80}), 80) << "name, level, class and realm";
    for (int i = 0; i < BUTTON_COUNT; ++i) EXPECT_EQ(c.Count(kGold, kSlots[i]), p.Count(kGold, kSlots[i])) << i;

    // Without its portrait file the sheet keeps its own picture there; the texts are drawn.
    DeleteFileW(CharacterPicturePath(L"Silvermoon", L"Aelric", L".jpg"));
    CBitmap noPortrait;
    ASSERT_TRUE(DrawProfileSheet(noPortrait, nullptr, captions, profile));
    Picture n = Pixels(noPortrait);
    EXPECT_EQ(n.At(43, 46), p.At(43, 46));
    EXPECT_EQ(n.At(150, 77), kField);
}

// A caption longer than its slot ends with an ellipsis on one line inside the slot.
TEST(PrintSheet, LongCaptionStaysInItsSlot)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CString captions[BUTTON_COUNT];
    Captions(*rig.dlg, captions);
    captions[3] = L"A caption far longer than the hundred pixels of its slot";
    CBitmap sheet;
    ASSERT_TRUE(DrawProfileSheet(sheet, nullptr, captions, rig.dlg->m_config.profiles[0]));
    SaveBitmapPng(sheet, L"print-sheet-long-caption");
    Picture p = Pixels(sheet);
    const RECT& slot = kSlots[3];
    EXPECT_GT(p.Count(kGold, slot), 100);
    EXPECT_GT(p.Count(kGold, RECT{slot.right - 12, slot.top, slot.right, slot.bottom}), 0) << "up to the slot's end";
    EXPECT_EQ(p.Count(kGold, RECT{slot.right, slot.top, kSlots[4].left - 14, slot.bottom}), 0) << "not past it";
    EXPECT_EQ(p.Count(kGold, RECT{slot.left, slot.bottom, slot.right, slot.bottom + 10}), 0) << "one line";
}

// Without the sheet picture there is nothing to draw on.
TEST(PrintSheet, WithoutItsPicture)
{
    MainWindowRig rig(MainWindowRig::Program::Copy);
    rig.EditProgramFile(L"Skins.xml", L"<MAIN_PRINT>main_print.bmp</MAIN_PRINT>", L"<MAIN_PRINT>gone.bmp</MAIN_PRINT>");
    ASSERT_TRUE(rig.Open());
    CString captions[BUTTON_COUNT];
    CBitmap sheet;
    EXPECT_FALSE(DrawProfileSheet(sheet, nullptr, captions, rig.dlg->m_config.profiles[0]));
    EXPECT_EQ(sheet.GetSafeHandle(), nullptr);
}

// The PRINT command: the print dialog, then one page "Print Window" on the chosen printer;
// cancelled, nothing is printed. Without any printer the system tells the person and
// nothing else happens.
TEST(PrintSheet, PrintCommand)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CString output = rig.temp.File(L"sheet.ps");
    {
        // The system says so itself.
        PersonHand person({[&](HWND h) {
            Snap(h, L"print-without-printer");
            PressButton(h, IDOK);
        }});
        rig.Command(ID_PRINT_PROFILE);
        EXPECT_EQ(person.Finish(), 1);
        EXPECT_FALSE(rig.Ended());
    }
    FilePrinter printer(output);
    ASSERT_TRUE(printer.ok);
    {
        PersonHand person({[&](HWND h) {
            Snap(h, L"print-dialog");
            PressButton(h, IDOK);
        }});
        rig.Command(ID_PRINT_PROFILE);
        ASSERT_EQ(person.Finish(), 1);
    }
    std::string ps = FileText(output);
    EXPECT_NE(ps.find("%%Title: Print Window"), std::string::npos);
    EXPECT_NE(ps.find("%%Page: 1"), std::string::npos);
    // The sheet's 560 x 260 pixels, seven times as large in printer pixels.
    EXPECT_NE(ps.find("/Width 560"), std::string::npos);
    EXPECT_NE(ps.find("/Height 260"), std::string::npos);
    EXPECT_NE(ps.find("3920 1820 scale"), std::string::npos);
    DeleteFileW(output);
    {
        PersonHand person({[&](HWND h) { PressButton(h, IDCANCEL); }});
        rig.Command(ID_PRINT_PROFILE);
        ASSERT_EQ(person.Finish(), 1);
    }
    EXPECT_EQ(GetFileAttributesW(output), INVALID_FILE_ATTRIBUTES);
}

namespace {

// A printer that answers StartDoc and StartPage as it is told and notes every call.
struct PrinterAnswers {
    static int startDoc, startPage;
    static std::string calls;
    static int WINAPI StartDoc(HDC, const DOCINFOW* doc)
    {
        calls += "StartDoc(" + std::string(doc && doc->lpszDocName ? "named" : "unnamed") + ") ";
        return startDoc;
    }
    static int WINAPI StartPage(HDC)
    {
        calls += "StartPage ";
        return startPage;
    }
    static int WINAPI EndPage(HDC)
    {
        calls += "EndPage ";
        return 1;
    }
    static int WINAPI EndDoc(HDC)
    {
        calls += "EndDoc";
        return 1;
    }
};
int PrinterAnswers::startDoc = 1;
int PrinterAnswers::startPage = 1;
std::string PrinterAnswers::calls;

}  // namespace

// Only a page that began is ended: a StartPage that answers 0 or an error is followed by
// EndDoc alone, and the print answers false; a job that does not start prints nothing.
TEST(PrintSheet, OnlyAPageThatBeganIsEnded)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.Open());
    CString captions[BUTTON_COUNT];
    Captions(*rig.dlg, captions);
    CBitmap sheet;
    ASSERT_TRUE(DrawProfileSheet(sheet, nullptr, captions, rig.dlg->m_config.profiles[0]));
    struct Case {
        int startDoc, startPage;
        const char* calls;
        bool printed;
    };
    const Case cases[] = {
        {1, 1, "StartDoc(named) StartPage EndPage EndDoc", true},
        {1, 0, "StartDoc(named) StartPage EndDoc", false},
        {1, SP_ERROR, "StartDoc(named) StartPage EndDoc", false},
        {0, 1, "StartDoc(named) ", false},
        {SP_ERROR, 1, "StartDoc(named) ", false},
    };
    const PrintJobCalls answers = {&PrinterAnswers::StartDoc, &PrinterAnswers::StartPage, &PrinterAnswers::EndPage,
                                   &PrinterAnswers::EndDoc};
    HDC printer = CreateCompatibleDC(nullptr);
    ASSERT_NE(printer, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "StartDoc " << c.startDoc << ", StartPage " << c.startPage);
        PrinterAnswers::startDoc = c.startDoc;
        PrinterAnswers::startPage = c.startPage;
        PrinterAnswers::calls.clear();
        EXPECT_EQ(PrintProfileSheet(printer, sheet, answers), c.printed);
        EXPECT_EQ(PrinterAnswers::calls, c.calls);
    }
    DeleteDC(printer);
}
