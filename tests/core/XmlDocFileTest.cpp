#include "XmlDocTestSupport.h"
#include "FileHolders.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::vector<std::wstring> FilesIn(const CString& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"*").GetString(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..") names.push_back(n);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

} // namespace

TEST(XmlDocFile, EncodingsLoadAndSaveByteForByte)
{
    const std::wstring text16 = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<r>\xE9\x20AC\xD83D\xDE00</r>\r\n";
    const std::string utf8Body = "<r a=\"\xC3\xA9\">\xE2\x82\xAC\xF0\x9F\x98\x80</r>";
    const std::wstring utf8Text = L"<r a=\"\xE9\">\x20AC\xD83D\xDE00</r>";
    struct Case {
        const char* what;
        Bytes bytes;
        std::wstring text;
        int flags;
    };
    const Case cases[] = {
        {"UTF-16LE mark", Utf16Bytes(text16, false, true), text16, XMLDOC_UTF16LE_BOM},
        {"UTF-16BE mark", Utf16Bytes(text16, true, true), text16, XMLDOC_UTF16BE_BOM},
        {"UTF-8 mark", B("\xEF\xBB\xBF" + utf8Body), utf8Text, XMLDOC_UTF8_BOM},
        {"UTF-8 starting with '<'", B(utf8Body), utf8Text, 0},
        {"UTF-8 starting otherwise", B("\r\n" + utf8Body), L"\r\n" + utf8Text, 0},
        {"UTF-8 declared", B("<?xml version='1.0' encoding='UTF-8'?><r>\xC3\xA9</r>"),
         L"<?xml version='1.0' encoding='UTF-8'?><r>\xE9</r>", 0},
        {"not UTF-8: ANSI", B("<r>\xE9\xE8</r>"), L"<r>" + AnsiToWide(B("\xE9\xE8")) + L"</r>", 0},
        {"declared windows-1252", B("<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>\x80\xE9</r>"),
         L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>\x20AC\xE9</r>", 0},
        {"declared ISO-8859-5", B("<?xml version='1.0' encoding='ISO-8859-5'?>\n<r>\xB0\xD0</r>"),
         L"<?xml version='1.0' encoding='ISO-8859-5'?>\n<r>\x0410\x0430</r>", 0},
        {"declared windows-1252 but valid UTF-8 bytes", B("<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>\xC3\xA9</r>"),
         L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>\xC3\xA9</r>", 0},
        {"HTML meta charset",
         B("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"/></head><body>\xC0</body></html>"),
         L"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\"/></head><body>\x0410</body></html>", 0},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CString in = dir.File(L"in.xml"), out = dir.File(L"out.xml");
        ASSERT_TRUE(WriteBytes(in, c.bytes));
        CXmlDoc doc;
        doc.m_docFlags = XMLDOC_UTF16BE_BOM | XMLDOC_UTF8_BOM;  // stale flags are replaced
        EXPECT_TRUE(doc.LoadFile(in)) << W(doc.GetLog());
        EXPECT_EQ(W(doc.GetDocText()), c.text);
        EXPECT_EQ(doc.m_docFlags, c.flags);
        ASSERT_TRUE(doc.SaveFile(out)) << W(doc.GetLog());
        EXPECT_EQ(ReadBytes(out), c.bytes);
        // Saving over the file it came from gives the same bytes again.
        ASSERT_TRUE(doc.SaveFile(in));
        EXPECT_EQ(ReadBytes(in), c.bytes);
    }
    EXPECT_EQ(FilesIn(dir.Path()).size(), 2u);
}

TEST(XmlDocFile, Utf16WithoutMark)
{
    TempDir dir;
    struct Case {
        std::wstring text;
        Bytes saved;
    };
    const Case cases[] = {
        // Only ASCII: the zero bytes go, the rest reads as UTF-8 and is saved so.
        {L"<r>x</r>", B("<r>x</r>")},
        // The declaration is not seen between the zero bytes: read and saved as UTF-8.
        {L"<?xml version=\"1.0\" encoding=\"utf-16\"?><r>x</r>",
         B("<?xml version=\"1.0\" encoding=\"utf-16\"?><r>x</r>")},
    };
    for (const Case& c : cases) {
        CString in = dir.File(L"in.xml"), out = dir.File(L"out.xml");
        ASSERT_TRUE(WriteBytes(in, Utf16Bytes(c.text, false, false)));
        CXmlDoc doc;
        EXPECT_TRUE(doc.LoadFile(in)) << W(doc.GetLog());
        EXPECT_EQ(W(doc.GetDocText()), c.text);
        EXPECT_NE(doc.GetLog().Find(L"nulls removed"), -1) << W(doc.GetLog());
        ASSERT_TRUE(doc.SaveFile(out));
        EXPECT_EQ(ReadBytes(out), c.saved);
        CXmlDoc again;
        EXPECT_TRUE(again.LoadFile(out));
        EXPECT_EQ(W(again.GetDocText()), c.text);
    }
    // Bytes that declare UTF-16 without a mark are saved as UTF-16LE with its mark, so
    // the file says what it is and reads back.
    std::string declared = "<?xml version=\"1.0\" encoding=\"utf-16\"?><r>x</r>";
    ASSERT_TRUE(WriteBytes(dir.File(L"d.xml"), B(declared)));
    CXmlDoc doc;
    ASSERT_TRUE(doc.LoadFile(dir.File(L"d.xml")));
    ASSERT_TRUE(doc.SaveFile(dir.File(L"d.xml")));
    EXPECT_EQ(ReadBytes(dir.File(L"d.xml")), Utf16Bytes(std::wstring(declared.begin(), declared.end()), false, true));
}

TEST(XmlDocFile, FilesThatDoNotLoad)
{
    TempDir dir;
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDocText(L"<r><a/></r>"));
    ASSERT_TRUE(doc.FindChildNode(L"a"));
    EXPECT_FALSE(doc.LoadFile(dir.File(L"missing.xml")));
    EXPECT_EQ(W(doc.GetDocText()), L"");
    EXPECT_FALSE(doc.GetLog().IsEmpty());
    // Nothing of the old tree is left to point into the empty text.
    EXPECT_EQ(doc.m_currentPos, 0);
    EXPECT_FALSE(doc.FindElement(nullptr));
    EXPECT_EQ(W(doc.CheckTree()), L"");

    WriteBytes(dir.File(L"empty.xml"), Bytes());
    EXPECT_FALSE(doc.LoadFile(dir.File(L"empty.xml")));
    EXPECT_NE(doc.GetLog().Find(L"Empty document"), -1) << W(doc.GetLog());

    WriteUtf16File(dir.File(L"ill.xml"), L"<root><a></root>");
    EXPECT_FALSE(doc.LoadFile(dir.File(L"ill.xml")));
    EXPECT_EQ(W(doc.GetDocText()), L"<root><a></root>");
    EXPECT_NE(doc.GetLog().Find(L"End tag 'root' at offset 9 does not match start tag 'a' at offset 6"), -1)
        << W(doc.GetLog());
    EXPECT_EQ(DescribeTree(doc), L"[ill] root0{a!U1}");

    WriteUtf16File(dir.File(L"two.xml"), L"<a/><b/>");
    EXPECT_FALSE(doc.LoadFile(dir.File(L"two.xml")));
    EXPECT_NE(doc.GetLog().Find(L"Root element has sibling"), -1);

    EXPECT_FALSE(doc.LoadFile(dir.Path()));  // a folder
    EXPECT_FALSE(doc.LoadFile(nullptr));
}

TEST(XmlDocFile, NewDocumentSavesAsUtf16LeWithMark)
{
    TempDir dir;
    // A document that was read as UTF-8 and then rebuilt takes the flag it is given.
    WriteBytes(dir.File(L"Config.xml"), B("\xEF\xBB\xBF<broken>"));
    CXmlDoc doc;
    EXPECT_FALSE(doc.LoadFile(dir.File(L"Config.xml")));
    EXPECT_EQ(doc.m_docFlags, XMLDOC_UTF8_BOM);
    const wchar_t decl[] = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n";
    doc.SetDocText(decl);
    doc.m_docFlags |= XMLDOC_UTF16LE_BOM;
    ASSERT_TRUE(doc.AddElement(L"root"));
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.AddElement(L"NAME", L"\x0416\xE9"));
    ASSERT_TRUE(doc.SaveFile(dir.File(L"Config.xml")));
    std::wstring expected = std::wstring(decl) + L"<root>\r\n<NAME>\x0416\xE9</NAME>\r\n</root>\r\n";
    EXPECT_EQ(ReadBytes(dir.File(L"Config.xml")), Utf16Bytes(expected, false, true));
    EXPECT_EQ(ReadUtf16File(dir.File(L"Config.xml")), expected);

    // Without a flag a new document follows its declaration.
    CXmlDoc plain;
    plain.SetDocText(L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>\x20AC</r>");
    ASSERT_TRUE(plain.SaveFile(dir.File(L"plain.xml")));
    EXPECT_EQ(ReadBytes(dir.File(L"plain.xml")), B("<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>\x80</r>"));
}

TEST(XmlDocFile, EditSaveReload)
{
    TempDir dir;
    std::wstring text = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<PROFILE_ID>0</PROFILE_ID>\r\n"
                        L"<PROFILE_1>\r\n<DPI_VALUE>800</DPI_VALUE>\r\n<MACRO_1>\r\n<MACRO_NAME>m</MACRO_NAME>\r\n"
                        L"</MACRO_1>\r\n</PROFILE_1>\r\n</root>\r\n";
    ASSERT_TRUE(WriteUtf16File(dir.File(L"Config.xml"), text));
    CXmlDoc doc;
    ASSERT_TRUE(doc.LoadFile(dir.File(L"Config.xml")));
    ASSERT_TRUE(doc.FindElement(nullptr));
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.FindElement(L"PROFILE_ID"));
    ASSERT_TRUE(doc.SetTextAt(doc.m_currentPos, 3));
    ASSERT_TRUE(doc.FindElement(L"PROFILE_1"));
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.FindElement(L"DPI_VALUE"));
    ASSERT_TRUE(doc.SetTextAt(doc.m_currentPos, 1600));
    ASSERT_TRUE(doc.FindElement(L"MACRO_1"));
    ASSERT_TRUE(doc.EnterNode());
    ASSERT_TRUE(doc.FindElement(L"MACRO_NAME"));
    ASSERT_TRUE(doc.AddElement(L"MACRO_PASTE", L"a & b"));
    EXPECT_EQ(W(doc.CheckTree()), L"");
    ASSERT_TRUE(doc.SaveFile(dir.File(L"Config.xml")));

    std::wstring expected = L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<root>\r\n<PROFILE_ID>3</PROFILE_ID>\r\n"
                            L"<PROFILE_1>\r\n<DPI_VALUE>1600</DPI_VALUE>\r\n<MACRO_1>\r\n<MACRO_NAME>m</MACRO_NAME>\r\n"
                            L"<MACRO_PASTE>a &amp; b</MACRO_PASTE>\r\n</MACRO_1>\r\n</PROFILE_1>\r\n</root>\r\n";
    EXPECT_EQ(ReadBytes(dir.File(L"Config.xml")), Utf16Bytes(expected, false, true));
    CXmlDoc again;
    ASSERT_TRUE(again.LoadFile(dir.File(L"Config.xml")));
    ASSERT_TRUE(again.FindChildNode(L"PROFILE_1"));
    ASSERT_TRUE(again.EnterNode());
    ASSERT_TRUE(again.FindChildNode(L"MACRO_1"));
    ASSERT_TRUE(again.EnterNode());
    ASSERT_TRUE(again.FindChildNode(L"MACRO_PASTE"));
    EXPECT_EQ(W(again.GetChildText()), L"a & b");
}

TEST(XmlDocFile, FailedSaveLeavesTheOldFile)
{
    TempDir dir;
    const Bytes old = B("<old/>");
    CXmlDoc doc;
    doc.SetDocText(L"<new>text</new>");

    // The folder does not exist.
    EXPECT_FALSE(doc.SaveFile(dir.File(L"nofolder\\x.xml")));
    EXPECT_FALSE(doc.GetLog().IsEmpty());

    // A read-only target.
    CString ro = dir.File(L"ro.xml");
    ASSERT_TRUE(WriteBytes(ro, old));
    ASSERT_TRUE(SetFileAttributesW(ro, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(doc.SaveFile(ro));
    EXPECT_EQ(ReadBytes(ro), old);
    SetFileAttributesW(ro, FILE_ATTRIBUTE_NORMAL);

    // A folder in the way of the target.
    CString sub = dir.File(L"sub.xml");
    ASSERT_TRUE(CreateDirectoryW(sub, nullptr));
    EXPECT_FALSE(doc.SaveFile(sub));
    EXPECT_EQ(GetFileAttributesW(sub) & FILE_ATTRIBUTE_DIRECTORY, (DWORD)FILE_ATTRIBUTE_DIRECTORY);

    // A target held open without sharing cannot be replaced.
    CString held = dir.File(L"held.xml");
    ASSERT_TRUE(WriteBytes(held, old));
    HANDLE h = CreateFileW(held, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(doc.SaveFile(held));
    CloseHandle(h);
    EXPECT_EQ(ReadBytes(held), old);

    // No temporary file is left behind.
    std::vector<std::wstring> names = FilesIn(dir.Path());
    EXPECT_EQ(names.size(), 3u);

    // A good save replaces the file and leaves nothing else.
    EXPECT_TRUE(doc.SaveFile(held));
    EXPECT_EQ(ReadBytes(held), B("<new>text</new>"));
    EXPECT_EQ(FilesIn(dir.Path()).size(), 3u);
}


TEST(XmlDocFile, ASecondHandleOnTheTargetLosesNothingAndTheAnswerIsHonest)
{
    const Bytes old = B("<old>a longer old text than the new one</old>");
    for (const FileHolder& holder : FileHolders()) {
        for (const char* text : {"<new>short</new>", "<new>a new text that is longer than the old one was</new>"}) {
            SCOPED_TRACE(std::string(holder.who) + ", " + text);
            TempDir dir;
            CString path = dir.File(L"target.xml");
            ASSERT_TRUE(WriteBytes(path, old));
            HANDLE h = HoldFile(path, holder);
            ASSERT_NE(h, INVALID_HANDLE_VALUE);

            // A holder that lets others read does not keep our own reader out.
            CXmlDoc reader;
            EXPECT_EQ(reader.LoadFile(path), (holder.share & FILE_SHARE_READ) != 0);

            CXmlDoc doc;
            doc.SetDocText(CString(std::wstring(text, text + strlen(text))));
            bool saved = doc.SaveFile(path);
            CloseHandle(h);
            EXPECT_EQ(saved, holder.saves) << W(doc.GetLog());
            EXPECT_EQ(ReadBytes(path), saved ? B(text) : old);
            EXPECT_EQ(FilesIn(dir.Path()).size(), 1u) << "a temporary file was left";
        }
    }
}

TEST(XmlDocFile, AReaderWaitsForASaveInPlaceAndSeesTheWholeFile)
{
    TempDir dir;
    CString path = dir.File(L"target.xml");
    ASSERT_TRUE(WriteBytes(path, B("<old/>")));
    // An exclusive lock, as a save in place holds it, let go after a short while.
    HANDLE writer = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    OVERLAPPED at = {};
    ASSERT_TRUE(LockFileEx(writer, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &at));
    std::thread save([&] {
        Sleep(60);
        DWORD put = 0;
        const char text[] = "<new>whole</new>";
        WriteFile(writer, text, (DWORD)strlen(text), &put, nullptr);
        OVERLAPPED all = {};
        UnlockFileEx(writer, 0, MAXDWORD, MAXDWORD, &all);
    });
    CXmlDoc doc;
    EXPECT_TRUE(doc.LoadFile(path)) << W(doc.GetLog());
    save.join();
    CloseHandle(writer);
    EXPECT_EQ(W(doc.GetDocText()), L"<new>whole</new>");
}

